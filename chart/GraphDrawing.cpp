// The chart's drawing: the paint entry with its off-screen bitmap, banded printing, the drawing area, the
// clip stack, the hit-test records and the shapes.
#include "chart/ChartMath.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphComponent.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphFeedback.h"

#include "platform/base/CFile.h"
#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"
#include "platform/resources/Resources.h"

#include <string>
#include <vector>

namespace {
// One flag for every chart, so that no chart draws inside another chart's drawing.
BOOL g_chartDrawing = FALSE;

bool IsPrinter(CDC* dc) {
    return dc && (dc->IsPrinting() || dc->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER);
}

const char16_t* const kStockShapes[] = {u"BOX", u"CIRCLE", u"TRIANGLE", u"FLASH", u"HEXAGON", u"PENTAGON", u"DIAMOND"};
} // namespace

BOOL SRGraph::IsAnyChartDrawing() {
    return g_chartDrawing;
}

// ---- The drawing area

SIZE& SRGraph::GetDrawingSize(SIZE& size) {
    if (m_bFixedRect) {
        size = SIZE{m_rectFixed.Width(), m_rectFixed.Height()};
        return size;
    }
    if (!m_bInDraw) {
        ThrowSRGraphException(SRGE_OUTSIDE_DRAW);
    }
    if (IsPrinter(m_pDrawingDC) || m_bBandedPrinting) {
        size = SIZE{m_pDrawingDC->GetDeviceCaps(HORZRES), m_pDrawingDC->GetDeviceCaps(VERTRES)};
        return size;
    }
    if (m_bOffscreen && m_pDrawingDC) {
        BITMAP bitmap{};
        HGDIOBJ selected = ::GetCurrentObject(m_pDrawingDC->m_hDC, OBJ_BITMAP);
        if (selected && ::GetObjectW(selected, sizeof bitmap, &bitmap)) {
            size = SIZE{bitmap.bmWidth, bitmap.bmHeight};
            return size;
        }
    }
    if (m_pDrawingWindow && m_pDrawingWindow->GetSafeHwnd()) {
        CRect client;
        m_pDrawingWindow->GetClientRect(&client);
        size = SIZE{client.Width(), client.Height()};
        return size;
    }
    size = SIZE{200, 150};
    return size;
}

BOOL SRGraph::PlaceFixedRect(RECT& rect, int left, int top, int, int) {
    if (!m_bFixedRect) {
        return FALSE;
    }
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    rect = RECT{left, top, left + width, top + height};
    return TRUE;
}

CRect SRGraph::DrawingArea(CDC* dc, CWnd* window) {
    if (IsPrinter(dc)) {
        return m_bBandedPrinting ? m_rectPage : CRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    }
    if (m_bBandedPrinting) {
        return m_rectPage;
    }
    if (m_bFixedRect) {
        return m_rectFixed;
    }
    if (window && window->GetSafeHwnd()) {
        CRect client;
        window->GetClientRect(&client);
        return client;
    }
    m_bInDraw = TRUE;
    m_pDrawingDC = dc;
    SIZE size{};
    GetDrawingSize(size);
    m_bInDraw = FALSE;
    m_pDrawingDC = nullptr;
    return CRect(0, 0, size.cx, size.cy);
}

void SRGraph::PrepareOffscreen(CDC* dc, const CRect& area) {
    if (area != m_rectLastOffscreen || !m_offscreenBitmap.m_hObject) {
        m_offscreenBitmap.DeleteObject();
        int width = area.Width(), height = area.Height();
        if (m_bFixedRect) {
            width += m_rectFixed.left;
            height += m_rectFixed.top;
        }
        m_offscreenBitmap.CreateCompatibleBitmap(dc, std::max(width, 1), std::max(height, 1));
        if (m_bRepaintFromCache) {
            // A new bitmap holds nothing to repaint from: the components draw into it.
            m_bRepaintFromCache = FALSE;
            m_bOffscreen = TRUE;
        }
    }
    m_rectLastOffscreen = area;
}

// ---- Drawing

