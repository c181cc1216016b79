// Message queues, sending and posting, the message loop, timers and hooks.
//
// Every thread that uses these calls gets a queue. GetMessage and PeekMessage first run the messages other
// threads sent to this one, then answer, in this order: posted messages, input, WM_QUIT (after
// PostQuitMessage), WM_PAINT for a window with something to paint (parents before children), and last
// WM_TIMER for a timer that is due. A timer has at most one WM_TIMER pending. Posted messages are never
// dropped while their window exists; a window's pending messages go with it.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/WindowTypes.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"

// Same thread: the window procedure runs at once. Another thread: the message waits in that thread's queue
// and this thread handles the messages sent to it while waiting for the answer.
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Answers 0 with ERROR_TIMEOUT when the other thread did not answer in time (the message stays queued and is
// still handled, its answer discarded). `result` receives the answer.
LRESULT SendMessageTimeoutW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            DWORD_PTR* result);
// Like SendMessage within the thread; to another thread it queues the message and does not wait.
BOOL SendNotifyMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Any thread may post; a null window posts to the calling thread.
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Answers FALSE for WM_QUIT, -1 for an invalid window filter. The window filter also takes the window's
// descendants; (HWND)-1 takes only messages posted to the thread. WM_QUIT passes every filter.
BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax);
// PM_REMOVE or PM_NOREMOVE, with PM_NOYIELD (ignored) and PM_QS_* to restrict the kinds looked at.
// WM_PAINT is never removed: it comes until the window is validated.
BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg);
// Posts WM_CHAR/WM_SYSCHAR (WM_DEADCHAR/WM_SYSDEADCHAR) for a key-down; answers TRUE for every key message.
BOOL TranslateMessage(const MSG* msg);
// Calls the window procedure (or the TIMERPROC of a WM_TIMER); a WM_PAINT left unvalidated is validated.
LRESULT DispatchMessageW(const MSG* msg);
// Returns when something new arrives in the queue.
BOOL WaitMessage();
// WAIT_OBJECT_0 + count when the queue has input of the kinds in wakeMask (new since the last look, or any
// with MWMO_INPUTAVAILABLE).
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags);
LONG GetMessageTime();
DWORD GetMessagePos();
LPARAM GetMessageExtraInfo();
LPARAM SetMessageExtraInfo(LPARAM lParam);
// HIWORD: the kinds in the queue; LOWORD: those added since the last look.
DWORD GetQueueStatus(UINT flags);
BOOL GetInputState();
BOOL InSendMessage();
DWORD InSendMessageEx(LPVOID reserved);
BOOL ReplyMessage(LRESULT result);
// 0xC000 onwards; the same string (without regard to case) answers the same number in the process.
UINT RegisterWindowMessageW(LPCWSTR name);

// ---- Timers
// A timer of a window (id as given; setting an existing id restarts it) or of the thread (null window: the id
// is generated, or an existing thread timer's id restarts that one). Elapse is clamped to 10 ms or more.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- Hooks (thread-local; a thread id of 0 hooks every thread of the process)
// WH_MSGFILTER (CallMsgFilter, with MSGF_* codes), WH_KEYBOARD and WH_MOUSE (input taken from the queue; a
// non-zero answer discards it), WH_GETMESSAGE, WH_CALLWNDPROC and WH_CALLWNDPROCRET (sent messages), WH_CBT
// (HCBT_CREATEWND, HCBT_DESTROYWND, HCBT_ACTIVATE, HCBT_SETFOCUS, HCBT_MINMAX, HCBT_SYSCOMMAND,
// HCBT_CLICKSKIPPED, HCBT_KEYSKIPPED; a non-zero answer prevents the action).
HHOOK SetWindowsHookExW(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
// Runs the WH_MSGFILTER hooks; TRUE when one of them handled the message.
BOOL CallMsgFilterW(LPMSG msg, int code);

#define SendMessage SendMessageW
#define SendMessageTimeout SendMessageTimeoutW
#define SendNotifyMessage SendNotifyMessageW
#define PostMessage PostMessageW
#define PostThreadMessage PostThreadMessageW
#define GetMessage GetMessageW
#define PeekMessage PeekMessageW
#define DispatchMessage DispatchMessageW
#define RegisterWindowMessage RegisterWindowMessageW
#define SetWindowsHookEx SetWindowsHookExW
#define CallMsgFilter CallMsgFilterW
