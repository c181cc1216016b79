#include "app/RawDataWindow.h"

#include "appframe/CPersistentFrame.h"
#include "platform/controls/ControlConstants.h"
#include "receiver/AppProfileAccess.h"

#include <algorithm>

const TCHAR kRxIdSeparator[] = u"---------------------------------\r\n";

namespace {

const TCHAR kCrLf[] = u"\r\n";

// CRs removed and the LFs at the end dropped.
CString CleanText(const CString& text) {
    CString clean = text;
    clean.Remove(u'\r');
    while (!clean.IsEmpty() && clean[clean.GetLength() - 1] == u'\n') {
        clean = clean.Left(clean.GetLength() - 1);
    }
    return clean;
}

// "Dialog %s size" with a template name, else "Dialog %u size" with the template id.
CString SectionFor(LPCTSTR templateName, UINT templateId = 0) {
    CString section;
    if (templateName && *templateName) {
        section.Format(u"Dialog %s size", templateName);
    } else {
        section.Format(u"Dialog %u size", templateId);
    }
    return section;
}

std::vector<CString> SplitLines(const CString& clean) {
    std::vector<CString> lines;
    int start = 0;
    for (int lf = clean.Find(u'\n'); lf >= 0; lf = clean.Find(u'\n', start)) {
        lines.push_back(clean.Mid(start, lf - start));
        start = lf + 1;
    }
    lines.push_back(clean.Mid(start));
    return lines;
}

} // namespace

std::vector<CString> SplitRawDataText(const CString& text, bool keepPrefix) {
    if (text.IsEmpty()) {
        return {};
    }
    CString clean = CleanText(text);
    CString prefix;
    if (keepPrefix && clean.Find(u'\n') >= 0 && (clean.Left(3) == u"-> " || clean.Left(3) == u"<- ")) {
        prefix = clean.Left(3);
        clean = clean.Mid(3);
    }
    std::vector<CString> lines = SplitLines(clean);
    for (CString& line : lines) {
        line = prefix + line + kCrLf;
    }
    return lines;
}

// ---- CRawDataEdit

BEGIN_MESSAGE_MAP(CRawDataEdit, CWnd)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CRawDataEdit::CRawDataEdit() {
    m_backBrush.CreateSolidBrush(kRawDataFrozenColour);
}

CRawDataEdit::~CRawDataEdit() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL CRawDataEdit::CreateEdit(CWnd* parent, UINT id, BOOL border) {
    CRect client;
    parent->GetClientRect(&client);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                  ES_NOHIDESEL | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    if (border) {
        style |= WS_BORDER;
    }
    return CreateEx(0, u"Edit", u"", style, client, parent, id);
}

BOOL CRawDataEdit::IsAtEnd() {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(SB_VERT, &si, SIF_ALL)) {
        return TRUE;
    }
    return si.nMax == 0 || si.nPos + static_cast<int>(si.nPage) > si.nMax;
}

BOOL CRawDataEdit::AppendLine(const CString& text) {
    if (!m_hWnd) {
        return FALSE;
    }
    m_colourEnabled = FALSE;
    SetRedraw(FALSE);
    BOOL appended = FALSE;
    if (IsAtEnd()) {
        // Oldest lines go first; an empty control ends the loop even when the text alone is too long.
        for (int length = GetWindowTextLengthW();
             length > 0 && text.GetLength() + length > kRawDataMaxCharacters;
             length = GetWindowTextLengthW()) {
            SendMessageW(EM_SETREADONLY, FALSE);
            const int firstLine = static_cast<int>(SendMessageW(EM_LINELENGTH, 0));
            SendMessageW(EM_SETSEL, 0, firstLine + 2);
            SendMessageW(WM_CLEAR);
            SendMessageW(EM_EMPTYUNDOBUFFER);
            SendMessageW(EM_SETREADONLY, TRUE);
            if (GetWindowTextLengthW() >= length) {
                break;
            }
        }
        const int end = GetWindowTextLengthW();
        SendMessageW(EM_SETSEL, end, end);
        SendMessageW(EM_SCROLLCARET);
        SetRedraw(TRUE);
        SendMessageW(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(text)));
        appended = TRUE;
    }
    m_colourEnabled = TRUE;
    SetRedraw(TRUE);
    return appended;
}

