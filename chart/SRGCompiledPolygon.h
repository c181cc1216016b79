// A named shape in floating-point coordinates, scaled, rotated and placed into integer points for drawing:
// symbols, line ends, named polygons and the stock shapes.
#pragma once

#include "chart/ChartMath.h"

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/gdi/GdiTypes.h"

#include <vector>

class SRGCoordinate {
public:
    SRGCoordinate() = default;
    SRGCoordinate(float x, float y) : m_x(x), m_y(y) {}
    virtual ~SRGCoordinate() = default;
    virtual void SetX(int x) { m_x = static_cast<float>(x); }
    virtual void SetX(double x) { m_x = static_cast<float>(x); }
    virtual void SetX(float x) { m_x = x; }
    virtual float GetX() const { return m_x; }
    virtual void SetY(int y) { m_y = static_cast<float>(y); }
    virtual void SetY(double y) { m_y = static_cast<float>(y); }
    virtual void SetY(float y) { m_y = y; }
    virtual float GetY() const { return m_y; }

private:
    float m_x = 0.0f;
    float m_y = 0.0f;
};

class SRGCompiledPolygon : public CObject {
public:
    enum StockShape { box = 0, circle, triangle, flash, hexagon, pentagon, diamond };

    SRGCompiledPolygon() = default;

    // A new buffer, for the point count rounded up to a multiple of 128, when the capacity is below it.
    virtual void EnsureCapacity();
    virtual void SetScaleY(double scale) { m_dScaleY = scale; }
    virtual double GetScaleY() const { return m_dScaleY; }
    virtual void SetScaleX(double scale) { m_dScaleX = scale; }
    virtual double GetScaleX() const { return m_dScaleX; }
    virtual void SetRotate(BOOL rotate) { m_bRotate = rotate; }
    virtual BOOL GetRotate() const { return m_bRotate; }
    virtual void SetAngle(double degrees) { m_dAngle = degrees; }
    virtual double GetAngle() const { return m_dAngle; }
    // n points on a circle of radius 100 about (-50, -50), then the first again.
    virtual void AddRegularPolygon(int n);
    virtual void SetRotation(double degrees);
    // Maps the points' bounding box onto the rectangle, y growing upwards.
    virtual POINT* FitToRect(const RECT& rect);
    // Scales, rotates and moves the points to (x, y).
    virtual void PlaceAt(int x, int y);
    virtual const CString& GetName() const { return m_strName; }
    virtual void SetName(const CString& name) { m_strName = name; }
    // The compiled points, recompiled (rounded) when the coordinates changed.
    virtual POINT* GetPoints();
    virtual void AddPoint(int x, int y) { AddPoint(static_cast<float>(x), static_cast<float>(y)); }
    virtual void AddPoint(float x, float y) { AddCoordinate(SRGCoordinate(x, y)); }
    virtual void AddCoordinate(const SRGCoordinate& coordinate);
    virtual int GetPointCount() const { return static_cast<int>(m_coordinates.size()); }

    int GetCapacity() const { return static_cast<int>(m_points.size()); }
    // A stock shape by type (any other type: the default square), its points compiled.
    static SRGCompiledPolygon* CreateStockShape(int type);

private:
    double m_dScaleY = 1.0;
    double m_dScaleX = 1.0;
    BOOL m_bRotate = FALSE;
    double m_dAngle = 0.0;
    CString m_strName;
    std::vector<POINT> m_points; // the compiled buffer; its size is the capacity
    std::vector<SRGCoordinate> m_coordinates;
    BOOL m_bDirty = TRUE;
};
