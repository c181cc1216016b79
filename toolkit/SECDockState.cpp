#include "toolkit/SECDockState.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECControlBar.h"

#include <cmath>

IMPLEMENT_DYNAMIC(SECDockState, CDockState)

namespace {

constexpr int kMaxSize = 32767;

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

} // namespace

void SECDockState::Collect(CFrameWnd* pFrame) {
    pFrame->GetDockState(*this);
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
        info.m_dwDockStyle = sec->m_dwDockStyle;
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
        const SECControlBarInfo& info = found->second;
        const CString section = BarSection(lpszProfileName, static_cast<int>(i));
        CString pct;
        pct.Format(u"%d", static_cast<int>(info.m_fProportion * 1000000.0f));
        app->WriteProfileInt(section, u"Style", static_cast<int>(info.m_dwStyle));
        app->WriteProfileInt(section, u"ExStyle", static_cast<int>(info.m_dwExStyle));
        app->WriteProfileString(section, u"PctWidth", pct);
        app->WriteProfileInt(section, u"MRUFloatCX", info.m_szFloat.cx);
        app->WriteProfileInt(section, u"MRUFloatCY", info.m_szFloat.cy);
        app->WriteProfileInt(section, u"MRUHorzDockCX", info.m_szHorzDock.cx);
        app->WriteProfileInt(section, u"MRUHorzDockCY", info.m_szHorzDock.cy);
        app->WriteProfileInt(section, u"MRUVertDockCX", info.m_szVertDock.cx);
        app->WriteProfileInt(section, u"MRUVertDockCY", info.m_szVertDock.cy);
        app->WriteProfileInt(section, u"DockingStyle", static_cast<int>(info.m_dwDockStyle));
    }
}

BOOL SECDockState::LoadState(LPCTSTR lpszProfileName) {
    CDockState::LoadState(lpszProfileName);
    m_barInfo.clear();
    CWinApp* app = AfxGetApp();
    CString summary(lpszProfileName);
    summary += u"-Summary";
    const int count = app ? ReadInt(app, summary, u"Bars", 0) : 0;
    bool sound = count > 0 && count == m_arrBarInfo.GetSize();
    std::map<UINT, bool> named;
    for (INT_PTR i = 0; sound && i < m_arrBarInfo.GetSize(); ++i) {
        named[static_cast<const CControlBarInfo*>(m_arrBarInfo[i])->m_nBarID] = true;
    }
    for (INT_PTR i = 0; sound && i < m_arrBarInfo.GetSize(); ++i) {
        auto* base = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
        for (INT_PTR j = 0; base->m_bDockBar && j < base->m_arrBarID.GetSize(); ++j) {
            sound = sound && (base->m_arrBarID[j] == 0 || named.count(base->m_arrBarID[j]));
        }
        const CString section = BarSection(lpszProfileName, static_cast<int>(i));
        CString pct = app->GetProfileString(section, u"PctWidth", u"");
        if (base->m_bDockBar || pct.IsEmpty()) {
            continue;
        }
        SECControlBarInfo info;
        info.m_nBarID = base->m_nBarID;
        info.m_dwStyle = static_cast<DWORD>(ReadInt(app, section, u"Style", 0));
        info.m_dwExStyle = static_cast<DWORD>(ReadInt(app, section, u"ExStyle", 0));
        // Written as text ("%d" of the share in millionths).
        int millionths = 0;
        bool digits = pct.GetLength() > 0 && pct.GetLength() < 10;
        for (int k = 0; digits && k < pct.GetLength(); ++k) {
            digits = pct[k] >= u'0' && pct[k] <= u'9';
            millionths = millionths * 10 + (pct[k] - u'0');
        }
        millionths = digits ? millionths : -1;
        info.m_fProportion = static_cast<float>(millionths) * 0.000001f;
        info.m_szFloat =
            CSize(ReadInt(app, section, u"MRUFloatCX", 0), ReadInt(app, section, u"MRUFloatCY", 0));
        info.m_szHorzDock =
            CSize(ReadInt(app, section, u"MRUHorzDockCX", 0), ReadInt(app, section, u"MRUHorzDockCY", 0));
        info.m_szVertDock =
            CSize(ReadInt(app, section, u"MRUVertDockCX", 0), ReadInt(app, section, u"MRUVertDockCY", 0));
        info.m_dwDockStyle = static_cast<DWORD>(ReadInt(app, section, u"DockingStyle", 0));
        sound = sound && millionths > 0 && millionths <= 1000000 && SizeInRange(info.m_szFloat) &&
                SizeInRange(info.m_szHorzDock) && SizeInRange(info.m_szVertDock);
        m_barInfo[info.m_nBarID] = info;
    }
    if (!sound) {
        Clear();
        m_barInfo.clear();
        return FALSE;
    }
    return TRUE;
}

void SECDockState::Apply(CFrameWnd* pFrame) const {
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
    std::u16string text;
    text.reserve(std::size_t(nBytes) * 2);
    for (UINT i = 0; i < nBytes; ++i) {
        text += static_cast<char16_t>(u'A' + (pData[i] & 0x0F));
        text += static_cast<char16_t>(u'A' + (pData[i] >> 4));
    }
    const CString key(lpszKey);
    if (text.size() <= static_cast<std::size_t>(kChunk)) {
        return app->WriteProfileString(lpszSection, key, text.c_str());
    }
    const int chunks = static_cast<int>((text.size() + kChunk - 1) / kChunk);
    BOOL ok = app->WriteProfileInt(lpszSection, key + u"_BinCount", chunks);
    for (int i = 0; i < chunks; ++i) {
        CString chunkKey;
        chunkKey.Format(u"%s%s%d", static_cast<LPCTSTR>(key), u"_BinVal", i);
        ok &= app->WriteProfileString(lpszSection, chunkKey,
                                      text.substr(std::size_t(i) * kChunk, kChunk).c_str());
    }
    return ok;
}

BOOL SECDockState::GetBinary(CWinApp* app, LPCTSTR lpszSection, LPCTSTR lpszKey, std::vector<BYTE>& data) {
    data.clear();
    if (!app) {
        return FALSE;
    }
    const CString key(lpszKey);
    CString text;
    const int chunks = ReadInt(app, lpszSection, key + u"_BinCount", -1);
    if (chunks >= 0) {
        for (int i = 0; i < chunks; ++i) {
            CString chunkKey;
            chunkKey.Format(u"%s%s%d", static_cast<LPCTSTR>(key), u"_BinVal", i);
            text += app->GetProfileString(lpszSection, chunkKey, u"");
        }
    } else {
        text = app->GetProfileString(lpszSection, key, u"");
    }
    const int n = text.GetLength() / 2;
    for (int i = 0; i < n; ++i) {
        data.push_back(
            static_cast<BYTE>(((text[2 * i] - u'A') & 0x0F) | (((text[2 * i + 1] - u'A') & 0x0F) << 4)));
    }
    return n > 0;
}
