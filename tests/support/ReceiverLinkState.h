// The receiver link's program-wide state (queues, semaphores, port, interface mode, receiver identity and
// 1PPS settings) put back as a fresh process has it.
#pragma once

#include "platform/kernel/Handles.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverConfiguration.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

namespace testsupport {

// The link's worker threads must have ended: they use the port and the semaphores.
inline void ResetReceiverLink() {
    DestroyLinkSemaphores();
    g_receiveList.RemoveAll();
    g_transmitList.RemoveAll();
    if (g_hGpsPort) {
        CloseHandle(g_hGpsPort);
        g_hGpsPort = nullptr;
    }
    g_interfaceMode = kModeSearch;
    g_initializing = 1;
    g_ppsInterface = kPpsNone;
    g_firmwareUploadActive = 0;
    g_ppsTimestamp = 0;
    g_ppsEdgeCounter = 0;
    g_ppsEdgeGapNs = -1;
    g_ppsTickDataMark = kNoTickWaiting;
    g_receiverIdentity = ReceiverIdentity{};
    g_receiverPlusModel = FALSE;
    g_receiverNotFound = FALSE;
    g_ppsRate100 = 0;
    g_ppsRateTicks = 0;
    g_ppsDurationSent = 0;
}

} // namespace testsupport
