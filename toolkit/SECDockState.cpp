#include "toolkit/SECDockState.h"

#include "platform/base/CArchive.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECBinaryText.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDialogBar.h"
#include "toolkit/SECPersistentTreeNode.h"

#include <algorithm>
#include <memory>
#include <set>

IMPLEMENT_DYNAMIC(SECDockState, CDockState)

namespace {

constexpr int kMaxSize = 32767;
constexpr int kMaxChunks = 4096;
constexpr UINT kDefaultMRUWidth = 32767;

CString BarSection(LPCTSTR lpszProfileName, int nIndex) {
    CString section(lpszProfileName);
    section.AppendFormat(u"-Bar%d", nIndex);
    return section;
}

int ReadInt(CWinApp* app, const CString& section, LPCTSTR key, int def) {
    return static_cast<int>(app->GetProfileInt(section, key, def));
}

bool SizeInRange(const CSize& size) {
    return size.cx >= 0 && size.cy >= 0 && size.cx <= kMaxSize && size.cy <= kMaxSize;
}

bool IsDockBarID(UINT id) {
    return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_FLOAT;
}

// A share is kept as the "%d" text of its millionths.
CString ProportionText(float fProportion) {
    CString text;
    text.Format(u"%d", static_cast<int>(fProportion * 1000000.0f));
    return text;
}

// The share the text gives, or -1 when it is not a count of millionths in (0, 1].
float ParseProportion(const CString& text) {
    int millionths = 0;
    bool digits = text.GetLength() > 0 && text.GetLength() < 10;
    for (int k = 0; digits && k < text.GetLength(); ++k) {
        digits = text[k] >= u'0' && text[k] <= u'9';
        millionths = millionths * 10 + (text[k] - u'0');
    }
    if (!digits || millionths <= 0 || millionths > 1000000) {
        return -1.0f;
    }
    return static_cast<float>(millionths) * 0.000001f;
}

// Where a toolkit bar's keys go: a profile section or a tree node, under the same names.
class KeyStore {
public:
    virtual ~KeyStore() = default;
    virtual void PutInt(LPCTSTR key, int value) = 0;
    virtual void PutString(LPCTSTR key, const CString& value) = 0;
    virtual int GetInt(LPCTSTR key, int def) const = 0;
    virtual CString GetString(LPCTSTR key) const = 0;
};

class ProfileKeys : public KeyStore {
public:
    ProfileKeys(CWinApp* app, CString section) : m_app(app), m_section(std::move(section)) {}
    void PutInt(LPCTSTR key, int value) override { m_app->WriteProfileInt(m_section, key, value); }
    void PutString(LPCTSTR key, const CString& value) override {
        m_app->WriteProfileString(m_section, key, value);
    }
    int GetInt(LPCTSTR key, int def) const override { return ReadInt(m_app, m_section, key, def); }
    CString GetString(LPCTSTR key) const override { return m_app->GetProfileString(m_section, key, u""); }

private:
    CWinApp* m_app;
    CString m_section;
};

class TreeKeys : public KeyStore {
public:
    explicit TreeKeys(SECPersistentTreeNode* node) : m_node(node) {}
    void PutInt(LPCTSTR key, int value) override { m_node->SetInt(key, value); }
    void PutString(LPCTSTR key, const CString& value) override { m_node->SetString(key, value); }
    int GetInt(LPCTSTR key, int def) const override {
        int value = def;
        m_node->GetInt(key, value, def);
        return value;
    }
    CString GetString(LPCTSTR key) const override {
        CString value;
        m_node->GetString(key, value);
        return value;
    }

private:
    SECPersistentTreeNode* m_node;
};

void PutToolkitKeys(KeyStore& keys, const SECControlBarInfo& info) {
    keys.PutInt(u"Style", static_cast<int>(info.m_dwStyle));
    keys.PutInt(u"ExStyle", static_cast<int>(info.m_dwExStyle));
    keys.PutInt(u"PrevFloating", info.m_bPrevFloating);
    keys.PutInt(u"MDIChild", info.m_bMDIChild);
    keys.PutString(u"PctWidth", ProportionText(info.m_fProportion));
    keys.PutInt(u"MRUFloatCX", info.m_szFloat.cx);
    keys.PutInt(u"MRUFloatCY", info.m_szFloat.cy);
    keys.PutInt(u"MRUHorzDockCX", info.m_szHorzDock.cx);
    keys.PutInt(u"MRUHorzDockCY", info.m_szHorzDock.cy);
    keys.PutInt(u"MRUVertDockCX", info.m_szVertDock.cx);
    keys.PutInt(u"MRUVertDockCY", info.m_szVertDock.cy);
    keys.PutInt(u"MRUDockingState", static_cast<int>(info.m_dwSavedDockStyle));
    keys.PutInt(u"DockingStyle", static_cast<int>(info.m_dwDockStyle));
    keys.PutInt(u"TypeID", static_cast<int>(info.m_nTypeID));
    keys.PutString(u"ClassName", info.m_strClassName);
    keys.PutString(u"WindowName", info.m_strWindowName);
    keys.PutInt(u"ResourceID", static_cast<int>(info.m_nResourceID));
}

// FALSE when the keys hold no toolkit record (no share saved).
bool GetToolkitKeys(const KeyStore& keys, SECControlBarInfo& info) {
    const CString pct = keys.GetString(u"PctWidth");
    if (pct.IsEmpty()) {
        return false;
    }
    info.m_dwStyle = static_cast<DWORD>(keys.GetInt(u"Style", 0));
    info.m_dwExStyle = static_cast<DWORD>(keys.GetInt(u"ExStyle", 0));
    info.m_bPrevFloating = keys.GetInt(u"PrevFloating", 0) != 0;
    info.m_bMDIChild = keys.GetInt(u"MDIChild", 0) != 0;
    info.m_fProportion = ParseProportion(pct);
    info.m_szFloat = CSize(keys.GetInt(u"MRUFloatCX", 0), keys.GetInt(u"MRUFloatCY", 0));
    info.m_szHorzDock = CSize(keys.GetInt(u"MRUHorzDockCX", 0), keys.GetInt(u"MRUHorzDockCY", 0));
    info.m_szVertDock = CSize(keys.GetInt(u"MRUVertDockCX", 0), keys.GetInt(u"MRUVertDockCY", 0));
    info.m_dwSavedDockStyle =
        static_cast<DWORD>(keys.GetInt(u"MRUDockingState", static_cast<int>(info.m_dwSavedDockStyle)));
    info.m_dwDockStyle =
        static_cast<DWORD>(keys.GetInt(u"DockingStyle", static_cast<int>(info.m_dwDockStyle)));
    info.m_nTypeID = static_cast<UINT>(keys.GetInt(u"TypeID", 0));
    info.m_strClassName = keys.GetString(u"ClassName");
    info.m_strWindowName = keys.GetString(u"WindowName");
    info.m_nResourceID = static_cast<UINT>(keys.GetInt(u"ResourceID", static_cast<int>(info.m_nResourceID)));
    return true;
}

// A dock bar that is docked, shown, has no place of its own and holds nothing: not worth a node.
bool IsEmptyDockedDockBar(const CControlBarInfo& info) {
    return info.m_bDockBar && info.m_bVisible && !info.m_bFloating && info.m_pointPos == CPoint(-1, -1) &&
           info.m_arrBarID.GetSize() <= 1;
}

void PutBaseKeys(SECPersistentTreeNode* node, const CControlBarInfo& info) {
    node->SetInt(u"BarID", static_cast<int>(info.m_nBarID));
    if (!info.m_bVisible) {
        node->SetBool(u"Visible", FALSE);
    }
    if (info.m_bFloating) {
        node->SetBool(u"Horz", info.m_bHorz);
        node->SetBool(u"Floating", TRUE);
    }
    if (info.m_pointPos.x != -1) {
        node->SetInt(u"XPos", info.m_pointPos.x);
    }
    if (info.m_pointPos.y != -1) {
        node->SetInt(u"YPos", info.m_pointPos.y);
    }
    if (info.m_nMRUWidth != kDefaultMRUWidth) {
        node->SetInt(u"MRUWidth", static_cast<int>(info.m_nMRUWidth));
    }
    if (info.m_bDocking) {
        node->SetBool(u"Docking", TRUE);
        node->SetInt(u"MRUDockID", static_cast<int>(info.m_uMRUDockID));
        node->SetInt(u"MRUDockLeftPos", info.m_rectMRUDockPos.left);
        node->SetInt(u"MRUDockTopPos", info.m_rectMRUDockPos.top);
        node->SetInt(u"MRUDockRightPos", info.m_rectMRUDockPos.right);
        node->SetInt(u"MRUDockBottomPos", info.m_rectMRUDockPos.bottom);
        node->SetInt(u"MRUFloatStyle", static_cast<int>(info.m_dwMRUFloatStyle));
        node->SetInt(u"MRUFloatXPos", info.m_ptMRUFloatPos.x);
        node->SetInt(u"MRUFloatYPos", info.m_ptMRUFloatPos.y);
    }
    if (info.m_arrBarID.GetSize() > 1) {
        node->SetInt(u"Bars", static_cast<int>(info.m_arrBarID.GetSize()));
        for (INT_PTR i = 0; i < info.m_arrBarID.GetSize(); ++i) {
            CString key;
            key.Format(u"Bar#%d", static_cast<int>(i));
            node->SetInt(key, static_cast<int>(info.m_arrBarID[i]));
        }
    }
}

// FALSE when the node names more bars than it holds keys.
bool GetBaseKeys(const SECPersistentTreeNode* node, CControlBarInfo& info) {
    node->GetUInt(u"BarID", info.m_nBarID, 0);
    node->GetBool(u"Visible", info.m_bVisible, TRUE);
    node->GetBool(u"Horz", info.m_bHorz, TRUE);
    node->GetBool(u"Floating", info.m_bFloating, FALSE);
    info.m_bDockBar = IsDockBarID(info.m_nBarID);
    node->GetLong(u"XPos", info.m_pointPos.x, -1);
    node->GetLong(u"YPos", info.m_pointPos.y, -1);
    node->GetUInt(u"MRUWidth", info.m_nMRUWidth, kDefaultMRUWidth);
    node->GetBool(u"Docking", info.m_bDocking, FALSE);
    if (info.m_bDocking) {
        node->GetUInt(u"MRUDockID", info.m_uMRUDockID, 0);
        node->GetLong(u"MRUDockLeftPos", info.m_rectMRUDockPos.left, 0);
        node->GetLong(u"MRUDockTopPos", info.m_rectMRUDockPos.top, 0);
        node->GetLong(u"MRUDockRightPos", info.m_rectMRUDockPos.right, 0);
        node->GetLong(u"MRUDockBottomPos", info.m_rectMRUDockPos.bottom, 0);
        node->GetDWord(u"MRUFloatStyle", info.m_dwMRUFloatStyle, 0);
        node->GetLong(u"MRUFloatXPos", info.m_ptMRUFloatPos.x, 0);
        node->GetLong(u"MRUFloatYPos", info.m_ptMRUFloatPos.y, 0);
    }
    int bars = 0;
    node->GetInt(u"Bars", bars, 0);
    if (bars < 0 || static_cast<std::size_t>(bars) > node->GetPairs().size()) {
        return false;
    }
    for (int i = 0; i < bars; ++i) {
        CString key;
        key.Format(u"Bar#%d", i);
        UINT id = 0;
        node->GetUInt(key, id, 0);
        info.m_arrBarID.Add(id);
    }
    return true;
}

// The index n of a child named "Bar-n", or -1.
int BarNodeIndex(const CString& name) {
    const CString prefix(u"Bar-");
    if (name.GetLength() <= prefix.GetLength() || name.GetLength() > prefix.GetLength() + 9 ||
        name.Left(prefix.GetLength()) != prefix) {
        return -1;
    }
    int index = 0;
    for (int i = prefix.GetLength(); i < name.GetLength(); ++i) {
        const bool leadingZero = i == prefix.GetLength() && name[i] == u'0' && name.GetLength() > i + 1;
        if (name[i] < u'0' || name[i] > u'9' || leadingZero) {
            return -1;
        }
        index = index * 10 + (name[i] - u'0');
    }
    return index;
}

} // namespace

