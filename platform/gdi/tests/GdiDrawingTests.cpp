// Text layout, cursors and icons, image lists and regions.
#include "RecordingBackend.h"

#include "platform/gdi/Cursors.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/Regions.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <string>

using namespace gdi_test;

namespace {

class TextDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));  // 15 high, narrow 6, wide 12
    }
    void TearDown() override { DeleteDC(dc); }
    HDC dc = nullptr;
};

TEST_F(TextDrawingTest, SingleLinesAlignInTheRectangle)
{
    struct Case {
        UINT format;
        LONG x, y;
        int returned;
    } cases[] = {
        {DT_SINGLELINE, 10, 20, 15},
        {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 10 + (200 - 48) / 2, 20 + (100 - 15) / 2, (100 - 15) / 2 + 15},
        {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, 210 - 48, 120 - 15, 100},
        {DT_CENTER | DT_VCENTER, 10 + (200 - 48) / 2, 20, 15},  // centring a multi-line text ignores DT_VCENTER
    };
    for (const Case& c : cases) {
        BackendScope backend;
        RECT r{10, 20, 210, 120};
        EXPECT_EQ(DrawTextW(dc, u"导出表格", -1, &r, c.format), c.returned) << c.format;
        ASSERT_EQ(backend->texts.size(), 1u);
        const TextDrawing& t = backend->texts[0];
        ASSERT_EQ(t.lines.size(), 1u);
        EXPECT_EQ(t.lines[0].origin.x, c.x) << c.format;
        EXPECT_EQ(t.lines[0].origin.y, c.y) << c.format;
        EXPECT_EQ(t.format, c.format);
        EXPECT_EQ(t.font.lfHeight, -12);
    }
}

TEST_F(TextDrawingTest, LinesBreakAtLineFeedsAndWordsAndPrefixesDisappear)
{
    BackendScope backend;
    RECT r{0, 0, 60, 0};
    // "aaaa bbbb" is 54 wide: fits; adding " cc" does not.
    DrawTextW(dc, u"aaaa bbbb cc\r\n&Save && go\n", -1, &r, DT_WORDBREAK);
    ASSERT_EQ(backend->texts.size(), 1u);
    std::vector<std::u16string> lines;
    for (const TextLine& line : backend->texts[0].lines)
        lines.push_back(line.text);
    std::vector<std::u16string> expected{u"aaaa bbbb", u"cc", u"Save & go", u""};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(backend->texts[0].lines[1].origin.y, 15);

    // Wide characters break between themselves.
    backend->texts.clear();
    RECT narrow{0, 0, 30, 0};
    DrawTextW(dc, u"正在读取数据", -1, &narrow, DT_WORDBREAK | DT_NOPREFIX);
    ASSERT_EQ(backend->texts[0].lines.size(), 3u);
    EXPECT_EQ(backend->texts[0].lines[0].text, u"正在");
}

