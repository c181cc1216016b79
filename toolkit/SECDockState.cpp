#include "toolkit/SECDockState.h"

#include "platform/base/CArchive.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECBinaryText.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECControlBarManager.h"
#include "toolkit/SECDialogBar.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECPersistentTreeNode.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

IMPLEMENT_DYNAMIC(SECDockState, CDockState)

namespace {

constexpr int kMaxChunks = 4096;

int ReadInt(CWinApp* app, const CString& section, LPCTSTR key, int def) {
    return static_cast<int>(app->GetProfileInt(section, key, def));
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
    m_sizeScreen = CSize(0, 0);
    m_sizeScaleTo = CSize(0, 0);
    m_dwVersion = kVersion;
}

CControlBarInfo* SECDockState::CreateBarInfo() {
    return new SECControlBarInfo(m_pBarInfoFactory);
}

SECControlBarInfo* SECDockState::GetBarInfo(INT_PTR nIndex) const {
    return dynamic_cast<SECControlBarInfo*>(static_cast<CControlBarInfo*>(m_arrBarInfo[nIndex]));
}

SECControlBarInfo* SECDockState::FindBarInfo(UINT nBarID) const {
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        SECControlBarInfo* info = GetBarInfo(i);
        if (info && !info->m_bDockBar && info->m_nBarID == nBarID) {
            return info;
        }
    }
    return nullptr;
}

bool SECDockState::IsSound() const {
    if (m_arrBarInfo.GetSize() == 0) {
        return false;
    }
    std::set<UINT> bars;
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        const SECControlBarInfo* info = GetBarInfo(i);
        if (base->m_nBarID == 0 || (!base->m_bDockBar && !bars.insert(base->m_nBarID).second) ||
            (info && !info->IsSound())) {
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
    return true;
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
    m_sizeScreen = GetCurrentScreenSize();
    m_sizeScaleTo = CSize(0, 0);
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* sec =
            dynamic_cast<SECControlBar*>(static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos)));
        SECControlBarInfo* info =
            sec && sec->m_hWnd ? FindBarInfo(static_cast<UINT>(sec->GetDlgCtrlID())) : nullptr;
        if (!info) {
            continue;
        }
        info->m_bToolkitBar = true;
        info->m_dwStyle = sec->m_dwStyle;
        info->m_dwExStyle = sec->m_dwExStyle;
        // A floating bar's docked share is the one it keeps for its return.
        info->m_fProportion = sec->IsFloating() ? sec->m_fSavedProportion : sec->m_fProportion;
        info->m_szFloat = sec->m_szFloat;
        info->m_szHorzDock = sec->m_szHorzDock;
        info->m_szVertDock = sec->m_szVertDock;
        info->m_dwSavedDockStyle = sec->m_dwSavedDockStyle;
        info->m_dwDockStyle = sec->m_dwDockStyle;
        auto* dockBar = dynamic_cast<SECDockBar*>(sec->m_pDockBar);
        info->m_bMDIChild = dockBar && dockBar->m_bMDIHost;
        if (info->m_bMDIChild) {
            info->m_wpMDIChild.length = sizeof(WINDOWPLACEMENT);
            ::GetWindowPlacement(dockBar->GetParent()->m_hWnd, &info->m_wpMDIChild);
        }
        info->m_strClassName = CString(sec->GetRuntimeClass()->m_lpszClassName);
        sec->GetWindowText(info->m_strWindowName);
        // Only a kind the factory names gets an extension: a reader needs the kind to read it back.
        info->m_nTypeID = m_pBarInfoFactory ? m_pBarInfoFactory->GetBarTypeID(sec) : 0;
        if (info->m_nTypeID != 0) {
            sec->GetBarInfoEx(info);
        }
    }
}

void SECDockState::SaveState(LPCTSTR lpszProfileName) const {
    CDockState::SaveState(lpszProfileName);
}

BOOL SECDockState::LoadState(LPCTSTR lpszProfileName) {
    CDockState::LoadState(lpszProfileName);
    CWinApp* app = AfxGetApp();
    CString summary(lpszProfileName);
    summary += u"-Summary";
    // Bars without an id, or with a damaged extension, were left out: the count tells.
    const int count = app ? ReadInt(app, summary, u"Bars", 0) : 0;
    if (count != m_arrBarInfo.GetSize() || !IsSound()) {
        Reset();
        return FALSE;
    }
    return TRUE;
}

