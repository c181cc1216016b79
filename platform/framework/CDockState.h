// The arrangement of a frame's control bars (which dock bar, which row, floating where, shown or not),
// saved to and read from the application profile: a section "<name>-Summary" with the number of bars and
// one section "<name>-Bar<n>" per bar.
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

    BOOL LoadState(LPCTSTR lpszProfileName, int nIndex);
    BOOL SaveState(LPCTSTR lpszProfileName, int nIndex) const;
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

    CPtrArray m_arrBarInfo; // CControlBarInfo*, owned
    CSize m_sizeScreen{0, 0};
};
