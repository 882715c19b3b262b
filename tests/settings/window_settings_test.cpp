#include "settings/window_settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "settings/config_directory.h"
#include "settings/dpi_scale.h"
#include "tests/settings/settings_fixture.h"

namespace quillmor {
namespace {

TEST(MulDivRoundTest, RoundsHalfAwayFromZeroAndReportsFailureAsMinusOne) {
  const struct {
    int32_t a, b, c, expected;
  } cases[] = {
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {5, -1, 2, -3},
      {5, 1, -2, -3},
      {4, 1, 3, 1},
      {1100, 144, 96, 1650},
      {1001, 120, 96, 1251},
      {1002, 120, 96, 1253},
      {1, 1, 0, -1},
      {INT32_MAX, 2, 1, -1},
      {INT32_MAX, 1, 1, INT32_MAX},
      {-INT32_MAX, 1, 1, -INT32_MAX},
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},  // the product needs 62 bits, the result fits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MulDivRound(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
  }
}

TEST(DpiScaleTest, ZeroDpiCountsAs96) {
  EXPECT_EQ(ScaleFrom96(280, 0), 280);
  EXPECT_EQ(ScaleTo96(280, 0), 280);
  EXPECT_EQ(ScaleFrom96(280, 192), 560);
  EXPECT_EQ(ScaleTo96(560, 192), 280);
}

class WindowSettingsTest : public SettingsTest {
 protected:
  WindowSettings LoadFrom(std::string_view text, int32_t dpi = 96) {
    PutConfigFile(u"window.ini", text);
    WindowSettings s;
    LoadWindowSettings(env, dpi, s);
    return s;
  }
};

TEST_F(WindowSettingsTest, MissingFileGivesTheDefaultsScaledToTheDpi) {
  WindowSettings s;
  LoadWindowSettings(env, 144, s);
  EXPECT_EQ(s.width, 1650);
  EXPECT_EQ(s.height, 1050);
  EXPECT_EQ(s.columnWidths, (std::array<int32_t, 6>{90, 420, 150, 240, 240, 600}));

  WindowSettings unscaled;
  LoadWindowSettings(env, 0, unscaled);
  EXPECT_EQ(unscaled.width, 1100);
  EXPECT_EQ(unscaled.columnWidths, kDefaultColumnWidths);
}

TEST_F(WindowSettingsTest, TheCallersSizeIsTheDefault) {
  WindowSettings s;
  s.width = 900;
  s.height = 600;
  LoadWindowSettings(env, 120, s);
  EXPECT_EQ(s.width, 1125);
  EXPECT_EQ(s.height, 750);
}

TEST_F(WindowSettingsTest, EveryKeyIsReadAndScaled) {
  const WindowSettings s = LoadFrom(
      "width=1200\nheight=800\ncol0=40\ncol1=300\ncol2=90\ncol3=150\ncol4=170\ncol5=500\n"
      "sizePreset=4\ntimePreset=3\nsizeUnit=1\nsizeRange=10-20\ntimeStart=20240102\ntimeEnd=20241231\n"
      "filterLayout=topbar\nthemeMode=dark\ninitialSearchEnabled=0\nviewMode=2\nglobalTrimOnToggle=1\n"
      "tableGridLines=1\n",
      192);
  EXPECT_EQ(s.width, 2400);
  EXPECT_EQ(s.height, 1600);
  EXPECT_EQ(s.columnWidths, (std::array<int32_t, 6>{80, 600, 180, 300, 340, 1000}));
  EXPECT_EQ(s.sizePreset, 4);
  EXPECT_EQ(s.timePreset, 3);
  EXPECT_EQ(s.sizeUnit, 1);
  EXPECT_EQ(s.sizeRange, u"10-20");
  EXPECT_EQ(s.timeStart, 20240102);
  EXPECT_EQ(s.timeEnd, 20241231);
  EXPECT_FALSE(s.sidebarLayout);
  EXPECT_TRUE(s.darkTheme);
  EXPECT_FALSE(s.initialSearchEnabled);
  EXPECT_EQ(s.viewMode, 2);
  EXPECT_TRUE(s.globalTrimOnToggle);
  EXPECT_TRUE(s.tableGridLines);
}

// One line of window.ini and what it must leave in the settings (read at 96
// DPI). Settings start from values no line below would produce by accident.
struct KeyCase {
  const char* line;
  std::function<bool(const WindowSettings&)> holds;
};

TEST_F(WindowSettingsTest, ValuesOutOfRangeAreIgnoredKeyByKey) {
  const KeyCase cases[] = {
      {"width=640", [](auto& s) { return s.width == 1100; }},
      {"width=799", [](auto& s) { return s.width == 1100; }},
      {"width=800", [](auto& s) { return s.width == 800; }},
      {"height=499", [](auto& s) { return s.height == 700; }},
      {"height=500", [](auto& s) { return s.height == 500; }},
      {"width=abc", [](auto& s) { return s.width == 1100; }},
      {"col1=10", [](auto& s) { return s.columnWidths[1] == 280; }},
      {"col1=29", [](auto& s) { return s.columnWidths[1] == 280; }},
      {"col1=30", [](auto& s) { return s.columnWidths[1] == 30; }},
      {"col6=500", [](auto& s) { return s.columnWidths == kDefaultColumnWidths; }},
      {"col-1=500", [](auto& s) { return s.columnWidths == kDefaultColumnWidths; }},
      {"xcol1=500", [](auto& s) { return s.columnWidths == kDefaultColumnWidths; }},
      {"Col1=500", [](auto& s) { return s.columnWidths == kDefaultColumnWidths; }},
      {"col05=55", [](auto& s) { return s.columnWidths[5] == 55; }},
      {"viewMode=3", [](auto& s) { return s.viewMode == 1; }},
      {"viewMode=-1", [](auto& s) { return s.viewMode == 1; }},
      {"viewMode=0", [](auto& s) { return s.viewMode == 0; }},
      {"sizeUnit=4", [](auto& s) { return s.sizeUnit == 3; }},
      {"sizeUnit=0", [](auto& s) { return s.sizeUnit == 0; }},
      {"timePreset=5", [](auto& s) { return s.timePreset == 1; }},
      {"sizePreset=5", [](auto& s) { return s.sizePreset == 1; }},
      {"timeStart=-5", [](auto& s) { return s.timeStart == -5; }},
      {"WIDTH=900", [](auto& s) { return s.width == 1100; }},
      {"unknownKey=1", [](auto& s) { return s.width == 1100 && s.viewMode == 1; }},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.line);
    PutConfigFile(u"window.ini", c.line);
    WindowSettings s;
    s.viewMode = 1;
    s.sizeUnit = 3;
    s.timePreset = 1;
    s.sizePreset = 1;
    LoadWindowSettings(env, 96, s);
    EXPECT_TRUE(c.holds(s));
  }
}

