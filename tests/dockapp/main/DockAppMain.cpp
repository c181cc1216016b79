// The docking test application as a program: the frame on the display until it is closed; with --mdi the
// multiple-document frame, with --workbook that frame with a tab per document.
#include "DockApp.h"
#include "DockAppMdi.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"
#include "platform/sdl/DisplaySelect.h"

#include <cstring>

namespace {

bool g_mdi = false;
bool g_workbook = false;

class DockApplication : public CWinApp {
public:
    DockApplication() : CWinApp(u"DockApp") {}
    BOOL InitInstance() override {
        if (g_mdi) {
            m_pMainWnd = dockapp::OpenDockAppMdiFrame(CPoint(40, 40), g_workbook);
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
        g_workbook = g_workbook || std::strcmp(argv[i], "--workbook") == 0;
        g_mdi = g_mdi || g_workbook || std::strcmp(argv[i], "--mdi") == 0;
    }
    InitializeDisplay();
    RegisterStandardControls();
    DolivaInstallResourceHooks(); // window titles from the string table
    return AfxWinMain(argc, argv);
}
