#include "chart/SRGraphLegend.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/ChartStrings.h"
#include "chart/SRGCompoundComponent.h"
#include "chart/SRGDisplayBase.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphException.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>

IMPLEMENT_SERIAL(SRGraphLegend, SRGraphTitle, VERSIONABLE_SCHEMA | 1)

namespace {
bool OneOf(int value, std::initializer_list<int> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// Display styles whose legend key is a line sample with the item's symbol.
bool LineKeyStyle(int style) {
    return OneOf(style, {0x01, 0x07, 0x08, 0x12, 0x13, 0x14, 0x15, 0x17, 0x19, 0x1A, 0x1B, 0x1D, 0x1F, 0x20, 0x21,
                         0x22, 0x23, 0x24, 0x2B, 0x2C, 0x2D});
}

// A count from a stored or computed double, held to what a grid can have.
int GridCount(double value) {
    return std::clamp(SRGTrunc(value), 1, 10000);
}
} // namespace

SRGraphLegend::SRGraphLegend() {
    m_nType = IDS_SRG_TYPE_LEGEND;
    m_nAlignment = 0;
    m_nAnnotationKey = 1;
    // The entries stand in a grid: none hides another.
    m_entries.SetAvoidOverlap(FALSE);
}

void SRGraphLegend::SetParentGraph(SRGraph* chart) {
    SRGraphTitle::SetParentGraph(chart);
    m_entries.SetParentGraph(chart);
}

void SRGraphLegend::SetLegendStyle(int bits) {
    m_bFitWidth = (bits & SRGLS_FIT_WIDTH) != 0;
    m_bFitHeight = (bits & SRGLS_FIT_HEIGHT) != 0;
    m_bAlignLeft = (bits & SRGLS_ALIGN_LEFT) != 0;
    m_bAlignTop = (bits & SRGLS_ALIGN_TOP) != 0;
}

int SRGraphLegend::GetLegendStyle() const {
    return (m_bFitWidth ? SRGLS_FIT_WIDTH : 0) | (m_bFitHeight ? SRGLS_FIT_HEIGHT : 0) |
           (m_bAlignLeft ? SRGLS_ALIGN_LEFT : 0) | (m_bAlignTop ? SRGLS_ALIGN_TOP : 0);
}

void SRGraphLegend::UpdatePlacement() {
    SRGraphTitle::UpdatePlacement();
    switch (m_rect.GetUnitMode()) {
    case SRG_MILLIMETRES:
        m_dKeySize = 10.0;
        break;
    case SRG_INCHES:
        m_dKeySize = 0.4;
        break;
    case SRG_PERCENT:
        m_dKeySize = 5.0;
        break;
    default:
        m_dKeySize = 20.0;
        break;
    }
}

int SRGraphLegend::GetKeySize() {
    if (!m_bDrawing) {
        return 30;
    }
    switch (m_rect.GetUnitMode()) {
    case SRG_PIXELS:
        return SRGRound(m_dKeySize);
    case SRG_MILLIMETRES:
        return SRGRound(m_dKeySize * ContextPixelsPerInch(true) * kSRGInchesPerMillimetreExact);
    case SRG_INCHES:
        return SRGRound(m_dKeySize * ContextPixelsPerInch(true));
    case SRG_PERCENT:
        return SRGRound(m_dKeySize * std::max(m_rectContent.Width(), m_rectContent.Height()) * 0.01);
    default:
        return 30;
    }
}

int SRGraphLegend::GetAutoFontSize() {
    return -(m_rectContent.Height() / 10);
}

// ---- Entries

void SRGraphLegend::AddEntry(const CString& text, int index, int group) {
    m_entries.SetLabelText(text, m_nEntryCount, 1);
    m_entryItems.emplace_back(index, group);
    ++m_nEntryCount;
}

void SRGraphLegend::UpdateText() {
    m_nEntryCount = 0;
    m_entryItems.clear();
    if (m_pChart) {
        const int key = m_nAnnotationKey;
        const int indexStep = std::max(m_nIndexStep, 1);
        const int groupStep = std::max(m_nGroupStep, 1);
        // Entries only for what the chart holds, whatever a stored scope asks for.
        const int groupCount = std::min(m_nGroupCount, m_pChart->GetGroupCount() - m_nResolvedFirstGroup);
        const int indexCount = std::min(m_nItemCount, m_pChart->GetMaxItemCount() - m_nResolvedFirstItem);
        const int mode = GetLegendMode();
        if (mode == 2 || mode == 6) {
            for (int i = 0; i < indexCount; i += indexStep) {
                const int index = m_nResolvedFirstItem + i;
                AddEntry(m_pChart->FindItem(index, m_nResolvedFirstGroup)->GetAnnotation(key), index,
                         m_nResolvedFirstGroup);
            }
        } else if (mode == 4) {
            for (int g = 0; g < groupCount; g += groupStep) {
                const int group = m_nResolvedFirstGroup + g;
                int n = m_pChart->GetGroupItemCount(group, TRUE);
                if (m_nFirstItem != -1) {
                    n -= m_nResolvedFirstItem;
                }
                n = std::min(n, m_nItemCount);
                for (int i = 0; i < n; i += indexStep) {
                    const int index = m_nResolvedFirstItem + i;
                    CString text = m_pChart->FindItem(index, group)->GetAnnotation(key);
                    if (text.IsEmpty()) {
                        text.Format(ChartString(IDS_SRG_LEGEND_MISSING_TEXT), group, index);
                    }
                    AddEntry(text, index, group);
                }
            }
        } else {
            for (int g = 0; g < groupCount; g += groupStep) {
                const int group = m_nResolvedFirstGroup + g;
                AddEntry(m_pChart->GetGroupAnnotation(group, key), m_nResolvedFirstItem, group);
            }
        }
    }
    while (m_entries.GetCount() > m_nEntryCount) {
        m_entries.RemoveLast();
    }
}

// ---- Layout

void SRGraphLegend::FindAssociatedDisplay() {
    m_pDisplay = nullptr;
    const POSITION pos = PreviousComponentPosition();
    if (!pos) {
        return;
    }
    auto* before = static_cast<SRGraphComponent*>(m_pChart->GetComponentList().GetAt(pos));
    if (before->GetComponentType() == IDS_SRG_TYPE_DISPLAY) {
        m_pDisplay = dynamic_cast<SRGDisplayBase*>(before);
    } else if (auto* compound = dynamic_cast<SRGCompoundComponent*>(before)) {
        int counter = 0;
        m_pDisplay = dynamic_cast<SRGDisplayBase*>(compound->FindChild(0, IDS_SRG_TYPE_DISPLAY, counter));
    }
    if (m_pDisplay) {
        int firstItem = 0, lastItem = 0, firstGroup = 0, lastGroup = 0;
        m_pDisplay->GetScope(firstItem, lastItem, firstGroup, lastGroup);
        SetScope(firstItem, lastItem, firstGroup, lastGroup);
        m_bChanged = TRUE;
    }
}

void SRGraphLegend::ResolveLegendScope() {
    const int groups = m_pChart ? m_pChart->GetGroupCount() : 0;
    const int items = m_pChart ? m_pChart->GetMaxItemCount() : 0;
    m_nResolvedFirstGroup = m_nFirstGroup == -1 ? 0 : std::max(m_nFirstGroup, 0);
    m_nResolvedLastGroup = m_nLastGroup == -1 ? groups - 1 : m_nLastGroup;
    m_nResolvedFirstItem = m_nFirstItem == -1 ? 0 : std::max(m_nFirstItem, 0);
    m_nResolvedLastItem = m_nLastItem == -1 ? items - 1 : m_nLastItem;
    m_nGroupCount = std::max(SRGCountBetween(m_nResolvedFirstGroup, m_nResolvedLastGroup), 0);
    m_nItemCount = std::max(SRGCountBetween(m_nResolvedFirstItem, m_nResolvedLastItem), 0);
}

void SRGraphLegend::ApplyDisplaySteps() {
    if (!m_pDisplay) {
        return;
    }
    const int style = m_pDisplay->GetStyle().GetGraphStyle();
    if (OneOf(style, {0x14, 0x21})) {
        m_nIndexStep = 2;
    } else if (OneOf(style, {0x15, 0x1A, 0x1B, 0x1E, 0x22})) {
        m_nGroupStep = 2;
    } else if (OneOf(style, {0x29, 0x2A})) {
        m_nGroupStep = 3;
    } else if (OneOf(style, {0x1C, 0x1D, 0x2B, 0x2C, 0x2D, 0x2E})) {
        m_nGroupStep = 4;
    } else if (OneOf(style, {0x05, 0x08, 0x16}) || style > 0x2E) {
        OnCustomDisplayStyle();
    }
}

void SRGraphLegend::LayOut() {
    m_entries.SetFont(m_nFontSize, m_nFontStyle, m_strFaceName);
    m_entries.SetColor(m_crText);
    m_entries.SetDrawFlag(0);
    m_entries.CreateTitleFont();
    FindAssociatedDisplay();
    ResolveLegendScope();
    m_rectContent = GetPixelRect();
    m_rectContent.NormalizeRect();
    m_rectContent = LabelSpace(m_rectContent);
    const int k = GetKeySize();
    ApplyDisplaySteps();
    UpdateText();
    if (m_nEntryCount == 0) {
        return;
    }

    int w = 0, h = 0;
    for (int j = 0; j < m_nEntryCount; ++j) {
        SRGraphLabel* label = m_entries.GetLabel(j);
        label->SetAngleDegrees(0);
        label->SetSide(SRGL_RIGHT_BELOW);
        label->SetAnchor(0, 0);
        label->ComputeOutline(nullptr, 0);
        const CSize size = label->GetOutlineSize();
        w = std::max(w, size.cx > 0 ? static_cast<int>(size.cx) : k);
        h = std::max(h, size.cy > 0 ? static_cast<int>(size.cy) : k);
    }

    const bool fixedGrid = m_style.HasOption(SRGLO_FIXED_GRID);
    int columns = fixedGrid ? GridCount(m_style.m_dFirstLimit)
                            : GridCount(std::floor(static_cast<double>(m_rectContent.Width()) / (2.0 * k + w)));
    // A fixed grid needs a row at least: the row height divides by the rows.
    int rows = fixedGrid ? GridCount(m_style.m_dSecondLimit) : (m_nEntryCount + columns - 1) / columns;
    if (rows == 1 && m_nEntryCount < columns) {
        columns = m_nEntryCount;
    }

    CRect& c = m_rectContent;
    if (m_bFitWidth) {
        const int needed = SRGTrunc((1.2 * k + w) * columns);
        if (needed < c.Width()) {
            if (m_bAlignLeft) {
                c.right = c.left + needed;
            } else {
                c.left = c.right - needed;
            }
        }
    }
    if (m_bFitHeight) {
        const int needed = SRGTrunc(1.2 * h * rows);
        if (needed < c.Height()) {
            if (m_bAlignTop) {
                c.bottom = c.top + needed;
            } else {
                c.top = c.bottom - needed;
            }
        }
    }
    m_nColumns = columns;
    m_nRows = rows;

    const double cw = static_cast<double>(c.Width()) / columns;
    const double rh = std::max(static_cast<double>(h), static_cast<double>(c.Height()) / rows);
    const bool keyLeft = m_style.HasOption(SRGLO_KEY_LEFT);
    for (int j = 0; j < m_nEntryCount; ++j) {
        const int r = j / columns;
        const int col = j - r * columns;
        SRGraphLabel* label = m_entries.GetLabel(j);
        label->SetSide(keyLeft ? SRGL_RIGHT_BELOW : SRGL_LEFT_BELOW);
        const int x = keyLeft ? c.left + SRGTrunc(col * cw + 1.1 * k) : c.left + SRGTrunc(col * cw + w);
        label->SetAnchor(x, c.top + SRGTrunc(r * rh));
    }
    m_nRowHeight = h;
}

void SRGraphLegend::Paint() {
    if (m_nEntryCount == 0) {
        return;
    }
    if (m_pChart) {
        m_pChart->ClipToRect(m_rectContent.left, m_rectContent.top, m_rectContent.right + 1, m_rectContent.bottom + 1,
                             RGN_COPY);
    }
    const int k = GetKeySize();
    m_entries.SetDrawFlag(1);
    m_entries.Draw();
    const bool keyLeft = m_style.HasOption(SRGLO_KEY_LEFT);
    const int mode = GetLegendMode();
    for (int j = 0; j < m_nEntryCount && j < static_cast<int>(m_entryItems.size()); ++j) {
        const POINT anchor = m_entries.GetLabel(j)->GetAnchorPoint();
        const int left = keyLeft ? SRGTrunc(anchor.x - 1.1 * k) : SRGTrunc(anchor.x + 0.1 * k);
        const int right = keyLeft ? SRGTrunc(anchor.x - 0.1 * k) : SRGTrunc(anchor.x + 1.1 * k);
        const auto [index, group] = m_entryItems[j];
        const int entry = mode == 4 ? j : (mode == 2 || mode == 6) ? j + m_nResolvedFirstItem : j + m_nResolvedFirstGroup;
        DrawKey(left, anchor.y, right, anchor.y + m_nRowHeight, index, group, entry);
    }
    if (mode == 4) {
        m_nEntryCount = static_cast<int>(std::min<long long>(static_cast<long long>(m_nItemCount) * m_nGroupCount, INT_MAX));
    }
}

void SRGraphLegend::Draw() {
    if (!m_nDrawnMark || !m_pDC) {
        return;
    }
    const BOOL logging = m_pChart ? m_pChart->IsFeedbackLogging() : FALSE;
    if (m_pChart) {
        m_pChart->SetFeedbackLogging(FALSE);
        m_pChart->PushClip();
    }
    struct Restore {
        SRGraph* chart;
        BOOL logging;
        ~Restore() {
            if (chart) {
                chart->PopClip();
                chart->SetFeedbackLogging(logging);
            }
        }
    } restore{m_pChart, logging};
    m_entries.SetParentGraph(m_pChart);
    m_entries.BeginDraw(m_pDC, m_pWindow);
    if (m_bLayoutPass) {
        LayOut();
    } else {
        Paint();
    }
}

void SRGraphLegend::DrawComponent(CDC* dc, CWnd* window) {
    m_pDC = dc;
    m_pWindow = window;
    m_bDrawing = TRUE;
    PushClipState();
    m_savedPosition = m_rect;
    struct Restore {
        SRGraphLegend& legend;
        ~Restore() {
            legend.m_bLayoutPass = FALSE;
            legend.m_bDrawing = FALSE;
            legend.m_entries.EndDraw();
            legend.m_rect = legend.m_savedPosition;
            legend.PopClipState();
        }
    } restore{*this};
    m_bLayoutPass = TRUE;
    Draw();
    m_bLayoutPass = FALSE;
    DrawFill();
    DrawShadow();
    DrawBorder();
    Draw();
    m_bChanged = FALSE;
}

// ---- Keys

void SRGraphLegend::DrawKey(int left, int top, int right, int bottom, int index, int group, int entry) {
    if (!m_pChart) {
        return;
    }
    SRGraphData* item = m_pChart->FindItem(index, group);
    SRGraphStyle& style = item->GetStyle();
    // The feedback entry of what is drawn now; the palette colours follow it as the display's do its groups.
    m_nReserved = entry;
    m_nPaletteCode = entry;
    int keyType = m_style.GetKeyType();
    if (keyType == 5) {
        keyType = style.GetKeyType();
    }
    const int middle = (top + bottom) / 2;
    const bool lineKeys = !m_style.HasOption(SRGLO_NO_LINE_KEYS);
    const int lineFlag = style.GetLineKind() == 2 ? 1 : 0;
    const auto line = [&] { DrawDataLine(left, middle, right, middle, &style, entry, lineFlag, item); };
    const auto box = [&] {
        const POINT points[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
        FillPolygon(points, 5, &style, 0);
    };
    const auto symbol = [&] { DrawDataSymbol((left + right) / 2, middle, &style, item); };
    switch (keyType) {
    case 0:
        break;
    case 1:
        if (!m_pDisplay) {
            if (lineKeys) {
                line();
            }
        } else if (const int displayStyle = m_pDisplay->GetStyle().GetGraphStyle(); LineKeyStyle(displayStyle)) {
            if (lineKeys) {
                line();
            }
            if (style.GetShapeKind() != 4 && displayStyle != 0x1F) {
                symbol();
            }
        } else {
            box();
        }
        break;
    case 2:
        line();
        break;
    case 3:
        box();
        break;
    case 4:
        symbol();
        break;
    default:
        DrawCustomKey(left, top, right, bottom, index, group, entry);
        break;
    }
}

// ---- Template and archive

void SRGraphLegend::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"legend ");
}

