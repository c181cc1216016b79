#include "toolkit/SECControlBarInfo.h"

#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECControlBarManager.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECPersistentTreeNode.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(SECControlBarInfoEx, CObject)

namespace {

constexpr UINT kDefaultMRUWidth = 32767;

CString BarSection(LPCTSTR lpszProfileName, int nIndex) {
    CString section(lpszProfileName);
    section.AppendFormat(u"-Bar%d", nIndex);
    return section;
}

bool SizeInRange(const CSize& size) {
    return size.cx >= 0 && size.cy >= 0 && size.cx <= SECControlBarInfo::kMaxSize &&
           size.cy <= SECControlBarInfo::kMaxSize;
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
    virtual void PutBinary(LPCTSTR key, const BYTE* data, UINT bytes) = 0;
    // FALSE when the key is absent.
    virtual bool GetBinary(LPCTSTR key, std::vector<BYTE>& data) const = 0;
};

class ProfileKeys : public KeyStore {
public:
    ProfileKeys(CWinApp* app, CString section) : m_app(app), m_section(std::move(section)) {}
    void PutInt(LPCTSTR key, int value) override { m_app->WriteProfileInt(m_section, key, value); }
    void PutString(LPCTSTR key, const CString& value) override {
        m_app->WriteProfileString(m_section, key, value);
    }
    int GetInt(LPCTSTR key, int def) const override {
        return static_cast<int>(m_app->GetProfileInt(m_section, key, def));
    }
    CString GetString(LPCTSTR key) const override { return m_app->GetProfileString(m_section, key, u""); }
    void PutBinary(LPCTSTR key, const BYTE* data, UINT bytes) override {
        SECDockState::WriteBinary(m_app, m_section, key, data, bytes);
    }
    bool GetBinary(LPCTSTR key, std::vector<BYTE>& data) const override {
        return SECDockState::GetBinary(m_app, m_section, key, data);
    }

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
    void PutBinary(LPCTSTR key, const BYTE* data, UINT bytes) override {
        m_node->SetBinary(key, data, bytes);
    }
    bool GetBinary(LPCTSTR key, std::vector<BYTE>& data) const override {
        return m_node->GetBinary(key, &data) == 0;
    }

private:
    SECPersistentTreeNode* m_node;
};

void PutToolkitKeys(KeyStore& keys, const SECControlBarInfo& info) {
    keys.PutInt(u"Style", static_cast<int>(info.m_dwStyle));
    keys.PutInt(u"ExStyle", static_cast<int>(info.m_dwExStyle));
    keys.PutInt(u"PrevFloating", info.m_bPrevFloating);
    keys.PutInt(u"MDIChild", info.m_bMDIChild);
    if (info.m_bMDIChild && info.m_wpMDIChild.length == sizeof(WINDOWPLACEMENT)) {
        keys.PutBinary(u"MDIChildWindowPlacement", reinterpret_cast<const BYTE*>(&info.m_wpMDIChild),
                       sizeof(WINDOWPLACEMENT));
    }
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
    info.m_bToolkitBar = true;
    info.m_dwStyle = static_cast<DWORD>(keys.GetInt(u"Style", 0));
    info.m_dwExStyle = static_cast<DWORD>(keys.GetInt(u"ExStyle", 0));
    info.m_bPrevFloating = keys.GetInt(u"PrevFloating", 0) != 0;
    info.m_bMDIChild = keys.GetInt(u"MDIChild", 0) != 0;
    std::vector<BYTE> placement;
    if (info.m_bMDIChild && keys.GetBinary(u"MDIChildWindowPlacement", placement)) {
        // A record of another size is damage, which the soundness check sees in the length.
        std::memcpy(&info.m_wpMDIChild, placement.data(),
                    std::min(placement.size(), sizeof(WINDOWPLACEMENT)));
        if (placement.size() != sizeof(WINDOWPLACEMENT)) {
            info.m_wpMDIChild.length = 1;
        }
    }
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

} // namespace

SECControlBarInfo::~SECControlBarInfo() {
    delete m_pBarInfoEx;
}

void SECControlBarInfo::SetBarInfoEx(SECControlBarInfoEx* pBarInfoEx) {
    if (pBarInfoEx != m_pBarInfoEx) {
        delete m_pBarInfoEx;
        m_pBarInfoEx = pBarInfoEx;
    }
}

bool SECControlBarInfo::IsSound() const {
    const bool placement = m_wpMDIChild.length == 0 || m_wpMDIChild.length == sizeof(WINDOWPLACEMENT);
    return !m_bToolkitBar || (m_fProportion > 0.0f && m_fProportion <= 1.0f && SizeInRange(m_szFloat) &&
                              SizeInRange(m_szHorzDock) && SizeInRange(m_szVertDock) && placement);
}

bool SECControlBarInfo::MakeBarInfoEx() {
    SetBarInfoEx(nullptr);
    if (m_nTypeID == 0) {
        return true;
    }
    if (m_pBarInfoFactory) {
        SetBarInfoEx(m_pBarInfoFactory->CreateBarInfoEx(this));
    }
    return m_pBarInfoEx != nullptr;
}

// ---- Profile

BOOL SECControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) const {
    BOOL ok = CControlBarInfo::SaveState(lpszProfileName, nIndex);
    CWinApp* app = AfxGetApp();
    if (!app || m_bDockBar || !m_bToolkitBar) {
        return ok;
    }
    const CString section = BarSection(lpszProfileName, nIndex);
    ProfileKeys keys(app, section);
    PutToolkitKeys(keys, *this);
    if (m_pBarInfoEx) {
        m_pBarInfoEx->SaveState(section);
    }
    return ok;
}

