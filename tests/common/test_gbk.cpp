// GBK byte counting and conversion, which MARC lengths and key widths depend on.
#include <gtest/gtest.h>

#include "db/Gbk.h"

TEST(Gbk, ChineseCountsTwoBytesAndAsciiOne) {
    EXPECT_EQ(gbkLength("期刊ab"), 6u);
    EXPECT_EQ(utf8ToGbk("中"), "\xD6\xD0");
    EXPECT_EQ(gbkToUtf8("\xD6\xD0\xCE\xC4"), "中文");
}

TEST(Gbk, CharactersGbkLacksBecomeOneQuestionMark) {
    EXPECT_FALSE(fitsGbk("𠀀"));
    EXPECT_EQ(utf8ToGbk("a𠀀b"), "a?b");
    EXPECT_EQ(gbkLength("a𠀀b"), 3u);
    EXPECT_TRUE(fitsGbk("《期刊》（第1期）"));
}

TEST(Gbk, RoundTripOfEveryDoubleByteCharacter) {
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            std::string g{static_cast<char>(lead), static_cast<char>(trail)};
            std::string u = gbkToUtf8(g);
            if (u == "\xEF\xBF\xBD") continue;  // unassigned
            ASSERT_EQ(utf8ToGbk(u), g) << std::hex << lead << trail;
            ++checked;
        }
    }
    EXPECT_GT(checked, 21000);
}

TEST(Gbk, MalformedUtf8DecodesAsReplacementNotACrash) {
    EXPECT_FALSE(isValidUtf8("\xE4\xB8"));
    EXPECT_TRUE(isValidUtf8("期刊"));
    EXPECT_EQ(utf8ToUtf16("\xFF"), u"\uFFFD");
    EXPECT_EQ(utf16ToUtf8(u"\xD800"), "\xEF\xBF\xBD");
}

TEST(Utf8Left, CountsCharactersNotBytes) {
    EXPECT_EQ(utf8Left("期刊abc", 3), "期刊a");
    EXPECT_EQ(utf8Left("𠀀𝄞x", 2), "𠀀𝄞");
    EXPECT_EQ(utf8Left("ab", 5), "ab");
    EXPECT_EQ(utf8Left("ab", 0), "");
}
