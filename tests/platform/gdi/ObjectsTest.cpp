// Drawing objects: stock objects, selection, deletion, records, stale handles, palettes.
#include "tests/platform/gdi/GdiTestSupport.h"

#include "platform/gdi/GdiInternal.h"

#include <cstring>

using namespace gditest;

TEST(GdiObjects, StockObjectsHaveTheirKindsAndSurviveDeletion) {
    struct Case {
        int index;
        DWORD type;
    };
    const Case cases[] = {
        {WHITE_BRUSH, OBJ_BRUSH},    {LTGRAY_BRUSH, OBJ_BRUSH},    {GRAY_BRUSH, OBJ_BRUSH},
        {DKGRAY_BRUSH, OBJ_BRUSH},   {BLACK_BRUSH, OBJ_BRUSH},     {NULL_BRUSH, OBJ_BRUSH},
        {WHITE_PEN, OBJ_PEN},        {BLACK_PEN, OBJ_PEN},         {NULL_PEN, OBJ_PEN},
        {SYSTEM_FONT, OBJ_FONT},     {DEFAULT_GUI_FONT, OBJ_FONT}, {ANSI_VAR_FONT, OBJ_FONT},
        {ANSI_FIXED_FONT, OBJ_FONT}, {OEM_FIXED_FONT, OBJ_FONT},   {SYSTEM_FIXED_FONT, OBJ_FONT},
        {DEFAULT_PALETTE, OBJ_PAL},  {DC_BRUSH, OBJ_BRUSH},        {DC_PEN, OBJ_PEN}};
    for (const Case& k : cases) {
        HGDIOBJ h = GetStockObject(k.index);
        ASSERT_NE(h, nullptr) << k.index;
        EXPECT_EQ(GetObjectType(h), k.type) << k.index;
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(GetStockObject(k.index), h);
        EXPECT_EQ(GetObjectType(h), k.type);
    }
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
    LOGBRUSH lb{};
    GetObjectW(GetStockObject(LTGRAY_BRUSH), sizeof(lb), &lb);
    EXPECT_EQ(lb.lbColor, RGB(192, 192, 192));
    GetObjectW(GetStockObject(HOLLOW_BRUSH), sizeof(lb), &lb);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_NULL));
    LOGPEN lp{};
    GetObjectW(GetStockObject(NULL_PEN), sizeof(lp), &lp);
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_NULL));
}

TEST(GdiObjects, SelectObjectAnswersThePreviousObject) {
    Canvas c(4, 4);
    HPEN pen = CreatePen(PS_DASH, 1, kRed);
    HBRUSH brush = CreateSolidBrush(kBlue);
    HGDIOBJ oldPen = SelectObject(c.dc(), pen);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(c.dc(), oldPen), pen);
    HGDIOBJ oldBrush = SelectObject(c.dc(), brush);
    EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
    SelectObject(c.dc(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(GdiObjects, DeletingAnObjectInUse) {
    Canvas c(4, 4);
    // A selected brush: DeleteObject answers TRUE, the brush lives on until it is deselected.
    HBRUSH brush = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc(), brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    PatBlt(c.dc(), 0, 0, 1, 1, PATCOPY);
    EXPECT_EQ(c.At(0, 0), kRed);
    SelectObject(c.dc(), old);
    EXPECT_EQ(GetObjectType(brush), 0u);
    // A selected bitmap is not deleted at all.
    HBITMAP bmp = CreateBitmap(2, 2, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    EXPECT_FALSE(DeleteObject(bmp));
    // ... nor selected into a second DC at the same time.
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, bmp), nullptr);
    SelectObject(mem, oldBmp);
    EXPECT_NE(SelectObject(other, bmp), nullptr);
    DeleteDC(other);
    DeleteDC(mem);
    EXPECT_TRUE(DeleteObject(bmp));
}

TEST(GdiObjects, StaleHandlesAreRefusedAndNeverReused) {
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    ASSERT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_FALSE(DeleteObject(pen));
    LOGPEN lp{};
    EXPECT_EQ(GetObjectW(pen, sizeof(lp), &lp), 0);
    // The slot comes back with a new handle; the old one stays dead.
    HPEN next = CreatePen(PS_SOLID, 1, kBlue);
    EXPECT_NE(next, pen);
    EXPECT_EQ(GetObjectType(pen), 0u);
    Canvas c(2, 2);
    EXPECT_EQ(SelectObject(c.dc(), pen), nullptr);
    // A handle of another kind is not taken for a pen.
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    HRGN notAPen = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetObjectType(notAPen), static_cast<DWORD>(OBJ_REGION));
    EXPECT_EQ(GetObjectW(notAPen, 0, nullptr), 0);
    DeleteObject(notAPen);
    DeleteObject(next);
}

