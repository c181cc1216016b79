// The library-wide drawing and formatting services, one object owned by the library state and made on first
// use (GetDrawingAndFormatting). Its operations are virtual so that an application can replace the object.
// It lays out, measures and draws cell text (its own line breaking, so that every platform breaks cells
// alike), draws 3-D frames and button faces, holds the pattern bitmaps that pattern brushes are made of, and
// formats and parses values through the application-wide number-formatting object.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CString.h"
#include "platform/framework/CGdiObject.h"
// The platform names DrawText as a macro; every user of this class must see the same name.
#include "platform/gdi/UserDraw.h"

#include <array>
#include <memory>

class CDC;
class CGXControl;
class CGXGridCore;
class CGXStyle;
class CWnd;

// The layout and alignment flags the services read (the platform's DrawText values).
enum GXTextFormat : UINT {
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextWordBreak = 0x10,
    kTextSingleLine = 0x20,
    kTextCalcRect = 0x400,
    kTextNoPrefix = 0x800,
};

// DrawTextEllipsis kinds: none, "..." at the end of the last visible line, "###" for a value that does not
// fit.
enum GXEllipsisKind : int { kEllipsisNone = 0, kEllipsisDots = 1, kEllipsisPound = 2 };

class CGXDrawingAndFormatting {
public:
    // Pattern brushes are made of these 8 x 8 monochrome bitmaps.
    static constexpr int kPatternCount = 41;

    CGXDrawingAndFormatting() = default;
    virtual ~CGXDrawingAndFormatting();

    // Cell text is laid out in at most this many lines.
    static constexpr int kMaxDrawnLines = 32;

    // The bitmap of pattern `index` (made on first request), or null for an index outside the patterns.
    virtual CBitmap* GetPatternBitmap(int index);
    // Text as DrawText, with the last visible line shortened by the ellipsis kind. A length of -1 means the
    // whole text. 0.
    virtual int DrawTextEllipsis(CDC* dc, LPCTSTR text, int length, int left, int top, int right, int bottom,
                                 UINT format, const RECT* clip, int ellipsisKind);
    // Lays the text out (CalcLines) and writes each line aligned in the rectangle; a single character wider
    // than the rectangle stays within the clip rectangle. 0.
    virtual int DrawText(CDC* dc, LPCTSTR text, int length, int left, int top, int right, int bottom,
                         UINT format, const RECT* clip);
    // Through the application-wide rotated-text object; 0, nothing drawn, without it.
    virtual int DrawRotatedText(CDC* dc, LPCTSTR text, int length, int left, int top, int right, int bottom,
                                UINT format, LONG orientation, const RECT* clip);
    // The index of the character under the point, the position after a line's last character just past its
    // end, or -1.
    virtual int HitTestText(CDC* dc, LPCTSTR text, int length, int left, int top, int right, int bottom,
                            UINT format, int x, int y);
    virtual int CalcLineCount(CDC* dc, LPCTSTR text, int length, int left, int top, int right, int bottom,
                              UINT format);
    // Greedy line breaking in the rectangle's width (+1): lines end at CR, LF or CR LF, and with word wrap
    // before the word that does not fit; a word wider than a line, or any line without wrap, is cut at the
    // last character that fits. Without wrap only the first line is laid out; as many lines as the
    // rectangle's height allows (one when it is under about 1.33 line heights), at most maxLines. For
    // vertical centring or bottom alignment rect.top moves down. The number of lines.
    virtual int CalcLines(CDC* dc, LPCTSTR text, int length, RECT& rect, UINT format, int* lineStarts,
                          int* lineLengths, int maxLines);
    // The value as display text by the style's format; without the number-formatting object the value (or
    // the style's value when value is null) unchanged.
    virtual CString& FormatValueText(CString& out, const CGXStyle& style, LPCTSTR value, int valueType,
                                     int reserved1, int reserved2);
    // Whether the text is a number (the number-formatting object's answer; FALSE without it).
    virtual BOOL ParseValueText(LPCTSTR text, double* value, int* format, int* places);
    // `width` one-pixel rings shrinking inwards: top and left edges in topLeft, bottom and right in
    // bottomRight.
    virtual void Draw3dFrame(CDC* dc, int left, int top, int right, int bottom, int width, COLORREF topLeft,
                             COLORREF bottomRight);
    // The rectangle shrinks by what was drawn.
    virtual void DrawButtonFrame(CDC* dc, RECT& rect, BOOL outer, BOOL pressed);
    // The caption centred in the button (measured as "--" when empty, then not drawn), with a focus frame.
    virtual void DrawButtonText(CDC* dc, int left, int top, int right, int bottom, BOOL focus, LPCTSTR text,
                                UINT format);

    // A static cell: background, then the value's picture or text in the control's inner rectangle, then the
    // control's children.
    virtual void DrawStaticCell(CGXControl* control, CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col,
                                const CGXStyle& style, const CGXStyle* standardStyle);

    // The layout flags of a cell's text: its alignment, with word wrap or on a single line.
    static UINT CellTextFormat(const CGXStyle& style);
    // A cell's text: rotated with a rotated font, else with the style's ellipsis kind (user attribute
    // 52792) when it has one, else plainly; clipped to the cell.
    void DrawCellText(CDC* dc, const CString& text, const RECT& rect, UINT format, const CGXStyle& style,
                      const RECT& clip);
    // A value that names a picture of the bitmap pool is drawn as that picture: TRUE when it was.
    static BOOL DrawCellPicture(CDC* dc, const CString& text, const RECT& rect, const CGXStyle& style);

private:
    std::array<std::unique_ptr<CBitmap>, kPatternCount> m_patterns;
};

// The library state's object, made on first use.
CGXDrawingAndFormatting* GetDrawingAndFormatting();
// The library's sunken frame (a pressed outer button frame) round a window that asks for one, drawn into
// its parent's client area two pixels out at the left and top and three at the right and bottom.
void DrawFrameInParent(CWnd* window);

// Bitmap resources and fills.
// A movable global copy of the bitmap resource (a packed DIB) the caller frees; null when it is missing.
HGLOBAL LoadDibResource(HINSTANCE instance, LPCWSTR name);
// Colour-table entries of a DIB: biClrUsed, else 2, 16 or 256 for 1, 4 or 8 bits a pixel, else 0.
int DibColorCount(const BITMAPINFOHEADER& header);
// The rectangle inverted, within the clip rectangle when that is not empty.
void InvertClippedRect(CDC* dc, const RECT& rect, const RECT& clip);
// An opaque fill in the colour; a colour value naming a system colour takes the grid's cached one.
void FillRectColorXY(CDC* dc, int x, int y, int width, int height, COLORREF color);
void FillRectColor(CDC* dc, const RECT& rect, COLORREF color);
// DrawEdge round the rectangle, or only the adjustment of the rectangle.
void DrawEdgeRect(CDC* dc, RECT& rect, UINT edge, BOOL adjustOnly);
