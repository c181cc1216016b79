// The toolbar manager of a frame: numbers and creates user toolbars, tells registered windows what happens to
// toolbars ("WM_BARNOTIFY"), switches the look of all toolbars (tooltips, cool look, large buttons), runs
// customise mode, holds the shared image store and draw context, the button-class tables and the default
// layouts the customise dialog resets toolbars to.
#pragma once

#include "toolkit/SECControlBarManager.h"
#include "toolkit/SECCustomToolBar.h"

#include <memory>
#include <vector>

class SECBmpMgr;
class SECBtnDrawContext;

// One default layout: the toolbar's control id, its title and its buttons (0 for a separator).
struct SECDefaultToolBar {
    UINT nID = 0;
    CString strTitle;
    std::vector<UINT> buttons;
};

// The rectangle of the button whose command is being posted, lent to it while the post runs.
struct SECDropDownRecord {
    BOOL bValid = FALSE;
    CRect rect;
};

class SECToolBarManager : public SECControlBarManager {
    DECLARE_DYNAMIC(SECToolBarManager)

public:
    explicit SECToolBarManager(CFrameWnd* pFrameWnd = nullptr);
    ~SECToolBarManager() override;

    // The kind a saved layout keeps for the manager's toolbars (not the menu bar, made from its menu).
    static constexpr UINT kToolBarTypeID = 1;
    UINT GetBarTypeID(CControlBar* pBar) const override;
    // A toolbar's record gets its title and buttons.
    SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) override;
    // A toolbar a layout names comes back as a toolbar of the manager; its buttons follow from the record.
    CControlBar* CreateMissingBar(SECControlBarInfo* pInfo) override;
    // The bar that takes a drop at a screen rectangle before the toolbars under its corners are tried; none
    // by default.
    virtual SECCustomToolBar* BarFromRect(const CRect& rectScreen) const {
        (void)rectScreen;
        return nullptr;
    }

    // The images of the manager's toolbars: a toolbar strip and the command ids of its images.
    BOOL AddBitmap(LPCTSTR lpszNormal, LPCTSTR lpszLarge, const UINT* pIDs, int nCount, BOOL bSysColor = TRUE);
    // A default layout; DefineDefaultToolBar and then LoadToolBars(or CreateDefaultToolBars) make the bars.
    void DefineDefaultToolBar(UINT nID, LPCTSTR lpszTitle, const UINT* pButtons, int nCount);
    BOOL FindDefaultButtons(UINT nID, const UINT*& pButtons, int& nCount) const;
    // Creates each default toolbar not yet present, docked at the frame's top.
    void CreateDefaultToolBars(DWORD dwAlign = CBRS_ALIGN_TOP);

    SECCustomToolBar* CreateUserToolBar(LPCTSTR lpszTitle = nullptr);
    // The toolbars' titles and buttons in the profile ("<profile>-ToolBars" lists the ids, each bar's own
    // section "<profile>-ToolBar<id>"); loading makes the user toolbars that are missing. Docking places
    // are the frame's bar state (LoadBarState after LoadToolBars). A toolkit frame with this manager set
    // keeps titles and buttons in its bar layout as well, which needs no separate call.
    void SaveToolBars(LPCTSTR lpszProfile) const;
    void LoadToolBars(LPCTSTR lpszProfile);
    SECCustomToolBar* CreateToolBar(UINT nID, LPCTSTR lpszTitle, DWORD dwStyle);
    // Every SECCustomToolBar of the frame.
    std::vector<SECCustomToolBar*> ToolBars() const;
    SECCustomToolBar* FindToolBar(UINT nID) const;

    void SetToolTips(BOOL bOn);
    void SetCoolLook(BOOL bOn, DWORD dwBits = CBRS_EX_FLATSTYLE | CBRS_EX_GRIPPER);
    void SetLargeButtons(BOOL bOn);
    BOOL IsToolTips() const { return m_bToolTips; }
    BOOL IsCoolLook() const { return m_bCoolLook; }
    BOOL IsLargeButtons() const { return m_bLargeButtons; }
    void ApplyButtonSize(SECCustomToolBar* pBar);
    void SetCustomizeValue(BOOL bValue);
    void EnterCustomize();
    void ExitCustomize();
    BOOL IsCustomizing() const { return m_bCustomizing; }

    void AddNotifyWindow(CWnd* pWnd);
    void RemoveNotifyWindow(CWnd* pWnd);
    void Notify(UINT nBarID, UINT nCode);
    void SetCustomizeDialog(CWnd* pWnd) { m_pCustomizeDlg = pWnd; }
    void GetCustomizeDialogRect(CRect& rect) const;
    void BroadcastToButtons(UINT nID, UINT nCode, const UINT* pData);

    const SECBtnMapEntry* GetButtonMap() const { return m_pBtnMap; }
    const SECBtnMapEntry* GetButtonMapExtra() const { return m_pBtnMapExtra; }
    void SetButtonMap(const SECBtnMapEntry* pMap, const SECBtnMapEntry* pExtra = nullptr) {
        m_pBtnMap = pMap;
        m_pBtnMapExtra = pExtra;
    }

    SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    SECBtnDrawContext* GetDrawContext();
    SECCustomToolBar* GetSelectionBar() const { return m_pSelectionBar; }
    void SetSelectionBar(SECCustomToolBar* pBar) { m_pSelectionBar = pBar; }

    enum BarNotify : UINT { BarShown = 0, BarHidden = 1, BarCreated = 2, BarDestroyed = 3, SelectionChanged = 4 };

    std::vector<HWND> m_notifyWnds;
    CWnd* m_pCustomizeDlg = nullptr;
    BOOL m_bCustomizing = FALSE;
    BOOL m_bCustomizeValue = FALSE;
    BOOL m_bToolTips = TRUE;
    BOOL m_bFlyBy = TRUE;
    BOOL m_bCoolLook = TRUE;
    BOOL m_bLargeButtons = FALSE;
    const SECBtnMapEntry* m_pBtnMap = nullptr;
    const SECBtnMapEntry* m_pBtnMapExtra = nullptr;
    SECCustomToolBar* m_pSelectionBar = nullptr;
    SECDropDownRecord m_dropDown;
    SECBmpMgr* m_pBmpMgr = nullptr;
    std::unique_ptr<SECBtnDrawContext> m_pDrawCtx;
    CWnd* m_pOwner = nullptr;
    CRuntimeClass* m_pToolBarClass = nullptr;
    std::vector<SECDefaultToolBar> m_defaults;

private:
    std::vector<HWND> m_disabledWnds;
    BOOL m_bFrameWasDisabled = FALSE; // by a modal customise dialog; a modeless one leaves it enabled
};

// The registered "WM_BARNOTIFY": wParam the toolbar's control id, lParam the code.
UINT SECGetBarNotifyMessage();
