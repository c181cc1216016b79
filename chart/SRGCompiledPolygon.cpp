#include "chart/SRGCompiledPolygon.h"

#include "chart/ChartMath.h"

#include <algorithm>
#include <cmath>
#include <iterator>

void SRGCompiledPolygon::EnsureCapacity() {
    const int count = GetPointCount();
    if (GetCapacity() >= count && GetCapacity() > 0) {
        return;
    }
    const int capacity = std::max(128, (count + 127) / 128 * 128);
    m_points.assign(static_cast<size_t>(capacity), POINT{0, 0});
    m_bDirty = TRUE;
}

void SRGCompiledPolygon::AddRegularPolygon(int n) {
    if (n <= 0) {
        return;
    }
    const int step = 360 / n;
    if (step <= 0) {
        return;
    }
    for (int d = 0; d < 360; d += step) {
        const double a = d * kSRGRadiansPerDegree;
        AddPoint(static_cast<float>(100.0 * std::sin(a) - 50.0), static_cast<float>(100.0 * std::cos(a) - 50.0));
    }
    AddCoordinate(m_coordinates.front());
}

void SRGCompiledPolygon::SetRotation(double degrees) {
    m_bRotate = degrees != 0.0;
    m_dAngle = degrees != 0.0 ? degrees : 0.0;
    m_bDirty = TRUE;
}

void SRGCompiledPolygon::AddCoordinate(const SRGCoordinate& coordinate) {
    m_coordinates.push_back(coordinate);
    m_bDirty = TRUE;
}

POINT* SRGCompiledPolygon::GetPoints() {
    EnsureCapacity();
    if (m_bDirty) {
        for (size_t i = 0; i < m_coordinates.size(); ++i) {
            m_points[i] = POINT{SRGRound(m_coordinates[i].GetX()), SRGRound(m_coordinates[i].GetY())};
        }
        m_bDirty = FALSE;
    }
    return m_points.data();
}

POINT* SRGCompiledPolygon::FitToRect(const RECT& rect) {
    EnsureCapacity();
    if (m_coordinates.empty()) {
        return m_points.data();
    }
    double minX = m_coordinates[0].GetX(), maxX = minX, minY = m_coordinates[0].GetY(), maxY = minY;
    for (const SRGCoordinate& c : m_coordinates) {
        minX = std::min<double>(minX, c.GetX());
        maxX = std::max<double>(maxX, c.GetX());
        minY = std::min<double>(minY, c.GetY());
        maxY = std::max<double>(maxY, c.GetY());
    }
    const double spanX = maxX - minX;
    const double spanY = maxY - minY;
    for (size_t i = 0; i < m_coordinates.size(); ++i) {
        // A shape without width or height collapses onto the rectangle's left or bottom edge.
        const double fx = spanX > 0.0 ? (m_coordinates[i].GetX() - minX) / spanX : 0.0;
        const double fy = spanY > 0.0 ? (m_coordinates[i].GetY() - minY) / spanY : 0.0;
        m_points[i] = POINT{rect.left + SRGRound(fx * (rect.right - rect.left)),
                            rect.bottom - SRGRound(fy * (rect.bottom - rect.top))};
    }
    m_bDirty = FALSE;
    return m_points.data();
}

void SRGCompiledPolygon::PlaceAt(int x, int y) {
    EnsureCapacity();
    const bool rotate = m_bRotate && m_dAngle != 0.0;
    const double a = m_dAngle * kSRGRadiansPerDegree;
    const double c = std::cos(a);
    const double s = std::sin(a);
    for (size_t i = 0; i < m_coordinates.size(); ++i) {
        double px = SRGRound(m_dScaleX * m_coordinates[i].GetX());
        double py = SRGRound(m_dScaleY * m_coordinates[i].GetY());
        if (rotate) {
            const double rx = SRGTrunc(c * px + s * py);
            const double ry = SRGTrunc(c * py - s * px);
            px = rx;
            py = ry;
        }
        m_points[i] = POINT{SRGRound(x + px), SRGRound(y + py)};
    }
    m_bDirty = FALSE;
}

SRGCompiledPolygon* SRGCompiledPolygon::CreateStockShape(int type) {
    struct XY {
        float x, y;
    };
    static const XY kTriangle[] = {{0, -50}, {25, 50}, {-25, 50}, {0, -50}};
    static const XY kFlash[] = {{-25, -10}, {-15, -5}, {0, -10}, {15, -5}, {25, -10}, {20, -3},
                                {25, 0},    {20, 3},   {25, 10}, {15, 5},  {0, 10},   {-15, 5},
                                {-25, 10},  {-20, 3},  {-25, 0}, {-20, -3}, {-25, -10}};
    // A true diamond: its third point lies below the centre.
    static const XY kDiamond[] = {{0, -10}, {10, 0}, {0, 10}, {-10, 0}, {0, -10}};
    static const XY kSquare[] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}, {-5, -5}};

    auto* shape = new SRGCompiledPolygon;
    auto add = [shape](const XY* points, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            shape->AddPoint(points[i].x, points[i].y);
        }
    };
    switch (type) {
    case circle:
        shape->AddRegularPolygon(18);
        break;
    case triangle:
        add(kTriangle, std::size(kTriangle));
        break;
    case flash:
        add(kFlash, std::size(kFlash));
        break;
    case hexagon:
        shape->AddRegularPolygon(6);
        break;
    case pentagon:
        shape->AddRegularPolygon(5);
        break;
    case diamond:
        add(kDiamond, std::size(kDiamond));
        break;
    default:
        add(kSquare, std::size(kSquare));
        break;
    }
    shape->EnsureCapacity();
    shape->GetPoints();
    return shape;
}
