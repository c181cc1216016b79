// The docking test application as a program: the frame on the display until it is closed.
#include "DockApp.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/sdl/DisplaySelect.h"

namespace {

class DockApplication : public CWinApp {
public:
    DockApplication() : CWinApp(u"DockApp") {}
    BOOL InitInstance() override {
        m_pMainWnd = dockapp::OpenDockAppFrame();
        return m_pMainWnd != nullptr;
    }
};

DockApplication theApp;

} // namespace

int main(int argc, char** argv) {
    InitializeDisplay();
    RegisterStandardControls();
    return AfxWinMain(argc, argv);
}
