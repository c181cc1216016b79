// Bitmap menus: a plug-in that turns the items of every pop-up menu its host opens into owner-drawn items,
// draws each with the toolbar image of its command (from the shared image store) or its check mark, grey
// items embossed and checked images dithered, and answers mnemonic keys for the items it owns.
#pragma once

#include "toolkit/SECWndPlugIn.h"

#include "platform/framework/CGdiObject.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

class SECBmpMgr;

// The item data of a converted item: its command, its whole text and its mnemonic (lower case; 0: none).
class SECBmpMenuItemInfo : public CObject {
    DECLARE_DYNAMIC(SECBmpMenuItemInfo)

public:
    UINT m_nID = 0;
    CString m_strText;
    char16_t m_chMnemonic = 0;

    // The character after the first "&", lower-cased; 0 when there is none or "&" ends the text.
    static char16_t MnemonicOf(const CString& text);
};

class SECBmpMenuPlugIn : public SECWndPlugIn {
    DECLARE_DYNAMIC(SECBmpMenuPlugIn)

public:
    explicit SECBmpMenuPlugIn(BOOL bOwnGlyphs = TRUE);
    ~SECBmpMenuPlugIn() override;

    struct SECBmpMenuInfo {
        HMENU hMenu = nullptr;
        std::vector<std::unique_ptr<SECBmpMenuItemInfo>> items;
    };

    void SetBitmapManager(SECBmpMgr* pMgr);
    SECBmpMgr* GetBitmapManager() const { return m_pBmpMgr; }
    HFONT GetMenuFont();
    HFONT GetDefaultItemFont();
    // Converts what the host's own WM_INITMENUPOPUP processing changed.
    void AfterInitMenuPopup(WPARAM wParam, LPARAM lParam);

    virtual void PurgeStaleMenus();
    virtual BOOL CreateMenuFont();
    virtual BOOL CreateDefaultItemFont();
    virtual BOOL CreateImageMask(CDC* pSrcDC, CDC& dcMask, CBitmap& bmMask, HBITMAP& hbmOld, int cx, int cy,
                                 int xSrc);
    virtual void DrawCheckedImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc);
    virtual void DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc);
    virtual void DrawItemImage(const DRAWITEMSTRUCT& dis, CDC* pDC, CRect& rect, HBITMAP hbm, int nIndex,
                               int cx, int cy);

    std::map<HMENU, std::unique_ptr<SECBmpMenuInfo>> m_mapMenus;
    std::set<UINT> m_mapForeignIds;
    BOOL m_bOwnGlyphs = TRUE;
    SECBmpMgr* m_pBmpMgr = nullptr;
    CFont m_fontMenu;
    CFont m_fontDefault;
    HBRUSH m_hCheckedBrush = nullptr;

protected:
    // The converted item's record, or null for an item that is not ours.
    SECBmpMenuItemInfo* OwnRecord(HMENU hMenu, UINT nID, ULONG_PTR itemData) const;
    HBITMAP CheckMarkBitmap();
    void RestorePlainItems();

    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnSysColorChange();

    CBitmap m_bmCheck;

    DECLARE_MESSAGE_MAP()
};

// The menu colours all bitmap menus share.
struct SECMenuColors {
    COLORREF text, highlightText, grayText, menu, highlight, shadow, maskHilite, hilite, face;
    void Refresh();
};
SECMenuColors& SECGetMenuColors();
