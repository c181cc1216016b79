// The docking test application as a program: the frame on the display until it is closed; with --mdi the
// multiple-document frame.
#include "DockApp.h"
#include "DockAppMdi.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/sdl/DisplaySelect.h"

#include <cstring>

namespace {

bool g_mdi = false;

class DockApplication : public CWinApp {
public:
    DockApplication() : CWinApp(u"DockApp") {}
    BOOL InitInstance() override {
        if (g_mdi) {
            m_pMainWnd = dockapp::OpenDockAppMdiFrame();
        } else {
            m_pMainWnd = dockapp::OpenDockAppFrame();
        }
        return m_pMainWnd != nullptr;
    }
};

DockApplication theApp;

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        g_mdi = g_mdi || std::strcmp(argv[i], "--mdi") == 0;
    }
    InitializeDisplay();
    RegisterStandardControls();
    return AfxWinMain(argc, argv);
}
