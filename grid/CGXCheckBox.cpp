#include "grid/CGXCheckBox.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXRange.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridChoiceList.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "platform/base/GlobalMemory.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"
#include "platform/framework/CDC.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "platform/resources/Resources.h"

#include <algorithm>

const ControlTypeRecord CGXCheckBox::kTypeRecord = {"CGXCheckBox", &CGXControl::kTypeRecord};

namespace {

UINT DefaultScreenBitmap(BOOL threeD) {
    if (!threeD) {
        return IDB_GRID_CHECKBOX_FLAT;
    }
    return GridLibraryState::Instance().isWindows4OrLater ? IDB_GRID_CHECKBOX_3D : IDB_GRID_CHECKBOX_3D_OLD;
}

// The alignment bits of the style's included alignments (1 centre, 2 right; 4 centre, 8 bottom).
UINT AlignmentBits(const CGXStyle& style) {
    UINT bits = 0;
    if (style.GetIncludeHorizontalAlignment()) {
        bits |= static_cast<UINT>(style.GetHorizontalAlignment()) & (kTextCenter | kTextRight);
    }
    if (style.GetIncludeVerticalAlignment()) {
        bits |= static_cast<UINT>(style.GetVerticalAlignment()) & (kTextVCenter | kTextBottom);
    }
    return bits;
}

CString Caption(const CGXStyle& style) {
    return style.GetIncludeChoicesList() ? style.GetChoicesList() : CString();
}

struct BoxValues {
    CString checked;
    CString unchecked;
    BOOL triState;
};

BoxValues ValuesOf(const CGXStyle& style) {
    BoxValues values{style.GetUserAttribute(CGXCheckBox::kCheckedValueAttribute).GetValue(),
                     style.GetUserAttribute(CGXCheckBox::kUncheckedValueAttribute).GetValue(),
                     style.GetIncludeTriState() && style.GetTriState()};
    if (values.checked.IsEmpty()) {
        values.checked = u"1";
    }
    if (values.unchecked.IsEmpty()) {
        values.unchecked = u"0";
    }
    return values;
}

// A copy of the bitmap resource, from the module holding it or else the application's.
HGLOBAL LoadBitmapResource(UINT id) {
    LPCWSTR name = MAKEINTRESOURCEW(id);
    HMODULE module = DolivaFindResourceModule(name, RT_BITMAP);
    return LoadDibResource(module ? module : AfxGetResourceHandle(), name);
}

// Every colour-table entry passed through the map.
template <class Map>
void MapColorTable(HGLOBAL dib, Map map) {
    auto* bytes = static_cast<BYTE*>(GlobalLock(dib));
    if (!bytes) {
        return;
    }
    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    auto* table = reinterpret_cast<RGBQUAD*>(bytes + header.biSize);
    for (int i = 0; i < DibColorCount(header); ++i) {
        RGBQUAD& entry = table[i];
        const COLORREF color = RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
        const COLORREF mapped = map(color);
        if (mapped != color) {
            entry.rgbRed = GetRValue(mapped);
            entry.rgbGreen = GetGValue(mapped);
            entry.rgbBlue = GetBValue(mapped);
        }
    }
    GlobalUnlock(dib);
}

} // namespace

CGXCheckBox::CGXCheckBox(CGXGridCore* grid, BOOL threeD, UINT screenBitmapId, UINT printBitmapId)
    : CGXControl(grid), m_b3D(threeD),
      m_nScreenBitmapId(screenBitmapId ? screenBitmapId : DefaultScreenBitmap(threeD)),
      m_nPrintBitmapId(printBitmapId ? printBitmapId : IDB_GRID_CHECKBOX_FLAT) {}

CGXCheckBox::~CGXCheckBox() {
    FreeBitmaps();
}

void CGXCheckBox::RegisterUserAttributes(CGXStylesMap* stylesMap) {
    stylesMap->RegisterUserAttribute(kCheckedValueAttribute);
    stylesMap->RegisterUserAttribute(kUncheckedValueAttribute);
}

