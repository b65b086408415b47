#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/show_font.h"
#include "platform/font_atlas.h"
#include "tests/platform/scratch_folder.h"

namespace {

TEST(ShowFont, ABrokenFileInTheWorkingDirectoryIsRefusedWithTheReason) {
  ScratchFolder folder;
  const std::string text = "not a font";
  folder.write("C64.ttf", std::vector<char>(text.begin(), text.end()));
  std::string error;
  EXPECT_FALSE(installShowFont(&error));
  EXPECT_EQ(error, "C64.ttf: not a complete TrueType font");
}

TEST(ShowFont, InstallsAndRemovesTheFaceBesideTheProgram) {
  ScratchFolder folder;  // nothing here: the copy beside the program is used
  std::string error;
  ASSERT_TRUE(installShowFont(&error)) << error;
  FontAtlas atlas;
  EXPECT_TRUE(rasteriseFontAtlas(kTextFace, 24, 42, atlas, &error)) << error;
  removeShowFont();
  EXPECT_FALSE(rasteriseFontAtlas(kTextFace, 24, 42, atlas, &error));
}

}  // namespace
