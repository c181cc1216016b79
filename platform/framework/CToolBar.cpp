#include "platform/framework/CToolBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

namespace {

// The state of one button as the idle update sets it.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        auto* pBar = static_cast<CToolBar*>(m_pOther);
        UINT style = pBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(TBBS_DISABLED);
        if (!bOn) {
            // A disabled button cannot stay pressed.
            style = (style | TBBS_DISABLED) & ~static_cast<UINT>(TBBS_PRESSED);
        }
        pBar->SetButtonStyle(static_cast<int>(m_nIndex), style);
    }
    void SetCheck(int nCheck) override {
        auto* pBar = static_cast<CToolBar*>(m_pOther);
        UINT style = pBar->GetButtonStyle(static_cast<int>(m_nIndex)) &
                     ~static_cast<UINT>(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1) {
            style |= TBBS_CHECKED;
        } else if (nCheck == 2) {
            style |= TBBS_INDETERMINATE;
        }
        pBar->SetButtonStyle(static_cast<int>(m_nIndex), style | TBBS_CHECKBOX);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR) override {}
};

} // namespace

CToolBar::CToolBar() {
    m_cxLeftBorder = m_cxRightBorder = 2;
    m_cyTopBorder = m_cyBottomBorder = 2;
}

CToolBar::~CToolBar() {
    if (m_hWnd) {
        DestroyWindow();
    }
    if (m_hbmImageWell) {
        ::DeleteObject(m_hbmImageWell);
    }
}

BOOL CToolBar::CreateToolBar(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    RegisterToolbarClass();
    m_dwStyle = dwStyle & CBRS_ALL;
    if (m_dwStyle & CBRS_TOOLTIPS) {
        dwCtrlStyle |= TBSTYLE_TOOLTIPS;
    }
    // The frame places the bar; the control must not place itself.
    DWORD windowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN |
                        CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | (dwCtrlStyle & 0xFFFF);
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) {
        return FALSE;
    }
    SetOwner(pParentWnd);
    SendMessageW(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateToolBar(pParentWnd, 0, dwStyle, nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
    SetBorders(rcBorders);
    return CreateToolBar(pParentWnd, dwCtrlStyle, dwStyle, nID);
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd) {
        SendMessageW(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
        SendMessageW(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
        Invalidate();
    }
}

void CToolBar::SetHeight(int cyHeight) {
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, TRUE);
    int extra = inside.top - inside.bottom;
    int space = cyHeight - extra - m_sizeButton.cy;
    m_cyTopBorder += space / 2;
    m_cyBottomBorder += space - space / 2;
    Invalidate();
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = AfxGetResourceHandle();
    size_t size = 0;
    const BYTE* data = DolivaResourceBytes(hInst, lpszResourceName, RT_TOOLBAR, &size);
    auto word = [&](size_t i) { return static_cast<WORD>(data[2 * i] | (data[2 * i + 1] << 8)); };
    if (!data || size < 8 || word(0) != 1) {
        if (data) {
            SetLastError(ERROR_INVALID_DATA);
        }
        return FALSE;
    }
    WORD width = word(1);
    WORD height = word(2);
    WORD count = word(3);
    if (size < 8 + 2 * static_cast<size_t>(count) || width == 0 || height == 0) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    std::vector<UINT> ids(count);
    for (WORD i = 0; i < count; ++i) {
        ids[i] = word(4 + i);
    }
    SetSizes(CSize(width + 7, height + 7), CSize(width, height));
    if (!SetButtons(ids.data(), count)) {
        return FALSE;
    }
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HBITMAP hbm = ::LoadSysColorBitmap(hInst, lpszResourceName);
    if (!hbm) {
        return FALSE;
    }
    m_hInstImageWell = hInst;
    return SetBitmap(hbm);
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell) {
    BITMAP bm{};
    if (!hbmImageWell || !::GetObjectW(hbmImageWell, sizeof bm, &bm) || m_sizeImage.cx <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int count = std::max(1, static_cast<int>(bm.bmWidth) / static_cast<int>(m_sizeImage.cx));
    if (m_hbmImageWell) {
        TBREPLACEBITMAP replace{nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                                reinterpret_cast<UINT_PTR>(hbmImageWell), count};
        if (!SendMessageW(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace))) {
            return FALSE;
        }
        ::DeleteObject(m_hbmImageWell);
    } else {
        TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(hbmImageWell)};
        if (SendMessageW(TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add)) == -1) {
            return FALSE;
        }
    }
    m_hbmImageWell = hbmImageWell;
    Invalidate();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    while (SendMessageW(TB_BUTTONCOUNT) > 0) {
        SendMessageW(TB_DELETEBUTTON, 0);
    }
    int image = 0;
    std::vector<TBBUTTON> buttons(static_cast<size_t>(std::max(nIDCount, 0)));
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        b.fsState = TBSTATE_ENABLED;
        if (!lpIDArray) {
            b.fsStyle = TBSTYLE_SEP;
            continue;
        }
        b.idCommand = static_cast<int>(lpIDArray[i]);
        if (lpIDArray[i] == ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 6;
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.iBitmap = image++;
        }
    }
    m_nCount = nIDCount;
    if (nIDCount > 0 && !SendMessageW(TB_ADDBUTTONSW, static_cast<WPARAM>(nIDCount),
                                      reinterpret_cast<LPARAM>(buttons.data()))) {
        return FALSE;
    }
    return TRUE;
}

