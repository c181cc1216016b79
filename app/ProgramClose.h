// Closing the program on a request from outside the GUI thread: a termination signal (SIGTERM, SIGINT,
// SIGHUP), the service's stop, a lost display. The request becomes the user's own Close, WM_CLOSE to the
// main frame, which writes the document file and the settings. It is sent from the top of the GUI thread's
// message loop (the application's idle pass); modal dialogs, message boxes and menus open at the time are
// cancelled first, so that none of the code they were called from runs on in a destroyed view.
#pragma once

#include "platform/base/Win32Types.h"

class CWnd;

// Any thread: asks for the close and wakes the GUI thread.
void RequestProgramClose();
bool ProgramCloseRequested();
// On the GUI thread, at the application's start and end: watches its message loops for a request, and
// cancels what is modal while one is pending.
void WatchForProgramClose();
void StopWatchingForProgramClose();
// Whether a GUI thread is between its start and its end, so that a request will be carried out.
bool ProgramCloseWatched();
// The application's idle pass: sends the Close to the main window when one was requested; TRUE when it did.
BOOL CarryOutProgramClose(CWnd* mainWnd);
// Forgets a request (a fresh process has none).
void ResetProgramCloseRequest();

// The program's entry: takes the termination signals as close requests (SIGTERM too, unless the service
// dispatcher takes it as the service's stop) and makes a lost display one.
void ListenForOutsideCloseRequests(bool serviceTakesSigterm);
// The service dispatcher could not start: SIGTERM is a close request after all.
void TakeSigtermAsCloseRequest();
void StopListeningForOutsideCloseRequests();