void SECDockState::Reset() {
    Clear();
    m_barInfo.clear();
    m_sizeScreen = CSize(0, 0);
}

bool SECDockState::IsSound() const {
    if (m_arrBarInfo.GetSize() == 0) {
        return false;
    }
    std::set<UINT> bars;
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        if (base->m_nBarID == 0 || (!base->m_bDockBar && !bars.insert(base->m_nBarID).second)) {
            return false;
        }
    }
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        for (INT_PTR j = 0; base->m_bDockBar && j < base->m_arrBarID.GetSize(); ++j) {
            const UINT id = base->m_arrBarID[j];
            if (id != 0 && !bars.count(id >= kPlaceholder ? id - kPlaceholder : id)) {
                return false;
            }
        }
    }
    return std::all_of(m_barInfo.begin(), m_barInfo.end(), [](const auto& entry) {
        const SECControlBarInfo& info = entry.second;
        return info.m_fProportion > 0.0f && info.m_fProportion <= 1.0f && SizeInRange(info.m_szFloat) &&
               SizeInRange(info.m_szHorzDock) && SizeInRange(info.m_szVertDock);
    });
}

void SECDockState::Normalize() {
    auto infoAt = [&](INT_PTR i) { return static_cast<CControlBarInfo*>(m_arrBarInfo[i]); };
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        const CControlBarInfo* bar = infoAt(i);
        for (INT_PTR j = 0; j < m_arrBarInfo.GetSize(); ++j) {
            CUIntArray& ids = infoAt(j)->m_arrBarID;
            if (i == j || infoAt(j)->m_nBarID == bar->m_uMRUDockID) {
                continue;
            }
            for (INT_PTR k = 0; k + 1 < ids.GetSize(); ++k) {
                if (ids[k] == bar->m_nBarID + kPlaceholder) {
                    ids[k] = 0;
                }
            }
        }
    }
    for (INT_PTR j = 0; j < m_arrBarInfo.GetSize(); ++j) {
        CUIntArray& ids = infoAt(j)->m_arrBarID;
        std::set<UINT> seen;
        for (INT_PTR k = 0; k < ids.GetSize(); ++k) {
            if (ids[k] != 0 && !seen.insert(ids[k]).second) {
                ids[k] = 0;
            }
        }
        while (ids.GetSize() > 0 && ids[ids.GetSize() - 1] == 0) {
            ids.RemoveAt(ids.GetSize() - 1);
        }
        if (ids.GetSize() > 0) {
            ids.Add(0u);
        }
    }
}

