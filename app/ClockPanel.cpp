// CPex32View's painting: the big clock across the top in the clock font and its colour, and below it the
// UTC information, the PC time, the sidereal times, the position columns, the latency and the grid square.
#include "app/CPex32View.h"

#include "app/ClockDisplay.h"
#include "app/ClockPanelLayout.h"
#include "dialogs/CSatsDataGrid.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/GridResourceIds.h"
#include "receiver/ReceiverState.h"

#include <algorithm>

namespace {

constexpr COLORREF kPanelBackground = RGB(255, 255, 255);
constexpr COLORREF kCaptionColour = RGB(96, 96, 96);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kRuleColour = RGB(200, 200, 200);

const TCHAR* const kLegend = u"Cur:\nAvg:\nRef:";
const TCHAR* const kTimeCaptions[3] = {u"UTC", u"PC Time", u"LMST / GMST / MJD"};
const TCHAR* const kPositionCaptions[4] = {u"Latitude", u"Longitude", u"Alt(GPS)", u"Alt(MSL)"};
const TCHAR* const kBottomCaptions[2] = {u"Latency (ms)", u"Grid Square"};
// The widest line each kind of block can show.
const TCHAR* const kWidestTimeLines[] = {u"UTC Day #365  23:59:59.999", u"Wednesday, 30 Sep 2000",
                                         u"+1 leap second is pending",  u"UTC = GPS - 18 seconds",
                                         u"Unknown Time Zone",          u"60000.00000",
                                         u"LMST / GMST / MJD"};
const TCHAR* const kWidestPositionTexts[] = {u"-117\u00B0 06' 44.0482\"", u"-   0\u00B0 15.00000'",
                                             u"-12345.67m", u"Longitude"};
const TCHAR* const kWidestBottomTexts[] = {u"-1234567", u"JO22ab12", u"Latency (ms)", u"Grid Square"};

int LineHeight(CDC& dc, CFont& font) {
    dc.SelectObject(&font);
    TEXTMETRICW tm{};
    dc.GetTextMetrics(&tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

template <std::size_t N>
int WidestOf(CDC& dc, CFont& font, const TCHAR* const (&texts)[N]) {
    dc.SelectObject(&font);
    int widest = 0;
    for (const TCHAR* text : texts) {
        CRect r(0, 0, 0, 0);
        dc.DrawTextW(text, -1, &r, DT_CALCRECT | DT_NOPREFIX);
        widest = std::max(widest, static_cast<int>(r.Width()));
    }
    return widest;
}

// The panel's captions and texts: Arial at a pixel height.
void CreatePanelFont(CFont& font, int height, int weight) {
    font.CreateFont(-height, 0, 0, 0, weight, FALSE, FALSE, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, u"Arial");
}

constexpr int kCaptionHeight = 11;
constexpr int kTextHeight = 13;

template <std::size_t N>
void DrawEach(CDC& dc, CFont& font, const TCHAR* const (&texts)[N]) {
    dc.SelectObject(&font);
    for (const TCHAR* text : texts) {
        CRect r(0, 0, 200, 40);
        dc.DrawTextW(text, -1, &r, DT_NOPREFIX);
    }
}

// A caption and, below it, a block of text, both kept inside the block.
void DrawBlock(CDC& dc, CFont& captionFont, CFont& textFont, const CRect& box, int captionLine,
               LPCTSTR caption, const CString& text, UINT align) {
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&box);
    CRect captionRect(box.left, box.top, box.right, box.top + captionLine);
    dc.SelectObject(&captionFont);
    dc.SetTextColor(kCaptionColour);
    dc.DrawTextW(caption, -1, &captionRect, align | DT_SINGLELINE | DT_NOPREFIX);
    CRect textRect(box.left, box.top + captionLine + ClockPanelLayout::kCaptionGap, box.right, box.bottom);
    dc.SelectObject(&textFont);
    dc.SetTextColor(kTextColour);
    CString shown = text;
    shown.Remove(u'\r');
    dc.DrawTextW(shown, &textRect, align | DT_NOPREFIX);
    dc.RestoreDC(saved);
}

} // namespace

void CPex32View::EnsureClockFont(int height) {
    if (m_clockFont.GetSafeHandle() && m_clockFontHeight == height) {
        return;
    }
    m_clockFont.DeleteObject();
    CreatePanelFont(m_clockFont, height, FW_BOLD);
    m_clockFontHeight = height;
}

void CPex32View::OnDraw(CDC* pDC) {
    if (pDC) {
        PaintClockPanel(*pDC);
    }
}

ClockPanelMetrics CPex32View::MeasurePanel(CDC& dc) {
    EnsurePanelFonts();
    const int saved = dc.SaveDC();
    ClockPanelMetrics m;
    m.captionLine = LineHeight(dc, m_captionFont);
    m.textLine = LineHeight(dc, m_textFont);
    m.timeColumn = WidestOf(dc, m_textFont, kWidestTimeLines) + ClockPanelLayout::kMargin;
    const TCHAR* const legend[] = {kLegend};
    m.legendColumn = WidestOf(dc, m_textFont, legend) + ClockPanelLayout::kMargin / 2;
    m.positionColumn = WidestOf(dc, m_textFont, kWidestPositionTexts) + ClockPanelLayout::kMargin / 2;
    m.bottomColumn = WidestOf(dc, m_textFont, kWidestBottomTexts) + ClockPanelLayout::kMargin;
    m.satsGrid = m_satsGridSize;
    dc.RestoreDC(saved);
    return m;
}

void CPex32View::CreateSatsGrid() {
    if (m_satsGrid) {
        return;
    }
    CClientDC dc(this);
    ClockPanelMetrics metrics = MeasurePanel(dc);
    metrics.satsGrid = CSize();
    const int width = ClockPanelLayout::MinimumSize(metrics).cx - 2 * ClockPanelLayout::kMargin;
    m_satsGrid = std::make_unique<CSatsDataGrid>(this);
    m_satsGrid->SetParam(new CGXGridParam, TRUE);
    if (!m_satsGrid->Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, width, 400), this,
                            IDC_SATS_GRID)) {
        m_satsGrid.reset();
        return;
    }
    m_satsGrid->InitializeFromStyle();
    int height = 0;
    for (ROWCOL row = 0; row <= CSatsDataGrid::kRows; ++row) {
        height += m_satsGrid->GetRowHeight(row);
    }
    m_satsGridSize = CSize(width, height);
    PlaceSatsGrid();
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