void SRGraphLegend::WriteTemplateExtraPart(SRGTemplateWriter& writer) {
    writer.WriteFormat(u" %d %f %d %d %d ", GetLegendStyle(), m_dKeySize, GetLegendMode(),
                       m_style.HasOption(SRGLO_NO_LINE_KEYS) ? 0 : 1, m_style.GetKeyType());
}

int SRGraphLegend::ReadTemplateTypePart(const CString& text) {
    const int used = SRGraphTitle::ReadTemplateTypePart(text);
    int bits = 0, mode = 0, lineKeys = 0, keyType = 0, legendUsed = 0;
    double keySize = 0.0;
    const int read = swscanf(text.Mid(used), u" %d %lf %d %d %d%n", &bits, &keySize, &mode, &lineKeys, &keyType,
                             &legendUsed);
    if (read < 4) {
        ThrowSRGraphException(SRGE_TEMPLATE_LEGEND);
    }
    if (read == 4) {
        // %n counts only after a fifth number; measure the four again.
        swscanf(text.Mid(used), u" %d %lf %d %d%n", &bits, &keySize, &mode, &lineKeys, &legendUsed);
    }
    SetLegendStyle(bits);
    m_dKeySize = keySize;
    SetLegendMode(mode);
    m_style.SetOption(SRGLO_NO_LINE_KEYS, lineKeys == 0);
    SetKeyType(read >= 5 ? (keyType & 0xF) : 1);
    return used + legendUsed;
}

void SRGraphLegend::Serialize(CArchive& ar) {
    SRGraphTitle::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bFitWidth) << static_cast<LONG>(m_bFitHeight) << static_cast<LONG>(m_bAlignLeft)
           << static_cast<LONG>(m_bAlignTop) << m_dKeySize;
        return;
    }
    LONG fitWidth = 0, fitHeight = 0, alignLeft = 0, alignTop = 0;
    ar >> fitWidth >> fitHeight >> alignLeft >> alignTop >> m_dKeySize;
    m_bFitWidth = fitWidth;
    m_bFitHeight = fitHeight;
    m_bAlignLeft = alignLeft;
    m_bAlignTop = alignTop;
}
