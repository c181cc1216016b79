// The extended system commands of frames: the window-mode menu (MDI child, docked on a side, floating)
// built, shown and applied through the registered "Toolkit::WM_SYSCOMMANDEX", and the caption clicks and
// the context menu that send them.
#pragma once

#include "toolkit/SECMsgFilter.h"
#include "toolkit/SECMultiDocTemplate.h"

#include "platform/base/CRect.h"
#include "platform/display/MenuApi.h"
#include "platform/framework/CWnd.h"

namespace nsSysCommandEx {

// wParam & 0xFFF0 of the message.
constexpr UINT SCX_APPLYMODE = 0xC000;
constexpr UINT SCX_GETMODEMENU = 0xC010;
constexpr UINT SCX_SHOWMODEMENU = 0xC020;

// Window modes; the main modes are 1, 5 and 10.
enum Mode : int {
    ModeNone = 0,
    ModeMDIChild = 1,
    ModeMDIMinimized = 2,
    ModeMDIMaximized = 3,
    ModeMDIRestored = 4,
    ModeDocked = 5,
    ModeDockedLeft = 6,
    ModeDockedTop = 7,
    ModeDockedRight = 8,
    ModeDockedBottom = 9,
    ModeFloating = 10,
};

// What lParam points to.
struct Record {
    HWND hWnd = nullptr;
    // Bit 0: position given (the window's non-client area is repainted after), bit 1: size given.
    DWORD dwFlags = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    RECT rect{};
    HMENU hMenu = nullptr;
    int nTargetMode = -1;
    // Where in the dock bar's rows, and what share and size, a frame docked on a side asks for; null: the
    // defaults.
    const SECDockPos* pRowColumn = nullptr;
    const SECDockSize* pProportionSize = nullptr;
};

UINT GetMessageId();
// Sends the extended system command with the record to a live window; 0 without one.
LRESULT Send(CWnd* pWnd, UINT nCommand, Record& record);
// A record for the window at the screen point a mouse message carries.
Record RecordAt(HWND hWnd, LPARAM lParam);
int MainMode(int nMode);

class ScxMsgFilter : public SECMsgFilter {
    DECLARE_DYNCREATE(ScxMsgFilter)

public:
    using SECMsgFilter::SECMsgFilter;
    SECMsgFilter* Clone() const override { return new ScxMsgFilter(*this); }

    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual UINT OnShowModeMenu(Record& record, LRESULT* pResult);
    virtual UINT OnGetModeMenu(Record& record, LRESULT* pResult);
    virtual UINT OnApplyMode(Record& record, LRESULT* pResult);
    virtual HMENU GetModeMenu(Record& record);
    virtual int TrackModeMenu(HMENU hMenu, const Record& record);
    virtual void ApplyChosenMode(int nMode, const Record& record);
    virtual HMENU BuildModeMenu(CWnd* pFrame, int nCurrentMode);
    virtual HMENU BuildMenuForRecord(const Record& record);
    // Each gives the view's frame after the switch, or null when the switch was abandoned.
    virtual CFrameWnd* ToMDIChild(CFrameWnd* pFrame, int nCurrent, int nTarget, SECMultiDocTemplate* pTemplate,
                                  const Record& record);
    virtual CFrameWnd* ToDocked(CFrameWnd* pFrame, int nCurrent, int nTarget, SECMultiDocTemplate* pTemplate,
                                const Record& record);
    virtual CFrameWnd* ToFloating(CFrameWnd* pFrame, int nCurrent, int nTarget, SECMultiDocTemplate* pTemplate,
                                  const Record& record);
    // MDI child to docked frame or back, by the template.
    virtual CFrameWnd* TemplateToggle(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate, const Record& record);
    // A docked frame's bar floats, a floating one docks again; a position and size in the record place the
    // floating frame.
    virtual CFrameWnd* ToggleBarDocking(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate, const Record& record);
    virtual CFrameWnd* TemplateDock(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                                    const SECDockSize* pSize, SECMultiDocTemplate* pTemplate);
    // An MDI child by its show state, a dockable frame by the side its bar is on; ModeNone otherwise.
    virtual int CurrentMode(CWnd* pFrame) const;
    virtual int DefaultTargetMode(CWnd* pFrame, int nCurrent, const Record& record) const;
    // The template of the document of the record's frame's active view, when it is of `pClass`.
    virtual SECMultiDocTemplate* FindMultiDocTemplate(const Record& record, CRuntimeClass* pClass) const;
    virtual BOOL RunsOnCopy(UINT nCommand) const;

    BOOL m_bIsCopy = FALSE;
};

// A right double click on the caption: the default window mode.
class ScxCaptionNCRDBLClkFilter : public SECMsgFilter {
    DECLARE_DYNCREATE(ScxCaptionNCRDBLClkFilter)

public:
    using SECMsgFilter::SECMsgFilter;
    SECMsgFilter* Clone() const override { return new ScxCaptionNCRDBLClkFilter(*this); }
    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// A right click on the caption: the mode menu at the pointer.
class ScxContextMenuFilter : public SECMsgFilter {
    DECLARE_DYNCREATE(ScxContextMenuFilter)

public:
    using SECMsgFilter::SECMsgFilter;
    SECMsgFilter* Clone() const override { return new ScxContextMenuFilter(*this); }
    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

} // namespace nsSysCommandEx
