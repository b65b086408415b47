#include "host/setup_dialog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

std::vector<DisplayMode> fakeModes;

bool fakeModeAt(int index, DisplayMode& mode, std::string*) {
  if (index < 0 || index >= static_cast<int>(fakeModes.size())) return false;
  mode = fakeModes[static_cast<size_t>(index)];
  return true;
}

void listModes(std::vector<DisplayMode> modes) {
  fakeModes = std::move(modes);
  std::string error;
  EXPECT_TRUE(fillModeListFrom(fakeModeAt, &error));
}

IntroConfig defaults() {
  IntroConfig record = {};
  setIntroDefaults(record, 0);
  return record;
}

TEST(ModeList, AdjacentModesOfOneSizeGiveOneEntryButARepeatedSizeIsListedAgain) {
  // One display mode per colour depth or refresh rate, in runs.
  listModes({{1920, 1080}, {1920, 1080}, {1280, 720}, {1280, 720}, {800, 600}, {1280, 720}, {1280, 720}});
  ASSERT_EQ(modeCount, 4);
  EXPECT_EQ(modeText(modeList[0]), "1920 * 1080");
  EXPECT_EQ(modeText(modeList[1]), "1280 * 720");
  EXPECT_EQ(modeText(modeList[2]), "800 * 600");
  EXPECT_EQ(modeText(modeList[3]), "1280 * 720");
  // The last matching entry stays selected.
  EXPECT_EQ(selectedModeFor(defaults()), 3);
}

TEST(ModeList, NoModesAndNoMatchSelectNothing) {
  listModes({});
  EXPECT_EQ(modeCount, 0);
  EXPECT_EQ(selectedModeFor(defaults()), -1);
  listModes({{640, 480}, {800, 600}});
  EXPECT_EQ(selectedModeFor(defaults()), -1);
}

TEST(ModeList, ADisplayThatCannotBeReadKeepsTheModesBeforeAndSaysWhy) {
  fakeModes = {{640, 480}, {800, 600}};
  const auto failsAfterTwo = [](int index, DisplayMode& mode, std::string* error) {
    if (index < 2) return fakeModeAt(index, mode, error);
    *error = "the display went away";
    return false;
  };
  std::string error;
  EXPECT_FALSE(fillModeListFrom(failsAfterTwo, &error));
  EXPECT_EQ(error, "the display went away");
  EXPECT_EQ(modeCount, 2);
}

TEST(ModeList, EndsAtFourThousandNinetySixEntries) {
  std::vector<DisplayMode> many;
  for (int i = 0; i < 5000; ++i) many.push_back({640 + i, 480});
  listModes(many);
  EXPECT_EQ(modeCount, kModeListSize);
  EXPECT_EQ(modeList[kModeListSize - 1].width, 640 + kModeListSize - 1);
}

TEST(ModeList, DuplicatesDoNotCountTowardsTheLimit) {
  std::vector<DisplayMode> many;
  for (int i = 0; i < 4100; ++i) {
    many.push_back({100 + i, 100});
    many.push_back({100 + i, 100});
  }
  listModes(many);
  EXPECT_EQ(modeCount, kModeListSize);
  EXPECT_EQ(modeList[kModeListSize - 1].width, 100 + kModeListSize - 1);
}

TEST(ModeText, IsWidthStarHeight) {
  EXPECT_EQ(modeText({1366, 768}), "1366 * 768");
  EXPECT_EQ(modeText({-1, 0}), "-1 * 0");
}

TEST(StartButton, WritesTheSelectedSizeAndTheInverseOfTheBox) {
  listModes({{1920, 1080}, {1366, 768}});
  IntroConfig record = defaults();
  applyStart(record, 1, false, nullptr);
  EXPECT_EQ(record.width, 1366);
  EXPECT_EQ(record.height, 768);
  EXPECT_EQ(record.windowed, 1);
  applyStart(record, 0, true, nullptr);
  EXPECT_EQ(record.width, 1920);
  EXPECT_EQ(record.height, 1080);
  EXPECT_EQ(record.windowed, 0);
  EXPECT_EQ(record.threadedSound, 1);
  EXPECT_EQ(record.postProcess, 1);
}