BOOL CToolBar::GetButton(int nIndex, TBBUTTON* pButton) const {
    return static_cast<BOOL>(const_cast<CToolBar*>(this)->SendMessageW(
        TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pButton)));
}

void CToolBar::SetButton(int nIndex, const TBBUTTON* pButton) {
    TBBUTTON old{};
    if (!GetButton(nIndex, &old)) {
        return;
    }
    if (old.idCommand == pButton->idCommand && old.iBitmap == pButton->iBitmap &&
        old.fsState == pButton->fsState && old.fsStyle == pButton->fsStyle) {
        return; // idle updates set the same state again and again; nothing to repaint
    }
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_IMAGE | TBIF_STATE | TBIF_STYLE;
    info.idCommand = pButton->idCommand;
    info.iImage = pButton->iBitmap;
    info.fsState = pButton->fsState;
    info.fsStyle = pButton->fsStyle;
    SendMessageW(TB_SETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
    // A separator's width changes the layout of the whole bar.
    if ((pButton->fsStyle & TBSTYLE_SEP) && old.iBitmap != pButton->iBitmap) {
        if (CFrameWnd* pFrame = GetParentFrame()) {
            pFrame->DelayRecalcLayout();
        }
    }
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    return static_cast<int>(const_cast<CToolBar*>(this)->SendMessageW(TB_COMMANDTOINDEX, nIDFind));
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON b{};
    return GetButton(nIndex, &b) ? static_cast<UINT>(b.idCommand) : 0;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!const_cast<CToolBar*>(this)->SendMessageW(TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                                   reinterpret_cast<LPARAM>(lpRect))) {
        ::SetRectEmpty(lpRect);
    }
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    TBBUTTON b{};
    if (!GetButton(nIndex, &b)) {
        return 0;
    }
    return MAKELONG(b.fsStyle, static_cast<BYTE>(b.fsState ^ TBSTATE_ENABLED));
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    TBBUTTON b{};
    if (!GetButton(nIndex, &b)) {
        return;
    }
    b.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    b.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    SetButton(nIndex, &b);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
    TBBUTTON b{};
    if (!GetButton(nIndex, &b)) {
        nID = 0;
        nStyle = 0;
        iImage = 0;
        return;
    }
    nID = static_cast<UINT>(b.idCommand);
    nStyle = MAKELONG(b.fsStyle, static_cast<BYTE>(b.fsState ^ TBSTATE_ENABLED));
    iImage = b.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
    TBBUTTON b{};
    if (!GetButton(nIndex, &b)) {
        return;
    }
    b.idCommand = static_cast<int>(nID);
    b.iBitmap = iImage;
    b.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    b.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    SetButton(nIndex, &b);
}

void CToolBar::SetWrap(int nIndex, BOOL bWrap) {
    TBBUTTON b{};
    if (!GetButton(nIndex, &b)) {
        return;
    }
    BYTE state =
        bWrap ? static_cast<BYTE>(b.fsState | TBSTATE_WRAP) : static_cast<BYTE>(b.fsState & ~TBSTATE_WRAP);
    if (state != b.fsState) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        info.fsState = state;
        SendMessageW(TB_SETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
    }
}

void CToolBar::WrapButtons(int nWidth) {
    int count = static_cast<int>(SendMessageW(TB_BUTTONCOUNT));
    int x = 0;
    int lastSeparator = -1;
    for (int i = 0; i < count; ++i) {
        SetWrap(i, FALSE);
    }
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        GetButton(i, &b);
        if (b.fsState & TBSTATE_HIDDEN) {
            continue;
        }
        bool sep = (b.fsStyle & TBSTYLE_SEP) != 0;
        int cx = sep ? (b.iBitmap > 0 ? b.iBitmap : 8) : static_cast<int>(m_sizeButton.cx);
        if (!sep && x > 0 && x + cx > nWidth) {
            // Break at the separator before, when there is one in this row; else before this button.
            if (lastSeparator >= 0) {
                SetWrap(lastSeparator, TRUE);
                x = 0;
                for (int j = lastSeparator + 1; j < i; ++j) {
                    TBBUTTON o{};
                    GetButton(j, &o);
                    x += (o.fsStyle & TBSTYLE_SEP) ? (o.iBitmap > 0 ? o.iBitmap : 8)
                                                   : static_cast<int>(m_sizeButton.cx);
                }
            } else if (i > 0) {
                SetWrap(i - 1, TRUE);
                x = 0;
            }
            lastSeparator = -1;
        }
        if (sep) {
            lastSeparator = i;
        }
        x += cx;
    }
}

