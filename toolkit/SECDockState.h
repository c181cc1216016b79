// The saved arrangement of a toolkit frame's bars: the framework's (dock bars, rows, floating frames,
// shown or hidden) and, per toolkit bar, its share of its row and its sizes docked and floating. Kept in the
// profile (the framework's sections), in an archive, or under a node of a persistent tree. Also the
// profile's binary-as-text form, in chunks.
#pragma once

#include "platform/framework/CDockState.h"

#include <map>
#include <vector>

class CArchive;
class CControlBar;
class CFrameWnd;
class CWinApp;
class SECPersistentTreeNode;

// What a toolkit bar adds to the framework's bar information.
struct SECControlBarInfo {
    UINT m_nBarID = 0;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    float m_fProportion = 1.0f; // below 0 when the saved share could not be read
    CSize m_szFloat;
    CSize m_szHorzDock;
    CSize m_szVertDock;
    DWORD m_dwSavedDockStyle = 0;
    DWORD m_dwDockStyle = 0;
    BOOL m_bPrevFloating = FALSE;
    BOOL m_bMDIChild = FALSE;
    UINT m_nTypeID = 0;
    CString m_strClassName;
    CString m_strWindowName;
    UINT m_nResourceID = 0;
};

class SECDockState : public CDockState {
    DECLARE_DYNAMIC(SECDockState)

public:
    static constexpr DWORD kVersion = 2;

    // The frame's arrangement, toolkit bars' shares and sizes with it.
    void Collect(CFrameWnd* pFrame);
    // Writes it under the profile name.
    void SaveState(LPCTSTR lpszProfileName) const;
    // Reads it; FALSE (and nothing kept) when there is none or it is damaged: a count that disagrees with
    // the sections, a bar without id, a dock bar naming an unknown bar, a size or share out of range.
    BOOL LoadState(LPCTSTR lpszProfileName);
    // The archive form. Loading a damaged or foreign layout raises CArchiveException and keeps nothing.
    void Serialize(CArchive& ar) override;
    // The tree form, in a child "DockState" of the parent (a previous one replaced). Loading answers FALSE
    // and keeps nothing when that child is missing or damaged.
    BOOL SaveToTree(SECPersistentTreeNode* pParent) const;
    BOOL LoadFromTree(SECPersistentTreeNode* pParent);
    // Gives the bars their shares and sizes, then the frame its arrangement. Bars the frame lacks are made
    // first (CreateMissingBar); those that cannot be made are left out.
    void Apply(CFrameWnd* pFrame);
    // A toolkit bar of the saved class (only control-bar classes that can be made by name), with the saved
    // id, styles and title, dockable on every side; null when there is no such class or it fails. It goes
    // to m_pCreatedBars when set, else it deletes itself with its window.
    virtual CControlBar* CreateMissingBar(const SECControlBarInfo& info, CFrameWnd* pFrame);
    // Tidies the dock bars' lists before saving: a bar's placeholder stays only in the dock bar it last
    // docked in (and at a list's end), a bar is listed once, and a list ends in exactly one row end.
    void Normalize();
    // Forgets the arrangement and the toolkit bars' records.
    void Reset();

    static constexpr UINT kPlaceholder = 0x10000; // added to a bar id: the bar belongs here but is away

    // Binary values as text: 'A' + low nibble, 'A' + high nibble per byte; long texts in chunks.
    static BOOL WriteBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, const BYTE* pData,
                            UINT nBytes);
    static BOOL GetBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, std::vector<BYTE>& data);

    std::map<UINT, SECControlBarInfo> m_barInfo;
    std::vector<CControlBar*>* m_pCreatedBars = nullptr; // not owned

private:
    // Every bar has an id, toolkit records are in range, and dock bars name only saved bars.
    bool IsSound() const;
    void StoreBar(CArchive& ar, const CControlBarInfo& base) const;
    void LoadBar(CArchive& ar, DWORD dwVersion);
};