TEST(StartButton, WithoutASelectionTakesTheDisplaysCurrentModeOrElseKeepsTheRecordsSize) {
  listModes({{1920, 1080}, {1024, 768}});
  const DisplayMode now = {1024, 768};
  IntroConfig record = defaults();
  applyStart(record, -1, true, &now);
  EXPECT_EQ(record.width, 1024);
  EXPECT_EQ(record.height, 768);
  EXPECT_EQ(record.windowed, 0);
  // A selection wins over the current mode.
  applyStart(record, 0, true, &now);
  EXPECT_EQ(record.width, 1920);
  // Current mode unknown: the record's size stays.
  record = defaults();
  applyStart(record, -1, false, nullptr);
  EXPECT_EQ(record.width, 1280);
  EXPECT_EQ(record.height, 720);
  EXPECT_EQ(record.windowed, 1);
}

TEST(DialogContent, ListsTheModesSelectsTheRecordsSizeAndTicksTheBoxUnlessWindowed) {
  listModes({{1280, 720}, {800, 600}});
  IntroConfig record = defaults();
  SetupWindowContent content = setupWindowContent(record);
  EXPECT_EQ(content.modeTexts, (std::vector<std::string>{"1280 * 720", "800 * 600"}));
  EXPECT_EQ(content.selected, 0);
  EXPECT_TRUE(content.fullScreenTicked);
  record.width = 800;
  record.height = 600;
  record.windowed = 1;
  content = setupWindowContent(record);
  EXPECT_EQ(content.selected, 1);
  EXPECT_FALSE(content.fullScreenTicked);
  // The window has no texts of its own: every one comes with the content.
  for (const std::string* text : {&content.caption, &content.banner, &content.rule, &content.resolutionLabel,
                                  &content.fullScreenLabel, &content.startText, &content.cancelText})
    EXPECT_FALSE(text->empty());
}

// The dialog template carries the same texts as the host hands the dialog,
// so that the template alone shows the dialog the show means.
TEST(SetupWindowContent, TextsAgreeWithTheDialogTemplate) {
  listModes({{1280, 720}});
  const SetupWindowContent content = setupWindowContent(defaults());

  std::map<std::string, std::string> texts;  // control id (or CAPTION) -> text
  std::ifstream script(GM_SETUP_DIALOG_SCRIPT);
  ASSERT_TRUE(script.good()) << GM_SETUP_DIALOG_SCRIPT;
  for (std::string line; std::getline(script, line);) {
    for (const std::string keyword : {"CAPTION \"", "CONTROL \""}) {
      const size_t at = line.find(keyword);
      if (at == std::string::npos) continue;
      const size_t start = at + keyword.size(), end = line.find('"', start);
      const size_t idStart = line.find_first_not_of(", ", end + 1);
      const std::string id = keyword[1] == 'A' ? "CAPTION" : line.substr(idStart, line.find(',', idStart) - idStart);
      texts[id] = line.substr(start, end - start);
    }
  }
  EXPECT_EQ(texts["CAPTION"], content.caption);
  EXPECT_EQ(texts["IDOK"], content.startText);
  EXPECT_EQ(texts["IDCANCEL"], content.cancelText);
  EXPECT_EQ(texts["GM_SETUP_RESOLUTION_LABEL"], content.resolutionLabel);
  EXPECT_EQ(texts["GM_SETUP_FULL_SCREEN_LABEL"], content.fullScreenLabel);
  EXPECT_EQ(texts["GM_SETUP_RULE"], content.rule);
  EXPECT_EQ(texts["GM_SETUP_BANNER"], content.banner);
  EXPECT_EQ(content.rule, std::string(64, '-'));
}

}  // namespace
