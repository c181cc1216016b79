#include "platform/framework/CDockState.h"

#include "platform/base/MulDiv.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

CString Section(LPCTSTR lpszProfileName, LPCTSTR suffix) {
    CString section(lpszProfileName);
    section += suffix;
    return section;
}

CString BarSection(LPCTSTR lpszProfileName, int nIndex) {
    CString section(lpszProfileName);
    section.AppendFormat(u"-Bar%d", nIndex);
    return section;
}

int ReadInt(CWinApp* app, const CString& section, LPCTSTR entry, int def) {
    return static_cast<int>(app->GetProfileInt(section, entry, def));
}

} // namespace

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState) {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return FALSE;
    }
    CString section = BarSection(lpszProfileName, nIndex);
    m_nBarID = static_cast<UINT>(ReadInt(app, section, u"BarID", 0));
    m_bVisible = ReadInt(app, section, u"Visible", TRUE) != 0;
    m_bHorz = ReadInt(app, section, u"Horz", TRUE) != 0;
    m_bFloating = ReadInt(app, section, u"Floating", FALSE) != 0;
    m_bDockBar = m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_FLOAT;
    m_nMRUWidth = static_cast<UINT>(ReadInt(app, section, u"MRUWidth", 32767));
    m_pointPos.x = ReadInt(app, section, u"XPos", -1);
    m_pointPos.y = ReadInt(app, section, u"YPos", -1);
    m_bDocking = ReadInt(app, section, u"Docking", FALSE) != 0;
    m_uMRUDockID = static_cast<UINT>(ReadInt(app, section, u"MRUDockID", 0));
    m_rectMRUDockPos.left = ReadInt(app, section, u"MRUDockLeftPos", 0);
    m_rectMRUDockPos.top = ReadInt(app, section, u"MRUDockTopPos", 0);
    m_rectMRUDockPos.right = ReadInt(app, section, u"MRUDockRightPos", 0);
    m_rectMRUDockPos.bottom = ReadInt(app, section, u"MRUDockBottomPos", 0);
    m_dwMRUFloatStyle = static_cast<DWORD>(ReadInt(app, section, u"MRUFloatStyle", 0));
    m_ptMRUFloatPos.x = ReadInt(app, section, u"MRUFloatXPos", 0);
    m_ptMRUFloatPos.y = ReadInt(app, section, u"MRUFloatYPos", 0);
    m_arrBarID.RemoveAll();
    int bars = ReadInt(app, section, u"Bars", 0);
    for (int i = 0; i < bars && i < 256; ++i) {
        CString key;
        key.Format(u"Bar#%d", i);
        m_arrBarID.Add(static_cast<UINT>(ReadInt(app, section, key, 0)));
    }
    if (pDockState) {
        pDockState->ScalePoint(m_pointPos);
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        pDockState->ScalePoint(m_ptMRUFloatPos);
    }
    return m_nBarID != 0;
}

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) const {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return FALSE;
    }
    CString section = BarSection(lpszProfileName, nIndex);
    // Only what differs from the defaults is written, as each value is a write of the profile.
    app->WriteProfileString(section, nullptr, nullptr);
    BOOL ok = app->WriteProfileInt(section, u"BarID", static_cast<int>(m_nBarID));
    if (!m_bVisible)
        ok &= app->WriteProfileInt(section, u"Visible", 0);
    if (!m_bHorz)
        ok &= app->WriteProfileInt(section, u"Horz", 0);
    if (m_bFloating)
        ok &= app->WriteProfileInt(section, u"Floating", 1);
    if (m_nMRUWidth != 32767)
        ok &= app->WriteProfileInt(section, u"MRUWidth", static_cast<int>(m_nMRUWidth));
    if (m_pointPos.x != -1)
        ok &= app->WriteProfileInt(section, u"XPos", m_pointPos.x);
    if (m_pointPos.y != -1)
        ok &= app->WriteProfileInt(section, u"YPos", m_pointPos.y);
    if (m_bDocking) {
        ok &= app->WriteProfileInt(section, u"Docking", 1);
        if (m_uMRUDockID)
            ok &= app->WriteProfileInt(section, u"MRUDockID", static_cast<int>(m_uMRUDockID));
        if (!m_rectMRUDockPos.IsRectEmpty()) {
            ok &= app->WriteProfileInt(section, u"MRUDockLeftPos", m_rectMRUDockPos.left);
            ok &= app->WriteProfileInt(section, u"MRUDockTopPos", m_rectMRUDockPos.top);
            ok &= app->WriteProfileInt(section, u"MRUDockRightPos", m_rectMRUDockPos.right);
            ok &= app->WriteProfileInt(section, u"MRUDockBottomPos", m_rectMRUDockPos.bottom);
        }
        if (m_dwMRUFloatStyle)
            ok &= app->WriteProfileInt(section, u"MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
        if (m_ptMRUFloatPos.x || m_ptMRUFloatPos.y) {
            ok &= app->WriteProfileInt(section, u"MRUFloatXPos", m_ptMRUFloatPos.x);
            ok &= app->WriteProfileInt(section, u"MRUFloatYPos", m_ptMRUFloatPos.y);
        }
    }
    if (m_bDockBar && m_arrBarID.GetSize() > 0) {
        ok &= app->WriteProfileInt(section, u"Bars", static_cast<int>(m_arrBarID.GetSize()));
        for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
            CString key;
            key.Format(u"Bar#%d", static_cast<int>(i));
            ok &= app->WriteProfileInt(section, key, static_cast<int>(m_arrBarID[i]));
        }
    }
    return ok;
}

