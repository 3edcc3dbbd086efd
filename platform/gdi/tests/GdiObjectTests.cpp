// Fonts, brushes, bitmaps, stock objects, device contexts and their metrics.
#include "RecordingBackend.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FontMetrics.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemColors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace gdi_test;

namespace {

LOGFONTW Described(HGDIOBJ font)
{
    LOGFONTW log{};
    EXPECT_EQ(GetObjectW(font, sizeof(log), &log), static_cast<int>(sizeof(LOGFONTW)));
    return log;
}

TEST(GdiFonts, DefaultGuiFontIsNinePointsOfTheDesktopFace)
{
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(GetObjectType(stock), OBJ_FONT);
    EXPECT_EQ(GetObjectW(stock, 0, nullptr), 92);
    LOGFONTW log = Described(stock);
    EXPECT_EQ(log.lfHeight, -12);
    EXPECT_EQ(log.lfWeight, FW_NORMAL);
    EXPECT_EQ(log.lfFaceName[0], 0);
    // 9 points at the screen's dots per inch give the same height.
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(-(GetDeviceCaps(screen, LOGPIXELSY) * 9 / 72), log.lfHeight);
    ReleaseDC(nullptr, screen);
    // Deleting a stock object succeeds and leaves it usable.
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetObjectType(stock), OBJ_FONT);
}

TEST(GdiFonts, DescriptionRoundTripsAndAnOverlongFaceStaysTerminated)
{
    LOGFONTW wanted{};
    wanted.lfHeight = -21;
    wanted.lfWeight = FW_BOLD;
    wanted.lfItalic = 1;
    wanted.lfEscapement = 2700;
    for (int i = 0; i < LF_FACESIZE; ++i)
        wanted.lfFaceName[i] = u'A' + static_cast<char16_t>(i % 26);
    HFONT font = CreateFontIndirectW(&wanted);
    ASSERT_NE(font, nullptr);
    LOGFONTW got = Described(font);
    EXPECT_EQ(got.lfHeight, -21);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    EXPECT_EQ(got.lfItalic, 1);
    EXPECT_EQ(got.lfEscapement, 2700);
    EXPECT_EQ(std::u16string(got.lfFaceName).size(), 31u);
    // A short buffer receives only what fits.
    LONG height = 0;
    EXPECT_EQ(GetObjectW(font, sizeof(height), &height), 4);
    EXPECT_EQ(height, -21);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST(GdiFonts, ASelectedFontCannotBeDeletedUntilDeselected)
{
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Sans");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    ASSERT_NE(previous, nullptr);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(SelectObject(dc, previous), font);
    EXPECT_TRUE(DeleteObject(font));
    // Deleting the DC releases what it held.
    HFONT other = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"");
    SelectObject(dc, other);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(other));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiMetrics, HeightsAndWidthsFollowTheHeadlessModel)
{
    struct Case {
        LONG lfHeight;
        LONG tmHeight;
        LONG em;
    } cases[] = {{-12, 15, 12}, {-21, 26, 21}, {20, 20, 16}, {0, 15, 12}, {-1, 1, 1}};
    for (const Case& c : cases) {
        LOGFONTW f{};
        f.lfHeight = c.lfHeight;
        TEXTMETRICW tm = HeadlessTextMetrics(f);
        EXPECT_EQ(tm.tmHeight, c.tmHeight) << c.lfHeight;
        EXPECT_EQ(FontEmHeight(f), c.em) << c.lfHeight;
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    }
    LOGFONTW f{};
    f.lfHeight = -12;
    EXPECT_EQ(HeadlessTextWidth(f, u"abc"), 18);
    EXPECT_EQ(HeadlessTextWidth(f, u"导入数据"), 48);
    EXPECT_EQ(HeadlessTextWidth(f, u"a\U0001F600\r\n"), 6 + 12);  // one wide pair, breaks are 0 wide
    f.lfHeight = INT32_MIN;  // absurd heights are kept finite
    EXPECT_GT(HeadlessTextMetrics(f).tmHeight, 0);

    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 15);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"表格比对!", 5, &size));
    EXPECT_EQ(size.cx, 4 * 12 + 6);
    EXPECT_EQ(size.cy, 15);
    EXPECT_FALSE(GetTextExtentPoint32W(dc, u"x", -1, &size));
    DeleteDC(dc);
    EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(0x1234), &tm));
}

