// CPex32View's painting: the big clock across the top in the clock font and its colour, and below it the
// UTC information, the PC time, the sidereal times, the position columns, the latency and the grid square.
#include "app/CPex32View.h"

#include "app/ClockDisplay.h"
#include "receiver/ReceiverState.h"

#include <algorithm>

namespace {

constexpr COLORREF kPanelBackground = RGB(255, 255, 255);
constexpr COLORREF kCaptionColour = RGB(96, 96, 96);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kRuleColour = RGB(200, 200, 200);
constexpr int kMargin = 12;

// A small caption above a block of text; answers the block's bottom.
int DrawBlock(CDC& dc, CFont& captionFont, CFont& textFont, const CRect& box, LPCTSTR caption,
              const CString& text, UINT align) {
    CRect r = box;
    dc.SelectObject(&captionFont);
    dc.SetTextColor(kCaptionColour);
    CRect captionRect = r;
    const int captionHeight = dc.DrawTextW(caption, -1, &captionRect, align | DT_SINGLELINE | DT_CALCRECT);
    captionRect.right = r.right;
    captionRect.left = r.left;
    dc.DrawTextW(caption, -1, &captionRect, align | DT_SINGLELINE);
    r.top += captionHeight + 2;
    dc.SelectObject(&textFont);
    dc.SetTextColor(kTextColour);
    CString shown = text;
    shown.Remove(u'\r');
    CRect measured = r;
    const int height =
        shown.IsEmpty() ? 0 : dc.DrawTextW(shown, &measured, align | DT_CALCRECT | DT_NOPREFIX);
    dc.DrawTextW(shown, &r, align | DT_NOPREFIX);
    return r.top + height;
}

} // namespace

void CPex32View::EnsureClockFont(int height) {
    if (m_clockFont.GetSafeHandle() && m_clockFontHeight == height) {
        return;
    }
    m_clockFont.DeleteObject();
    m_clockFont.CreateFont(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, u"Arial");
    m_clockFontHeight = height;
}

void CPex32View::OnDraw(CDC* pDC) {
    if (pDC) {
        PaintClockPanel(*pDC);
    }
}

void CPex32View::PaintClockPanel(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kPanelBackground);
    dc.SetBkMode(TRANSPARENT);
    const int saved = dc.SaveDC();

    // The clock takes the top third, at most 120 pixels of character height.
    const int clockHeight = std::max(24, std::min(120, client.Height() / 3));
    EnsureClockFont(clockHeight * 3 / 4);
    CRect clockRect(client.left + kMargin, client.top + kMargin, client.right - kMargin,
                    client.top + kMargin + clockHeight);
    const ClockColour colour =
        ChooseClockColour(m_outOfLock, m_tickHandled, m_decoderTicks, g_ppsInterface.load());
    dc.SelectObject(&m_clockFont);
    dc.SetTextColor(colour.useDefault ? ::GetSysColor(COLOR_WINDOWTEXT) : colour.colour);
    dc.DrawTextW(m_clockText, &clockRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    CFont captionFont;
    captionFont.CreateFont(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, u"Arial");
    CFont textFont;
    textFont.CreateFont(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, u"Arial");

    int top = clockRect.bottom + kMargin;
    CPen rule(PS_SOLID, 1, kRuleColour);
    CPen* oldPen = dc.SelectObject(&rule);
    dc.MoveTo(client.left + kMargin, top - kMargin / 2);
    dc.LineTo(client.right - kMargin, top - kMargin / 2);

    // Three columns: UTC, PC time, sidereal.
    const int width = client.Width() - 2 * kMargin;
    const int column = width / 3;
    int bottom = top;
    bottom = std::max(bottom, DrawBlock(dc, captionFont, textFont,
                                        CRect(kMargin, top, kMargin + column, client.bottom), u"UTC",
                                        m_utcInfoText, DT_LEFT));
    bottom = std::max(bottom, DrawBlock(dc, captionFont, textFont,
                                        CRect(kMargin + column, top, kMargin + 2 * column, client.bottom),
                                        u"PC Time", m_pcTimeText, DT_CENTER));
    bottom = std::max(bottom, DrawBlock(dc, captionFont, textFont,
                                        CRect(kMargin + 2 * column, top, kMargin + width, client.bottom),
                                        u"LMST / GMST / MJD", m_siderealText, DT_RIGHT));

    // Position columns.
    top = bottom + kMargin;
    dc.MoveTo(client.left + kMargin, top - kMargin / 2);
    dc.LineTo(client.right - kMargin, top - kMargin / 2);
    const int legend = 44;
    const int positionColumn = (width - legend) / 4;
    DrawBlock(dc, captionFont, textFont, CRect(kMargin, top, kMargin + legend, client.bottom), u"",
              u"Cur:\nAvg:\nRef:", DT_LEFT);
    const LPCTSTR captions[4] = {u"Latitude", u"Longitude", u"Alt(GPS)", u"Alt(MSL)"};
    const CString* texts[4] = {&m_latitudeText, &m_longitudeText, &m_altitudeGpsText, &m_altitudeMslText};
    bottom = top;
    for (int i = 0; i < 4; ++i) {
        const int left = kMargin + legend + i * positionColumn;
        bottom = std::max(bottom, DrawBlock(dc, captionFont, textFont,
                                            CRect(left, top, left + positionColumn, client.bottom),
                                            captions[i], *texts[i], DT_RIGHT));
    }

    // Latency and grid square.
    top = bottom + kMargin;
    dc.MoveTo(client.left + kMargin, top - kMargin / 2);
    dc.LineTo(client.right - kMargin, top - kMargin / 2);
    DrawBlock(dc, captionFont, textFont, CRect(kMargin, top, kMargin + column, client.bottom),
              u"Latency (ms)", m_latencyText, DT_LEFT);
    DrawBlock(dc, captionFont, textFont, CRect(kMargin + column, top, kMargin + 2 * column, client.bottom),
              u"Grid Square", m_gridSquareText, DT_CENTER);

    dc.SelectObject(oldPen);
    dc.RestoreDC(saved);
}
