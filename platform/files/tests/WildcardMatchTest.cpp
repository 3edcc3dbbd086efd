#include <gtest/gtest.h>

#include "platform/files/WildcardMatch.h"

namespace {

struct WildcardCase {
    std::u16string_view pattern;
    std::u16string_view name;
    bool matches;
};

TEST(WildcardMatch, Table) {
    const WildcardCase cases[] = {
        {u"*.jpg", u"A.JPG", true},
        {u"*.jpg", u"a.jpg", true},
        {u"*.jpg", u"a.jpeg", false},
        {u"*.jpg", u"a.jpg.txt", false},
        {u"*.jpg", u".jpg", true},
        {u"*.jpg", u"jpg", false},
        {u"PlateImage_*.jpg", u"plateimage_苏A12345_蓝_20240821101010.JPG", true},
        {u"PlateImage_*.jpg", u"PlateImage.jpg", false},
        {u"PlateImage_*.jpg", u"PlateImage_.jpg", true},
        {u"*", u"", true},
        {u"*", u"anything at all", true},
        {u"*.*", u"no-dot", true},
        {u"*.*", u".", true},
        {u"?", u"a", true},
        {u"?", u"", false},
        {u"?", u"ab", false},
        {u"?", u"中", true},
        {u"?", u"\U0001F600", false},  // two units
        {u"??", u"\U0001F600", true},
        {u"a?c", u"abc", true},
        {u"a?c", u"ac", false},
        {u"a*b*c", u"aXbYbZc", true},
        {u"a*b*c", u"aXbYbZ", false},
        {u"**a", u"bbba", true},
        {u"*a*", u"xyz", false},
        {u"abc", u"ABC", true},
        {u"abc", u"abcd", false},
        {u"ÄÖ", u"äö", false},  // only ASCII letters fold
        {u"[a]", u"[A]", true},
        {u"@", u"`", false},    // neighbours of the letter ranges do not fold
        {u"[", u"{", false},
        {u"", u"", true},
        {u"", u"a", false},
    };
    for (const WildcardCase& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches)
            << std::string(c.pattern.begin(), c.pattern.end()) << " / " << std::string(c.name.begin(), c.name.end());
    }
}

TEST(WildcardMatch, ExactCaseWhenAsked) {
    EXPECT_FALSE(MatchesWildcard(u"*.jpg", u"A.JPG", LetterCase::Exact));
    EXPECT_TRUE(MatchesWildcard(u"*.JPG", u"A.JPG", LetterCase::Exact));
}

TEST(WildcardMatch, ManyStarsOnALongNameStayFast) {
    const std::u16string name(4000, u'a');
    const std::u16string pattern = u"*a*a*a*a*a*a*a*a*a*a*b";
    for (int round = 0; round < 50; ++round) EXPECT_FALSE(MatchesWildcard(pattern, name));
}

}  // namespace
