#include "toolkit/SECBmpMenuPlugIn.h"

#include "toolkit/SECBmpMgr.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDC.h"

#include <cwctype>

IMPLEMENT_DYNAMIC(SECBmpMenuItemInfo, CObject)
IMPLEMENT_DYNAMIC(SECBmpMenuPlugIn, SECWndPlugIn)

namespace {

constexpr DWORD ROP_PSDPXAX = 0x00B8074Au;
constexpr DWORD ROP_DSPDXAX = 0x00E20746u;
constexpr UINT SYSCOMMAND_FIRST = 0xF000;
constexpr UINT SYSCOMMAND_LAST = 0xFEFF;
constexpr UINT FMT_LABEL = DT_SINGLELINE | DT_VCENTER;
constexpr UINT FMT_ACCEL = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;

MENUITEMINFOW ItemInfo(HMENU hMenu, int pos, UINT mask, char16_t* text = nullptr, UINT cch = 0) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = mask;
    mii.dwTypeData = reinterpret_cast<LPWSTR>(text);
    mii.cch = cch;
    if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &mii)) {
        mii.fMask = 0;
    }
    return mii;
}

// The 8 x 8 checkerboard of button face and highlight that checked images are painted with.
HBRUSH MakeCheckerBrush() {
    const SECMenuColors& c = SECGetMenuColors();
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
        DWORD rows[8];
    } dib{};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = 8;
    dib.header.biHeight = 8;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 1;
    dib.colors[0] = RGBQUAD{GetBValue(c.face), GetGValue(c.face), GetRValue(c.face), 0};
    dib.colors[1] = RGBQUAD{GetBValue(c.hilite), GetGValue(c.hilite), GetRValue(c.hilite), 0};
    for (int i = 0; i < 8; ++i) {
        dib.rows[i] = (i % 2) ? 0x55 : 0xAA;
    }
    return ::CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS);
}

} // namespace

void SECMenuColors::Refresh() {
    text = ::GetSysColor(COLOR_MENUTEXT);
    highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    grayText = ::GetSysColor(COLOR_GRAYTEXT);
    menu = ::GetSysColor(COLOR_MENU);
    highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    shadow = ::GetSysColor(COLOR_BTNSHADOW);
    maskHilite = hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    face = ::GetSysColor(COLOR_BTNFACE);
}

SECMenuColors& SECGetMenuColors() {
    static SECMenuColors colors = [] {
        SECMenuColors c{};
        c.Refresh();
        return c;
    }();
    return colors;
}

char16_t SECBmpMenuItemInfo::MnemonicOf(const CString& text) {
    int amp = text.Find(u'&');
    if (amp < 0 || amp + 1 >= text.GetLength()) {
        return 0;
    }
    return static_cast<char16_t>(std::towlower(static_cast<wint_t>(text[amp + 1])));
}

SECBmpMenuPlugIn::SECBmpMenuPlugIn(BOOL bOwnGlyphs) : m_bOwnGlyphs(bOwnGlyphs) {
    SECGetMenuColors().Refresh();
    m_pBmpMgr = new SECBmpMgr;
    m_pBmpMgr->SetKeepNormalImages(TRUE);
}

SECBmpMenuPlugIn::~SECBmpMenuPlugIn() {
    RestorePlainItems();
    m_mapMenus.clear();
    m_pBmpMgr->Release();
    if (m_hCheckedBrush) {
        ::DeleteObject(m_hCheckedBrush);
    }
}

void SECBmpMenuPlugIn::SetBitmapManager(SECBmpMgr* pMgr) {
    if (!pMgr || pMgr == m_pBmpMgr) {
        return;
    }
    pMgr->AddRef();
    m_pBmpMgr->Release();
    m_pBmpMgr = pMgr;
    m_pBmpMgr->SetKeepNormalImages(TRUE);
}

BOOL SECBmpMenuPlugIn::CreateMenuFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    return m_fontMenu.CreateFontIndirect(&ncm.lfMenuFont);
}