TEST(GdiObjects, PenRecords) {
    LOGPEN in{PS_DASHDOT, POINT{3, 0}, kGreen};
    HPEN pen = CreatePenIndirect(&in);
    LOGPEN out{};
    EXPECT_EQ(GetObjectW(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));
    ASSERT_EQ(GetObjectW(pen, sizeof(out), &out), static_cast<int>(sizeof(out)));
    EXPECT_EQ(out.lopnStyle, static_cast<UINT>(PS_DASHDOT));
    EXPECT_EQ(out.lopnWidth.x, 3);
    EXPECT_EQ(out.lopnColor, kGreen);
    DeleteObject(pen);
    EXPECT_EQ(CreatePen(9, 1, kRed), nullptr);

    LOGBRUSH lb{BS_SOLID, kRed, 0};
    DWORD dashes[] = {4, 2, 1, 2};
    HPEN ext =
        ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, 6, &lb, 4, dashes);
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(GetObjectType(ext), static_cast<DWORD>(OBJ_EXTPEN));
    int size = GetObjectW(ext, 0, nullptr);
    std::vector<char> buf(static_cast<size_t>(size));
    ASSERT_EQ(GetObjectW(ext, size, buf.data()), size);
    auto* elp = reinterpret_cast<EXTLOGPEN*>(buf.data());
    EXPECT_EQ(elp->elpWidth, 6u);
    EXPECT_EQ(elp->elpNumEntries, 4u);
    EXPECT_EQ(elp->elpStyleEntry[2], 1u);
    EXPECT_EQ(elp->elpPenStyle & PS_ENDCAP_MASK, static_cast<DWORD>(PS_ENDCAP_SQUARE));
    DeleteObject(ext);
    // A cosmetic pen is one pixel wide and solid-coloured.
    EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 3, &lb, 0, nullptr), nullptr);
    EXPECT_NE(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr), nullptr);
}

TEST(GdiObjects, AlternatePenLightsEveryOtherPixel) {
    Canvas c(10, 1);
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    SelectObject(c.dc(), pen);
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 10, 0);
    EXPECT_EQ(c.Picture(RECT{0, 0, 10, 1}), "#.#.#.#.#.\n");
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiObjects, DcBrushAndPenTakeTheDcColours) {
    Canvas c(4, 4);
    SelectObject(c.dc(), GetStockObject(DC_BRUSH));
    SetDCBrushColor(c.dc(), kGreen);
    PatBlt(c.dc(), 0, 0, 2, 2, PATCOPY);
    EXPECT_EQ(c.At(0, 0), kGreen);
    EXPECT_EQ(GetDCBrushColor(c.dc()), kGreen);
    SelectObject(c.dc(), GetStockObject(DC_PEN));
    SetDCPenColor(c.dc(), kRed);
    MoveToEx(c.dc(), 0, 3, nullptr);
    LineTo(c.dc(), 4, 3);
    EXPECT_EQ(c.At(2, 3), kRed);
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
}

TEST(GdiObjects, MarkedStockObjectsIgnoreDeletion) {
    HBRUSH b = CreateSolidBrush(kRed);
    GdiMarkStock(b);
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(GdiPalettes, BookkeepingOfEntries) {
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY e[3];
    } lp{0x300, 3, {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}}};
    HPALETTE pal = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
    ASSERT_NE(pal, nullptr);
    WORD n = 0;
    GetObjectW(pal, sizeof(n), &n);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(10, 200, 10)), 1u);
    PALETTEENTRY e[3]{};
    EXPECT_EQ(GetPaletteEntries(pal, 1, 5, e), 2u);
    EXPECT_EQ(e[0].peGreen, 255);
    PALETTEENTRY grey{128, 128, 128, 0};
    EXPECT_EQ(SetPaletteEntries(pal, 2, 1, &grey), 1u);
    EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(120, 120, 130)), 2u);
    Canvas c(2, 1);
    HPALETTE old = SelectPalette(c.dc(), pal, FALSE);
    EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(c.dc()), 0u);
    // PALETTEINDEX colours resolve through the selected palette.
    SetPixel(c.dc(), 0, 0, PALETTEINDEX(1));
    EXPECT_EQ(c.At(0, 0), kGreen);
    SetPixel(c.dc(), 1, 0, PALETTERGB(1, 2, 3));
    EXPECT_EQ(c.At(1, 0), RGB(1, 2, 3));
    SelectPalette(c.dc(), old, FALSE);
    EXPECT_TRUE(ResizePalette(pal, 5));
    EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 5u);
    DeleteObject(pal);
}