CSize CToolBar::CalcButtonsSize() const {
    int count = static_cast<int>(const_cast<CToolBar*>(this)->SendMessageW(TB_BUTTONCOUNT));
    CSize size(0, 0);
    for (int i = 0; i < count; ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        size.cx = std::max(size.cx, rect.right);
        size.cy = std::max(size.cy, rect.bottom);
    }
    // A bar without buttons keeps a button's height.
    size.cy = std::max(size.cy, m_sizeButton.cy);
    return size;
}

CSize CToolBar::CalcLayout(DWORD dwMode, int nLength) {
    if (!m_hWnd) {
        return CSize(0, 0);
    }
    int count = static_cast<int>(SendMessageW(TB_BUTTONCOUNT));
    BOOL bHorz = (dwMode & LM_HORZ) != 0;
    if (dwMode & LM_VERTDOCK) {
        bHorz = FALSE;
    }
    if ((dwMode & LM_MRUWIDTH) || (nLength >= 0 && !(dwMode & (LM_HORZDOCK | LM_VERTDOCK)))) {
        CRect inside(0, 0, 0, 0);
        CalcInsideRect(inside, TRUE);
        int width = (dwMode & LM_MRUWIDTH) ? static_cast<int>(m_nMRUWidth) : nLength;
        WrapButtons(width - (inside.left - inside.right));
        bHorz = TRUE;
    } else {
        for (int i = 0; i < count; ++i) {
            SetWrap(i, !bHorz);
        }
    }
    CSize size = CalcButtonsSize();
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    size.cx += inside.left - inside.right;
    size.cy += inside.top - inside.bottom;
    if (dwMode & LM_COMMIT) {
        m_nMRUWidth = static_cast<UINT>(size.cx);
    }
    if (dwMode & LM_STRETCH) {
        if (bHorz) {
            size.cx = 32767;
        } else {
            size.cy = 32767;
        }
    }
    return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    DWORD mode = (bStretch ? LM_STRETCH : 0) | (bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
    return CalcLayout(mode);
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
    if ((nMode & LM_HORZDOCK) || (nMode & LM_VERTDOCK)) {
        return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZDOCK) != 0);
    }
    return CalcLayout(nMode, nLength);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state;
    state.m_pOther = this;
    int count = static_cast<int>(SendMessageW(TB_BUTTONCOUNT));
    state.m_nIndexMax = static_cast<UINT>(count);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON b{};
        if (!GetButton(static_cast<int>(state.m_nIndex), &b) || (b.fsStyle & TBSTYLE_SEP)) {
            continue;
        }
        state.m_nID = static_cast<UINT>(b.idCommand);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    if ((dwOldStyle ^ dwNewStyle) & CBRS_TOOLTIPS) {
        DWORD style = static_cast<DWORD>(SendMessageW(TB_GETSTYLE));
        style = (dwNewStyle & CBRS_TOOLTIPS) ? (style | TBSTYLE_TOOLTIPS)
                                             : (style & ~static_cast<DWORD>(TBSTYLE_TOOLTIPS));
        SendMessageW(TB_SETSTYLE, 0, static_cast<LPARAM>(style));
    }
    CControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
}

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    // The control draws its buttons from its client's corner: borders, margins and gripper are outside.
    CRect rect(lpncsp->rgrc[0]);
    CRect inside(0, 0, rect.Width(), rect.Height());
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || IsFloating() || !(m_dwStyle & CBRS_ORIENT_ANY);
    CalcInsideRect(inside, bHorz);
    inside.right = std::max(inside.left, inside.right);
    inside.bottom = std::max(inside.top, inside.bottom);
    inside.OffsetRect(rect.left, rect.top);
    lpncsp->rgrc[0] = inside;
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    int count = static_cast<int>(const_cast<CToolBar*>(this)->SendMessageW(TB_BUTTONCOUNT));
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        CRect rect;
        GetItemRect(i, &rect);
        if (GetButton(i, &b) && !(b.fsStyle & TBSTYLE_SEP) && !(b.fsState & TBSTATE_HIDDEN) &&
            rect.PtInRect(point)) {
            if (pTI) {
                pTI->hwnd = m_hWnd;
                pTI->uId = static_cast<UINT_PTR>(b.idCommand);
                pTI->rect = rect;
                pTI->lpszText = LPSTR_TEXTCALLBACKW;
            }
            return b.idCommand;
        }
    }
    return -1;
}