void CGXCheckBox::FreeBitmaps() {
    if (m_hScreenBitmap) {
        GlobalFree(m_hScreenBitmap);
        m_hScreenBitmap = nullptr;
    }
    if (m_hPrintBitmap) {
        GlobalFree(m_hPrintBitmap);
        m_hPrintBitmap = nullptr;
    }
}

BOOL CGXCheckBox::LoadBitmaps() {
    FreeBitmaps();
    m_hScreenBitmap = LoadBitmapResource(m_nScreenBitmapId);
    if (!m_hScreenBitmap) {
        return FALSE;
    }
    m_hPrintBitmap = LoadBitmapResource(m_nPrintBitmapId);
    MapColorTable(m_hScreenBitmap, [this](COLORREF color) { return MapBitmapColor(color, FALSE); });
    if (m_hPrintBitmap) {
        MapColorTable(m_hPrintBitmap, [this](COLORREF color) { return MapBitmapColor(color, TRUE); });
    }
    return TRUE;
}

COLORREF CGXCheckBox::MapBitmapColor(COLORREF color, BOOL print) {
    switch (color) {
    case RGB(0, 0, 0):
        return print ? RGB(0, 0, 0) : ::GetSysColor(COLOR_WINDOWTEXT);
    case RGB(255, 0, 0):
        return print ? RGB(255, 255, 255) : ::GetSysColor(COLOR_WINDOW);
    case RGB(0, 255, 0):
        return ::GetSysColor(COLOR_WINDOWFRAME);
    case RGB(192, 192, 192):
        return ::GetSysColor(COLOR_BTNFACE);
    default:
        return color;
    }
}

UINT CGXCheckBox::GetState(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    UINT state = 0;
    if (style.GetIncludeEnabled() && !style.GetEnabled()) {
        state |= kStateDisabledOrPressed;
    }
    if (IsBoundTo(row, col) && m_pGrid->IsCurrentCell(row, col)) {
        state |= m_bPressed ? kStateCurrent | kStateDisabledOrPressed : kStateCurrent;
    }
    const BoxValues values = ValuesOf(style);
    const CString& value = style.GetValue();
    if (value == values.checked) {
        state |= kStateChecked;
    } else if (!values.triState || value == values.unchecked) {
        state |= kStateUnchecked;
    }
    return state;
}

CRect CGXCheckBox::CalcBoxRect(CDC* dc, const RECT& rect, const CString& caption, UINT alignment) {
    const int box = m_nBoxSize;
    int contentWidth = box;
    int boxHeight = box;
    if (!caption.IsEmpty()) {
        TEXTMETRICW tm{};
        dc->GetTextMetricsW(&tm);
        contentWidth = box * 3 / 2 + dc->GetTextExtent(caption).cx;
        boxHeight = std::min<int>(box, tm.tmHeight + tm.tmInternalLeading);
    }
    const int spareX = (rect.right - rect.left) - contentWidth;
    const int spareY = (rect.bottom - rect.top) - boxHeight;
    int x = rect.left;
    if (alignment & kTextCenter) {
        x += std::max(0, spareX / 2);
    } else if (alignment & kTextRight) {
        x += std::max(0, spareX);
    } else {
        x += std::clamp(spareX, 0, 3);
    }
    int y = rect.top;
    if (alignment & kTextVCenter) {
        y += std::abs(spareY) / 2;
    } else if (alignment & kTextBottom) {
        y += std::max(0, spareY);
    } else {
        y += std::clamp(spareY, 0, 3);
    }
    return CRect(x, y, std::min<int>(rect.right, x + box), std::min<int>(rect.bottom, y + box));
}

