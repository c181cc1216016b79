// One bar's record in a saved layout: the framework's (which dock bar, row, floating where, shown or not)
// and what a toolkit bar adds (its share of its row, its sizes docked and floating, its styles, and enough to
// make it again), plus an optional extension for what its kind needs, made by the layout's bar manager.
#pragma once

#include "platform/display/WindowMessages.h"
#include "platform/framework/CDockState.h"

class CArchive;
class CFrameWnd;
class SECControlBarManager;
class SECDockState;
class SECPersistentTreeNode;

// What a kind of bar adds to its record. The defaults save nothing and read nothing.
class SECControlBarInfoEx : public CObject {
    DECLARE_DYNAMIC(SECControlBarInfoEx)

public:
    using CObject::Serialize;
    virtual void Serialize(CArchive& ar, SECDockState* pDockState) {
        (void)ar;
        (void)pDockState;
    }
    // Reading answers FALSE for damaged data: the whole layout is then refused.
    virtual BOOL LoadFromTree(SECPersistentTreeNode* pNode) { return pNode != nullptr; }
    virtual BOOL LoadState(LPCTSTR lpszSection, SECDockState* pDockState = nullptr) {
        (void)lpszSection;
        (void)pDockState;
        return TRUE;
    }
    // Saving into the bar's own node (the extension makes its children there) or section.
    virtual BOOL SaveToTree(SECPersistentTreeNode* pNode) const { return pNode != nullptr; }
    virtual BOOL SaveState(LPCTSTR lpszSection) const {
        (void)lpszSection;
        return FALSE;
    }
};

class SECControlBarInfo : public CControlBarInfo {
public:
    explicit SECControlBarInfo(SECControlBarManager* pFactory = nullptr) : m_pBarInfoFactory(pFactory) {}
    ~SECControlBarInfo() override;

    // The profile form: the framework's keys, the toolkit's in the same section, then the extension's.
    // Loading answers FALSE for a bar without id and for a damaged extension.
    BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState = nullptr) override;
    BOOL SaveState(LPCTSTR lpszProfileName, int nIndex) const override;
    // The tree form: a child "Bar-<index>" of the parent; an empty docked dock bar is not saved (FALSE).
    virtual BOOL SaveToTree(SECPersistentTreeNode* pParent, int nIndex) const;
    // FALSE when the node is damaged (more bars named than keys held, a damaged extension).
    virtual BOOL LoadFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState);
    // The archive form; a record whose kind has no extension maker cannot be read past and is refused.
    virtual void Serialize(CArchive& ar, SECDockState* pDockState);

    // Takes the extension over (a previous one is deleted).
    void SetBarInfoEx(SECControlBarInfoEx* pBarInfoEx);
    // The toolkit part is in range: a share in (0, 1] and sizes from 0 to 32767.
    bool IsSound() const;
    // Asks the factory for the extension of this record's kind; false when the kind needs one and none comes.
    bool MakeBarInfoEx();

    static constexpr int kMaxSize = 32767;

    bool m_bToolkitBar = false; // the toolkit part below was saved (plain framework bars have none)
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    float m_fProportion = 1.0f; // below 0 when the saved share could not be read
    CSize m_szFloat;
    CSize m_szHorzDock;
    CSize m_szVertDock;
    DWORD m_dwSavedDockStyle = 0;
    DWORD m_dwDockStyle = 0;
    BOOL m_bPrevFloating = FALSE;
    BOOL m_bMDIChild = FALSE;          // the bar floats inside the main window, in an MDI host
    WINDOWPLACEMENT m_wpMDIChild = {}; // that host's placement; length 0 when none was saved
    CString m_strClassName;
    CString m_strWindowName;
    UINT m_nResourceID = 0;
    SECControlBarInfoEx* m_pBarInfoEx = nullptr; // owned
    UINT m_nTypeID = 0;                          // given by the bar's manager; 0: no extension
    SECControlBarManager* m_pBarInfoFactory;     // not owned

private:
    void SaveBaseToTree(SECPersistentTreeNode* pNode) const;
    void SaveExToTree(SECPersistentTreeNode* pNode) const;
    bool LoadBaseFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState);
};