BOOL SECBmpMenuPlugIn::CreateDefaultItemFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    ncm.lfMenuFont.lfWeight = FW_BOLD;
    return m_fontDefault.CreateFontIndirect(&ncm.lfMenuFont);
}

HFONT SECBmpMenuPlugIn::GetMenuFont() {
    if (!m_fontMenu.m_hObject) {
        CreateMenuFont();
    }
    return static_cast<HFONT>(m_fontMenu.m_hObject);
}

HFONT SECBmpMenuPlugIn::GetDefaultItemFont() {
    if (!m_fontDefault.m_hObject) {
        CreateDefaultItemFont();
    }
    return static_cast<HFONT>(m_fontDefault.m_hObject);
}

SECBmpMenuItemInfo* SECBmpMenuPlugIn::OwnRecord(HMENU hMenu, UINT nID, ULONG_PTR itemData) const {
    if (!itemData || m_mapForeignIds.count(nID)) {
        return nullptr;
    }
    for (const auto& [menu, info] : m_mapMenus) {
        if (hMenu && menu != hMenu) {
            continue;
        }
        for (const auto& rec : info->items) {
            if (reinterpret_cast<ULONG_PTR>(rec.get()) == itemData) {
                return rec.get();
            }
        }
    }
    return nullptr;
}

// ---- Conversion

void SECBmpMenuPlugIn::AfterInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    CMenu menu;
    menu.m_hMenu = reinterpret_cast<HMENU>(wParam);
    OnInitMenuPopup(&menu, LOWORD(lParam), HIWORD(lParam));
    menu.m_hMenu = nullptr;
}

void SECBmpMenuPlugIn::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    HMENU hMenu = CMenu::SafeHmenuOf(pPopupMenu);
    if (!hMenu || bSysMenu) {
        return;
    }
    std::unique_ptr<SECBmpMenuInfo>& info = m_mapMenus[hMenu];
    if (!info) {
        info = std::make_unique<SECBmpMenuInfo>();
        info->hMenu = hMenu;
    }
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
        char16_t text[256] = {};
        MENUITEMINFOW mii = ItemInfo(hMenu, pos, MIIM_ID | MIIM_TYPE | MIIM_DATA, text, 256);
        if (!mii.fMask) {
            continue;
        }
        const bool bSystem = mii.wID >= SYSCOMMAND_FIRST && mii.wID <= SYSCOMMAND_LAST;
        const bool bForeign = m_mapForeignIds.count(mii.wID) != 0;
        if (!(mii.fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)) && !bSystem && !bForeign) {
            auto rec = std::make_unique<SECBmpMenuItemInfo>();
            rec->m_nID = mii.wID;
            rec->m_strText = text;
            rec->m_chMnemonic = SECBmpMenuItemInfo::MnemonicOf(rec->m_strText);
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_TYPE | MIIM_DATA;
            set.fType = mii.fType | MFT_OWNERDRAW;
            set.dwItemData = reinterpret_cast<ULONG_PTR>(rec.get());
            if (::SetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &set)) {
                info->items.push_back(std::move(rec));
            }
        } else if ((mii.fType & MFT_OWNERDRAW) && !bForeign && !OwnRecord(hMenu, mii.wID, mii.dwItemData)) {
            bool bKnownId = false;
            for (const auto& rec : info->items) {
                bKnownId = bKnownId || rec->m_nID == mii.wID;
            }
            if (!bKnownId) {
                m_mapForeignIds.insert(mii.wID);
            }
        }
    }
}

