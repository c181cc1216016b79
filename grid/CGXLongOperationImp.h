// The application-wide long-operation object: after a short delay a long grid operation shows a wait
// cursor and its progress in the main frame's status bar, keeps windows painting by pumping messages
// (dropping the user's input meanwhile) and lets the user stop it with Escape after a confirmation.
#pragma once

#include "grid/CGXLongOperation.h"

#include <functional>

class CGXLongOperationImp : public CGXAbstractLongOperationImp {
public:
    CGXLongOperationImp();

    void Begin(CGXLongOperation& operation) override;
    void End(CGXLongOperation& operation) override;
    void FreeStatusText(CGXLongOperation& operation) override;
    void SetStatusText(CGXLongOperation& operation, LPCTSTR text, BOOL copy) override;
    BOOL DoMessages(CGXLongOperation& operation, BOOL& aborted) override;
    BOOL UpdateProgress(CGXLongOperation& operation) override;
    void ProcessMessages(CGXLongOperation& operation) override;

    // Where the milliseconds come from (the tick count); tests give a clock of their own.
    void SetClock(std::function<DWORD()> clock) { m_clock = std::move(clock); }

    // The status line holds at most this many characters.
    static constexpr int kMaxStatusChars = 127;

private:
    // Whether the delay before the first display, or between two updates, has not yet passed.
    BOOL TooEarly(const CGXLongOperation& operation, DWORD now) const;
    // Sends the status line to the frame when the operation's level shows its text.
    void ShowStatus(const CGXLongOperation& operation, CString line);
    CString NextSpinnerStep();
    // Asks the user whether to stop, when an abort was requested; TRUE when the operation is to stop.
    BOOL AnswerAbortRequest();

    std::function<DWORD()> m_clock;
};

void InstallLongOperation();
