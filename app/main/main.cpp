// The program's start: signals, the display, the controls, the resources and the beep are set up before
// anything else runs, then the application object is run through the service-aware entry.
#include "app/CPex32App.h"
#include "app/CPex32View.h"
#include "app/ServiceModule.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/MessageBox.h"
#include "platform/resources/Resources.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/serial/TtyDevice.h"
#include "platform/sound/Sound.h"
#include "platform/system/Services.h"
#include "platform/system/TerminationSignals.h"

#include <pthread.h>
#include <signal.h>

CPex32App theApp;

int main(int argc, char** argv) {
    // Before any thread exists, so that every thread inherits the masks: the service controls reach the
    // dispatcher, the termination signals become a close, and only the modem-line watchers take their stop
    // signal.
    BlockServiceSignalsInThisThread();
    BlockTerminationSignalsInThisThread();
    sigset_t watcherStop;
    sigemptyset(&watcherStop);
    sigaddset(&watcherStop, doliva::serial::WatcherStopSignal());
    pthread_sigmask(SIG_BLOCK, &watcherStop, nullptr);

    InitializeDisplay(&CPex32View::WarmTextCaches);
    RegisterStandardControls();
    DolivaInstallResourceHooks();
    DisplaySetMessageBeepHandler(SoundMessageBeep);

    return AfxWinMainWithService(argc, argv);
}
