#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/show_font.h"
#include "platform/font_atlas.h"
#include "tests/platform/scratch_folder.h"

namespace {

// No display in the child: the message box cannot appear (and cannot wait
// for a click), so stderr carries the message.
void installWithoutDisplay() {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  installShowFont();
}

TEST(ShowFont, RefusalSaysSoAndEndsWithStatusOne) {
  // The child is forked where it stands, in this folder: a child started
  // afresh would make a folder of its own and end before removing it.
  GTEST_FLAG_SET(death_test_style, "fast");
  ScratchFolder folder;
  const std::string text = "not a font";
  folder.write("C64.ttf", std::vector<char>(text.begin(), text.end()));
  EXPECT_EXIT(installWithoutDisplay(), ::testing::ExitedWithCode(1),
              "C64.ttf: not a complete TrueType font\n"
              "Could not temporarily install Font!: "
              "Could not find or temporarily install C64 Pro - Font\n");
}

TEST(ShowFont, InstallsAndRemovesTheFaceBesideTheProgram) {
  ScratchFolder folder;  // nothing here: the copy beside the program is used
  installShowFont();
  FontAtlas atlas;
  EXPECT_TRUE(rasteriseFontAtlas(kShowFontFamily, 24, 42, atlas));
  removeShowFont();
  EXPECT_FALSE(rasteriseFontAtlas(kShowFontFamily, 24, 42, atlas));
}

}  // namespace