void SECBmpMenuPlugIn::PurgeStaleMenus() {
    for (auto it = m_mapMenus.begin(); it != m_mapMenus.end();) {
        HMENU hMenu = it->first;
        if (!::IsMenu(hMenu)) {
            it = m_mapMenus.erase(it);
            continue;
        }
        std::set<ULONG_PTR> live;
        const int count = ::GetMenuItemCount(hMenu);
        for (int pos = 0; pos < count; ++pos) {
            MENUITEMINFOW mii = ItemInfo(hMenu, pos, MIIM_ID | MIIM_FTYPE | MIIM_DATA);
            if ((mii.fType & MFT_OWNERDRAW) && !m_mapForeignIds.count(mii.wID)) {
                live.insert(mii.dwItemData);
            }
        }
        std::erase_if(it->second->items,
                      [&](const auto& rec) { return !live.count(reinterpret_cast<ULONG_PTR>(rec.get())); });
        ++it;
    }
}

void SECBmpMenuPlugIn::RestorePlainItems() {
    for (auto& [hMenu, info] : m_mapMenus) {
        if (!::IsMenu(hMenu)) {
            continue;
        }
        const int count = ::GetMenuItemCount(hMenu);
        for (int pos = 0; pos < count; ++pos) {
            MENUITEMINFOW mii = ItemInfo(hMenu, pos, MIIM_ID | MIIM_FTYPE | MIIM_DATA);
            SECBmpMenuItemInfo* rec = (mii.fType & MFT_OWNERDRAW) ? OwnRecord(hMenu, mii.wID, mii.dwItemData)
                                                                  : nullptr;
            if (!rec) {
                continue;
            }
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_TYPE | MIIM_DATA;
            set.fType = (mii.fType & ~static_cast<UINT>(MFT_OWNERDRAW)) | MFT_STRING;
            CString text = rec->m_strText;
            set.dwTypeData = reinterpret_cast<LPWSTR>(text.GetBuffer());
            set.dwItemData = 0;
            ::SetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &set);
            text.ReleaseBuffer();
        }
    }
}

// ---- Measuring and drawing