void SECDockState::Collect(CFrameWnd* pFrame) {
    pFrame->GetDockState(*this);
    m_sizeScreen = CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    m_barInfo.clear();
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* sec =
            dynamic_cast<SECControlBar*>(static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos)));
        if (!sec || !sec->m_hWnd) {
            continue;
        }
        SECControlBarInfo info;
        info.m_nBarID = static_cast<UINT>(sec->GetDlgCtrlID());
        info.m_dwStyle = sec->m_dwStyle;
        info.m_dwExStyle = sec->m_dwExStyle;
        // A floating bar's docked share is the one it keeps for its return.
        info.m_fProportion = sec->IsFloating() ? sec->m_fSavedProportion : sec->m_fProportion;
        info.m_szFloat = sec->m_szFloat;
        info.m_szHorzDock = sec->m_szHorzDock;
        info.m_szVertDock = sec->m_szVertDock;
        info.m_dwSavedDockStyle = sec->m_dwSavedDockStyle;
        info.m_dwDockStyle = sec->m_dwDockStyle;
        info.m_strClassName = CString(sec->GetRuntimeClass()->m_lpszClassName);
        sec->GetWindowText(info.m_strWindowName);
        m_barInfo[info.m_nBarID] = info;
    }
}

void SECDockState::SaveState(LPCTSTR lpszProfileName) const {
    CDockState::SaveState(lpszProfileName);
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        auto found = m_barInfo.find(base->m_nBarID);
        if (base->m_bDockBar || found == m_barInfo.end()) {
            continue;
        }
        ProfileKeys keys(app, BarSection(lpszProfileName, static_cast<int>(i)));
        PutToolkitKeys(keys, found->second);
    }
}

