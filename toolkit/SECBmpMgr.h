// The toolbar image store shared by toolbars, menus and the toolbar manager: command id -> image in one of
// its image sets, each a strip of normal (16 x 15) images and, in large mode, a strip of large (22 x 24)
// ones, loaded or stretched from the normal strip when there is no large resource. Shared by reference.
#pragma once

#include "platform/base/CObject.h"
#include "platform/framework/CGdiObject.h"

#include <map>
#include <memory>
#include <vector>

class SECBmpMgr : public CObject {
    DECLARE_DYNAMIC(SECBmpMgr)

public:
    SECBmpMgr();
    ~SECBmpMgr() override;

    struct ImageItem {
        int nSet = 0;
        int nIndex = 0;
    };
    struct ImageSet {
        LPCTSTR lpszNormal = nullptr;
        LPCTSTR lpszLarge = nullptr;
        std::u16string strNormal; // keeps a named resource's name alive
        std::u16string strLarge;
        HBITMAP hbmNormal = nullptr;
        HBITMAP hbmLarge = nullptr;
        int nCount = 0;
        BOOL bSysColor = FALSE;
        BOOL bNormalNotOwned = FALSE;
        BOOL bLargeNotOwned = FALSE;
    };

    void AddRef() { ++m_nRef; }
    // Deletes the store when the last reference goes.
    void Release();

    // A strip from the resources and the command ids of its images (0 skips an image); the large resource may
    // be null. A later set's image wins for an id that is already in the store.
    BOOL AddBitmap(LPCTSTR lpszNormal, LPCTSTR lpszLarge, const UINT* pIDs, int nCount, BOOL bSysColor = TRUE);
    // The same with strips the caller keeps (a null large strip is stretched from the normal one).
    BOOL AddBitmap(HBITMAP hbmNormal, HBITMAP hbmLarge, const UINT* pIDs, int nCount);

    BOOL FindBitmap(UINT nID, HBITMAP& hbm, int& nIndex, BOOL bForceNormal = FALSE) const;
    BOOL ReloadAll(BOOL bReload);
    void SetKeepNormalImages(BOOL bKeep);
    BOOL ReloadImageSet(ImageSet& set, BOOL bReload);
    BOOL LoadNormalBitmap(ImageSet& set);
    BOOL LoadLargeBitmap(ImageSet& set);
    // Switches between normal and large images; the strips of the new mode are made.
    BOOL SetNormalMode(BOOL bNormal);

    int GetImageWidth() const { return m_bNormal ? m_cxNormal : m_cxLarge; }
    int GetImageHeight() const { return m_bNormal ? m_cyNormal : m_cyLarge; }

    std::map<UINT, ImageItem> m_idMap;
    std::vector<std::unique_ptr<ImageSet>> m_sets;
    int m_cxNormal = 16;
    int m_cyNormal = 15;
    int m_cxLarge = 22;
    int m_cyLarge = 24;
    BOOL m_bNormal = TRUE;
    BOOL m_bKeepNormal = FALSE;
    int m_nRef = 1;

private:
    HBITMAP LoadStrip(const ImageSet& set, LPCTSTR lpszName) const;
    BOOL AddSet(std::unique_ptr<ImageSet> set, const UINT* pIDs, int nCount);
};