BOOL SECControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState) {
    if (!CControlBarInfo::LoadState(lpszProfileName, nIndex, pDockState)) {
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    const CString section = BarSection(lpszProfileName, nIndex);
    ProfileKeys keys(app, section);
    if (m_bDockBar || !GetToolkitKeys(keys, *this)) {
        return TRUE;
    }
    // A kind this frame's manager does not know keeps its keys unread; the bar still gets its place.
    if (!MakeBarInfoEx()) {
        return TRUE;
    }
    return !m_pBarInfoEx || m_pBarInfoEx->LoadState(section, dynamic_cast<SECDockState*>(pDockState));
}

// ---- Tree

BOOL SECControlBarInfo::SaveToTree(SECPersistentTreeNode* pParent, int nIndex) const {
    if (!pParent || IsEmptyDockedDockBar(*this)) {
        return FALSE;
    }
    CString name;
    name.Format(u"Bar-%d", nIndex);
    SECPersistentTreeNode* node = pParent->GetFactory().CreateChild(name, pParent);
    if (!node) {
        return FALSE;
    }
    SaveBaseToTree(node);
    if (!m_bDockBar && m_bToolkitBar) {
        SaveExToTree(node);
        if (m_pBarInfoEx) {
            m_pBarInfoEx->SaveToTree(node);
        }
    }
    return TRUE;
}

void SECControlBarInfo::SaveBaseToTree(SECPersistentTreeNode* node) const {
    node->SetInt(u"BarID", static_cast<int>(m_nBarID));
    if (!m_bVisible) {
        node->SetBool(u"Visible", FALSE);
    }
    if (m_bFloating) {
        node->SetBool(u"Horz", m_bHorz);
        node->SetBool(u"Floating", TRUE);
    }
    if (m_pointPos.x != -1) {
        node->SetInt(u"XPos", m_pointPos.x);
    }
    if (m_pointPos.y != -1) {
        node->SetInt(u"YPos", m_pointPos.y);
    }
    if (m_nMRUWidth != kDefaultMRUWidth) {
        node->SetInt(u"MRUWidth", static_cast<int>(m_nMRUWidth));
    }
    if (m_bDocking) {
        node->SetBool(u"Docking", TRUE);
        node->SetInt(u"MRUDockID", static_cast<int>(m_uMRUDockID));
        node->SetInt(u"MRUDockLeftPos", m_rectMRUDockPos.left);
        node->SetInt(u"MRUDockTopPos", m_rectMRUDockPos.top);
        node->SetInt(u"MRUDockRightPos", m_rectMRUDockPos.right);
        node->SetInt(u"MRUDockBottomPos", m_rectMRUDockPos.bottom);
        node->SetInt(u"MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
        node->SetInt(u"MRUFloatXPos", m_ptMRUFloatPos.x);
        node->SetInt(u"MRUFloatYPos", m_ptMRUFloatPos.y);
    }
    if (m_arrBarID.GetSize() > 1) {
        node->SetInt(u"Bars", static_cast<int>(m_arrBarID.GetSize()));
        for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
            CString key;
            key.Format(u"Bar#%d", static_cast<int>(i));
            node->SetInt(key, static_cast<int>(m_arrBarID[i]));
        }
    }
}

void SECControlBarInfo::SaveExToTree(SECPersistentTreeNode* node) const {
    TreeKeys keys(node);
    PutToolkitKeys(keys, *this);
}

bool SECControlBarInfo::LoadBaseFromTree(SECPersistentTreeNode* node, SECDockState* pDockState) {
    node->GetUInt(u"BarID", m_nBarID, 0);
    node->GetBool(u"Visible", m_bVisible, TRUE);
    node->GetBool(u"Horz", m_bHorz, TRUE);
    node->GetBool(u"Floating", m_bFloating, FALSE);
    m_bDockBar = IsDockBarID(m_nBarID);
    node->GetLong(u"XPos", m_pointPos.x, -1);
    node->GetLong(u"YPos", m_pointPos.y, -1);
    node->GetUInt(u"MRUWidth", m_nMRUWidth, kDefaultMRUWidth);
    node->GetBool(u"Docking", m_bDocking, FALSE);
    if (m_bDocking) {
        node->GetUInt(u"MRUDockID", m_uMRUDockID, 0);
        node->GetLong(u"MRUDockLeftPos", m_rectMRUDockPos.left, 0);
        node->GetLong(u"MRUDockTopPos", m_rectMRUDockPos.top, 0);
        node->GetLong(u"MRUDockRightPos", m_rectMRUDockPos.right, 0);
        node->GetLong(u"MRUDockBottomPos", m_rectMRUDockPos.bottom, 0);
        node->GetDWord(u"MRUFloatStyle", m_dwMRUFloatStyle, 0);
        node->GetLong(u"MRUFloatXPos", m_ptMRUFloatPos.x, 0);
        node->GetLong(u"MRUFloatYPos", m_ptMRUFloatPos.y, 0);
    }
    if (pDockState) {
        pDockState->ScalePoint(m_pointPos);
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        pDockState->ScalePoint(m_ptMRUFloatPos);
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
        m_arrBarID.Add(id);
    }
    return true;
}

BOOL SECControlBarInfo::LoadFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState) {
    if (!pNode || !LoadBaseFromTree(pNode, pDockState)) {
        return FALSE;
    }
    TreeKeys keys(pNode);
    if (m_bDockBar || !GetToolkitKeys(keys, *this) || !MakeBarInfoEx()) {
        return TRUE;
    }
    return !m_pBarInfoEx || m_pBarInfoEx->LoadFromTree(pNode);
}