void CGXCheckBox::DrawBox(CDC* dc, const RECT& rect, UINT state, UINT alignment, const CString& caption) {
    const CRect r = CalcBoxRect(dc, rect, caption, alignment);
    if (!m_hScreenBitmap && !LoadBitmaps()) {
        return;
    }
    int index = (state & kStateDisabledOrPressed) ? 2 : 0;
    if (state & kStateChecked) {
        ++index;
    } else if (!(state & kStateUnchecked)) {
        index = 4;
    }
    HGLOBAL bitmap = m_pGrid->IsPrinting() && m_hPrintBitmap ? m_hPrintBitmap : m_hScreenBitmap;
    const auto* bytes = static_cast<const BYTE*>(GlobalLock(bitmap));
    if (!bytes) {
        return;
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes);
    const BYTE* bits = bytes + info->bmiHeader.biSize + DibColorCount(info->bmiHeader) * sizeof(RGBQUAD);
    const int box = m_nBoxSize;
    ::StretchDIBits(dc->GetSafeHdc(), r.left, r.top, std::min(box, r.Width()), std::min(box, r.Height()),
                    index * box, 0, box, box, bits, info, DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(bitmap);
}

void CGXCheckBox::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                       const CGXStyle* standardStyle) {
    const UINT state = GetState(row, col, style);
    const UINT alignment = AlignmentBits(style);
    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    DrawBackground(dc, rect, style, FALSE);
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(style.GetInterior().GetColor());
    dc->SetTextColor(style.GetTextColor());
    const CRect inner = GetInnerRect(row, col, &rect, &style);
    const CString caption = Caption(style);
    DrawBox(dc, inner, state, alignment, caption);
    const int captionLeft = inner.left + m_nBoxSize * 3 / 2;
    if (!caption.IsEmpty() && captionLeft < inner.right) {
        const UINT format =
            alignment | kTextNoPrefix | (style.GetWrapText() ? kTextWordBreak : kTextSingleLine);
        GetDrawingAndFormatting()->DrawText(dc, caption, -1, captionLeft, inner.top, inner.right,
                                            inner.bottom, format, &rect);
    }
    CGXControl::Draw(dc, rect, row, col, style, standardStyle);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}

CSize CGXCheckBox::CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style,
                                const CGXStyle* standardStyle, BOOL heightForWidth, int) {
    CGXRange range(row, col, row, col);
    m_pGrid->GetSpannedRangeRowCol(row, col, range);
    const CRect cell(0, 0, m_pGrid->CalcSumOfColWidths(range.left, range.right),
                     m_pGrid->CalcSumOfRowHeights(range.top, range.bottom));
    const CRect inner = GetInnerRect(row, col, &cell, &style);
    const int halfFrame = ::GetSystemMetrics(SM_CXFRAME) / 2;
    const int margin = halfFrame >= 4 ? halfFrame : 3;
    const int contentLeft = inner.left + m_nBoxSize * 3 / 2;

    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    TEXTMETRICW tm{};
    dc->GetTextMetricsW(&tm);
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading + 1;
    const CString caption = Caption(style);
    int width = 0;
    int height = 0;
    if (caption.IsEmpty()) {
        height = lineHeight;
        width = tm.tmMaxCharWidth + 2 * margin;
    } else {
        const BOOL wrap = style.GetWrapText();
        int starts[CGXDrawingAndFormatting::kMaxDrawnLines];
        int lengths[CGXDrawingAndFormatting::kMaxDrawnLines];
        int lines = 1;
        if (wrap) {
            RECT area{contentLeft, inner.top, inner.right, 32767};
            lines = GetDrawingAndFormatting()->CalcLines(dc, caption, -1, area,
                                                         kTextNoPrefix | kTextWordBreak, starts, lengths,
                                                         CGXDrawingAndFormatting::kMaxDrawnLines);
        }
        if (heightForWidth) {
            height = lineHeight * lines;
            width = inner.Width();
        } else if (wrap && lines * lineHeight <= inner.Height()) {
            for (int i = 0; i < lines; ++i) {
                const CSize extent = dc->GetTextExtent(static_cast<LPCTSTR>(caption) + starts[i], lengths[i]);
                width = std::max<int>(width, extent.cx + 2 * margin);
                height += extent.cy;
            }
        } else {
            CString rest = caption;
            CString part;
            do {
                SplitFirstLine(rest, part);
                const CSize extent = dc->GetTextExtent(part);
                width = std::max<int>(width, extent.cx + 2 * margin);
                height += extent.cy;
            } while (!rest.IsEmpty());
        }
    }
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
    return AddBorderSize(m_nBoxSize + width + 6, std::max(m_nBoxSize + 4, height), style);
}

