#include "dialogs/FirmwareUploadHost.h"

#include "platform/kernel/Ticks.h"

ULONGLONG FirmwareUploadHost::MonotonicMs() {
    return GetTickCount64();
}

void FirmwareUploadHost::SleepMs(DWORD milliseconds) {
    Sleep(milliseconds);
}

// The uploads poll "without pausing"; a millisecond's yield keeps the GUI thread from spinning a core at
// full load while it waits seconds for a boot loader.
void FirmwareUploadHost::PollIdle() {
    Sleep(1);
}