// ---- Archive

void SECControlBarInfo::Serialize(CArchive& ar, SECDockState* pDockState) {
    if (ar.IsStoring()) {
        // Dock bars and plain framework bars carry an empty toolkit part, as the form has no flag for it.
        const bool toolkit = !m_bDockBar && m_bToolkitBar;
        const SECControlBarInfo none;
        const SECControlBarInfo& tk = toolkit ? *this : none;
        ar << static_cast<DWORD>(m_nBarID) << static_cast<DWORD>(m_bVisible)
           << static_cast<DWORD>(m_bFloating) << static_cast<DWORD>(m_bHorz)
           << static_cast<LONG>(m_pointPos.x) << static_cast<LONG>(m_pointPos.y);
        ar << static_cast<DWORD>(m_nMRUWidth) << static_cast<DWORD>(m_bDocking);
        if (m_bDocking) {
            const CRect& r = m_rectMRUDockPos;
            ar << static_cast<DWORD>(m_uMRUDockID) << static_cast<LONG>(r.left) << static_cast<LONG>(r.top)
               << static_cast<LONG>(r.right) << static_cast<LONG>(r.bottom) << m_dwMRUFloatStyle
               << static_cast<LONG>(m_ptMRUFloatPos.x) << static_cast<LONG>(m_ptMRUFloatPos.y);
        }
        ar << tk.m_dwStyle << tk.m_dwExStyle << static_cast<DWORD>(tk.m_bPrevFloating)
           << static_cast<DWORD>(tk.m_bMDIChild);
        ar << ProportionText(tk.m_fProportion);
        for (const CSize& size : {tk.m_szFloat, tk.m_szHorzDock, tk.m_szVertDock}) {
            ar << static_cast<LONG>(size.cx) << static_cast<LONG>(size.cy);
        }
        // The kind is written only with its extension, so that a reader knows what follows.
        const bool withEx = toolkit && m_pBarInfoEx && m_nTypeID != 0;
        ar << tk.m_dwSavedDockStyle << tk.m_dwDockStyle << static_cast<DWORD>(withEx ? m_nTypeID : 0);
        if (withEx) {
            m_pBarInfoEx->Serialize(ar, pDockState);
        }
        const INT_PTR ids = std::min<INT_PTR>(m_arrBarID.GetSize(), 0xFFFF);
        ar << static_cast<WORD>(ids);
        for (INT_PTR i = 0; i < ids; ++i) {
            ar << static_cast<DWORD>(m_arrBarID[i]);
        }
        return;
    }
    DWORD id = 0;
    DWORD visible = 0;
    DWORD floating = 0;
    DWORD horz = 0;
    LONG x = 0;
    LONG y = 0;
    ar >> id >> visible >> floating >> horz >> x >> y;
    m_nBarID = id;
    m_bDockBar = IsDockBarID(id);
    m_bToolkitBar = !m_bDockBar;
    m_bVisible = visible != 0;
    m_bFloating = floating != 0;
    m_bHorz = horz != 0;
    m_pointPos = CPoint(x, y);
    const DWORD version = pDockState ? pDockState->m_dwVersion : SECDockState::kVersion;
    if (version > 1) {
        DWORD width = 0;
        DWORD docking = 0;
        ar >> width >> docking;
        m_nMRUWidth = width;
        m_bDocking = docking != 0;
        if (m_bDocking) {
            DWORD dockID = 0;
            CRect& r = m_rectMRUDockPos;
            LONG fx = 0;
            LONG fy = 0;
            ar >> dockID >> r.left >> r.top >> r.right >> r.bottom >> m_dwMRUFloatStyle >> fx >> fy;
            m_uMRUDockID = dockID;
            m_ptMRUFloatPos = CPoint(fx, fy);
        }
    }
    if (pDockState) {
        pDockState->ScalePoint(m_pointPos);
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        pDockState->ScalePoint(m_ptMRUFloatPos);
    }
    DWORD prevFloating = 0;
    DWORD mdiChild = 0;
    ar >> m_dwStyle >> m_dwExStyle >> prevFloating >> mdiChild;
    m_bPrevFloating = prevFloating != 0;
    m_bMDIChild = mdiChild != 0;
    CString pct;
    ar >> pct;
    m_fProportion = ParseProportion(pct);
    for (CSize* size : {&m_szFloat, &m_szHorzDock, &m_szVertDock}) {
        LONG cx = 0;
        LONG cy = 0;
        ar >> cx >> cy;
        *size = CSize(cx, cy);
    }
    DWORD typeID = 0;
    ar >> m_dwSavedDockStyle >> m_dwDockStyle >> typeID;
    m_nTypeID = typeID;
    if (m_bDockBar && m_nTypeID != 0) {
        AfxThrowArchiveException(CArchiveException::genericException);
    }
    if (!MakeBarInfoEx()) {
        AfxThrowArchiveException(CArchiveException::badClass);
    }
    if (m_pBarInfoEx) {
        m_pBarInfoEx->Serialize(ar, pDockState);
    }
    WORD ids = 0;
    ar >> ids;
    ar.EnsureAvailable(ULONGLONG(ids) * sizeof(DWORD));
    for (WORD i = 0; i < ids; ++i) {
        DWORD bar = 0;
        ar >> bar;
        m_arrBarID.Add(bar);
    }
}
