// Key translation and the font description text.
#include "UiTestSupport.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/PresenterHook.h"
#include "ui/FontDescription.h"
#include "ui/KeyTranslation.h"
#include "ui/UiConstants.h"

namespace {

class KeyTranslationTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (UINT key : {VK_SHIFT, VK_CONTROL, VK_MENU})
            SetKeyDown(key, false);
    }
};

TEST_F(KeyTranslationTest, NumericPadKeysBecomeMainKeyboardKeysAndUnnamedCodesGiveZero)
{
    const struct {
        WPARAM wParam;
        int32_t key;
    } cases[] = {
        {0x67, 0x37}, {0x60, 0x30}, {0x69, 0x39}, {0x6D, 0xBD}, {0x6E, 0xBE}, {0x6F, 0xBF},
        {0x6C, 0}, {0x3A, 0}, {0x07, 0}, {0xFF, 0}, {0x41, 0x41}, {0x5F, 0x5F}, {0x5E, 0},
        {0x1B, 0x1B}, {0x70, 0x70}, {0x87, 0x87}, {0x88, 0}, {0x141, 0x41},  // only the low 8 bits count
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslateKey(c.wParam), c.key) << "wParam " << c.wParam;
}

TEST_F(KeyTranslationTest, ModifiersComeFromTheKeyboardStateButNotForTheModifierKeyItself)
{
    SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(TranslateKey('A'), 0x2041);
    EXPECT_EQ(TranslateKey(VK_CONTROL), static_cast<int32_t>(VK_CONTROL));
    SetKeyDown(VK_SHIFT, true);
    EXPECT_EQ(TranslateKey(VK_TAB), 0xA009);
    EXPECT_EQ(TranslateKey(VK_SHIFT), 0x2010);
    SetKeyDown(VK_MENU, true);
    EXPECT_EQ(TranslateKey(VK_MENU), 0xA012);
    EXPECT_EQ(TranslateKey(0x6C), 0) << "an unnamed key carries no modifiers either";
    EXPECT_EQ(MouseModifiers(MK_CONTROL | MK_SHIFT), kModCtrl | kModShift | kModAlt);
    SetKeyDown(VK_MENU, false);
    EXPECT_EQ(MouseModifiers(MK_LBUTTON), 0);
}

std::u16string Face(const LOGFONTW& font) { return std::u16string(font.lfFaceName); }

TEST(FontDescriptionTest, TheApplicationsDescriptionGivesADefaultFaceBoldSixteenPoints)
{
    ASSERT_EQ(ScreenPixelsPerInchY(), 96);
    LOGFONTW f = ParseFontDescription(u", 16, 1, 0, 0, 0, 0");
    EXPECT_EQ(Face(f), Face(DefaultGuiLogFont()));
    EXPECT_EQ(f.lfHeight, -21);  // trunc(96 * 16 / 72 + 0.5)
    EXPECT_EQ(f.lfWeight, 700);
    EXPECT_EQ(f.lfItalic, 0);
    EXPECT_EQ(f.lfUnderline, 0);
    EXPECT_EQ(f.lfStrikeOut, 0);
    EXPECT_EQ(f.lfEscapement, 0);
    EXPECT_EQ(f.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(f.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(f.lfOutPrecision, 0);
    EXPECT_EQ(f.lfPitchAndFamily, 0);
}

TEST(FontDescriptionTest, FieldsAreTrimmedAndOnlyExactlyOneSwitchesAStyleOn)
{
    const struct {
        const char16_t* text;
        LONG weight, height, angle;
        BYTE italic, underline, strikeOut;
    } cases[] = {
        {u"宋体, 9, 1", 700, -12, 0, 0, 0, 0},
        {u"宋体,9, 1 ", 700, -12, 0, 0, 0, 0},
        {u"宋体,9,2", 400, -12, 0, 0, 0, 0},
        {u",12,0,1,1,1,-900", 400, -16, 2700, 1, 1, 1},
        {u",-12,0,0,0,0,3700", 400, -16, 100, 0, 0, 0},
        {u",abc,0,01,x,1 1,-3600", 400, DefaultGuiLogFont().lfHeight, 0, 0, 0, 0},
        {u",0", DefaultGuiLogFont().lfWeight, DefaultGuiLogFont().lfHeight, 0, 0, 0, 0},
        {u"\u3000Arial\u3000,10", DefaultGuiLogFont().lfWeight, -13, 0, 0, 0, 0},
        {u"", DefaultGuiLogFont().lfWeight, DefaultGuiLogFont().lfHeight, 0, 0, 0, 0},
        {u",8,1,1,1,1,450,9,9", 700, -11, 450, 1, 1, 1},
    };
    for (const auto& c : cases) {
        LOGFONTW f = ParseFontDescription(c.text);
        const std::string label = ui_test::Utf8(c.text);
        EXPECT_EQ(f.lfWeight, c.weight) << label;
        EXPECT_EQ(f.lfHeight, c.height) << label;
        EXPECT_EQ(f.lfEscapement, c.angle) << label;
        EXPECT_EQ(f.lfOrientation, c.angle) << label;
        EXPECT_EQ(f.lfItalic, c.italic) << label;
        EXPECT_EQ(f.lfUnderline, c.underline) << label;
        EXPECT_EQ(f.lfStrikeOut, c.strikeOut) << label;
    }
    EXPECT_EQ(Face(ParseFontDescription(u"\u3000Arial\u3000,10")), u"Arial");
    EXPECT_EQ(Face(ParseFontDescription(u"宋体")), u"宋体");
}

TEST(FontDescriptionTest, LongFacesAreCutToThirtyOneUnitsAndHugeSizesStayNegative)
{
    const std::u16string face(40, u'F');
    LOGFONTW f = ParseFontDescription((face + u",10").c_str());
    EXPECT_EQ(Face(f), std::u16string(31, u'F'));
    // A character of two units that would end at the 32nd unit goes whole; one that fits stays.
    const std::u16string pair = u"\U0001F600";
    EXPECT_EQ(Face(ParseFontDescription((std::u16string(30, u'F') + pair + u",10").c_str())), std::u16string(30, u'F'));
    EXPECT_EQ(Face(ParseFontDescription((std::u16string(29, u'F') + pair + u"G,10").c_str())),
              std::u16string(29, u'F') + pair);
    LOGFONTW huge = ParseFontDescription(u",99999999999999999999");
    EXPECT_LT(huge.lfHeight, 0);
}

TEST(FontDescriptionTest, TheControlFontIsTheGuiFontAtNinePoints)
{
    LOGFONTW f = DefaultControlLogFont();
    EXPECT_EQ(f.lfHeight, -12);
    EXPECT_EQ(Face(f), Face(DefaultGuiLogFont()));
}

}  // namespace