HBRUSH CRawDataEdit::CtlColor(CDC* pDC, UINT nCtlColor) {
    if (nCtlColor != CTLCOLOR_STATIC || !m_colourEnabled) {
        return nullptr;
    }
    if (!IsAtEnd()) {
        if (m_shownLive) {
            Invalidate(TRUE);
            m_shownLive = FALSE;
        }
        pDC->SetBkColor(kRawDataFrozenColour);
        return static_cast<HBRUSH>(m_backBrush.GetSafeHandle());
    }
    if (!m_shownLive) {
        Invalidate(TRUE);
        m_shownLive = TRUE;
    }
    return nullptr;
}

BOOL CRawDataEdit::OnEraseBkgnd(CDC*) {
    return TRUE;
}

// ---- CRawTextWindow

BEGIN_MESSAGE_MAP(CRawTextWindow, CWnd)
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CRawTextWindow::CRawTextWindow(UINT editId, BOOL editBorder, const CString& sectionName)
    : m_editId(editId), m_editBorder(editBorder), m_sectionName(sectionName) {}

void CRawTextWindow::SavePlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!m_hWnd || !GetWindowPlacement(&wp)) {
        return;
    }
    const RECT& r = wp.rcNormalPosition;
    CString text;
    text.Format(u"%04d %04d %04d %04d", r.left, r.top, r.right, r.bottom);
    AppWriteProfileString(m_sectionName, u"Rect", text);
}

BOOL CRawTextWindow::RestorePlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    const CString text = AppGetProfileString(m_sectionName, u"Rect", u"");
    if (!m_hWnd || !GetWindowPlacement(&wp) || text.IsEmpty()) {
        return FALSE;
    }
    std::vector<int> n = ParsePlacementNumbers(text);
    n.resize(std::max<std::size_t>(n.size(), 4), 0);
    // Both windows have a sizing border: position and size are restored.
    wp.rcNormalPosition = CRect(n[0], n[1], n[2], n[3]);
    return SetWindowPlacement(&wp);
}

BOOL CRawTextWindow::Create(CWnd* parent) {
    if (m_hWnd) {
        return TRUE;
    }
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateEx(0, cls, InitialTitle(), style, 40, 40, 520, 320, CWnd::SafeHwndOf(parent), nullptr)) {
        return FALSE;
    }
    if (!m_edit.CreateEdit(this, m_editId, m_editBorder)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CRawTextWindow::ShowWindowRestoring(int nCmdShow) {
    if (!m_hWnd) {
        return;
    }
    if (nCmdShow == SW_RESTORE) {
        RestorePlacement();
    }
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

CString CRawTextWindow::GetEditText() const {
    CString text;
    if (m_edit.m_hWnd) {
        m_edit.GetWindowTextW(text);
    }
    return text;
}

void CRawTextWindow::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (m_edit.m_hWnd) {
        m_edit.MoveWindow(0, 0, cx, cy);
    }
}

void CRawTextWindow::OnClose() {
    SavePlacement();
    CloseWindow();
}

void CRawTextWindow::OnDestroy() {
    SavePlacement();
    CWnd::OnDestroy();
}

// ---- CRawDataDialog

CRawDataDialog::CRawDataDialog(LPCTSTR templateName, CWnd*)
    : CRawTextWindow(IDC_RAW_DATA_EDIT, FALSE, SectionFor(templateName)), m_templateName(templateName) {}

void CRawDataDialog::AddText(const CString& text) {
    for (const CString& line : SplitRawDataText(text, true)) {
        m_edit.AppendLine(line);
    }
}

// ---- CRxIdStringDialog

CRxIdStringDialog::CRxIdStringDialog(CWnd*) : CRawTextWindow(IDC_RXID_EDIT, TRUE, SectionFor(nullptr, IDD)) {}

void CRxIdStringDialog::AddText(const CString& text) {
    for (const CString& line : SplitRawDataText(text, false)) {
        m_edit.AppendLine(line);
    }
}

void CRxIdStringDialog::SetText(const CString& text) {
    m_buffer = kRxIdSeparator;
    if (m_edit.m_hWnd) {
        m_edit.SetWindowTextW(m_buffer);
        m_edit.Invalidate(TRUE);
    }
    InsertAboveSeparator(text);
    if (m_edit.m_hWnd) {
        m_edit.SetWindowTextW(m_buffer);
    }
}

void CRxIdStringDialog::InsertAboveSeparator(const CString& text) {
    int at = m_buffer.Find(kRxIdSeparator);
    if (at < 0) {
        at = m_buffer.GetLength();
    }
    for (const CString& line : SplitRawDataText(text, false)) {
        m_buffer.Insert(at, line);
        at += line.GetLength();
    }
}