TEST_F(WindowSettingsTest, ThemeLayoutAndSwitchWords) {
  const struct {
    const char* value;
    bool dark, sidebar, enabled;
  } cases[] = {
      // themeMode: light/0/false are light; filterLayout: only topbar is the top bar;
      // booleans: off/0/false are off. All after lower-casing.
      {"LIGHT", false, true, true},  {"light", false, true, true},  {"0", false, true, false},
      {"False", false, true, false}, {"off", true, true, false},    {"dark", true, true, true},
      {"", true, true, true},        {"TopBar", true, false, true}, {"top bar", true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const std::string v = c.value;
    const WindowSettings s = LoadFrom("themeMode=" + v + "\nfilterLayout=" + v + "\ninitialSearchEnabled=" + v +
                                      "\nglobalTrimOnToggle=" + v + "\ntableGridLines=" + v + "\n");
    EXPECT_EQ(s.darkTheme, c.dark);
    EXPECT_EQ(s.sidebarLayout, c.sidebar);
    EXPECT_EQ(s.initialSearchEnabled, c.enabled);
    EXPECT_EQ(s.globalTrimOnToggle, c.enabled);
    EXPECT_EQ(s.tableGridLines, c.enabled);
  }
}

TEST_F(WindowSettingsTest, MalformedLinesAreSkipped) {
  const WindowSettings s = LoadFrom("garbage\n=5\nwidth\n  \nwidth = 900 \nheight=600=700\n");
  EXPECT_EQ(s.width, 900);
  EXPECT_EQ(s.height, 600);  // "600=700" reads as 600
}

TEST_F(WindowSettingsTest, LastValueOfAKeyWins) {
  EXPECT_EQ(LoadFrom("viewMode=1\nviewMode=2\n").viewMode, 2);
  EXPECT_EQ(LoadFrom("viewMode=1\nviewMode=7\n").viewMode, 1);
}

TEST_F(WindowSettingsTest, SizeRangeIsCutTo127Characters) {
  const std::string longRange(300, '7');
  WindowSettings s = LoadFrom("sizeRange=" + longRange + "\nwidth=900\n");
  EXPECT_EQ(s.sizeRange, std::u16string(127, u'7'));
  EXPECT_EQ(s.width, 900);  // the tail of the long line is skipped, the next line is read

  // A surrogate pair straddling the limit is dropped whole.
  std::string pairAtLimit = "sizeRange=" + std::string(126, 'a') + "\xF0\x9F\x98\x80";
  s = LoadFrom(pairAtLimit);
  EXPECT_EQ(s.sizeRange, std::u16string(126, u'a'));
}

TEST_F(WindowSettingsTest, SizesThatCannotBeScaledAreIgnored) {
  const WindowSettings s = LoadFrom("width=2000000000\ncol2=2000000000\n", 192);
  EXPECT_EQ(s.width, 2200);
  EXPECT_EQ(s.columnWidths[2], 200);
}

TEST_F(WindowSettingsTest, LoadingTwiceDoesNotScaleColumnsTwice) {
  PutConfigFile(u"window.ini", "col1=300\n");
  WindowSettings s;
  LoadWindowSettings(env, 192, s);
  LoadWindowSettings(env, 192, s);
  EXPECT_EQ(s.columnWidths[1], 600);
  EXPECT_EQ(s.columnWidths[0], 120);
}

TEST_F(WindowSettingsTest, SaveWritesEveryKeyInOrderAt96DpiUnits) {
  WindowSettings s;
  s.sizePreset = 4;
  s.timePreset = 2;
  s.sizeUnit = 3;
  s.sizeRange = u"1-5";
  s.timeStart = 20240101;
  s.timeEnd = 20240131;
  s.sidebarLayout = false;
  s.darkTheme = true;
  s.initialSearchEnabled = false;
  s.viewMode = 1;
  s.globalTrimOnToggle = true;
  s.tableGridLines = true;
  LiveWindowValues live;
  live.normalWidth = 1800;
  live.normalHeight = 1200;
  live.columnWidths = {90, 421, 150, 240, 240, 600};
  ASSERT_TRUE(SaveWindowSettings(env, 144, live, s));
  EXPECT_EQ(ReadableText(ConfigFile(u"window.ini")),
            "width=1200\nheight=800\ncol0=60\ncol1=281\ncol2=100\ncol3=160\ncol4=160\ncol5=400\n"
            "sizePreset=4\ntimePreset=2\nsizeUnit=3\nsizeRange=1-5\ntimeStart=20240101\ntimeEnd=20240131\n"
            "filterLayout=topbar\nthemeMode=dark\ninitialSearchEnabled=0\nviewMode=1\nglobalTrimOnToggle=1\n"
            "tableGridLines=1\n");
  const std::optional<std::string> raw = files.Contents(ConfigFile(u"window.ini"));
  ASSERT_TRUE(raw);
  EXPECT_TRUE(raw->starts_with("\xEF\xBB\xBFwidth=1200\r\nheight=800\r\n"));
}

TEST_F(WindowSettingsTest, SmallOrMinimisedWindowSavesAtLeast800By500) {
  WindowSettings s;
  LiveWindowValues live;
  live.normalWidth = 600;  // the restored size of a minimised window, here too small
  live.normalHeight = 0;
  ASSERT_TRUE(SaveWindowSettings(env, 96, live, s));
  EXPECT_TRUE(ReadableText(ConfigFile(u"window.ini")).starts_with("width=800\nheight=500\n"));
}

TEST_F(WindowSettingsTest, SaveTakesTheEditTextAndValidDates) {
  WindowSettings s;
  s.sizeRange = u"old";
  s.timeStart = 20200101;
  s.timeEnd = 20200202;
  LiveWindowValues live;
  live.normalWidth = 1100;
  live.normalHeight = 700;
  live.sizeRangeText = u"2-" + std::u16string(200, u'9');
  live.timeStartDate = LocalTime{2025, 3, 0, 9, 0, 0, 0, 0};
  // No end picker (or no valid date in it): the end stays.
  ASSERT_TRUE(SaveWindowSettings(env, 96, live, s));
  EXPECT_EQ(s.sizeRange, u"2-" + std::u16string(125, u'9'));
  EXPECT_EQ(s.timeStart, 20250309);
  EXPECT_EQ(s.timeEnd, 20200202);
  const std::string text = ReadableText(ConfigFile(u"window.ini"));
  EXPECT_NE(text.find("\nsizeRange=2-999"), std::string::npos);
  EXPECT_NE(text.find("\ntimeStart=20250309\ntimeEnd=20200202\n"), std::string::npos);

  // Without the edit the remembered text is written.
  LiveWindowValues noEdit = live;
  noEdit.sizeRangeText.reset();
  s.sizeRange = u"kept";
  ASSERT_TRUE(SaveWindowSettings(env, 96, noEdit, s));
  EXPECT_NE(ReadableText(ConfigFile(u"window.ini")).find("\nsizeRange=kept\n"), std::string::npos);
}

TEST_F(WindowSettingsTest, SavedFileLoadsBackToTheSameSettings) {
  for (int32_t dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    WindowSettings saved;
    LoadWindowSettings(env, dpi, saved);
    saved.sizeRange = u"5-50";
    saved.viewMode = 2;
    saved.darkTheme = true;
    LiveWindowValues live;
    live.normalWidth = saved.width;
    live.normalHeight = saved.height;
    live.columnWidths = saved.columnWidths;
    ASSERT_TRUE(SaveWindowSettings(env, dpi, live, saved));
    WindowSettings loaded;
    LoadWindowSettings(env, dpi, loaded);
    EXPECT_EQ(loaded.width, saved.width);
    EXPECT_EQ(loaded.height, saved.height);
    EXPECT_EQ(loaded.columnWidths, saved.columnWidths);
    EXPECT_EQ(loaded.sizeRange, u"5-50");
    EXPECT_EQ(loaded.viewMode, 2);
    EXPECT_TRUE(loaded.darkTheme);
  }
}

TEST_F(WindowSettingsTest, UnwritableFolderLeavesNoFileAndReportsIt) {
  ConfigDirectory(env);
  files.RefuseWritesUnder(kConfigDir);
  WindowSettings s;
  EXPECT_FALSE(SaveWindowSettings(env, 96, LiveWindowValues{}, s));
  EXPECT_FALSE(files.Exists(ConfigFile(u"window.ini")));
}

}  // namespace
}  // namespace quillmor