BOOL SECDockState::LoadState(LPCTSTR lpszProfileName) {
    CDockState::LoadState(lpszProfileName);
    m_barInfo.clear();
    CWinApp* app = AfxGetApp();
    CString summary(lpszProfileName);
    summary += u"-Summary";
    // Bars without an id were left out: the count tells.
    const int count = app ? ReadInt(app, summary, u"Bars", 0) : 0;
    bool sound = count == m_arrBarInfo.GetSize();
    for (INT_PTR i = 0; sound && i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        SECControlBarInfo info;
        info.m_nBarID = base->m_nBarID;
        ProfileKeys keys(app, BarSection(lpszProfileName, static_cast<int>(i)));
        if (!base->m_bDockBar && GetToolkitKeys(keys, info)) {
            m_barInfo[info.m_nBarID] = info;
        }
    }
    if (!sound || !IsSound()) {
        Reset();
        return FALSE;
    }
    return TRUE;
}

void SECDockState::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        const INT_PTR count = std::min<INT_PTR>(m_arrBarInfo.GetSize(), 0xFFFF);
        ar << kVersion << static_cast<LONG>(m_sizeScreen.cx) << static_cast<LONG>(m_sizeScreen.cy)
           << static_cast<WORD>(count);
        for (INT_PTR i = 0; i < count; ++i) {
            StoreBar(ar, *static_cast<const CControlBarInfo*>(m_arrBarInfo[i]));
        }
        return;
    }
    Reset();
    try {
        DWORD version = 0;
        ar >> version;
        if (version < 1 || version > kVersion) {
            AfxThrowArchiveException(CArchiveException::badSchema);
        }
        if (version > 1) {
            LONG cx = 0;
            LONG cy = 0;
            ar >> cx >> cy;
            m_sizeScreen = CSize(cx, cy);
        }
        WORD count = 0;
        ar >> count;
        for (WORD i = 0; i < count; ++i) {
            LoadBar(ar, version);
        }
    } catch (...) {
        Reset();
        throw;
    }
    if (!IsSound()) {
        Reset();
        AfxThrowArchiveException(CArchiveException::genericException);
    }
}

