#include "toolkit/SECBmpMgr.h"

#include "platform/framework/Framework.h"

IMPLEMENT_DYNAMIC(SECBmpMgr, CObject)

namespace {

void DeleteStrip(HBITMAP& hbm) {
    if (hbm) {
        ::DeleteObject(hbm);
        hbm = nullptr;
    }
}

// A resource name that outlives the caller's string: an integer id stays as it is.
LPCTSTR KeepName(LPCTSTR lpszName, std::u16string& store) {
    if (!lpszName || IS_INTRESOURCE(lpszName)) {
        return lpszName;
    }
    store = lpszName;
    return store.c_str();
}

} // namespace

SECBmpMgr::SECBmpMgr() = default;

SECBmpMgr::~SECBmpMgr() {
    for (auto& set : m_sets) {
        if (!set->bNormalNotOwned) {
            DeleteStrip(set->hbmNormal);
        }
        if (!set->bLargeNotOwned) {
            DeleteStrip(set->hbmLarge);
        }
    }
}

void SECBmpMgr::Release() {
    if (--m_nRef == 0) {
        delete this;
    }
}

BOOL SECBmpMgr::AddSet(std::unique_ptr<ImageSet> set, const UINT* pIDs, int nCount) {
    if (nCount <= 0 || !pIDs) {
        return FALSE;
    }
    set->nCount = nCount;
    if (!ReloadImageSet(*set, FALSE)) {
        if (!set->bNormalNotOwned) {
            DeleteStrip(set->hbmNormal);
        }
        if (!set->bLargeNotOwned) {
            DeleteStrip(set->hbmLarge);
        }
        return FALSE;
    }
    int nSet = static_cast<int>(m_sets.size());
    m_sets.push_back(std::move(set));
    for (int i = 0; i < nCount; ++i) {
        if (pIDs[i] != 0) {
            m_idMap[pIDs[i]] = ImageItem{nSet, i};
        }
    }
    return TRUE;
}

BOOL SECBmpMgr::AddBitmap(LPCTSTR lpszNormal, LPCTSTR lpszLarge, const UINT* pIDs, int nCount, BOOL bSysColor) {
    if (!lpszNormal) {
        return FALSE;
    }
    auto set = std::make_unique<ImageSet>();
    set->lpszNormal = KeepName(lpszNormal, set->strNormal);
    set->lpszLarge = KeepName(lpszLarge, set->strLarge);
    set->bSysColor = bSysColor;
    return AddSet(std::move(set), pIDs, nCount);
}

BOOL SECBmpMgr::AddBitmap(HBITMAP hbmNormal, HBITMAP hbmLarge, const UINT* pIDs, int nCount) {
    if (!hbmNormal) {
        return FALSE;
    }
    auto set = std::make_unique<ImageSet>();
    set->hbmNormal = hbmNormal;
    set->bNormalNotOwned = TRUE;
    set->hbmLarge = hbmLarge;
    set->bLargeNotOwned = hbmLarge != nullptr;
    return AddSet(std::move(set), pIDs, nCount);
}

BOOL SECBmpMgr::FindBitmap(UINT nID, HBITMAP& hbm, int& nIndex, BOOL bForceNormal) const {
    auto it = m_idMap.find(nID);
    if (it == m_idMap.end()) {
        return FALSE;
    }
    const ImageSet& set = *m_sets[static_cast<size_t>(it->second.nSet)];
    hbm = (bForceNormal || m_bNormal) ? set.hbmNormal : set.hbmLarge;
    nIndex = it->second.nIndex;
    return TRUE;
}

BOOL SECBmpMgr::ReloadAll(BOOL bReload) {
    for (auto& set : m_sets) {
        ReloadImageSet(*set, bReload);
    }
    return TRUE;
}

void SECBmpMgr::SetKeepNormalImages(BOOL bKeep) {
    if (bKeep != m_bKeepNormal) {
        m_bKeepNormal = bKeep;
        ReloadAll(FALSE);
    }
}

BOOL SECBmpMgr::SetNormalMode(BOOL bNormal) {
    if (bNormal == m_bNormal) {
        return TRUE;
    }
    m_bNormal = bNormal;
    return ReloadAll(FALSE);
}

BOOL SECBmpMgr::ReloadImageSet(ImageSet& set, BOOL bReload) {
    if (!set.bNormalNotOwned && (m_bNormal || m_bKeepNormal)) {
        if (m_bNormal && !m_bKeepNormal && !set.bLargeNotOwned) {
            DeleteStrip(set.hbmLarge);
        }
        if (bReload) {
            DeleteStrip(set.hbmNormal);
        }
        if (!set.hbmNormal && !LoadNormalBitmap(set)) {
            return FALSE;
        }
    }
    if (m_bNormal || set.bLargeNotOwned) {
        return TRUE;
    }
    if (!m_bKeepNormal && !set.bNormalNotOwned) {
        DeleteStrip(set.hbmNormal);
    }
    if (bReload) {
        DeleteStrip(set.hbmLarge);
    }
    return set.hbmLarge || LoadLargeBitmap(set);
}

HBITMAP SECBmpMgr::LoadStrip(const ImageSet& set, LPCTSTR lpszName) const {
    HINSTANCE hInst = ::DolivaFindResourceModule(lpszName, RT_BITMAP);
    return set.bSysColor ? ::LoadSysColorBitmap(hInst, lpszName) : ::LoadBitmapW(hInst, lpszName);
}

BOOL SECBmpMgr::LoadNormalBitmap(ImageSet& set) {
    if (set.bNormalNotOwned) {
        return TRUE;
    }
    set.hbmNormal = LoadStrip(set, set.lpszNormal);
    return set.hbmNormal != nullptr;
}

BOOL SECBmpMgr::LoadLargeBitmap(ImageSet& set) {
    if (set.bLargeNotOwned) {
        return TRUE;
    }
    if (set.lpszLarge) {
        set.hbmLarge = LoadStrip(set, set.lpszLarge);
        return set.hbmLarge != nullptr;
    }
    BOOL bLoadedForThis = FALSE;
    if (!set.hbmNormal) {
        if (!LoadNormalBitmap(set)) {
            return FALSE;
        }
        bLoadedForThis = TRUE;
    }
    HDC hScreen = ::GetDC(nullptr);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    HBITMAP hbmLarge = ::CreateCompatibleBitmap(hScreen, m_cxLarge * set.nCount, m_cyLarge);
    if (hSrc && hDst && hbmLarge) {
        HGDIOBJ oldSrc = ::SelectObject(hSrc, set.hbmNormal);
        HGDIOBJ oldDst = ::SelectObject(hDst, hbmLarge);
        for (int i = 0; i < set.nCount; ++i) {
            ::StretchBlt(hDst, m_cxLarge * i, 0, m_cxLarge, m_cyLarge, hSrc, m_cxNormal * i, 0, m_cxNormal,
                         m_cyNormal, SRCCOPY);
        }
        ::SelectObject(hSrc, oldSrc);
        ::SelectObject(hDst, oldDst);
        set.hbmLarge = hbmLarge;
    } else if (hbmLarge) {
        ::DeleteObject(hbmLarge);
    }
    if (hSrc) {
        ::DeleteDC(hSrc);
    }
    if (hDst) {
        ::DeleteDC(hDst);
    }
    ::ReleaseDC(nullptr, hScreen);
    if (bLoadedForThis) {
        DeleteStrip(set.hbmNormal);
    }
    return set.hbmLarge != nullptr;
}