void SECDockState::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        const INT_PTR count = std::min<INT_PTR>(m_arrBarInfo.GetSize(), 0xFFFF);
        const CSize screen = GetPositionsScreenSize();
        ar << kVersion << static_cast<LONG>(screen.cx) << static_cast<LONG>(screen.cy)
           << static_cast<WORD>(count);
        for (INT_PTR i = 0; i < count; ++i) {
            if (SECControlBarInfo* info = GetBarInfo(i)) {
                info->Serialize(ar, this);
            } else {
                // A framework record: stored with an empty toolkit part.
                SECControlBarInfo copy;
                auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
                copy.m_nBarID = base->m_nBarID;
                copy.m_bVisible = base->m_bVisible;
                copy.m_bFloating = base->m_bFloating;
                copy.m_bHorz = base->m_bHorz;
                copy.m_bDockBar = base->m_bDockBar;
                copy.m_pointPos = base->m_pointPos;
                copy.m_nMRUWidth = base->m_nMRUWidth;
                copy.m_bDocking = base->m_bDocking;
                copy.m_uMRUDockID = base->m_uMRUDockID;
                copy.m_rectMRUDockPos = base->m_rectMRUDockPos;
                copy.m_dwMRUFloatStyle = base->m_dwMRUFloatStyle;
                copy.m_ptMRUFloatPos = base->m_ptMRUFloatPos;
                for (INT_PTR k = 0; k < base->m_arrBarID.GetSize(); ++k) {
                    copy.m_arrBarID.Add(base->m_arrBarID[k]);
                }
                copy.Serialize(ar, this);
            }
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
        m_dwVersion = version;
        if (version > 1) {
            LONG cx = 0;
            LONG cy = 0;
            ar >> cx >> cy;
            SetScreenSize(CSize(cx, cy));
        }
        WORD count = 0;
        ar >> count;
        for (WORD i = 0; i < count; ++i) {
            CControlBarInfo* info = CreateBarInfo();
            m_arrBarInfo.Add(info); // owned from here, also when reading stops half-way
            static_cast<SECControlBarInfo*>(info)->Serialize(ar, this);
        }
    } catch (...) {
        Reset();
        throw;
    }
    m_dwVersion = kVersion;
    if (!IsSound()) {
        Reset();
        AfxThrowArchiveException(CArchiveException::genericException);
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
        const SECControlBarInfo* info = GetBarInfo(i);
        if (info && info->SaveToTree(node, saved)) {
            ++saved;
        }
    }
    node->SetInt(u"Bars", saved);
    const CSize screen = GetPositionsScreenSize();
    node->SetInt(u"ScreenCX", screen.cx);
    node->SetInt(u"ScreenCY", screen.cy);
    return TRUE;
}

BOOL SECDockState::LoadFromTree(SECPersistentTreeNode* pParent) {
    Reset();
    SECPersistentTreeNode* node = pParent ? pParent->FindChild(u"DockState") : nullptr;
    if (!node) {
        return FALSE;
    }
    int bars = 0;
    CSize screen;
    node->GetInt(u"Bars", bars, 0);
    node->GetLong(u"ScreenCX", screen.cx, 0);
    node->GetLong(u"ScreenCY", screen.cy, 0);
    SetScreenSize(screen);
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
        CControlBarInfo* info = CreateBarInfo();
        m_arrBarInfo.Add(info);
        sound = sound && static_cast<SECControlBarInfo*>(info)->LoadFromTree(barNode, this);
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
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        SECControlBarInfo* info = GetBarInfo(i);
        if (!info || info->m_bDockBar || !info->m_bToolkitBar || pFrame->GetControlBar(info->m_nBarID)) {
            continue;
        }
        if (!m_pBarInfoFactory || !m_pBarInfoFactory->CreateMissingBar(info)) {
            CreateMissingBar(*info, pFrame);
        }
    }
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        SECControlBarInfo* info = GetBarInfo(i);
        auto* sec = info && !info->m_bDockBar && info->m_bToolkitBar
                        ? dynamic_cast<SECControlBar*>(pFrame->GetControlBar(info->m_nBarID))
                        : nullptr;
        if (!sec) {
            continue;
        }
        sec->m_fProportion = sec->m_fSavedProportion = info->m_fProportion;
        sec->m_szFloat = info->m_szFloat;
        sec->m_szHorzDock = info->m_szHorzDock;
        sec->m_szVertDock = info->m_szVertDock;
        sec->SetExStyle(info->m_dwExStyle, FALSE);
        if (info->m_pBarInfoEx) {
            sec->SetBarInfoEx(info, pFrame);
        }
    }
    pFrame->SetDockState(*this);
    RestoreMDIPlacements(pFrame);
}

void SECDockState::RestoreMDIPlacements(CFrameWnd* pFrame) {
    auto* mdi = dynamic_cast<SECMDIFrameWnd*>(pFrame);
    for (INT_PTR i = 0; mdi && i < m_arrBarInfo.GetSize(); ++i) {
        SECControlBarInfo* info = GetBarInfo(i);
        CControlBar* bar =
            info && info->m_bMDIChild && !info->m_bDockBar ? pFrame->GetControlBar(info->m_nBarID) : nullptr;
        if (!bar || !bar->IsFloating()) {
            continue;
        }
        // The framework brought it back in a floating frame where its host stood: the host takes its place.
        CRect floating;
        bar->GetParentFrame()->GetWindowRect(&floating);
        mdi->FloatControlBarInMDIChild(bar, floating.left, floating.top);
        auto* dockBar = dynamic_cast<SECDockBar*>(bar->m_pDockBar);
        if (dockBar && dockBar->m_bMDIHost && info->m_wpMDIChild.length == sizeof(WINDOWPLACEMENT)) {
            WINDOWPLACEMENT placement = info->m_wpMDIChild;
            placement.showCmd = bar->IsWindowVisible() ? placement.showCmd : SW_HIDE;
            ::SetWindowPlacement(dockBar->GetParent()->m_hWnd, &placement);
        }
    }
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