void SECDockState::StoreBar(CArchive& ar, const CControlBarInfo& base) const {
    const auto found = m_barInfo.find(base.m_nBarID);
    const SECControlBarInfo info =
        !base.m_bDockBar && found != m_barInfo.end() ? found->second : SECControlBarInfo{};
    ar << static_cast<DWORD>(base.m_nBarID) << static_cast<DWORD>(base.m_bVisible)
       << static_cast<DWORD>(base.m_bFloating) << static_cast<DWORD>(base.m_bHorz)
       << static_cast<LONG>(base.m_pointPos.x) << static_cast<LONG>(base.m_pointPos.y);
    ar << static_cast<DWORD>(base.m_nMRUWidth) << static_cast<DWORD>(base.m_bDocking);
    if (base.m_bDocking) {
        const CRect& r = base.m_rectMRUDockPos;
        ar << static_cast<DWORD>(base.m_uMRUDockID) << static_cast<LONG>(r.left) << static_cast<LONG>(r.top)
           << static_cast<LONG>(r.right) << static_cast<LONG>(r.bottom) << base.m_dwMRUFloatStyle
           << static_cast<LONG>(base.m_ptMRUFloatPos.x) << static_cast<LONG>(base.m_ptMRUFloatPos.y);
    }
    ar << info.m_dwStyle << info.m_dwExStyle << static_cast<DWORD>(info.m_bPrevFloating)
       << static_cast<DWORD>(info.m_bMDIChild);
    ar << ProportionText(info.m_fProportion);
    for (const CSize& size : {info.m_szFloat, info.m_szHorzDock, info.m_szVertDock}) {
        ar << static_cast<LONG>(size.cx) << static_cast<LONG>(size.cy);
    }
    ar << info.m_dwSavedDockStyle << info.m_dwDockStyle << static_cast<DWORD>(info.m_nTypeID);
    const INT_PTR ids = std::min<INT_PTR>(base.m_arrBarID.GetSize(), 0xFFFF);
    ar << static_cast<WORD>(ids);
    for (INT_PTR i = 0; i < ids; ++i) {
        ar << static_cast<DWORD>(base.m_arrBarID[i]);
    }
}

