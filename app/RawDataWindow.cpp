#include "app/RawDataWindow.h"

#include "platform/controls/ControlConstants.h"

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

BEGIN_MESSAGE_MAP(CRawTextWindow, CPersistentDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CRawTextWindow::CRawTextWindow(UINT templateId, LPCTSTR templateName, UINT editId, CWnd* parent)
    : CPersistentDialog(templateId, templateName, parent), m_editId(editId) {}

BOOL CRawTextWindow::Create(CWnd* parent) {
    return m_hWnd || CDialog::Create(m_dialogId, parent);
}

BOOL CRawTextWindow::OnInitDialog() {
    CPersistentDialog::OnInitDialog();
    m_edit.SubclassDlgItem(m_editId, this);
    if (const CString title = InitialTitle(); !title.IsEmpty()) {
        SetWindowTextW(title);
    }
    CRect client;
    GetClientRect(&client);
    m_edit.MoveWindow(&client);
    return TRUE;
}

CString CRawTextWindow::GetEditText() const {
    CString text;
    if (m_edit.m_hWnd) {
        m_edit.GetWindowTextW(text);
    }
    return text;
}

void CRawTextWindow::OnSize(UINT nType, int cx, int cy) {
    CPersistentDialog::OnSize(nType, cx, cy);
    if (m_edit.m_hWnd) {
        m_edit.MoveWindow(0, 0, cx, cy);
    }
}

void CRawTextWindow::OnCancel() {
    SavePlacement();
    CloseWindow();
}

// ---- CRawDataDialog

CRawDataDialog::CRawDataDialog(LPCTSTR templateName, CWnd* parent)
    : CRawTextWindow(IDD, templateName, IDC_RAW_DATA_EDIT, parent), m_templateName(templateName) {}

void CRawDataDialog::AddText(const CString& text) {
    for (const CString& line : SplitRawDataText(text, true)) {
        m_edit.AppendLine(line);
    }
}

// ---- CRxIdStringDialog

CRxIdStringDialog::CRxIdStringDialog(CWnd* parent) : CRawTextWindow(IDD, nullptr, IDC_RXID_EDIT, parent) {}

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
