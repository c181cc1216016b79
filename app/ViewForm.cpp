// CPex32View's form: the satellites grid in the template's placeholder, the big clock's font and colour,
// and the grid's emptying when the receiver changes.
#include "app/CPex32View.h"

#include "app/ClockDisplay.h"
#include "dialogs/CSatsDataGrid.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/GridResourceIds.h"
#include "receiver/ReceiverState.h"

namespace {

// The form's own font (its template's) and the clock's face.
constexpr int kFormFontHeight = 13;
const TCHAR kClockFace[] = u"Arial";

void CreateClockFontOfHeight(CFont& font, int height) {
    font.CreateFont(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kClockFace);
}

} // namespace

void CPex32View::DoDataExchange(CDataExchange* pDX) {
    CFormView::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CLOCK, m_clockText);
    DDX_Text(pDX, IDC_UTC_INFO, m_utcInfoText);
    DDX_Text(pDX, IDC_PC_TIME, m_pcTimeText);
    DDX_Text(pDX, IDC_SIDEREAL, m_siderealText);
    DDX_Text(pDX, IDC_LATITUDE, m_latitudeText);
    DDX_Text(pDX, IDC_LONGITUDE, m_longitudeText);
    DDX_Text(pDX, IDC_ALT_GPS, m_altitudeGpsText);
    DDX_Text(pDX, IDC_ALT_MSL, m_altitudeMslText);
    DDX_Text(pDX, IDC_LATENCY, m_latencyText);
    DDX_Text(pDX, IDC_GRID_SQUARE, m_gridSquareText);
    DDX_Text(pDX, IDC_RX_STATUS, m_receiverStatusText);
}

void CPex32View::CreateSatsGrid() {
    if (m_satsGrid) {
        return;
    }
    auto grid = std::make_unique<CSatsDataGrid>(this);
    grid->SetParam(new CGXGridParam, TRUE);
    // The grid takes the template's placeholder: its place, size and tab stop.
    if (!grid->SubclassDlgItem(IDC_SATS_GRID, this)) {
        return;
    }
    grid->InitializeFromStyle();
    m_satsGrid = std::move(grid);
}

void CPex32View::CreateClockFont() {
    if (m_clockFont.GetSafeHandle()) {
        return;
    }
    CWnd* clock = GetDlgItem(IDC_CLOCK);
    if (!clock) {
        return;
    }
    CRect client;
    clock->GetClientRect(&client);
    CreateClockFontOfHeight(m_clockFont, client.Height());
    clock->SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(m_clockFont.GetSafeHandle()), TRUE);
}

HBRUSH CPex32View::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH brush = CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pDC && pWnd && nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == IDC_CLOCK) {
        const ClockColour colour =
            ChooseClockColour(m_outOfLock, m_tickHandled, m_decoderTicks, g_ppsInterface.load());
        if (!colour.useDefault) {
            pDC->SetTextColor(colour.colour);
        }
    }
    return brush;
}

void CPex32View::ClearSatsGridCells() {
    if (!m_satsGrid || !m_satsGrid->GetParam()) {
        return;
    }
    const BOOL readOnly = m_satsGrid->IsReadOnly();
    m_satsGrid->SetReadOnly(FALSE);
    CGXStyle empty;
    empty.SetValue(u"");
    m_satsGrid->SetStyleRange(CGXRange(CSatsDataGrid::kFirstChannelRow, 1, CSatsDataGrid::kRows, 8), &empty);
    CGXStyle noCaption;
    noCaption.SetUserAttribute(IDS_GRID_UA_PROGRESS_CAPTION, u"");
    m_satsGrid->SetStyleRange(CGXRange(CSatsDataGrid::kFirstChannelRow, 5, CSatsDataGrid::kLastChannelRow, 6),
                              &noCaption);
    m_satsGrid->SetReadOnly(readOnly);
    m_satsGrid->Redraw();
}

void CPex32View::WarmTextCaches() {
    CDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(nullptr) || !bitmap.CreateCompatibleBitmap(&dc, 200, 40)) {
        return;
    }
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    CFont text, bold;
    text.CreateFont(-kFormFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, u"Arial");
    CreateClockFontOfHeight(bold, kFormFontHeight); // the clock's size follows its box
    CFont* oldFont = dc.SelectObject(&text);
    const TCHAR* const texts[] = {u"UTC Day #365  23:59:59.999", u"Wednesday, 30 Sep 2000", u"GPS Week = 2448",
                                  u"Latitude Longitude Alt(GPS) Alt(MSL) Cur: Avg: Ref:", u"LMST / GMST / MJD",
                                  u"Grid Square Latency (ms) PC Time -117\u00B0 06' 44.0482\""};
    for (const TCHAR* line : texts) {
        CRect r(0, 0, 200, 40);
        dc.DrawTextW(line, -1, &r, DT_NOPREFIX);
    }
    dc.SelectObject(&bold);
    CRect digits(0, 0, 200, 40);
    dc.DrawTextW(u"0123456789:. ", -1, &digits, DT_NOPREFIX);
    // The bars' text and the status texts of the start.
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    CRect r(0, 0, 200, 40);
    dc.DrawTextW(u"Initializing... Ready RX Mode Antenna", -1, &r, DT_NOPREFIX);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldBitmap);
}