void SECDockState::LoadBar(CArchive& ar, DWORD dwVersion) {
    auto* base = new CControlBarInfo;
    m_arrBarInfo.Add(base); // owned from here, also when reading stops half-way
    DWORD id = 0;
    DWORD visible = 0;
    DWORD floating = 0;
    DWORD horz = 0;
    LONG x = 0;
    LONG y = 0;
    ar >> id >> visible >> floating >> horz >> x >> y;
    base->m_nBarID = id;
    base->m_bDockBar = IsDockBarID(id);
    base->m_bVisible = visible != 0;
    base->m_bFloating = floating != 0;
    base->m_bHorz = horz != 0;
    base->m_pointPos = CPoint(x, y);
    if (dwVersion > 1) {
        DWORD width = 0;
        DWORD docking = 0;
        ar >> width >> docking;
        base->m_nMRUWidth = width;
        base->m_bDocking = docking != 0;
        if (base->m_bDocking) {
            DWORD dockID = 0;
            CRect& r = base->m_rectMRUDockPos;
            LONG fx = 0;
            LONG fy = 0;
            ar >> dockID >> r.left >> r.top >> r.right >> r.bottom >> base->m_dwMRUFloatStyle >> fx >> fy;
            base->m_uMRUDockID = dockID;
            base->m_ptMRUFloatPos = CPoint(fx, fy);
        }
    }
    SECControlBarInfo info;
    info.m_nBarID = id;
    DWORD prevFloating = 0;
    DWORD mdiChild = 0;
    ar >> info.m_dwStyle >> info.m_dwExStyle >> prevFloating >> mdiChild;
    info.m_bPrevFloating = prevFloating != 0;
    info.m_bMDIChild = mdiChild != 0;
    CString pct;
    ar >> pct;
    info.m_fProportion = ParseProportion(pct);
    for (CSize* size : {&info.m_szFloat, &info.m_szHorzDock, &info.m_szVertDock}) {
        LONG cx = 0;
        LONG cy = 0;
        ar >> cx >> cy;
        *size = CSize(cx, cy);
    }
    DWORD typeID = 0;
    ar >> info.m_dwSavedDockStyle >> info.m_dwDockStyle >> typeID;
    info.m_nTypeID = typeID;
    WORD ids = 0;
    ar >> ids;
    ar.EnsureAvailable(ULONGLONG(ids) * sizeof(DWORD));
    for (WORD i = 0; i < ids; ++i) {
        DWORD bar = 0;
        ar >> bar;
        base->m_arrBarID.Add(bar);
    }
    // A second record for one bar is damage; keep the first so the check below sees the duplicate.
    if (!base->m_bDockBar) {
        m_barInfo.emplace(info.m_nBarID, info);
    }
}

BOOL SECDockState::SaveToTree(SECPersistentTreeNode* pParent) const {
    if (!pParent) {
        return FALSE;
    }
    if (SECPersistentTreeNode* previous = pParent->FindChild(u"DockState")) {
        pParent->GetFactory().DestroyChild(previous);
    }
    SECPersistentTreeNode* node = pParent->GetFactory().CreateChild(u"DockState", pParent);
    if (!node) {
        return FALSE;
    }
    int saved = 0;
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        if (IsEmptyDockedDockBar(*base)) {
            continue;
        }
        CString name;
        name.Format(u"Bar-%d", saved);
        SECPersistentTreeNode* barNode = node->GetFactory().CreateChild(name, node);
        if (!barNode) {
            continue;
        }
        ++saved;
        PutBaseKeys(barNode, *base);
        auto found = m_barInfo.find(base->m_nBarID);
        if (!base->m_bDockBar && found != m_barInfo.end()) {
            TreeKeys keys(barNode);
            PutToolkitKeys(keys, found->second);
        }
    }
    node->SetInt(u"Bars", saved);
    node->SetInt(u"ScreenCX", m_sizeScreen.cx);
    node->SetInt(u"ScreenCY", m_sizeScreen.cy);
    return TRUE;
}

BOOL SECDockState::LoadFromTree(SECPersistentTreeNode* pParent) {
    Reset();
    SECPersistentTreeNode* node = pParent ? pParent->FindChild(u"DockState") : nullptr;
    if (!node) {
        return FALSE;
    }
    int bars = 0;
    node->GetInt(u"Bars", bars, 0);
    node->GetLong(u"ScreenCX", m_sizeScreen.cx, 0);
    node->GetLong(u"ScreenCY", m_sizeScreen.cy, 0);
    // The children in index order, found by name so that a damaged count costs nothing.
    std::map<int, SECPersistentTreeNode*> barNodes;
    for (SECPersistentTreeNode* child : node->GetChildren()) {
        const int index = BarNodeIndex(child->GetName());
        if (index >= 0 && index < bars) {
            barNodes.emplace(index, child);
        }
    }
    bool sound = true;
    for (const auto& [index, barNode] : barNodes) {
        auto* base = new CControlBarInfo;
        m_arrBarInfo.Add(base);
        sound = sound && GetBaseKeys(barNode, *base);
        SECControlBarInfo info;
        info.m_nBarID = base->m_nBarID;
        TreeKeys keys(barNode);
        if (!base->m_bDockBar && GetToolkitKeys(keys, info)) {
            m_barInfo.emplace(info.m_nBarID, info);
        }
    }
    if (!sound || !IsSound()) {
        Reset();
        return FALSE;
    }
    return TRUE;
}

