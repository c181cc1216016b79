// The arrangement of a frame's control bars (which dock bar, which row, floating where, shown or not),
// saved to and read from the application profile: a section "<name>-Summary" with the number of bars and
// the screen size, and one section "<name>-Bar<n>" per bar. Positions saved on another screen size come
// back scaled to this one.
#pragma once

#include "platform/base/CArrays.h"
#include "platform/base/CObject.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"

class CControlBarInfo {
public:
    UINT m_nBarID = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bFloating = FALSE;
    BOOL m_bHorz = TRUE;
    BOOL m_bDockBar = FALSE;
    CPoint m_pointPos{-1, -1}; // floating frame (screen) or place in the dock bar
    UINT m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos{0, 0, 0, 0};
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{0, 0};
    CUIntArray m_arrBarID; // a dock bar's bars row by row, 0 between rows

    CControlBarInfo() = default;
    virtual ~CControlBarInfo() = default;
    CControlBarInfo(const CControlBarInfo&) = delete;
    CControlBarInfo& operator=(const CControlBarInfo&) = delete;

    // Reads the bar's section; positions are scaled by `pDockState` when given. FALSE for a bar without id.
    virtual BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, class CDockState* pDockState = nullptr);
    virtual BOOL SaveState(LPCTSTR lpszProfileName, int nIndex) const;
};

class CDockState : public CObject {
    DECLARE_DYNAMIC(CDockState)

public:
    CDockState() = default;
    ~CDockState() override;
    CDockState(const CDockState&) = delete;
    CDockState& operator=(const CDockState&) = delete;

    void LoadState(LPCTSTR lpszProfileName);
    void SaveState(LPCTSTR lpszProfileName) const;
    void Clear();
    CSize GetScreenSize() const { return m_sizeScreen; }

    // A new, empty record of the kind this state keeps (owned by the caller until added).
    virtual CControlBarInfo* CreateBarInfo() { return new CControlBarInfo; }
    // The screen the layout is saved on or restored to; tests give their own.
    virtual CSize GetCurrentScreenSize() const;
    // The screen size the layout was saved on: positions read after this are scaled to the current screen
    // (none when either size is unknown or they are equal).
    void SetScreenSize(const CSize& sizeSaved);
    // The screen the positions now held belong to: the current one once they were scaled.
    CSize GetPositionsScreenSize() const { return m_sizeScaleTo.cx ? m_sizeScaleTo : m_sizeScreen; }
    void ScalePoint(CPoint& point) const;
    // Moves the rectangle's top-left like a point, keeping its size.
    void ScaleRectPos(CRect& rect) const;
    // A point where a window of `size` whose top-left is there stays on the current screen.
    CPoint KeepOnScreen(CPoint point, const CSize& size) const;

    CPtrArray m_arrBarInfo; // CControlBarInfo*, owned
    CSize m_sizeScreen{0, 0};
    CSize m_sizeScaleTo{0, 0}; // the current screen when scaling, else empty
};
