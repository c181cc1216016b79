// A button of the toolkit's custom toolbar: an object of its own (not a control), drawn by its bar through
// the bar's draw context in every state, and pressed, tracked and released by the bar's mouse handling.
#pragma once

#include "platform/framework/CControlBar.h"
#include "platform/framework/CDC.h"

class SECCustomToolBar;
class SECBtnDrawContext;
class SECStdBtn;

// Button style word: the framework toolbar's style in the low word and its state byte above it, then the
// toolkit's own bits.
#define SEC_TBBS_SEPARATOR 0x00000001u
#define SEC_TBBS_CHECKBOX 0x00000002u
#define SEC_TBBS_GROUP 0x00000004u
#define SEC_TBBS_DROPDOWN 0x00000008u
#define SEC_TBBS_CHECKED 0x00010000u
#define SEC_TBBS_PRESSED 0x00020000u
#define SEC_TBBS_DISABLED 0x00040000u
#define SEC_TBBS_HIDDEN 0x00080000u
#define SEC_TBBS_INDETERMINATE 0x00100000u
#define SEC_TBBS_WRAPPED 0x00200000u
#define SEC_TBBS_SELECTED 0x01000000u
#define SEC_TBBS_HOT 0x02000000u
#define SEC_TBBS_KEEPENABLED 0x10000000u
#define SEC_TBBS_VCENTER 0x20000000u

// Kinds of button.
#define SEC_BTN_PLAIN 0
#define SEC_BTN_TOPMENU 3
#define SEC_BTN_MENU 4
#define SEC_BTN_FAREND 5

// The toolbar notification a drop-down part sends its owner.
#define SEC_TBN_DROPDOWN (-710)

// What a button's notification carries besides the header: its command id, its index in the bar and two
// values (a menu button's menu and sub-menu position).
struct SECNMTOOLBAR {
    NMHDR hdr;
    UINT idCommand = 0;
    int nIndex = -1;
    LPARAM lValueA = 0;
    LPARAM lValueB = 0;
};

// The only member makes a new button of one class; CreateButton catches what it throws.
struct SECButtonClass {
    SECStdBtn* (*pfnCreate)();
    SECStdBtn* CreateButton() const;
};

#define SEC_DECLARE_BUTTON()                                                                                   \
public:                                                                                                        \
    static const SECButtonClass classRecord;                                                                  \
    const SECButtonClass* GetButtonClass() const override { return &classRecord; }

#define SEC_IMPLEMENT_BUTTON(cls) const SECButtonClass cls::classRecord{[]() -> SECStdBtn* { return new cls; }};

class SECStdBtn {
public:
    SECStdBtn() = default;
    SECStdBtn(const SECStdBtn&) = delete;
    SECStdBtn& operator=(const SECStdBtn&) = delete;
    virtual ~SECStdBtn() = default;

    static const SECButtonClass classRecord;
    virtual const SECButtonClass* GetButtonClass() const { return &classRecord; }

    virtual void SetOrientation(DWORD dwAlign) { (void)dwAlign; }
    virtual void SetStyle(UINT nStyle) { m_nStyle = nStyle; }
    virtual UINT GetStyle() const { return m_nStyle; }
    virtual BOOL HasStyle(UINT nBits) const { return (m_nStyle & nBits) == nBits; }
    virtual void SetPos(int x, int y);
    virtual void Invalidate(BOOL bErase = FALSE) const;
    virtual void Init(SECCustomToolBar* pToolBar, const void* pData);
    virtual BOOL CanDrag() const { return TRUE; }
    virtual void Draw(CDC& dc, SECBtnDrawContext& ctx);
    virtual BOOL BtnPressDown(CPoint point);
    virtual void BtnPressMouseMove(CPoint point);
    virtual void BtnPressCancel();
    virtual UINT BtnPressUp(CPoint point);
    virtual void BarStyleChanged(DWORD dwStyle) { (void)dwStyle; }
    virtual UINT GetToolInfo(CPoint point, TOOLINFO* pTI) const;
    // Code 1: {bits to set, bits to clear}.
    virtual void OnBroadcast(UINT nCode, const UINT* pData);
    virtual void RecalcSize();
    virtual void SaveData(BYTE& nLen, BYTE*& pData) const;
    virtual void RestoreData(BYTE nLen, const BYTE* pData) { (void)nLen, (void)pData; }
    virtual LRESULT SendNotify(int nCode, LPARAM a, LPARAM b) const;

    CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }

    enum BroadcastCode : UINT { NotifyStyle = 1 };

    UINT m_nID = 0;
    int m_nImage = 0;
    UINT m_nStyle = 0;
    int m_x = -1;
    int m_y = -1;
    int m_cx = 23;
    int m_cy = 22;
    int m_nType = SEC_BTN_PLAIN;
    SECCustomToolBar* m_pToolBar = nullptr;

protected:
    // Draws the face into the buffer; the rectangle comes back shrunk to inside the frame. Image width -1
    // means the bar's.
    virtual void DrawFace(SECBtnDrawContext& ctx, BOOL bNoFrame, int& x, int& y, int& cx, int& cy,
                          int cxImage = -1);
    virtual void DrawDisabled(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
    virtual void DrawChecked(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
    virtual void DrawIndeterminate(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
    virtual void DrawSelectionFrame(SECBtnDrawContext& ctx);
    virtual void SelectImage(SECBtnDrawContext& ctx);
    virtual void DrawSeparator(CDC& dc);
    virtual void DrawButton(SECBtnDrawContext& ctx);
    virtual void DrawImage(int x, int y, int cx, int cy, SECBtnDrawContext& ctx, int xSrc, int ySrc);
    virtual void BlendBackground(CDC& dc, SECBtnDrawContext& ctx);
    virtual void DrawSelection(SECBtnDrawContext& ctx);
    virtual void Present(CDC& dc, SECBtnDrawContext& ctx);

    // The mask: white where the buffer shows button face or highlight.
    void MakeMask(SECBtnDrawContext& ctx, int x, int y, int cx, int cy);
    // Paints the brush through the mask where it is black (face kept) or white (image kept).
    void PaintThroughMask(SECBtnDrawContext& ctx, CBrush* pBrush, DWORD rop, int x, int y, int cx, int cy,
                          int xMask, int yMask);

    BOOL m_bImageSelected = FALSE;
};
