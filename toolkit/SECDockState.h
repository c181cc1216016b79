// The saved arrangement of a toolkit frame's bars: the framework's (dock bars, rows, floating frames,
// shown or hidden) and, per toolkit bar, its share of its row, its sizes docked and floating and what its
// kind adds (SECControlBarInfo). Kept in the profile (the framework's sections), in an archive, or under a
// node of a persistent tree. Positions saved on another screen size come back scaled. Also the profile's
// binary-as-text form, in chunks.
#pragma once

#include "platform/framework/CDockState.h"
#include "toolkit/SECControlBarInfo.h"

#include <vector>

class CArchive;
class CControlBar;
class CFrameWnd;
class CWinApp;
class SECControlBarManager;
class SECPersistentTreeNode;

class SECDockState : public CDockState {
    DECLARE_DYNAMIC(SECDockState)

public:
    static constexpr DWORD kVersion = 2;

    // The factory gives records their extensions and makes bars of its own that a layout names.
    explicit SECDockState(SECControlBarManager* pFactory = nullptr) : m_pBarInfoFactory(pFactory) {}

    CControlBarInfo* CreateBarInfo() override;
    // The record at an index (null for a record that is not a toolkit one), and a bar's record.
    SECControlBarInfo* GetBarInfo(INT_PTR nIndex) const;
    SECControlBarInfo* FindBarInfo(UINT nBarID) const;

    // The frame's arrangement, toolkit bars' shares, sizes and extensions with it.
    void Collect(CFrameWnd* pFrame);
    // Writes it under the profile name.
    void SaveState(LPCTSTR lpszProfileName) const;
    // Reads it; FALSE (and nothing kept) when there is none or it is damaged: a count that disagrees with
    // the sections, a bar without id, a dock bar naming an unknown bar, a size or share out of range, a
    // damaged extension.
    BOOL LoadState(LPCTSTR lpszProfileName);
    // The archive form. Loading a damaged or foreign layout raises CArchiveException and keeps nothing.
    void Serialize(CArchive& ar) override;
    // The tree form, in a child "DockState" of the parent (a previous one replaced). Loading answers FALSE
    // and keeps nothing when that child is missing or damaged.
    BOOL SaveToTree(SECPersistentTreeNode* pParent) const;
    BOOL LoadFromTree(SECPersistentTreeNode* pParent);
    // Gives the bars their shares, sizes and extensions, then the frame its arrangement. Bars the frame
    // lacks are made first, by the factory or else by CreateMissingBar; those that cannot be made are left
    // out.
    void Apply(CFrameWnd* pFrame);
    // A toolkit bar of the saved class (only control-bar classes that can be made by name), with the saved
    // id, styles and title, dockable on every side; null when there is no such class or it fails. It goes
    // to m_pCreatedBars when set, else it deletes itself with its window.
    virtual CControlBar* CreateMissingBar(const SECControlBarInfo& info, CFrameWnd* pFrame);
    // In an MDI frame, bars saved floating inside the main window go back into hosts there, at their
    // saved placement.
    virtual void RestoreMDIPlacements(CFrameWnd* pFrame);
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

    SECControlBarManager* m_pBarInfoFactory;             // not owned
    std::vector<CControlBar*>* m_pCreatedBars = nullptr; // not owned
    DWORD m_dwVersion = kVersion;

private:
    // Every bar has an id, toolkit records are in range, and dock bars name only saved bars.
    bool IsSound() const;
};