void SECBmpMenuPlugIn::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpmis) {
    if (lpmis->CtlType != ODT_MENU) {
        return;
    }
    SECBmpMenuItemInfo* rec = OwnRecord(nullptr, lpmis->itemID, lpmis->itemData);
    if (!rec) {
        return;
    }
    CClientDC dc(nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, GetMenuFont());
    CRect rect(0, 0, 0, 0);
    dc.DrawTextW(rec->m_strText, &rect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    ::SelectObject(dc.m_hDC, old);
    lpmis->itemWidth = static_cast<UINT>(rect.Width() + m_pBmpMgr->m_cxNormal + 30);
    lpmis->itemHeight = static_cast<UINT>(
        std::max({static_cast<int>(rect.Height()), m_pBmpMgr->m_cyNormal + 4, ::GetSystemMetrics(SM_CYMENU)}));
    m_bHandled = TRUE;
    OverrideResult(TRUE);
}

HBITMAP SECBmpMenuPlugIn::CheckMarkBitmap() {
    if (m_bmCheck.m_hObject) {
        return static_cast<HBITMAP>(m_bmCheck.m_hObject);
    }
    // A 16 x 15 check mark in button text on button face, greys as the system colours say.
    CClientDC screen(nullptr);
    CDC dc;
    if (!dc.CreateCompatibleDC(&screen) || !m_bmCheck.CreateCompatibleBitmap(&screen, 16, 15)) {
        return nullptr;
    }
    CBitmap* pOld = dc.SelectObject(&m_bmCheck);
    dc.FillSolidRect(0, 0, 16, 15, SECGetMenuColors().face);
    const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
    for (int i = 0; i < 3; ++i) {
        dc.FillSolidRect(4 + i, 6 + i, 1, 3, ink);
    }
    for (int i = 0; i < 5; ++i) {
        dc.FillSolidRect(7 + i, 7 - i, 1, 3, ink);
    }
    dc.SelectObject(pOld);
    return static_cast<HBITMAP>(m_bmCheck.m_hObject);
}

void SECBmpMenuPlugIn::OnDrawItem(int, LPDRAWITEMSTRUCT lpdis) {
    HMENU hMenu = reinterpret_cast<HMENU>(lpdis->hwndItem);
    if (lpdis->CtlType != ODT_MENU || !::IsMenu(hMenu)) {
        return;
    }
    SECBmpMenuItemInfo* rec = OwnRecord(hMenu, lpdis->itemID, lpdis->itemData);
    if (!rec) {
        return;
    }
    const DRAWITEMSTRUCT& dis = *lpdis;
    const SECMenuColors& colors = SECGetMenuColors();
    const bool bSelected = (dis.itemState & ODS_SELECTED) != 0;
    const bool bDisabled = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    CDC* pDC = CDC::FromHandle(dis.hDC);

    CString label = rec->m_strText;
    CString accel;
    if (int tab = label.Find(u'\t'); tab >= 0) {
        accel = label.Mid(tab + 1);
        label = label.Left(tab);
    }
    HBITMAP hbm = nullptr;
    int nIndex = -1;
    if (!m_pBmpMgr->FindBitmap(rec->m_nID, hbm, nIndex, TRUE)) {
        nIndex = -1;
    }
    HGDIOBJ oldFont =
        ::SelectObject(dis.hDC, (dis.itemState & ODS_DEFAULT) ? GetDefaultItemFont() : GetMenuFont());

    CRect rect = dis.rcItem;
    rect.left += 1;
    int cx = m_pBmpMgr->m_cxNormal;
    int cy = m_pBmpMgr->m_cyNormal;
    if (nIndex < 0) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_CHECKMARKS;
        ::GetMenuItemInfoW(hMenu, dis.itemID, FALSE, &mii);
        HBITMAP own = (dis.itemState & ODS_CHECKED) ? (mii.hbmpChecked ? mii.hbmpChecked : CheckMarkBitmap())
                                                     : mii.hbmpUnchecked;
        BITMAP bm{};
        if (own && ::GetObjectW(own, sizeof bm, &bm)) {
            hbm = own;
            nIndex = 0;
            cx = bm.bmWidth;
            cy = bm.bmHeight;
        }
    }
    DrawItemImage(dis, pDC, rect, hbm, nIndex, cx, cy);

    // The one-pixel column after the image box, then the text area.
    pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(),
                       bSelected && nIndex < 0 ? colors.highlight : colors.menu);
    CRect textArea(rect.left + 1, rect.top, dis.rcItem.right, rect.bottom);
    COLORREF back = bSelected ? colors.highlight : colors.menu;
    pDC->FillSolidRect(&textArea, back);
    pDC->SetBkColor(back);
    pDC->SetBkMode(TRANSPARENT);
    CRect textRect(textArea.left + 1, textArea.top, dis.rcItem.right - 23, textArea.bottom);
    auto drawBoth = [&](const CRect& r, COLORREF colour) {
        pDC->SetTextColor(colour);
        CRect lr = r;
        pDC->DrawTextW(label, &lr, FMT_LABEL);
        if (!accel.IsEmpty()) {
            CRect ar = r;
            pDC->DrawTextW(accel, &ar, FMT_ACCEL);
        }
    };
    if (!bDisabled) {
        drawBoth(textRect, bSelected ? colors.highlightText : colors.text);
    } else if (bSelected) {
        drawBoth(textRect, colors.menu);
    } else {
        CRect shifted = textRect;
        shifted.OffsetRect(1, 1);
        drawBoth(shifted, colors.hilite);
        drawBoth(textRect, colors.grayText);
    }
    ::SelectObject(dis.hDC, oldFont);
}