TEST_F(TextDrawingTest, CalcRectMeasuresWithoutDrawing)
{
    BackendScope backend;
    RECT r{5, 5, 1000, 5};
    EXPECT_EQ(DrawTextW(dc, u"ab\nabcd", -1, &r, DT_CALCRECT), 30);
    EXPECT_EQ(r.right, 5 + 24);
    EXPECT_EQ(r.bottom, 35);
    RECT single{0, 0, 0, 0};
    EXPECT_EQ(DrawTextW(dc, u"a&&b", 4, &single, DT_CALCRECT | DT_SINGLELINE), 15);
    EXPECT_EQ(single.right, 18);
    EXPECT_TRUE(backend->texts.empty());
    RECT empty{3, 3, 9, 9};
    EXPECT_EQ(DrawTextW(dc, u"", -1, &empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty.right, 3);
    EXPECT_EQ(DrawTextW(dc, u"x", -2, &empty, 0), 0);
}

TEST_F(TextDrawingTest, TextOutCarriesTheContextColours)
{
    BackendScope backend;
    SetTextColor(dc, RGB(200, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    EXPECT_TRUE(TextOutW(dc, 4, 7, u"OK!", 2));
    ASSERT_EQ(backend->texts.size(), 1u);
    EXPECT_EQ(backend->texts[0].lines[0].text, u"OK");
    EXPECT_EQ(backend->texts[0].colour, RGB(200, 0, 0));
    EXPECT_EQ(backend->texts[0].backgroundMode, TRANSPARENT);
    EXPECT_EQ(backend->texts[0].rect.right, 4 + 12);
}

HICON FakeModuleLoader(HINSTANCE, LPCWSTR name, IconKind)
{
    return reinterpret_cast<uintptr_t>(name) == 100 ? CreateIconFromPixels(PixelBitmap(2, 2, 0xFFFFFFFF), IconKind::Icon)
                                                    : nullptr;
}

TEST(GdiCursors, StandardCursorsAreSharedAndModuleResourcesGoToTheLoader)
{
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorW(nullptr, IDC_IBEAM), arrow);
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), arrow);  // same number, other kind
    EXPECT_EQ(GetStandardIconId(arrow), 32512);
    EXPECT_TRUE(IsCursorHandle(arrow));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, u"arrow"), nullptr);

    HINSTANCE module = reinterpret_cast<HINSTANCE>(0x400000);
    EXPECT_EQ(LoadIconW(module, MAKEINTRESOURCEW(100)), nullptr);  // nobody loads resources yet
    SetModuleIconLoader(FakeModuleLoader);
    HICON icon = LoadIconW(module, MAKEINTRESOURCEW(100));
    SetModuleIconLoader(nullptr);
    ASSERT_NE(icon, nullptr);
    PixelBitmap pixels;
    EXPECT_TRUE(GetIconPixels(icon, &pixels));
    EXPECT_EQ(pixels.width, 2);
    EXPECT_FALSE(GetIconPixels(arrow, &pixels));

    HCURSOR before = SetCursor(arrow);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x99)), arrow);  // unknown: ignored
    EXPECT_EQ(GetCursor(), arrow);
    SetCursor(before);
    EXPECT_TRUE(DestroyIcon(arrow));  // shared: stays
    EXPECT_EQ(GetStandardIconId(arrow), 32512);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

// The toolbar strip as the resources provide it: four 32 x 32 pictures on magenta.
HBITMAP ToolbarStrip()
{
    PixelBitmap strip(128, 32, PixelFromColour(RGB(255, 0, 255)));
    for (int k = 0; k < 4; ++k)
        for (int y = 8; y < 24; ++y)
            for (int x = 8; x < 24; ++x)
                strip.At(k * 32 + x, y) = PixelFromColour(RGB(static_cast<BYTE>(k * 60), 0, 0));
    return CreateBitmapFromPixels(strip);
}

TEST(GdiImageLists, AStripIsCutIntoImagesWithTheMaskColourTransparent)
{
    HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 4);
    ASSERT_NE(list, nullptr);
    HBITMAP strip = ToolbarStrip();
    EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 4);
    PixelBitmap image;
    ASSERT_TRUE(ImageList_GetImagePixels(list, 2, &image));
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.At(0, 0), 0u);                                   // magenta became transparent
    EXPECT_EQ(image.At(10, 10), PixelFromColour(RGB(120, 0, 0)));   // the picture stays opaque
    EXPECT_FALSE(ImageList_GetImagePixels(list, 8, &image));
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx * 100 + cy, 3232);

    // A bitmap narrower than one image adds nothing; a lower one leaves rows transparent.
    HBITMAP small = CreateBitmapFromPixels(PixelBitmap(31, 32, 0xFF000000));
    EXPECT_EQ(ImageList_Add(list, small, nullptr), -1);
    HBITMAP low = CreateBitmapFromPixels(PixelBitmap(64, 10, 0xFF00FF00));
    EXPECT_EQ(ImageList_Add(list, low, nullptr), 8);
    ASSERT_TRUE(ImageList_GetImagePixels(list, 9, &image));
    EXPECT_EQ(image.At(0, 9), 0xFF00FF00u);
    EXPECT_EQ(image.At(0, 10), 0u);

    // A mask bitmap: white is transparent.
    PixelBitmap maskPicture(32, 32, 0xFF000000);
    maskPicture.At(1, 1) = 0xFFFFFFFF;
    HBITMAP mask = CreateBitmapFromPixels(maskPicture);
    EXPECT_EQ(ImageList_Add(list, low, mask), 10);
    ASSERT_TRUE(ImageList_GetImagePixels(list, 10, &image));
    EXPECT_EQ(image.At(1, 1), 0u);
    EXPECT_EQ(image.At(2, 1), 0xFF00FF00u);

    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), 11);
    EXPECT_TRUE(ImageList_Remove(list, -1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_AddMasked(list, strip, 0), -1);
    EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
    for (HBITMAP b : {strip, small, low, mask})
        DeleteObject(b);
}