void SRGraph::DrawComponents(CDC* dc, CWnd* window) {
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        POSITION current = pos;
        auto* component = static_cast<SRGraphComponent*>(m_components.GetNext(pos));
        const INT_PTR before = m_components.GetCount();
        m_posCurrentComponent = current;
        component->SetDrawnMark(1);
        try {
            component->DrawComponent(dc, window);
        } catch (SRGraphException* e) {
            ReportSRGraphException(e);
            e->Delete();
            break;
        }
        if (m_components.GetCount() > before) {
            // Components added while drawing (value tags) are drawn in the same pass.
            pos = current;
            m_components.GetNext(pos);
        }
    }
    m_posCurrentComponent = nullptr;
}

void SRGraph::DrawGraph(CDC* dc, CWnd* window) {
    if (m_components.IsEmpty() || g_chartDrawing || !dc) {
        return;
    }
    if (m_style.GetTagMode() != 1) {
        DeleteTaggedComponents(SRG_TEMPORARY_TAG);
        DeleteTaggedComponents(SRG_TAG_BLOCK);
        if (m_components.IsEmpty()) {
            return;
        }
    }
    g_chartDrawing = TRUE;
    const int saved = dc->SaveDC();
    const bool printer = IsPrinter(dc);
    if (printer && m_bBandedPrinting) {
        g_chartDrawing = FALSE;
        PrintBanded(dc, window);
        dc->RestoreDC(saved);
        g_chartDrawing = FALSE;
        return;
    }

    const BOOL keptOffscreen = m_bOffscreen;
    if (m_bRepaintFromCache) {
        m_bOffscreen = TRUE;
    }
    if (printer) {
        m_bOffscreen = FALSE;
    }
    for (POSITION pos = m_feedback.GetHeadPosition(); pos;) {
        delete m_feedback.GetNext(pos);
    }
    m_feedback.RemoveAll();
    m_bPaletteDevice = (dc->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0;
    if (m_bPaletteDevice) {
        m_pDrawingDC = dc;
        CreateDefaultPalette(&m_palette);
    }

    const CRect area = DrawingArea(dc, window);
    if (m_bBandedPrinting && !printer) {
        m_bOffscreen = FALSE;
    }
    const bool offscreen = m_bOffscreen && !printer && !m_bBandedPrinting;
    CDC memory;
    CBitmap* oldBitmap = nullptr;
    CDC* target = dc;
    if (offscreen) {
        PrepareOffscreen(dc, area);
        memory.CreateCompatibleDC(dc);
        memory.SetMapMode(MM_TEXT);
        memory.SetViewportOrg(dc->GetViewportOrg());
        memory.SetWindowOrg(dc->GetWindowOrg());
        memory.SetViewportExt(1, 1);
        memory.SetWindowExt(1, 1);
        oldBitmap = memory.SelectObject(&m_offscreenBitmap);
        if (m_bPaletteDevice && m_palette.m_hObject) {
            CPalette* oldPalette = memory.SelectPalette(&m_palette, FALSE);
            memory.RealizePalette();
            memory.SelectPalette(oldPalette, FALSE);
        }
        target = &memory;
    }

    const CPoint viewport = dc->GetViewportOrg();
    CRect drawn = area;
    if (m_bFixedRect) {
        drawn = m_rectFixed;
        PlaceFixedRect(drawn, m_rectFixed.left, m_rectFixed.top, m_rectFixed.right, m_rectFixed.bottom);
    }
    m_rectDrawn = drawn;
    m_bInDraw = TRUE;
    m_pDrawingWindow = window;
    m_pDrawingDC = target;

    struct EndDraw {
        SRGraph& chart;
        CDC* dc;
        CPoint viewport;
        ~EndDraw() {
            chart.m_pDrawingDC = nullptr;
            chart.m_pDrawingWindow = nullptr;
            chart.m_bInDraw = FALSE;
            chart.m_bPartialRedraw = FALSE;
            dc->SetViewportOrg(viewport);
        }
    };
    try {
        EndDraw end{*this, dc, viewport};
        if (!m_bRepaintFromCache) {
            DrawComponents(target, window);
        }
    } catch (...) {
        if (offscreen) {
            memory.SelectObject(oldBitmap);
        }
        m_bOffscreen = keptOffscreen;
        dc->RestoreDC(saved);
        g_chartDrawing = FALSE;
        throw;
    }

    if (printer) {
        InvalidateAll();
    } else if (offscreen) {
        dc->BitBlt(drawn.left, drawn.top, drawn.Width(), drawn.Height(), &memory, drawn.left, drawn.top, SRCCOPY);
        memory.SelectObject(oldBitmap);
        m_bAllInvalidated = FALSE;
    }
    m_bOffscreen = keptOffscreen;
    dc->RestoreDC(saved);
    g_chartDrawing = FALSE;
}

void SRGraph::PrintBanded(CDC* dc, CWnd* window) {
    m_bBandedPrinting = TRUE;
    const CRect page(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    m_rectPage = page;
    const int bandHeight = std::min(page.Height(), 128);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap band;
    band.CreateCompatibleBitmap(dc, std::max(page.Width(), 1), std::max(bandHeight, 1));
    const BOOL keptOffscreen = m_bOffscreen;
    const BOOL keptLogging = m_bFeedbackLogging;
    m_bOffscreen = FALSE;
    m_bFeedbackLogging = FALSE;
    const bool setFixed = !m_bFixedRect;
    CRect placed = m_bFixedRect ? m_rectFixed : page;
    if (setFixed) {
        m_rectFixed = page;
        m_bFixedRect = TRUE;
    }
    PlaceFixedRect(placed, m_rectFixed.left, m_rectFixed.top, m_rectFixed.right, m_rectFixed.bottom);
    CBitmap* old = memory.SelectObject(&band);
    InvalidateAll();
    for (int y = 0; y < page.Height(); y += 128) {
        const int height = std::min(128, page.Height() - y);
        const CRect strip(0, y, page.Width(), y + height);
        CRect overlap;
        if (overlap.IntersectRect(&strip, &placed)) {
            memory.SetViewportOrg(0, -y);
            HGDIOBJ oldPen = ::SelectObject(memory.m_hDC, ::GetStockObject(NULL_PEN));
            HGDIOBJ oldBrush = ::SelectObject(memory.m_hDC, ::GetStockObject(WHITE_BRUSH));
            memory.Rectangle(page.left, page.top, page.right + 1, page.bottom + 1);
            ::SelectObject(memory.m_hDC, oldBrush);
            ::SelectObject(memory.m_hDC, oldPen);
            DrawGraph(&memory, window);
            memory.SetViewportOrg(0, 0);
            dc->BitBlt(0, y, page.Width(), height, &memory, 0, 0, SRCCOPY);
        }
    }
    m_bOffscreen = keptOffscreen;
    m_bFeedbackLogging = keptLogging;
    memory.SelectObject(old);
    if (setFixed) {
        m_rectFixed.SetRectEmpty();
        m_bFixedRect = FALSE;
    }
    InvalidateAll();
    m_bBandedPrinting = FALSE;
}

// ---- Clipping

void SRGraph::RemoveClip() {
    if (!m_pDrawingDC) {
        return;
    }
    ::SelectClipRgn(m_pDrawingDC->m_hDC, nullptr);
    if (m_pDrawingDC->m_hAttribDC && m_pDrawingDC->m_hAttribDC != m_pDrawingDC->m_hDC) {
        ::SelectClipRgn(m_pDrawingDC->m_hAttribDC, nullptr);
    }
}

void SRGraph::PushClip() {
    auto* saved = new CRgn;
    if (m_pDrawingDC) {
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetClipRgn(m_pDrawingDC->m_hDC, region) == 1) {
            saved->Attach(region);
        } else {
            ::DeleteObject(region);
        }
    }
    m_clipStack.Push(saved);
}

void SRGraph::PopClip() {
    auto* saved = static_cast<CRgn*>(m_clipStack.Pop());
    if (!m_pDrawingDC) {
        delete saved;
        return;
    }
    if (saved && saved->m_hObject) {
        ::ExtSelectClipRgn(m_pDrawingDC->m_hDC, static_cast<HRGN>(saved->m_hObject), RGN_COPY);
    } else {
        RemoveClip();
    }
    delete saved;
}

void SRGraph::ClipToRect(int left, int top, int right, int bottom, int mode) {
    const POINT points[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    ClipToPolygon(points, 5, mode);
}

void SRGraph::ClipToPolygon(const POINT* points, int count, int mode) {
    if (!m_pDrawingDC || count <= 0) {
        return;
    }
    HDC dc = m_pDrawingDC->m_hDC;
    ::BeginPath(dc);
    ::Polyline(dc, points, count);
    ::CloseFigure(dc);
    ::EndPath(dc);
    ::SelectClipPath(dc, mode);
}

// ---- Hit-test records

void SRGraph::AddFeedbackPointEx(int x, int y, int group, int item, int tolerance) {
    if (m_bFeedbackLogging) {
        m_feedback.AddTail(new SRGraphFeedback(x, y, tolerance, group, item, this));
    }
}

void SRGraph::AddFeedbackRect(const RECT& rect, int group, int item) {
    if (m_bFeedbackLogging) {
        m_feedback.AddTail(new SRGraphFeedback(rect.left, rect.top, rect.right, rect.bottom, group, item, this));
    }
}

void SRGraph::AddFeedbackPolygon(const POINT* points, int count, int group, int item) {
    if (m_bFeedbackLogging) {
        m_feedback.AddTail(new SRGraphFeedback(points, count, group, item, this));
    }
}

SRGraphFeedback* SRGraph::HitTestFeedback(int x, int y) {
    for (POSITION pos = m_feedback.GetTailPosition(); pos;) {
        auto* record = static_cast<SRGraphFeedback*>(m_feedback.GetPrev(pos));
        if (record->HitTest(x, y)) {
            return record;
        }
    }
    return nullptr;
}

// ---- Shapes

BOOL SRGraph::GetShape(const CString& name, LPCTSTR resourceType, SRGCompiledPolygon*& shape, double angle) {
    for (POSITION pos = m_shapes.GetHeadPosition(); pos;) {
        auto* cached = static_cast<SRGCompiledPolygon*>(m_shapes.GetNext(pos));
        if (cached->GetName() == name) {
            cached->SetRotation(angle);
            shape = cached;
            return TRUE;
        }
    }
    const CString prefix(SRG_STOCK_SHAPE);
    if (name.Left(prefix.GetLength()) == prefix) {
        const CString rest = name.Mid(prefix.GetLength());
        int type = -1;
        for (int i = 0; i < static_cast<int>(std::size(kStockShapes)); ++i) {
            if (rest == kStockShapes[i]) {
                type = i;
            }
        }
        shape = SRGCompiledPolygon::CreateStockShape(type);
        shape->SetName(name);
        m_shapes.AddTail(shape);
        shape->SetRotation(angle);
        return TRUE;
    }
    shape = LoadPolygon(name, resourceType);
    if (shape) {
        shape->SetRotation(angle);
    }
    return shape != nullptr;
}

SRGCompiledPolygon* SRGraph::LoadPolygon(const CString& name, LPCTSTR resourceType) {
    std::string bytes;
    size_t size = 0;
    const BYTE* data = nullptr;
    if (resourceType && !name.IsEmpty()) {
        data = DolivaResourceBytes(DolivaFindResourceModule(name, resourceType), name, resourceType, &size);
    }
    if (data) {
        bytes.assign(reinterpret_cast<const char*>(data), size);
    } else {
        try {
            CFile file(name, CFile::modeRead | CFile::shareDenyWrite);
            const ULONGLONG length = file.GetLength();
            // A polygon text is a short list of numbers; anything this large is not one.
            if (length > (1u << 20)) {
                ThrowSRGraphException(SRGE_NO_POLYGON);
            }
            bytes.resize(static_cast<size_t>(length));
            if (file.Read(bytes.data(), static_cast<UINT>(length)) != length) {
                ThrowSRGraphException(SRGE_NO_POLYGON);
            }
        } catch (CFileException* e) {
            e->Delete();
            ThrowSRGraphException(SRGE_NO_POLYGON);
        }
    }
    const std::u16string text = Cp1252ToUtf16(bytes);
    const char16_t* at = text.c_str();
    int count = 0, used = 0;
    if (swscanf(at, u"%d%n", &count, &used) < 1 || count <= 0 || static_cast<size_t>(count) > text.size() / 2) {
        ThrowSRGraphException(SRGE_NO_POLYGON);
    }
    at += used;
    auto* shape = new SRGCompiledPolygon;
    for (int i = 0; i < count; ++i) {
        float x = 0, y = 0;
        if (swscanf(at, u"%g %g%n", &x, &y, &used) < 2) {
            delete shape;
            ThrowSRGraphException(SRGE_NO_POLYGON);
        }
        at += used;
        shape->AddPoint(x, y);
    }
    shape->SetName(name);
    m_shapes.AddTail(shape);
    return shape;
}
