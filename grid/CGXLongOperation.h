// Long grid operations (storing into large ranges, inserting and removing rows) bracket their work with a
// CGXLongOperation on the stack. The application-wide long-operation object shows progress and lets the
// user abort; without it a long operation only counts how deeply operations nest.
#pragma once

#include "grid/GridFeatureInterfaces.h"
#include "platform/base/CString.h"
#include "platform/base/WindowTypes.h"

class CGXLongOperation;

// The process-wide state all long operations share.
struct GridLongOperationState {
    DWORD waitDelay = 750;       // milliseconds before the first display
    DWORD updateInterval = 1500; // between later updates
    BOOL confirmAbort = TRUE;
    int percent = -1; // -1: no percentage
    int level = 0;    // nesting depth
    int displayLevelLimit = -1;
    BOOL waitCursorOn = FALSE;
    BOOL abortRequested = FALSE;
    BOOL aborted = FALSE;
    BOOL rollback = FALSE;
    BOOL canAbort = TRUE;
    BOOL canRollback = FALSE;
    // The status text of each level, 1 to kMaxLevels; deeper levels still count but keep no text.
    static constexpr int kMaxLevels = 64;
    CString levelTexts[kMaxLevels + 1];
    BOOL levelOwnsText[kMaxLevels + 1] = {};
    int spinnerStep = 0;
    HWND statusFrame = nullptr; // the frame whose status bar shows the progress
};
GridLongOperationState& GetLongOperationState();

// The display and abort handling; the application installs it.
class CGXAbstractLongOperationImp : public CGXFeatureObject {
public:
    virtual void Begin(CGXLongOperation& operation) = 0;
    virtual void End(CGXLongOperation& operation) = 0;
    virtual void FreeStatusText(CGXLongOperation& operation) = 0;
    virtual void SetStatusText(CGXLongOperation& operation, LPCTSTR text, BOOL copy) = 0;
    // Shows the progress and pumps messages once the delay has passed; `aborted` tells whether the user
    // asked to stop. FALSE while it is too early.
    virtual BOOL DoMessages(CGXLongOperation& operation, BOOL& aborted) = 0;
    virtual BOOL UpdateProgress(CGXLongOperation& operation) = 0;
    virtual void ProcessMessages(CGXLongOperation& operation) = 0;
};

class CGXLongOperation {
public:
    CGXLongOperation();
    ~CGXLongOperation();
    CGXLongOperation(const CGXLongOperation&) = delete;
    CGXLongOperation& operator=(const CGXLongOperation&) = delete;

    void SetStatusText(LPCTSTR text, BOOL copy = TRUE);
    void FreeStatusText();
    BOOL ShowProgress();
    // FALSE, aborted FALSE, without the long-operation object or while it is too early to ask.
    BOOL CheckAbort(BOOL& aborted);
    void ProcessMessages();
    // Publishes the percentage done (at most 100) when this level's texts are shown.
    void SetPercentDone(int percent);

    DWORD startTick = 0;
    DWORD lastTick = 0;
    CString text;
    BOOL showDoneText = TRUE;
    BOOL showStatus = TRUE;
};