TEST(GdiImageLists, DrawingHandsTheImageToTheBackend)
{
    BackendScope backend;
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HBITMAP picture = CreateBitmapFromPixels(PixelBitmap(16, 16, 0xFF123456));
    ImageList_Add(list, picture, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(ImageList_Draw(list, 0, dc, 3, 4, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(list, 1, dc, 3, 4, ILD_TRANSPARENT));
    ASSERT_EQ(backend->bitmaps.size(), 1u);
    EXPECT_EQ(backend->bitmaps[0].imageList, list);
    EXPECT_EQ(backend->bitmaps[0].to.right, 19);
    DeleteDC(dc);
    DeleteObject(picture);
    ImageList_Destroy(list);
}

TEST(GdiRegions, ShapesAndWindowOwnership)
{
    HRGN round = CreateRoundRectRgn(0, 0, 300, 200, 40, 40);
    EXPECT_FALSE(PtInRegion(round, 0, 0));
    EXPECT_TRUE(PtInRegion(round, 20, 20));
    EXPECT_TRUE(PtInRegion(round, 150, 0));
    EXPECT_FALSE(PtInRegion(round, 300, 100));
    SIZE corner{};
    RECT box{};
    EXPECT_EQ(GetRegionShape(round, &box, &corner), RegionShape::RoundRectangle);
    EXPECT_EQ(corner.cx, 40);
    EXPECT_EQ(box.right, 300);
    HRGN ellipse = CreateEllipticRgn(0, 0, 100, 50);
    EXPECT_TRUE(PtInRegion(ellipse, 50, 25));
    EXPECT_FALSE(PtInRegion(ellipse, 2, 2));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"GdiRegionTestWindow";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    HWND window = CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SetWindowRgn(window, round, FALSE), 1);
    EXPECT_FALSE(DeleteObject(round));  // the window owns it
    HRGN copy = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetWindowRgn(window, copy), SIMPLEREGION);
    EXPECT_EQ(GetRegionShape(copy, nullptr, nullptr), RegionShape::RoundRectangle);
    EXPECT_EQ(SetWindowRgn(window, ellipse, FALSE), 1);
    EXPECT_EQ(GetRegionShape(round, nullptr, nullptr), RegionShape::None);  // replaced and deleted
    EXPECT_EQ(SetWindowRgn(window, nullptr, FALSE), 1);
    EXPECT_EQ(GetWindowRgn(window, copy), ERROR_REGION);
    EXPECT_EQ(SetWindowRgn(reinterpret_cast<HWND>(0x77), copy, FALSE), 0);
    DestroyWindow(window);
    UnregisterClassW(wc.lpszClassName, nullptr);
    DeleteObject(copy);
}

TEST(GdiWindowDcs, AWindowDcDrawsOnItsWindowUntilTheWindowEnds)
{
    BackendScope backend;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"GdiDcTestWindow";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), window);
    RECT clip{};
    EXPECT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
    EXPECT_EQ(clip.right, 200);
    RECT r{0, 0, 5, 5};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ASSERT_EQ(backend->fills.size(), 1u);
    EXPECT_EQ(backend->fills[0].target.window, window);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    DestroyWindow(window);
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    UnregisterClassW(wc.lpszClassName, nullptr);
}

}  // namespace
