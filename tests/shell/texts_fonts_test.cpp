// Numbered texts, manual and guide paths, font specifications and the font cache.
#include <gtest/gtest.h>

#include "shell/fonts.h"
#include "shell/texts.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_ui.h"

namespace {

constexpr char DIR[] = "C:\\P\\Settings";

class TextsTest : public ::testing::Test {
 protected:
  void Put(const std::string& file, const std::string& content) {
    files.Put(std::string(DIR) + "\\" + file, content);
  }
  fakes::FakeFiles files;
  shell::SettingsReader reader{files, DIR, shell::SETTINGS_LINE_CHUNK};
  shell::Texts texts{reader, shell::TextKeyStyle::Zeros00};
};

TEST_F(TextsTest, KeysOfBothStylesAgreeForNumbersInUse) {
  for (int n : {0, 1, 400, 20100, 999999}) {
    EXPECT_EQ(shell::TextKey(n, shell::TextKeyStyle::Zeros00),
              shell::TextKey(n, shell::TextKeyStyle::Padded08));
  }
  EXPECT_EQ(shell::TextKey(400, shell::TextKeyStyle::Zeros00), "00000400");
}

TEST_F(TextsTest, LookupOrderReferThenLocalizeThenConst) {
  Put("Localize.ini", "00000400=Title\\nSecond line\n00000010=Shared\n");
  Put("L_Const.ini", "00000400=Const title\n00000011=Const only\n00000012=Fallback\n");
  Put("L_Refer.ini", "00000401=00000010\n00000402=00000011\n");
  EXPECT_EQ(texts.GetText(400), "Title\nSecond line");
  EXPECT_EQ(texts.GetText(401), "Shared");      // reference into Localize.ini
  EXPECT_EQ(texts.GetText(402), "Const only");  // reference falls back to L_Const.ini
  EXPECT_EQ(texts.GetText(12), "Fallback");
  EXPECT_EQ(texts.GetText(13), "");
}

TEST_F(TextsTest, ReferenceIsFollowedOnce) {
  Put("L_Refer.ini", "00000400=00000401\n00000401=00000402\n");
  Put("Localize.ini", "00000401=One hop\n00000402=Two hops\n");
  EXPECT_EQ(texts.GetText(400), "One hop");
}

TEST_F(TextsTest, BlankBeforeEqualsFallsBackToConst) {
  Put("Localize.ini", "00000400 = Title\n");
  Put("L_Const.ini", "00000400=Const\n");
  EXPECT_EQ(texts.GetText(400), "Const");
}

TEST_F(TextsTest, OnlyBackslashNBecomesALineFeed) {
  Put("Localize.ini", "00000001=a\\tb\\\\nc\\\n");
  EXPECT_EQ(texts.GetText(1), "a\\tb\\\nc\\");
}

TEST_F(TextsTest, ManualPath) {
  Put("Manual.ini", "MANUAL_0200=Manual\\page2.htm\nMANUAL_1012=x.htm\n");
  EXPECT_EQ(texts.ManualPath(2, 0, "C:\\Panel"), "C:\\Panel\\Manual\\page2.htm");
  EXPECT_EQ(texts.ManualPath(10, 12, "C:\\Panel"), "C:\\Panel\\x.htm");
  EXPECT_EQ(texts.ManualPath(3, 0, "C:\\Panel"), "");
}

TEST_F(TextsTest, GuideTextReadsTheWholeFileUpToAZero) {
  Put("Guide.ini", "GUIDE_0000=g0.txt\nGUIDE_0300=g3.txt\nGUIDE_0100=missing.txt\n");
  files.Put("C:\\P\\g0.txt", std::string("line one\nline two\0hidden", 24));
  files.Put("C:\\P\\g3.txt", "three");
  EXPECT_EQ(texts.GuideText(0, "C:\\P"), "line one\nline two");
  EXPECT_EQ(texts.GuideText(3, "C:\\P"), "three");
  EXPECT_EQ(texts.GuideText(1, "C:\\P"), "");
  EXPECT_EQ(texts.GuideText(2, "C:\\P"), "");
  EXPECT_EQ(texts.GuideText(4, "C:\\P"), "");
  EXPECT_EQ(texts.GuideText(-1, "C:\\P"), "");
}

TEST(FontSpec, ParsesFourNumbersWithBlanksAnywhere) {
  struct Case {
    const char* value;
    bool valid;
    int size = 0;
    bool bold = false, italic = false, underline = false;
  } cases[] = {
      {"12, 1, 0, 1", true, 12, true, false, true},
      {" 1 2 ,1,1,1", true, 12, true, true, true},
      {"9,2,0,0", true, 9, false, false, false},  // a flag counts only when it is 1
      {"0,1,0,0", false, 0, false, false, false},
      {"-3,1,0,0", false, 0, false, false, false},
      {"12,1,0", false, 0, false, false, false},
      {"12;1;0;1", false, 0, false, false, false},
      {"", false, 0, false, false, false},
      {"abc", false, 0, false, false, false},
      {"99999999999,0,0,0", true, 2147483647, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    auto spec = shell::ParseFontSpec(c.value);
    ASSERT_EQ(spec.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(spec->size, c.size);
    EXPECT_EQ(spec->bold, c.bold);
    EXPECT_EQ(spec->italic, c.italic);
    EXPECT_EQ(spec->underline, c.underline);
  }
}

TEST(FontSpec, HeightIsTheNinetySixDpiHeightAtAnyDpi) {
  EXPECT_EQ(shell::FontHeight(12, 96), -16);
  EXPECT_EQ(shell::FontHeight(12, 120), -16);
  EXPECT_EQ(shell::FontHeight(9, 96), -12);
  EXPECT_EQ(shell::FontHeight(9, 120), -12);
  EXPECT_EQ(shell::FontHeight(10, 144), -14);
  EXPECT_LT(shell::FontHeight(2147483647, 96), 0);  // no overflow into a positive height
}

class FontCacheTest : public TextsTest {
 protected:
  fakes::FakeClock clock;
  fakes::FakeHost host{clock};
};

TEST_F(FontCacheTest, SharesFontsOfEqualSpecificationAndFallsBackToBase) {
  Put("L_Font.ini",
      "00999999=9,0,0,0\n00000400=12, 1, 0, 1\n00000401=12,1,0,1\n00000402=0,1,0,0\n"
      "00000403=14,0,1,0\n");
  {
    shell::FontCache fonts(texts, host);
    ui::FontDescription dialog;
    dialog.height = -11;
    dialog.faceName = "MS Shell Dlg";
    fonts.MakeBaseFont(dialog, 120);
    ui::Font base = fonts.BaseFont();
    EXPECT_EQ(host.liveFonts[base].height, -12);  // 999999 applied to the dialog font
    EXPECT_EQ(host.liveFonts[base].faceName, "MS Shell Dlg");

    ui::Font title = fonts.FontFor(400);
    EXPECT_EQ(fonts.FontFor(401), title);
    EXPECT_EQ(host.liveFonts[title].height, -16);
    EXPECT_EQ(host.liveFonts[title].weight, 700);
    EXPECT_TRUE(host.liveFonts[title].underline);
    EXPECT_EQ(host.liveFonts[title].faceName, "MS Shell Dlg");
    EXPECT_EQ(fonts.FontFor(402), base);
    EXPECT_EQ(fonts.FontFor(-1), base);
    EXPECT_NE(fonts.FontFor(403), title);
    EXPECT_EQ(fonts.CachedCount(), 2u);
    EXPECT_EQ(host.liveFonts.size(), 3u);
  }
  EXPECT_TRUE(host.liveFonts.empty());  // every font deleted with the cache
}

TEST(FontKey, FormatsHeightAsUnsignedHex) {
  ui::FontDescription d;
  d.height = -16;
  d.weight = 700;
  d.underline = true;
  EXPECT_EQ(shell::FontKey(d), "fffffff070001");
}

}  // namespace