void SECBmpMenuPlugIn::DrawItemImage(const DRAWITEMSTRUCT& dis, CDC* pDC, CRect& rect, HBITMAP hbm, int nIndex,
                                     int cx, int cy) {
    const SECMenuColors& colors = SECGetMenuColors();
    const bool bSelected = (dis.itemState & ODS_SELECTED) != 0;
    const bool bDisabled = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    const bool bChecked = (dis.itemState & ODS_CHECKED) != 0;
    CRect box(rect.left, rect.top, rect.left + m_pBmpMgr->m_cxNormal + 4, rect.bottom);
    rect.left = box.right;
    if (nIndex < 0 || !hbm) {
        pDC->FillSolidRect(&box, bSelected ? colors.highlight : colors.menu);
        return;
    }
    pDC->FillSolidRect(&box, colors.menu);
    const int cyFrame = m_pBmpMgr->m_cyNormal + 4;
    CRect frame(box.left, box.top + (box.Height() - cyFrame) / 2, box.right, 0);
    frame.bottom = frame.top + cyFrame;
    if (bChecked) {
        pDC->DrawEdge(&frame, BDR_SUNKENOUTER, BF_RECT);
    } else if (bSelected && !bDisabled) {
        pDC->DrawEdge(&frame, BDR_RAISEDINNER, BF_RECT);
    }
    frame.DeflateRect(1, 1);
    frame.OffsetRect(1, 1);
    CDC src;
    CClientDC screen(nullptr);
    if (!src.CreateCompatibleDC(&screen)) {
        return;
    }
    HGDIOBJ old = ::SelectObject(src.m_hDC, hbm);
    if (bDisabled) {
        DrawDisabledImage(pDC, frame.left, frame.top, cx, cy, &src, nIndex * cx);
    } else {
        pDC->BitBlt(frame.left, frame.top, cx, cy, &src, nIndex * cx, 0, SRCCOPY);
        if (bChecked && !bSelected) {
            DrawCheckedImage(pDC, frame.left, frame.top, cx, cy, &src, nIndex * cx);
        }
    }
    ::SelectObject(src.m_hDC, old);
}

BOOL SECBmpMenuPlugIn::CreateImageMask(CDC* pSrcDC, CDC& dcMask, CBitmap& bmMask, HBITMAP& hbmOld, int cx,
                                       int cy, int xSrc) {
    if (!dcMask.CreateCompatibleDC(pSrcDC) || !bmMask.CreateBitmap(cx, cy, 1, 1, nullptr)) {
        return FALSE;
    }
    const SECMenuColors& colors = SECGetMenuColors();
    hbmOld = static_cast<HBITMAP>(::SelectObject(dcMask.m_hDC, bmMask.m_hObject));
    dcMask.PatBlt(0, 0, cx, cy, WHITENESS);
    COLORREF oldBk = pSrcDC->SetBkColor(colors.face);
    dcMask.BitBlt(0, 0, cx, cy, pSrcDC, xSrc, 0, SRCCOPY);
    pSrcDC->SetBkColor(colors.maskHilite);
    dcMask.BitBlt(0, 0, cx, cy, pSrcDC, xSrc, 0, SRCPAINT);
    pSrcDC->SetBkColor(oldBk);
    return TRUE;
}

void SECBmpMenuPlugIn::DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc) {
    CDC dcMask;
    CBitmap bmMask;
    HBITMAP hbmOld = nullptr;
    if (!CreateImageMask(pSrcDC, dcMask, bmMask, hbmOld, cx, cy, xSrc)) {
        return;
    }
    const SECMenuColors& colors = SECGetMenuColors();
    pDC->SetBkColor(RGB(255, 255, 255));
    pDC->SetTextColor(RGB(0, 0, 0));
    CBrush hilite(colors.hilite);
    CBrush shadow(colors.shadow);
    CBrush* pOld = pDC->SelectObject(&hilite);
    pDC->BitBlt(x + 1, y + 1, cx, cy, &dcMask, 0, 0, ROP_PSDPXAX);
    pDC->SelectObject(&shadow);
    pDC->BitBlt(x, y, cx, cy, &dcMask, 0, 0, ROP_PSDPXAX);
    pDC->SelectObject(pOld);
    ::SelectObject(dcMask.m_hDC, hbmOld);
}

