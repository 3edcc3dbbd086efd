#include <gtest/gtest.h>

#include <clocale>
#include <cuchar>
#include <random>

#include "platform/files/FileNameCodec.h"

namespace {

// True when bytes are well-formed UTF-8, checked with the system's own converter (independent of ours).
bool IsValidUtf8(const std::string& bytes) {
    std::mbstate_t state{};
    const char* at = bytes.data();
    const char* end = at + bytes.size();
    while (at < end) {
        char32_t value = 0;
        const size_t used = std::mbrtoc32(&value, at, static_cast<size_t>(end - at), &state);
        if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) return false;
        if (value >= 0xD800 && value <= 0xDFFF) return false;
        at += used == 0 ? 1 : used;
    }
    return true;
}

TEST(FileNameCodec, EveryByteRoundTripsAloneAndInContext) {
    for (int value = 1; value <= 0xFF; ++value) {
        const std::string alone(1, static_cast<char>(value));
        const std::u16string decoded = DecodeFileName(alone);
        ASSERT_EQ(decoded.size(), 1u) << value;
        const char16_t expected = value < 0x80 ? static_cast<char16_t>(value) : static_cast<char16_t>(0xDC00 + value);
        EXPECT_EQ(decoded[0], expected) << value;
        EXPECT_EQ(EncodeFileName(decoded), alone) << value;
        const std::string inContext = "a" + alone + "\xE4\xB8\xAD" + alone + "z";
        EXPECT_EQ(EncodeFileName(DecodeFileName(inContext)), inContext) << value;
    }
}

TEST(FileNameCodec, RandomByteStringsRoundTrip) {
    std::mt19937 random(20240821);
    // Mostly high bytes, so that valid and broken multi-byte sequences both occur often.
    std::uniform_int_distribution<int> lowOrHigh(0, 3), low(1, 0x7F), high(0x80, 0xFF), length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int n = length(random); n > 0; --n) bytes.push_back(static_cast<char>(lowOrHigh(random) == 0 ? low(random) : high(random)));
        const std::u16string decoded = DecodeFileName(bytes);
        ASSERT_LE(decoded.size(), bytes.size());  // why a 255-byte name always fits MAX_PATH units
        ASSERT_EQ(EncodeFileName(decoded), bytes) << round;
    }
}

TEST(FileNameCodec, ValidUtf8DecodesAsUsualAndBrokenFormsAreEscaped) {
    EXPECT_EQ(DecodeFileName("PlateImage_\xE8\x8B\x8F" "A.jpg"), u"PlateImage_苏A.jpg");
    EXPECT_EQ(DecodeFileName("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(DecodeFileName("\xC0\xAF"), (std::u16string{0xDCC0, 0xDCAF}));                 // overlong "/"
    EXPECT_EQ(DecodeFileName("\xED\xA0\x80"), (std::u16string{0xDCED, 0xDCA0, 0xDC80}));     // encoded surrogate
    EXPECT_EQ(DecodeFileName("\xF4\x90\x80\x80"), (std::u16string{0xDCF4, 0xDC90, 0xDC80, 0xDC80}));  // > U+10FFFF
    EXPECT_EQ(DecodeFileName("\xE4\xB8"), (std::u16string{0xDCE4, 0xDCB8}));                 // cut short
    EXPECT_EQ(DecodeFileName("\xE4\xB8" "a"), (std::u16string{0xDCE4, 0xDCB8, u'a'}));
}

TEST(FileNameCodec, EncodeRefusesWhatNoNameHolds) {
    EXPECT_FALSE(EncodeFileName(std::u16string{u'a', 0xD800}));          // lone high surrogate
    EXPECT_FALSE(EncodeFileName(std::u16string{0xDC41}));                // escape of an ASCII byte
    EXPECT_FALSE(EncodeFileName(std::u16string{u'a', 0, u'b'}));
    EXPECT_EQ(EncodeFileName(u""), std::string());
    EXPECT_EQ(EncodeFileName(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(FileNameCodec, DisplayTextIsAlwaysValidUtf8) {
    EXPECT_EQ(FileNameToDisplayUtf8(DecodeFileName("bad\xFF.jpg")), "bad\xEF\xBF\xBD.jpg");
    EXPECT_EQ(FileNameToDisplayUtf8(std::u16string{0xD800, u'x', 0xDFFF}), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(FileNameToDisplayUtf8(u"苏A\U0001F600"), "\xE8\x8B\x8F" "A\xF0\x9F\x98\x80");
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_FALSE(IsValidUtf8("\xFF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> unit(0, 0xFFFF), length(0, 30);
    for (int round = 0; round < 5000; ++round) {
        std::u16string units;
        for (int n = length(random); n > 0; --n) units.push_back(static_cast<char16_t>(unit(random) == 0 ? 1 : unit(random)));
        ASSERT_TRUE(IsValidUtf8(FileNameToDisplayUtf8(units))) << round;
    }
}

}  // namespace
