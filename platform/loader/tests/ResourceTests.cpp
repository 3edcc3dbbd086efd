// Embedded resources and picture decoding, through the runtime instance and the drawing layer.
// The pictures come from make-test-pictures.py.
#include "platform/gdi/Cursors.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/loader/ImageDecoder.h"
#include "platform/loader/ImageLoading.h"
#include "platform/loader/InstanceServices.h"
#include "platform/loader/Modules.h"
#include "platform/loader/Resources.h"
#include "runtime/CQrnAppInstance.h"
#include "runtime/CWString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint32_t kOpaqueMagenta = 0xFFFF00FF;
constexpr uint32_t kOrange = 0xFFFF8000;

std::u16string Picture(const char* name)
{
    std::string path = std::string(TABRIX_TEST_PICTURES) + "/" + name;
    return std::u16string(path.begin(), path.end());
}

PixelBitmap PixelsOf(HBITMAP bitmap)
{
    PixelBitmap out;
    EXPECT_TRUE(GetBitmapPixels(bitmap, &out));
    return out;
}

PixelBitmap PixelsOf(HICON icon)
{
    PixelBitmap out;
    EXPECT_TRUE(GetIconPixels(icon, &out));
    return out;
}

TEST(EmbeddedResources, AreRegisteredBeforeMainByType)
{
    EXPECT_EQ(FindEmbeddedResource(kResourceTypeRcdata, 501).size(), 162u);
    EXPECT_TRUE(FindEmbeddedResource(kResourceTypeIcon, 501).empty());
    EXPECT_TRUE(FindEmbeddedResource(kResourceTypeRcdata, 502).empty());
    // Registering them installed the platform behind the runtime instance.
    EXPECT_EQ(CQrnAppInstance::Get().GetModule(), ProgramModule());
}

TEST(EmbeddedResources, StringsAndTextsThroughTheInstance)
{
    CQrnAppInstance& instance = CQrnAppInstance::Get();
    CWString text;
    EXPECT_EQ(instance.LoadStringResource(7, text).View(), u"车辆信息");
    EXPECT_TRUE(instance.LoadTextResource(8, text));
    EXPECT_EQ(text.View(), u"说明");
    CQrnMem bytes;
    EXPECT_TRUE(instance.LoadRcdata(501, bytes));
    EXPECT_EQ(bytes.GetLength(), 162);
    EXPECT_EQ(bytes.GetData()[0], 'B');
}

TEST(ToolbarStrip, BecomesAnImageListOfSquaresWithMagentaTransparent)
{
    HIMAGELIST list = LoadImageListResource(501);
    ASSERT_NE(list, nullptr);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 4);  // the height 3 rounded up to an even width
    EXPECT_EQ(cy, 3);
    ASSERT_EQ(ImageList_GetImageCount(list), 3);
    const uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < 3; ++i) {
        PixelBitmap image;
        ASSERT_TRUE(ImageList_GetImagePixels(list, i, &image));
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(image.At(0, y), 0u) << i;  // magenta: transparent
            EXPECT_EQ(image.At(1, y), colours[i]) << i;
            EXPECT_EQ(image.At(3, y), colours[i]) << i;
        }
    }
    ImageList_Destroy(list);

    HBITMAP bitmap = LoadBitmapResource(501);
    ASSERT_NE(bitmap, nullptr);
    PixelBitmap strip = PixelsOf(bitmap);
    EXPECT_EQ(strip.width, 12);
    EXPECT_EQ(strip.At(0, 0), kOpaqueMagenta);  // the bitmap itself keeps its magenta
    DeleteObject(bitmap);
    EXPECT_EQ(LoadImageListResource(777), nullptr);
}