void SECBmpMenuPlugIn::DrawCheckedImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc) {
    if (!m_hCheckedBrush) {
        m_hCheckedBrush = MakeCheckerBrush();
        if (!m_hCheckedBrush) {
            return;
        }
    }
    CDC dcMask;
    CBitmap bmMask;
    HBITMAP hbmOld = nullptr;
    if (!CreateImageMask(pSrcDC, dcMask, bmMask, hbmOld, cx, cy, xSrc)) {
        return;
    }
    pDC->SetBkColor(RGB(255, 255, 255));
    pDC->SetTextColor(RGB(0, 0, 0));
    HGDIOBJ oldBrush = ::SelectObject(pDC->m_hDC, m_hCheckedBrush);
    pDC->BitBlt(x, y, cx, cy, &dcMask, 0, 0, ROP_DSPDXAX);
    ::SelectObject(pDC->m_hDC, oldBrush);
    ::SelectObject(dcMask.m_hDC, hbmOld);
}

// ---- Mnemonics, idle purge, settings

LRESULT SECBmpMenuPlugIn::OnMenuChar(UINT nChar, UINT, CMenu* pMenu) {
    HMENU hMenu = CMenu::SafeHmenuOf(pMenu);
    const auto ch = static_cast<char16_t>(std::towlower(static_cast<wint_t>(nChar)));
    std::vector<int> matches;
    int nHilite = -1;
    const int count = hMenu ? ::GetMenuItemCount(hMenu) : 0;
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW mii = ItemInfo(hMenu, pos, MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_DATA);
        if (mii.fState & MFS_HILITE) {
            nHilite = pos;
        }
        SECBmpMenuItemInfo* rec = (mii.fType & MFT_OWNERDRAW) ? OwnRecord(hMenu, mii.wID, mii.dwItemData)
                                                              : nullptr;
        if (rec && rec->m_chMnemonic && rec->m_chMnemonic == ch) {
            matches.push_back(pos);
        }
    }
    if (matches.empty()) {
        return 0;
    }
    m_bHandled = TRUE;
    if (matches.size() == 1) {
        return MAKELRESULT(matches[0], MNC_EXECUTE);
    }
    int pick = matches[0];
    for (int pos : matches) {
        if (pos > nHilite) {
            pick = pos;
            break;
        }
    }
    return MAKELRESULT(pick, MNC_SELECT);
}

LRESULT SECBmpMenuPlugIn::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    PurgeStaleMenus();
    return 0;
}

void SECBmpMenuPlugIn::OnSettingChange(UINT, LPCTSTR) {
    m_fontMenu.DeleteObject();
    m_fontDefault.DeleteObject();
    m_pBmpMgr->ReloadAll(TRUE);
    PurgeStaleMenus();
    // Each item is set plain and back so that the menu measures it again.
    for (auto& [hMenu, info] : m_mapMenus) {
        const int count = ::GetMenuItemCount(hMenu);
        for (int pos = 0; pos < count; ++pos) {
            MENUITEMINFOW mii = ItemInfo(hMenu, pos, MIIM_ID | MIIM_FTYPE | MIIM_DATA);
            if (!(mii.fType & MFT_OWNERDRAW) || !OwnRecord(hMenu, mii.wID, mii.dwItemData)) {
                continue;
            }
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_TYPE;
            set.fType = MFT_STRING;
            char16_t empty[1] = {0};
            set.dwTypeData = reinterpret_cast<LPWSTR>(empty);
            ::SetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &set);
            set.fMask = MIIM_TYPE | MIIM_DATA;
            set.fType = mii.fType;
            set.dwTypeData = nullptr;
            set.dwItemData = mii.dwItemData;
            ::SetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &set);
        }
    }
}

void SECBmpMenuPlugIn::OnSysColorChange() {
    SECGetMenuColors().Refresh();
    if (m_hCheckedBrush) {
        ::DeleteObject(m_hCheckedBrush);
        m_hCheckedBrush = nullptr;
    }
    m_pBmpMgr->ReloadAll(TRUE);
}

BEGIN_MESSAGE_MAP(SECBmpMenuPlugIn, SECWndPlugIn)
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
ON_WM_MENUCHAR()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_SETTINGCHANGE()
ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()
