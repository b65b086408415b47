#include "host/setup_dialog.h"

#include <cstdio>

#include "platform/display_modes.h"

DisplayMode modeList[kModeListSize];
int modeCount = 0;

namespace {
bool platformModeAt(int index, DisplayMode& mode, std::string* error) {
  return displayModeAt(index, mode.width, mode.height, error);
}
}  // namespace

bool fillModeListFrom(bool (*modeAt)(int index, DisplayMode& mode, std::string* error), std::string* error) {
  modeCount = 0;
  DisplayMode mode = {};
  std::string failure;
  for (int index = 0; modeCount < kModeListSize && modeAt(index, mode, &failure); ++index) {
    if (modeCount > 0 && modeList[modeCount - 1].width == mode.width &&
        modeList[modeCount - 1].height == mode.height)
      continue;
    modeList[modeCount++] = mode;
  }
  if (failure.empty()) return true;
  *error = std::move(failure);
  return false;
}

bool fillModeList(std::string* error) { return fillModeListFrom(platformModeAt, error); }

std::string modeText(const DisplayMode& mode) {
  char text[500];
  std::snprintf(text, sizeof text, "%d * %d", mode.width, mode.height);
  return text;
}

int selectedModeFor(const IntroConfig& record) {
  int selected = -1;
  for (int j = 0; j < modeCount; ++j)
    if (modeList[j].width == record.width && modeList[j].height == record.height) selected = j;
  return selected;
}

void applyStart(IntroConfig& record, int selection, bool fullScreenTicked, const DisplayMode* displayNow) {
  // Without a selected entry (the record's size is not among the display's
  // modes) the display's current mode is a size it certainly has; only
  // when that is unknown does the record keep its own size.
  if (selection >= 0 && selection < modeCount) {
    record.width = modeList[selection].width;
    record.height = modeList[selection].height;
  } else if (displayNow && displayNow->width > 0 && displayNow->height > 0) {
    record.width = displayNow->width;
    record.height = displayNow->height;
  }
  record.windowed = fullScreenTicked ? 0 : 1;
}

SetupWindowContent setupWindowContent(const IntroConfig& record) {
  SetupWindowContent content;
  content.caption = "Glass Meridian";
  content.banner = "< MRDN - lighting your long evenings >";
  content.rule = std::string(64, '-');
  content.resolutionLabel = "Resolution:";
  content.fullScreenLabel = "FullScreen ?";
  content.startText = "START";
  content.cancelText = "CANCEL";
  content.modeTexts.reserve(static_cast<size_t>(modeCount));
  for (int j = 0; j < modeCount; ++j) content.modeTexts.push_back(modeText(modeList[j]));
  content.selected = selectedModeFor(record);
  content.fullScreenTicked = record.windowed == 0;
  return content;
}

SetupWindowContent beginSetupDialog(IntroConfig* record, std::vector<std::string>* notes) {
  config = record;
  std::string error;
  if (!fillModeList(&error)) notes->push_back(error + "; the resolution list is empty");
  return setupWindowContent(*record);
}

void applySetupChoice(IntroConfig& record, const SetupWindowChoice& choice) {
  DisplayMode now = {};
  const bool known = currentDisplayMode(now.width, now.height);
  applyStart(record, choice.selected, choice.fullScreenTicked, known ? &now : nullptr);
}

int showSetupDialog(IntroConfig* record, std::vector<std::string>* notes) {
  const SetupWindowContent content = beginSetupDialog(record, notes);
  SetupWindowChoice choice;
  std::string error;
  const int result = runSetupWindow(content, choice, &error);
  if (result == 1) applySetupChoice(*record, choice);
  if (result < 0) notes->push_back(error + "; the show starts with its defaults");
  return result;
}