CDockState::~CDockState() {
    Clear();
}

void CDockState::Clear() {
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
    }
    m_arrBarInfo.RemoveAll();
}

void CDockState::LoadState(LPCTSTR lpszProfileName) {
    Clear();
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    CString summary = Section(lpszProfileName, u"-Summary");
    int bars = ReadInt(app, summary, u"Bars", 0);
    SetScreenSize(CSize(ReadInt(app, summary, u"ScreenCX", 0), ReadInt(app, summary, u"ScreenCY", 0)));
    for (int i = 0; i < bars && i < 1024; ++i) {
        CControlBarInfo* info = CreateBarInfo();
        if (info->LoadState(lpszProfileName, i, this)) {
            m_arrBarInfo.Add(info);
        } else {
            delete info;
        }
    }
}

void CDockState::SaveState(LPCTSTR lpszProfileName) const {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return;
    }
    CString summary = Section(lpszProfileName, u"-Summary");
    int old = ReadInt(app, summary, u"Bars", 0);
    app->WriteProfileString(summary, nullptr, nullptr);
    app->WriteProfileInt(summary, u"Bars", static_cast<int>(m_arrBarInfo.GetSize()));
    const CSize screen = GetCurrentScreenSize();
    app->WriteProfileInt(summary, u"ScreenCX", screen.cx);
    app->WriteProfileInt(summary, u"ScreenCY", screen.cy);
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        static_cast<const CControlBarInfo*>(m_arrBarInfo[i])->SaveState(lpszProfileName, static_cast<int>(i));
    }
    // Sections of bars that no longer exist go.
    for (int i = static_cast<int>(m_arrBarInfo.GetSize()); i < old; ++i) {
        app->WriteProfileString(BarSection(lpszProfileName, i), nullptr, nullptr);
    }
}

CSize CDockState::GetCurrentScreenSize() const {
    return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

void CDockState::SetScreenSize(const CSize& sizeSaved) {
    m_sizeScreen = sizeSaved;
    const CSize current = GetCurrentScreenSize();
    const bool known = sizeSaved.cx > 0 && sizeSaved.cy > 0 && current.cx > 0 && current.cy > 0;
    m_sizeScaleTo = known && sizeSaved != current ? current : CSize(0, 0);
}

void CDockState::ScalePoint(CPoint& point) const {
    if (m_sizeScaleTo.cx == 0) {
        return;
    }
    // -1 means "no place saved" and stays so.
    if (point.x != -1) {
        point.x = ::MulDiv(point.x, m_sizeScaleTo.cx, m_sizeScreen.cx);
    }
    if (point.y != -1) {
        point.y = ::MulDiv(point.y, m_sizeScaleTo.cy, m_sizeScreen.cy);
    }
}

void CDockState::ScaleRectPos(CRect& rect) const {
    CPoint topLeft = rect.TopLeft();
    ScalePoint(topLeft);
    rect.OffsetRect(topLeft - rect.TopLeft());
}

CPoint CDockState::KeepOnScreen(CPoint point, const CSize& size) const {
    const CSize screen = GetCurrentScreenSize();
    point.x = std::max(0, std::min(point.x, screen.cx - size.cx));
    point.y = std::max(0, std::min(point.y, screen.cy - size.cy));
    return point;
}
