// The view's handler of "data queued" (WM_APP+0x0A): drains g_receiveList into the decoder of the interface
// mode, echoes the results to the raw-data window and re-opens g_receiveGate.
#pragma once

#include "platform/base/Win32Types.h"

class GpsSendHost;
class ReceiverEvents;

// Returns at once, leaving the gate taken, while the view closes, while initialising (the initialisation
// reads the list itself) and in the Search modes. While a firmware upload runs the list is left to it.
// After the gate is re-opened a message that came in the meantime is posted again, so none waits for the
// next one.
LRESULT OnGpsData(GpsSendHost& host, ReceiverEvents& events, BOOL closing);

// Re-opens g_receiveGate after a drain; when a message came after the drain's last look, takes the gate
// again and posts for it.
void ReopenReceiveGate(ReceiverEvents& events);