BOOL CGXCheckBox::DisplayTextToValue(CString& text, ROWCOL, ROWCOL, const CGXStyle& style) {
    const BoxValues values = ValuesOf(style);
    if (values.triState && text.CompareNoCase(values.checked) != 0 &&
        text.CompareNoCase(values.unchecked) != 0) {
        text.Empty();
    }
    return TRUE;
}

BOOL CGXCheckBox::MouseMove(UINT flags, POINT point, UINT hitState) {
    const BOOL pressed = (hitState & 0x40) && m_rectBox.PtInRect(point);
    if (pressed != m_bPressed) {
        m_bPressed = pressed;
        RedrawCell();
    }
    CGXControl::MouseMove(flags, point, hitState);
    return TRUE;
}

BOOL CGXCheckBox::LButtonDown(UINT flags, POINT point, UINT hitState) {
    const CGXStyle& style = GetCachedStyle();
    if (IsReadOnly() || (style.GetIncludeReadOnly() && style.GetReadOnly())) {
        return FALSE;
    }
    CClientDC dc(GetGridWnd());
    m_pGrid->PrepareDC(&dc);
    CFont* oldFont = SelectCellFont(&dc, style, nullptr);
    m_rectBox = CalcBoxRect(&dc, GetInnerRect(m_nRow, m_nCol), Caption(style), AlignmentBits(style));
    if (oldFont) {
        dc.SelectObject(oldFont);
    }
    if (m_rectBox.PtInRect(point)) {
        m_bPressed = TRUE;
        RedrawCell();
    }
    CGXControl::LButtonDown(flags, point, hitState);
    return TRUE;
}

BOOL CGXCheckBox::LButtonUp(UINT flags, POINT point, UINT hitState) {
    m_bPressed = FALSE;
    if (!CGXControl::LButtonUp(flags, point, hitState) && (hitState & 0x40) && m_rectBox.PtInRect(point)) {
        ChildClicked(nullptr);
    }
    return TRUE;
}

BOOL CGXCheckBox::LButtonDblClk(UINT flags, POINT point) {
    m_bPressed = FALSE;
    if (!CGXControl::LButtonDblClk(flags, point) && m_rectBox.PtInRect(point)) {
        ChildClicked(nullptr);
    }
    return TRUE;
}

BOOL CGXCheckBox::KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) {
    if (CGXControl::KeyMessage(message, key, repeat, flags)) {
        return TRUE;
    }
    if (message == WM_CHAR && key == u' ') {
        ChildClicked(nullptr);
        return TRUE;
    }
    return FALSE;
}

void CGXCheckBox::ChildClicked(CGXChild* child) {
    if (!AskStartEdit()) {
        return;
    }
    const CGXStyle& style = GetCachedStyle();
    if (IsReadOnly() || (style.GetIncludeReadOnly() && style.GetReadOnly())) {
        return;
    }
    const BoxValues values = ValuesOf(style);
    const CString& value = style.GetValue();
    CString next;
    if (value == values.checked) {
        next = values.unchecked;
    } else if (!values.triState || value != values.unchecked) {
        next = values.checked;
    }
    m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol, m_nRow, m_nCol), next, kMergeOverride, 2);
    // The next toggle reads the value just stored.
    FreeStyle(FALSE);
    CGXControl::ChildClicked(child);
}

void CGXCheckBox::SysColorChanged() {
    LoadBitmaps();
    CGXControl::SysColorChanged();
}

void CGXCheckBox::CancelMode() {
    if (m_bPressed) {
        m_bPressed = FALSE;
        RedrawCell();
    }
    CGXControl::CancelMode();
}