CControlBar* SECDockState::CreateMissingBar(const SECControlBarInfo& info, CFrameWnd* pFrame) {
    // A saved name must not make objects of any class: only toolkit bars.
    CRuntimeClass* cls = info.m_strClassName.IsEmpty()
                             ? nullptr
                             : CRuntimeClass::FromName(static_cast<LPCTSTR>(info.m_strClassName));
    if (!cls || !cls->m_pfnCreateObject || !cls->IsDerivedFrom(RUNTIME_CLASS(SECControlBar))) {
        return nullptr;
    }
    std::unique_ptr<CObject> object(cls->CreateObject());
    auto* bar = dynamic_cast<SECControlBar*>(object.get());
    if (!bar) {
        return nullptr;
    }
    const DWORD style = WS_CHILD | WS_VISIBLE | (info.m_dwStyle & CBRS_ALL);
    auto* dialogBar = dynamic_cast<SECDialogBar*>(bar);
    const BOOL created =
        dialogBar ? dialogBar->Create(pFrame, info.m_nResourceID, style, info.m_dwExStyle, info.m_nBarID)
                  : bar->Create(pFrame, info.m_strWindowName, style, info.m_dwExStyle, info.m_nBarID);
    if (!created) {
        return nullptr;
    }
    object.release();
    if (m_pCreatedBars) {
        m_pCreatedBars->push_back(bar);
    } else {
        bar->m_bAutoDelete = TRUE;
    }
    bar->SetWindowTextW(info.m_strWindowName);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    return bar;
}

void SECDockState::Apply(CFrameWnd* pFrame) {
    for (const auto& [id, info] : m_barInfo) {
        if (!pFrame->GetControlBar(id)) {
            CreateMissingBar(info, pFrame);
        }
    }
    for (const auto& [id, info] : m_barInfo) {
        auto* sec = dynamic_cast<SECControlBar*>(pFrame->GetControlBar(id));
        if (!sec) {
            continue;
        }
        sec->m_fProportion = sec->m_fSavedProportion = info.m_fProportion;
        sec->m_szFloat = info.m_szFloat;
        sec->m_szHorzDock = info.m_szHorzDock;
        sec->m_szVertDock = info.m_szVertDock;
    }
    pFrame->SetDockState(*this);
}

BOOL SECDockState::WriteBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, const BYTE* pData,
                               UINT nBytes) {
    if (!app || (!pData && nBytes)) {
        return FALSE;
    }
    const std::vector<CString> chunks = SECSplitBinaryText(SECBinaryToText(pData, nBytes));
    if (chunks.size() == 1) {
        return app->WriteProfileString(lpszSection, lpszKey, chunks[0]);
    }
    BOOL ok = app->WriteProfileInt(lpszSection, SECBinaryCountKey(lpszKey), static_cast<int>(chunks.size()));
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        ok &=
            app->WriteProfileString(lpszSection, SECBinaryChunkKey(lpszKey, static_cast<int>(i)), chunks[i]);
    }
    return ok;
}

BOOL SECDockState::GetBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, std::vector<BYTE>& data) {
    data.clear();
    if (!app) {
        return FALSE;
    }
    CString text;
    // A damaged count must not make millions of profile reads.
    const int chunks = std::min(ReadInt(app, lpszSection, SECBinaryCountKey(lpszKey), -1), kMaxChunks);
    if (chunks >= 0) {
        for (int i = 0; i < chunks; ++i) {
            text += app->GetProfileString(lpszSection, SECBinaryChunkKey(lpszKey, i), u"");
        }
    } else {
        text = app->GetProfileString(lpszSection, lpszKey, u"");
    }
    data = SECTextToBinary(text);
    return !data.empty();
}
