#include "support/ZRTStrings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ZRTPrimitiveSys::ZRTStrings;

ZRTStrings NoStorage() {
  ZRTStrings text("x");
  text.ReleaseStorage();
  return text;
}

TEST(ZRTStringsTest, TextOccupiesLengthPlusTerminator) {
  const ZRTStrings empty;
  EXPECT_EQ(empty.Count(), 1);
  EXPECT_EQ(empty.Length(), 0);
  EXPECT_STREQ(empty.CStr(), "");
  const ZRTStrings text("abc");
  EXPECT_EQ(text.Count(), 4);
  EXPECT_EQ(text.Length(), 3);
  EXPECT_EQ(text.Data()[3], '\0');
  ZRTStrings changed("a longer text");
  changed = "ab";
  EXPECT_EQ(changed.Count(), 3);
  EXPECT_STREQ(changed.CStr(), "ab");
  changed.Clear();
  EXPECT_EQ(changed, "");
  EXPECT_TRUE(changed.HasStorage());
}

TEST(ZRTStringsTest, CopiesAssignmentsAndNoStorageState) {
  ZRTStrings a("texto");
  ZRTStrings b(a);
  b.Data()[0] = 'T';
  EXPECT_EQ(a, "texto");
  EXPECT_EQ(b, "Texto");
  a = a;  // self-assignment does nothing
  EXPECT_EQ(a, "texto");
  const ZRTStrings none = NoStorage();
  EXPECT_FALSE(none.HasStorage());
  EXPECT_EQ(none.Length(), 0);
  EXPECT_STREQ(none.CStr(), "");
  a = none;  // assigning a no-storage object sets the empty text
  EXPECT_TRUE(a.HasStorage());
  EXPECT_EQ(a, "");
  ZRTStrings moved(std::move(b));
  EXPECT_EQ(moved, "Texto");
  ZRTStrings target("x");
  target = NoStorage();
  EXPECT_TRUE(target.HasStorage());
  EXPECT_EQ(target.Length(), 0);
  const std::string longText(300, 'z');  // beyond the inline buffer
  ZRTStrings big(longText.c_str());
  ZRTStrings bigCopy;
  bigCopy = big;
  EXPECT_EQ(bigCopy.View(), longText);
  big.SetText(big.View().substr(10, 5));  // a view into its own storage
  EXPECT_EQ(big, "zzzzz");
}

TEST(ZRTStringsTest, ConcatenationRemovalAndComparison) {
  const ZRTStrings a("C:");
  const ZRTStrings b("\\dados");
  EXPECT_EQ(a + b, "C:\\dados");
  EXPECT_EQ(a + "\\x", "C:\\x");
  EXPECT_EQ("D" + a, "DC:");
  EXPECT_EQ(ZRTStrings() + ZRTStrings(), "");
  EXPECT_EQ(ZRTStrings("abcabc") - ZRTStrings("b"), "acac");
  EXPECT_EQ(ZRTStrings("abcabc") - "abc", "");
  EXPECT_EQ(ZRTStrings("abc") - "", "abc");
  EXPECT_TRUE(a == ZRTStrings("C:"));
  EXPECT_TRUE(a != "C:\\");
  EXPECT_FALSE(a != "C:");
  EXPECT_FALSE(ZRTStrings("C") == a);
  EXPECT_TRUE(NoStorage() == "");
}

TEST(ZRTStringsTest, ReplaceAllIsNonOverlappingFromTheLeft) {
  ZRTStrings text("aaa");
  text.ReplaceAll("aa", "b");
  EXPECT_EQ(text, "ba");
  ZRTStrings grow("1,5;2,5");
  grow.ReplaceAll(",", "<>");
  EXPECT_EQ(grow, "1<>5;2<>5");
  ZRTStrings unchanged("abc");
  unchanged.ReplaceAll("x", "y");
  EXPECT_EQ(unchanged, "abc");
  unchanged.ReplaceAll("", "y");  // an empty pattern would match everywhere
  EXPECT_EQ(unchanged, "abc");
  ZRTStrings all("abab");
  all.ReplaceAll("ab", "");
  EXPECT_EQ(all, "");
  EXPECT_EQ(all.Count(), 1);
}

TEST(ZRTStringsTest, SubstringBeforeContainsAndReverse) {
  const ZRTStrings path("C:\\dados\\pontos.txt");
  EXPECT_EQ(path.SubstringBefore("\\"), "C:");
  EXPECT_EQ(path.SubstringBefore("|"), path);
  EXPECT_EQ(path.SubstringBefore("C"), "");
  EXPECT_TRUE(path.Contains("dados"));
  EXPECT_FALSE(path.Contains("Dados"));
  ZRTStrings reversed("abc d");
  reversed.Reverse();
  EXPECT_EQ(reversed, "d cba");
  EXPECT_EQ(reversed.Length(), 5);
  ZRTStrings none = NoStorage();
  none.Reverse();
  EXPECT_FALSE(none.HasStorage());
}

TEST(ZRTStringsTest, WordsAreSeparatedByBlanksOnly) {
  const ZRTStrings line("   1234.5   -7.25  ");
  EXPECT_EQ(line.WordCount(), 2);
  EXPECT_EQ(line.Word(1), "1234.5");
  EXPECT_EQ(line.Word(2), "-7.25");
  EXPECT_EQ(line.Word(3), "");
  EXPECT_EQ(line.Word(0), "");
  EXPECT_EQ(line.Word(-1), "");
  const ZRTStrings tabs("P1\t10 20");
  EXPECT_EQ(tabs.WordCount(), 2);
  EXPECT_EQ(tabs.Word(1), "P1\t10");
  EXPECT_EQ(ZRTStrings("").WordCount(), 0);
  EXPECT_EQ(ZRTStrings("    ").WordCount(), 0);
  EXPECT_EQ(ZRTStrings("a").Word(1), "a");
  EXPECT_EQ(NoStorage().WordCount(), 0);
  EXPECT_EQ(NoStorage().Word(1), "");
}

TEST(ZRTStringsTest, ClearThroughTheArrayViewSetsTheEmptyText) {
  ZRTStrings text("abc");
  ZRTMatrixSys::ZRTArrayOfChar& array = text;
  array.Clear();
  EXPECT_TRUE(text.HasStorage());
  EXPECT_EQ(text.Count(), 1);
  EXPECT_EQ(text, "");
}

TEST(ZRTStringsTest, FailedStorageLeavesNoStorageAndStaysUsable) {
  ZRTPrimitiveSys::ScopedReportCapture capture;
  ZRTStrings text("antes");
  ZRTMatrixSys::testing::FailNextAllocations(1);
  text = "depois";
  EXPECT_FALSE(text.HasStorage());
  EXPECT_STREQ(text.CStr(), "");
  EXPECT_EQ(text.WordCount(), 0);
  EXPECT_EQ(capture.Last(), "Memory allocation:\nObject: char");
  EXPECT_EQ(text + "x", "x");
  text = "de novo";
  EXPECT_EQ(text, "de novo");
}

TEST(ZRTStringsTest, IntToTextUsesSignedDecimal) {
  EXPECT_EQ(ZRTStrings::IntToText(0), "0");
  EXPECT_EQ(ZRTStrings::IntToText(-42), "-42");
  EXPECT_EQ(ZRTStrings::IntToText(2147483647), "2147483647");
  EXPECT_EQ(ZRTStrings::IntToText(-2147483647 - 1), "-2147483648");
}

}  // namespace
