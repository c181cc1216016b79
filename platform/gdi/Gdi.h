// The drawing interface: device contexts, drawing objects, coordinates, clipping, lines and shapes, raster
// operations, bitmaps, regions, paths, palettes and text, over cairo image surfaces with antialiasing off.
// Drawing answers the pixels of the original: right and bottom edges excluded, LineTo without its end pixel,
// cosmetic pens through the original's line algorithm, raster operations evaluated per pixel.
//
// Failures answer the Win32 way (FALSE, null, CLR_INVALID, GDI_ERROR); a stale or foreign handle is never
// dereferenced and answers ERROR_INVALID_HANDLE.
#pragma once

#include "platform/gdi/GdiTypes.h"

// ---- Device contexts
// A memory DC starts with a 1x1 monochrome bitmap; selecting a bitmap gives it a drawing surface.
HDC CreateCompatibleDC(HDC dc);
// Driver "DISPLAY": a DC for the whole screen (CreateDCW) or an information DC (CreateICW).
// Driver "PDF" (or a device naming a configured printer, see Printers.h): a printer DC whose pages go to the
// output file as a PDF document between StartDocW and EndDoc.
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* initData);
HDC CreateICW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* initData);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
// A negative level is relative to the current one (-1: the last save).
BOOL RestoreDC(HDC dc, int savedDC);
int GetDeviceCaps(HDC dc, int index);
BOOL GetDCOrgEx(HDC dc, LPPOINT point);
BOOL GdiFlush();
int StartDocW(HDC dc, const DOCINFOW* docInfo);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);
int StartPage(HDC dc);
int EndPage(HDC dc);

// ---- Objects
HGDIOBJ GetStockObject(int object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectW(HANDLE object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
BOOL UnrealizeObject(HGDIOBJ object);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF GetDCBrushColor(HDC dc);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
COLORREF GetDCPenColor(HDC dc);

// ---- Pens and brushes
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* logPen);
HPEN ExtCreatePen(DWORD penStyle, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* style);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetBrushOrgEx(HDC dc, LPPOINT point);

// ---- Fonts and text metrics
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName);
HFONT CreateFontIndirectW(const LOGFONTW* logFont);
int EnumFontFamiliesExW(HDC dc, LPLOGFONTW logFont, FONTENUMPROCW proc, LPARAM lParam, DWORD flags);
int EnumFontFamiliesW(HDC dc, LPCWSTR family, FONTENUMPROCW proc, LPARAM lParam);
int GetTextFaceW(HDC dc, int count, LPWSTR faceName);
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
BOOL GetTextExtentPointW(HDC dc, LPCWSTR text, int count, LPSIZE size);
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);
BOOL GetCharWidthW(HDC dc, UINT first, UINT last, LPINT widths);
BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, LPINT widths);
BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, LPABC widths);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
UINT GetTextCharset(HDC dc);

// ---- Bitmaps
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);
BOOL SetBitmapDimensionEx(HBITMAP bitmap, int width, int height, LPSIZE previous);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
// A bitmap from a packed DIB in memory (header, colour table, bits), every size and offset checked against
// `size`; null with ERROR_INVALID_DATA for anything malformed. `dibSection` makes it a DIB section of the
// stored depth, otherwise a 32-bit (or, for black-and-white 1-bit DIBs, monochrome) device bitmap.
HBITMAP GdiCreateBitmapFromPackedDib(const void* data, size_t size, bool dibSection);
// The same for a .bmp file image (file header first).
HBITMAP GdiCreateBitmapFromBmpFile(const void* data, size_t size, bool dibSection);

// ---- Regions
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL EqualRgn(HRGN a, HRGN b);
int OffsetRgn(HRGN rgn, int x, int y);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rect);
int GetRgnBox(HRGN rgn, LPRECT rect);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
DWORD GetRegionData(HRGN rgn, DWORD count, LPRGNDATA data);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC dc, HRGN rgn);
BOOL PaintRgn(HDC dc, HRGN rgn);

// ---- Paths
BOOL BeginPath(HDC dc);
BOOL EndPath(HDC dc);
BOOL AbortPath(HDC dc);
BOOL CloseFigure(HDC dc);
BOOL StrokePath(HDC dc);
BOOL FillPath(HDC dc);
BOOL StrokeAndFillPath(HDC dc);
BOOL FlattenPath(HDC dc);
BOOL WidenPath(HDC dc);
BOOL SelectClipPath(HDC dc, int mode);
HRGN PathToRegion(HDC dc);
int GetPath(HDC dc, LPPOINT points, LPBYTE types, int count);

// ---- Palettes (true-colour surfaces: the bookkeeping is kept, colours resolve directly)
HPALETTE CreatePalette(const LOGPALETTE* logPalette);
HPALETTE CreateHalftonePalette(HDC dc);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
BOOL ResizePalette(HPALETTE palette, UINT entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
COLORREF GetNearestColor(HDC dc, COLORREF color);
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries);

// ---- Coordinates
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT point);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT point);
BOOL OffsetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL OffsetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetWindowExtEx(HDC dc, LPSIZE size);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetViewportExtEx(HDC dc, LPSIZE size);
BOOL ScaleViewportExtEx(HDC dc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous);
BOOL ScaleWindowExtEx(HDC dc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
int SetGraphicsMode(HDC dc, int mode);
int GetGraphicsMode(HDC dc);

// ---- Clipping (regions passed in and answered are in device units, boxes in logical units)
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int x, int y);
int GetClipBox(HDC dc, LPRECT rect);
// 1 and a copy in `rgn` when the DC has a clip region, 0 when it has none, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// ---- Attributes
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetArcDirection(HDC dc, int direction);
int GetArcDirection(HDC dc);

// ---- Lines and shapes
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT point);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL PolyBezier(HDC dc, const POINT* points, DWORD count);
BOOL PolyBezierTo(HDC dc, const POINT* points, DWORD count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL ArcTo(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL AngleArc(HDC dc, int x, int y, DWORD radius, FLOAT startAngle, FLOAT sweepAngle);

// ---- Raster operations and pixels
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);
BOOL MaskBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, HBITMAP mask,
             int xMask, int yMask, DWORD rop4);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL FloodFill(HDC dc, int x, int y, COLORREF color);
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type);

// ---- Text output
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx);

#define CreateDC CreateDCW
#define CreateIC CreateICW
#define StartDoc StartDocW
#define GetObject GetObjectW
#define CreateFont CreateFontW
#define CreateFontIndirect CreateFontIndirectW
#define EnumFontFamiliesEx EnumFontFamiliesExW
#define EnumFontFamilies EnumFontFamiliesW
#define GetTextFace GetTextFaceW
#define GetTextMetrics GetTextMetricsW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextExtentPoint GetTextExtentPointW
#define GetTextExtentExPoint GetTextExtentExPointW
#define GetCharWidth GetCharWidthW
#define GetCharWidth32 GetCharWidth32W
#define GetCharABCWidths GetCharABCWidthsW
#define TextOut TextOutW
#define ExtTextOut ExtTextOutW

#include "platform/gdi/UserDraw.h"