TEST(GdiBrushes, FillUsesBrushSystemColourAndDcBrush)
{
    BackendScope backend;
    HDC dc = CreateCompatibleDC(nullptr);
    RECT r{1, 2, 11, 12};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    EXPECT_EQ(FillRect(dc, &r, red), 1);
    EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1))), 1);
    SetDCBrushColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH))), 1);
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 1);  // draws nothing
    EXPECT_EQ(FillRect(dc, &r, nullptr), 0);
    EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(0x5555)), 0);
    ASSERT_EQ(backend->fills.size(), 3u);
    EXPECT_EQ(backend->fills[0].colour, RGB(255, 0, 0));
    EXPECT_EQ(backend->fills[1].colour, RGB(240, 240, 240));
    EXPECT_EQ(backend->fills[2].colour, RGB(1, 2, 3));
    EXPECT_EQ(backend->fills[0].target.window, nullptr);
    EXPECT_NE(backend->fills[0].target.bitmap, nullptr);

    LOGBRUSH log{};
    EXPECT_EQ(GetObjectW(red, sizeof(log), &log), static_cast<int>(sizeof(log)));
    EXPECT_EQ(log.lbColor, RGB(255, 0, 0));
    EXPECT_TRUE(DeleteObject(red));
    DeleteDC(dc);
}

TEST(GdiBrushes, SystemColourBrushesFollowSetSysColors)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    int index = COLOR_BTNFACE;
    COLORREF colour = RGB(10, 20, 30);
    ASSERT_TRUE(SetSysColors(1, &index, &colour));
    LOGBRUSH log{};
    GetObjectW(face, sizeof(log), &log);
    EXPECT_EQ(log.lbColor, colour);
    EXPECT_TRUE(DeleteObject(face));  // shared: stays
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
    colour = RGB(240, 240, 240);
    SetSysColors(1, &index, &colour);
    EXPECT_EQ(GetSysColor(999), 0u);
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
}

TEST(GdiBitmaps, PixelsRoundTripAndABitmapGoesIntoOneMemoryDc)
{
    PixelBitmap picture(3, 2, 0xFF102030);
    picture.At(2, 1) = 0x80FFFFFF;
    HBITMAP bitmap = CreateBitmapFromPixels(picture);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(info.bmBitsPixel, 32);
    PixelBitmap back;
    ASSERT_TRUE(GetBitmapPixels(bitmap, &back));
    EXPECT_EQ(back, picture);

    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    RECT clip{};
    EXPECT_EQ(GetClipBox(first, &clip), SIMPLEREGION);
    EXPECT_EQ(clip.right, 3);
    EXPECT_EQ(clip.bottom, 2);
    EXPECT_FALSE(DeleteObject(bitmap));
    SelectObject(first, original);
    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(first);
    DeleteDC(second);

    PixelBitmap broken(2, 2);
    broken.pixels.pop_back();
    EXPECT_EQ(CreateBitmapFromPixels(broken), nullptr);
    EXPECT_EQ(CreateBitmap32(0, 5), nullptr);
    EXPECT_EQ(CreateBitmap32(20000, 5), nullptr);
}

TEST(GdiDeviceContexts, StateIsKeptPerContextAndUnknownContextsFail)
{
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 7), 0);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(SetBkColor(dc, RGB(9, 9, 9)), RGB(255, 255, 255));
    POINT old{};
    EXPECT_TRUE(MoveToEx(dc, 5, 6, &old));
    EXPECT_TRUE(MoveToEx(dc, 0, 0, &old));
    EXPECT_EQ(old.x, 5);
    DeleteDC(dc);

    HDC unknown = reinterpret_cast<HDC>(0x4242);
    EXPECT_EQ(GetTextColor(unknown), CLR_INVALID);
    EXPECT_EQ(SelectObject(unknown, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(GetDeviceCaps(unknown, LOGPIXELSY), 0);
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(FillRect(unknown, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(DrawTextW(unknown, u"x", -1, &r, 0), 0);
}

TEST(GdiDeviceContexts, LinesUseTheSelectedPen)
{
    BackendScope backend;
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN blue = CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    SelectObject(dc, blue);
    MoveToEx(dc, 1, 1, nullptr);
    EXPECT_TRUE(LineTo(dc, 10, 1));
    SelectObject(dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(LineTo(dc, 10, 10));  // moves without drawing
    ASSERT_EQ(backend->lines.size(), 1u);
    EXPECT_EQ(backend->lines[0].colour, RGB(0, 0, 255));
    EXPECT_EQ(backend->lines[0].from.x, 1);
    EXPECT_EQ(backend->lines[0].to.x, 10);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(blue));
}

}  // namespace