TEST(ModuleIcons, LoadIconFindsTheProgramsIconsOnceEach)
{
    HICON icon = LoadIconW(ProgramModule(), MAKEINTRESOURCEW(500));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(ProgramModule(), MAKEINTRESOURCEW(500)), icon);  // shared
    EXPECT_EQ(LoadIconResource(500), icon);
    PixelBitmap pixels = PixelsOf(icon);
    ASSERT_EQ(pixels.width, 4);
    EXPECT_EQ(pixels.At(0, 0), kOrange);
    EXPECT_EQ(pixels.At(1, 0), 0x80FF8000u);  // alpha kept

    // The icon file's larger picture, with its mask.
    HICON fallback = LoadIconW(ProgramModule(), MAKEINTRESOURCEW(100));
    ASSERT_NE(fallback, nullptr);
    PixelBitmap two = PixelsOf(fallback);
    ASSERT_EQ(two.width, 4);
    EXPECT_EQ(two.At(0, 0), 0xFF0080FFu);
    EXPECT_EQ(two.At(3, 3), 0u);

    EXPECT_EQ(LoadIconW(ProgramModule(), MAKEINTRESOURCEW(600)), nullptr);
    EXPECT_EQ(LoadIconW(LoadLibraryW(u"Kernel32.dll"), MAKEINTRESOURCEW(500)), nullptr);
    HCURSOR cursor = LoadCursorW(ProgramModule(), MAKEINTRESOURCEW(10));
    ASSERT_NE(cursor, nullptr);
    EXPECT_TRUE(IsCursorHandle(cursor));
    EXPECT_EQ(LoadCursorResource(10), cursor);
}

TEST(PictureFiles, DecodeByKindAndRefuseWhatIsNoPicture)
{
    CQrnAppInstance& instance = CQrnAppInstance::Get();
    auto bitmap = static_cast<HBITMAP>(instance.LoadImageFile(QrnImageKind::Bitmap, CWString(Picture("strip.bmp"))));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelsOf(bitmap).height, 3);
    DeleteObject(bitmap);
    auto list = static_cast<HIMAGELIST>(instance.LoadImageFile(QrnImageKind::ImageList, CWString(Picture("strip.bmp"))));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    ImageList_Destroy(list);
    auto icon = static_cast<HICON>(instance.LoadImageFile(QrnImageKind::Icon, CWString(Picture("two-sizes.ico"))));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(IsCursorHandle(icon));
    DestroyIcon(icon);
    std::optional<DecodedPicture> cursor = DecodePictureFile(Picture("pointer.cur"));
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->hotspotX, 2);
    EXPECT_EQ(cursor->hotspotY, 1);

    EXPECT_EQ(instance.LoadImageFile(QrnImageKind::Bitmap, CWString()), nullptr);
    EXPECT_EQ(instance.LoadImageFile(QrnImageKind::Bitmap, CWString(Picture("greeting.txt"))), nullptr);
    EXPECT_EQ(instance.LoadImageFile(QrnImageKind::Bitmap, CWString(Picture("missing.png"))), nullptr);
    EXPECT_EQ(instance.LoadImageFile(QrnImageKind::Bitmap, CWString(TABRIX_TEST_PICTURES)), nullptr);  // a folder
}

TEST(PictureBytes, DecodeFromMemoryAndSurviveDamage)
{
    std::span<const uint8_t> png = FindEmbeddedResource(kResourceTypeIcon, 500);
    ASSERT_FALSE(png.empty());
    CQrnAppInstance& instance = CQrnAppInstance::Get();
    auto bitmap = static_cast<HBITMAP>(instance.BitmapFromBytes(png.data(), static_cast<int64_t>(png.size())));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelsOf(bitmap).At(0, 0), kOrange);
    DeleteObject(bitmap);

    for (size_t cut : {size_t{0}, size_t{8}, size_t{30}, png.size() - 12})
        EXPECT_EQ(instance.BitmapFromBytes(png.data(), static_cast<int64_t>(cut)), nullptr) << cut;

    // A header claiming 100000 x 100000 pixels is refused before any pixel memory is taken.
    std::vector<uint8_t> forged(png.begin(), png.end());
    forged[16] = 0x00, forged[17] = 0x01, forged[18] = 0x86, forged[19] = 0xA0;
    forged[20] = 0x00, forged[21] = 0x01, forged[22] = 0x86, forged[23] = 0xA0;
    EXPECT_FALSE(DecodePicture(forged).has_value());

    // An icon directory pointing past its end.
    std::span<const uint8_t> ico = FindEmbeddedResource(kResourceTypeIcon, 100);
    std::vector<uint8_t> broken(ico.begin(), ico.end());
    broken[6 + 16 + 12] = 0xFF;  // second entry's offset
    broken[6 + 16 + 13] = 0xFF;
    EXPECT_FALSE(DecodePicture(broken).has_value());
    EXPECT_FALSE(DecodePicture(std::span<const uint8_t>(ico.data(), 30)).has_value());
}

}  // namespace
