// The view's handler of "data queued" (WM_APP+0x0A): drains g_receiveList into the decoder of the interface
// mode, echoes the results to the raw-data window and re-opens g_receiveGate.
#pragma once

#include "platform/base/Win32Types.h"

class GpsSendHost;
class ReceiverEvents;

// Returns at once, leaving the gate taken, while the view closes, while initialising (the initialisation
// reads the list itself) and in the Search modes. While a firmware upload runs the list is left to it.
// After the gate is re-opened a message that came in the meantime is posted again, so none waits for the
// next one. The drain stops at the first message received after the edge of a tick still waiting
// (g_ppsTickDataMark): the tick must be handled with the time that came before its edge.
LRESULT OnGpsData(GpsSendHost& host, ReceiverEvents& events, BOOL closing);

// Before a tick is handled, however late: hands the decoders what was received before its edge, under
// the conditions of OnGpsData. The gate is left as it is.
void DispatchDataBeforeTick(GpsSendHost& host, BOOL closing);
// After the tick: the data received after its edge may go to the decoders; when some waits, it is
// posted for.
void EndTickHold(ReceiverEvents& events);

// Re-opens g_receiveGate after a drain; when a message came after the drain's last look, takes the gate
// again and posts for it.
void ReopenReceiveGate(ReceiverEvents& events);