void CPex32View::PlaceSatsGrid() {
    if (m_satsGrid && m_satsGrid->GetSafeHwnd()) {
        const CRect rect = PanelLayout().satsGrid;
        m_satsGrid->MoveWindow(&rect, TRUE);
    }
}

ClockPanelLayout CPex32View::PanelLayout() {
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    return ClockPanelLayout::LayOut(client, MeasurePanel(dc));
}

CSize CPex32View::MinimumPanelSize() {
    CClientDC dc(this);
    return ClockPanelLayout::MinimumSize(MeasurePanel(dc));
}

void CPex32View::EnsurePanelFonts() {
    if (!m_captionFont.GetSafeHandle()) {
        CreatePanelFont(m_captionFont, kCaptionHeight, FW_NORMAL);
    }
    if (!m_textFont.GetSafeHandle()) {
        CreatePanelFont(m_textFont, kTextHeight, FW_NORMAL);
    }
}

void CPex32View::WarmTextCaches() {
    CDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(nullptr) || !bitmap.CreateCompatibleBitmap(&dc, 200, 40)) {
        return;
    }
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    CFont caption, text, bold;
    CreatePanelFont(caption, kCaptionHeight, FW_NORMAL);
    CreatePanelFont(text, kTextHeight, FW_NORMAL);
    CreatePanelFont(bold, kTextHeight, FW_BOLD); // the clock's face; its size follows the window's
    CFont* oldFont = dc.SelectObject(&caption);
    DrawEach(dc, caption, kTimeCaptions);
    DrawEach(dc, caption, kPositionCaptions);
    DrawEach(dc, caption, kBottomCaptions);
    DrawEach(dc, text, kWidestTimeLines);
    DrawEach(dc, text, kWidestPositionTexts);
    DrawEach(dc, text, kWidestBottomTexts);
    const TCHAR* const digits[] = {u"0123456789:. "};
    DrawEach(dc, bold, digits);
    // The bars' text and the status texts of the start.
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    CRect r(0, 0, 200, 40);
    dc.DrawTextW(u"Initializing... Ready RX Mode Antenna", -1, &r, DT_NOPREFIX);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldBitmap);
}

void CPex32View::PaintClockPanel(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kPanelBackground);
    dc.SetBkMode(TRANSPARENT);
    const ClockPanelMetrics metrics = MeasurePanel(dc);
    const ClockPanelLayout layout = ClockPanelLayout::LayOut(client, metrics);
    const int saved = dc.SaveDC();

    EnsureClockFont(layout.clock.Height() * 3 / 4);
    const ClockColour colour =
        ChooseClockColour(m_outOfLock, m_tickHandled, m_decoderTicks, g_ppsInterface.load());
    dc.SelectObject(&m_clockFont);
    dc.SetTextColor(colour.useDefault ? ::GetSysColor(COLOR_WINDOWTEXT) : colour.colour);
    CRect clockRect = layout.clock;
    dc.DrawTextW(m_clockText, &clockRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    CPen rule(PS_SOLID, 1, kRuleColour);
    dc.SelectObject(&rule);
    for (int y : layout.rules) {
        dc.MoveTo(layout.clock.left, y);
        dc.LineTo(layout.clock.right, y);
    }

    const CString* timeTexts[3] = {&m_utcInfoText, &m_pcTimeText, &m_siderealText};
    const UINT timeAlign[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (int i = 0; i < 3; ++i) {
        DrawBlock(dc, m_captionFont, m_textFont, layout.timeBlocks[i], metrics.captionLine, kTimeCaptions[i],
                  *timeTexts[i], timeAlign[i]);
    }

    const int saveLegend = dc.SaveDC();
    dc.IntersectClipRect(&layout.legend);
    dc.SelectObject(&m_textFont);
    dc.SetTextColor(kTextColour);
    CRect legendRect = layout.legend;
    dc.DrawTextW(kLegend, -1, &legendRect, DT_LEFT | DT_NOPREFIX);
    dc.RestoreDC(saveLegend);
    const CString* positionTexts[4] = {&m_latitudeText, &m_longitudeText, &m_altitudeGpsText,
                                       &m_altitudeMslText};
    for (int i = 0; i < 4; ++i) {
        DrawBlock(dc, m_captionFont, m_textFont, layout.positionBlocks[i], metrics.captionLine,
                  kPositionCaptions[i], *positionTexts[i], DT_RIGHT);
    }

    const CString* bottomTexts[2] = {&m_latencyText, &m_gridSquareText};
    const UINT bottomAlign[2] = {DT_LEFT, DT_CENTER};
    for (int i = 0; i < 2; ++i) {
        DrawBlock(dc, m_captionFont, m_textFont, layout.bottomBlocks[i], metrics.captionLine,
                  kBottomCaptions[i], *bottomTexts[i], bottomAlign[i]);
    }
    dc.RestoreDC(saved);
}
