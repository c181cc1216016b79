// The pop-up windows that show a cell's whole content over the cell: text in the cell's font, or the
// cell's picture. They never take the focus; the pointer and the keys they see go back to the grid.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CRect.h"
#include "platform/base/Win32Types.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CWnd.h"

class CGXGridCore;
class CGXGridCellTips;

class CGXCellTipWnd : public CWnd {
public:
    CGXCellTipWnd(CGXGridCore* grid, int kind, CGXGridCellTips* owner);
    ~CGXCellTipWnd() override;

    // Creates the hidden pop-up once; FALSE when it cannot be made.
    BOOL CreateTip();
    int GetKind() const { return m_nKind; }
    CGXGridCore* Grid() const { return m_pGrid; }

protected:
    // The pointer over the tip (client coordinates) and the keys: the tip ends, the grid handles them.
    virtual void OnTipMouse(UINT message, UINT flags, CPoint point);
    virtual void OnTipKey();

    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnChar(UINT, UINT, UINT);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()

    CGXGridCore* m_pGrid;
    int m_nKind;
    CGXGridCellTips* m_pOwner;
    HBRUSH m_hBackground;
};

class CGXTextCellTipWnd : public CGXCellTipWnd {
public:
    CGXTextCellTipWnd(CGXGridCore* grid, CGXGridCellTips* owner);

    // The font is used as given: it is already scaled by the grid's zoom.
    void SetTipFont(const LOGFONTW& font);
    const LOGFONTW& GetTipFont() const { return m_logFont; }
    void SetTextRect(const CRect& rect) { m_rectText = rect; }
    const CRect& GetTextRect() const { return m_rectText; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    LOGFONTW m_logFont{};
    CFont m_font;
    CRect m_rectText;
};

class CGXStaticBitmapCellTipWnd : public CGXCellTipWnd {
public:
    CGXStaticBitmapCellTipWnd(CGXGridCore* grid, CGXGridCellTips* owner);

    // The picture stays the picture pool's.
    void SetPicture(HGLOBAL dib) { m_hDib = dib; }
    HGLOBAL GetPicture() const { return m_hDib; }
    void SetPictureRect(const CRect& rect) { m_rectPicture = rect; }
    const CRect& GetPictureRect() const { return m_rectPicture; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    HGLOBAL m_hDib = nullptr;
    CRect m_rectPicture;
};
