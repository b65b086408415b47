#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/font_atlas.h"
#include "platform/truetype_file.h"
#include "tests/platform/glyph_source.h"
#include "tests/platform/scratch_folder.h"

namespace {

std::vector<char> fontBytes() {
  std::ifstream file(GM_FONT_FILE, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The font with every "C64 Pro" in its name table (ASCII and UTF-16BE)
// turned into "C64 Prx": a sound font of another family.
std::vector<char> otherFamilyBytes() {
  std::vector<char> bytes = fontBytes();
  const std::string ascii = "C64 Pro";
  std::string wide;
  for (char c : ascii) wide += std::string{'\0', c};
  int replaced = 0;
  for (const std::string& name : {ascii, wide}) {
    for (auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
         at != bytes.end(); at = std::search(at + 1, bytes.end(), name.begin(), name.end())) {
      *(at + static_cast<std::ptrdiff_t>(name.size()) - 1) = 'x';
      ++replaced;
    }
  }
  EXPECT_GT(replaced, 0);
  return bytes;
}

class FontInstall : public ::testing::Test {
 protected:
  void TearDown() override { removeFont("C64.ttf"); }
  ScratchFolder folder;  // the working directory during each test
  std::string problem;   // why the last call refused
};

TEST_F(FontInstall, FromTheWorkingDirectory) {
  folder.write("C64.ttf", fontBytes());
  EXPECT_TRUE(installFont("C64.ttf", "C64 Pro", &problem)) << problem;
}

TEST_F(FontInstall, BesideTheProgramWhenTheWorkingDirectoryHasNone) {
  // The build copies C64.ttf beside every program, this test included.
  EXPECT_TRUE(installFont("C64.ttf", "C64 Pro", &problem)) << problem;
}

TEST_F(FontInstall, RefusesAMissingFile) {
  EXPECT_FALSE(installFont("Missing.ttf", "C64 Pro", &problem));
  EXPECT_NE(problem.find("Missing.ttf: no such file"), std::string::npos);
  EXPECT_FALSE(installFont("", "C64 Pro", &problem));
}

TEST_F(FontInstall, RefusesWhatIsNotARegularFile) {
  // A FIFO would block the open, and then the reads, for ever: the alarm
  // ends the test instead.
  ASSERT_EQ(mkdir("Folder.ttf", 0700), 0);
  ASSERT_EQ(mkfifo("Fifo.ttf", 0600), 0);
  for (const char* name : {"Folder.ttf", "Fifo.ttf"}) {
    alarm(10);
    EXPECT_FALSE(installFont(name, "C64 Pro", &problem)) << name;
    alarm(0);
    EXPECT_NE(problem.find("cannot be read: not a regular file"), std::string::npos)
        << problem;
  }
}

TEST_F(FontInstall, RefusesTruncatedFiles) {
  const std::vector<char> whole = fontBytes();
  ASSERT_GT(whole.size(), 1000u);
  for (size_t length : {size_t{0}, size_t{11}, size_t{100}, whole.size() / 4, whole.size() / 2,
                        whole.size() * 3 / 4, whole.size() - 40, whole.size() - 4}) {
    folder.write("Cut.ttf", std::vector<char>(whole.begin(), whole.begin() + static_cast<long>(length)));
    EXPECT_FALSE(installFont("Cut.ttf", "C64 Pro", &problem)) << "cut to " << length << " bytes";
  }
}

TEST_F(FontInstall, RefusesWhatIsNotATrueTypeFont) {
  const std::string text = "C64 Pro is a font, but this file is text.\n";
  folder.write("Text.ttf", std::vector<char>(text.begin(), text.end()));
  EXPECT_FALSE(installFont("Text.ttf", "C64 Pro", &problem));
  EXPECT_NE(problem.find("not a complete TrueType font"),
            std::string::npos);
}

TEST_F(FontInstall, RefusesAnotherFamily) {
  folder.write("Other.ttf", otherFamilyBytes());
  EXPECT_FALSE(installFont("Other.ttf", "C64 Pro", &problem));
  EXPECT_NE(problem.find("\"C64 Prx\", not \"C64 Pro\""),
            std::string::npos);
  // The same bytes are a perfectly good font of their own family.
  EXPECT_TRUE(installFont("Other.ttf", "C64 Prx", &problem)) << problem;
  removeFont("Other.ttf");
}

TEST_F(FontInstall, TheWorkingDirectoryComesFirst) {
  // A wrong file in the working directory is refused, even though a good one
  // lies beside the program.
  folder.write("C64.ttf", otherFamilyBytes());
  EXPECT_FALSE(installFont("C64.ttf", "C64 Pro", &problem));
}

TEST_F(FontInstall, RemovalWithdrawsTheFace) {
  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &problem));
  FontAtlas atlas;
  EXPECT_TRUE(rasteriseFontAtlas("C64 Pro", 24, 42, atlas, &problem));
  EXPECT_FALSE(rasteriseFontAtlas("Some Other Face", 24, 42, atlas, &problem));
  removeFont("Elsewhere.ttf");  // not the installed file: nothing happens
  EXPECT_TRUE(rasteriseFontAtlas("C64 Pro", 24, 42, atlas, &problem));
  removeFont("C64.ttf");
  EXPECT_FALSE(rasteriseFontAtlas("C64 Pro", 24, 42, atlas, &problem));
}

// At 8 pixels each way one font pixel is one screen pixel: every rendered
// glyph must be its source grid exactly, all ink or all paper, which proves
// the generated outlines (merged contours, windings, holes) right.
TEST_F(FontInstall, GlyphsRenderAsTheirSourceGridsAtEightPixels) {
  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &problem)) << problem;
  FontAtlas atlas;
  ASSERT_TRUE(rasteriseFontAtlas("C64 Pro", 8, 8, atlas, &problem));
  EXPECT_FLOAT_EQ(atlas.ascent, 7.0f);
  EXPECT_FLOAT_EQ(atlas.descent, 1.0f);
  const auto source = readGlyphSource(GM_FONT_GLYPHS);
  for (int code = kFirstAtlasCode; code <= kLastAtlasCode; ++code) {
    const AtlasGlyph& glyph = atlas.glyphs[code - kFirstAtlasCode];
    const GlyphGrid& rows = source[static_cast<size_t>(code)];
    ASSERT_EQ(rows.size(), 8u) << "code " << code;
    EXPECT_FLOAT_EQ(glyph.advance, 8.0f);
    std::string drawn;
    std::string expected;
    for (int row = 0; row < 8; ++row) {
      for (int column = 0; column < 8; ++column) {
        // Row 0 of the cell is 7 pixels above the baseline.
        const int bitmapRow = row - (7 - glyph.top);
        const int bitmapColumn = column - glyph.left;
        uint8_t value = 0;
        if (bitmapRow >= 0 && bitmapRow < glyph.height && bitmapColumn >= 0 &&
            bitmapColumn < glyph.width) {
          value = atlas.coverage[static_cast<size_t>((glyph.y + bitmapRow) * atlas.width +
                                                     glyph.x + bitmapColumn)];
        }
        drawn += value == 255 ? '#' : value == 0 ? '.' : '?';
        expected += rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
      }
      drawn += '\n';
      expected += '\n';
    }
    EXPECT_EQ(drawn, expected) << "character '" << static_cast<char>(code) << "'";
  }
}

// Height 24 and width 42 (a 1280 x 720 screen): the cell is 24 pixels high,
// 21 above the baseline and 3 below, and 42 wide: font pixels of 5.25 x 3.
TEST_F(FontInstall, GlyphsStretchSidewaysToTheRequestedWidth) {
  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &problem)) << problem;
  FontAtlas atlas;
  ASSERT_TRUE(rasteriseFontAtlas("C64 Pro", 24, 42, atlas, &problem));
  EXPECT_FLOAT_EQ(atlas.ascent, 21.0f);
  EXPECT_FLOAT_EQ(atlas.descent, 3.0f);
  // 'H' covers cell columns 1 to 6 and rows 0 to 6.
  const AtlasGlyph& h = atlas.glyphs['H' - kFirstAtlasCode];
  EXPECT_FLOAT_EQ(h.advance, 42.0f);
  EXPECT_EQ(h.top, 21);
  EXPECT_EQ(h.height, 21);
  EXPECT_EQ(h.left, 5);        // 1 x 5.25
  EXPECT_EQ(h.width, 32);      // 5.25 up to 36.75
  auto at = [&](int x, int y) {  // x from the pen, y down from the bitmap's top
    return atlas.coverage[static_cast<size_t>((h.y + y) * atlas.width + h.x + x - h.left)];
  };
  EXPECT_EQ(at(10, 0), 255);   // left stem, 5.25 to 15.75
  EXPECT_EQ(at(20, 0), 0);     // between the stems
  EXPECT_EQ(at(20, 10), 255);  // the bar, rows 9 to 11
  EXPECT_NEAR(at(5, 0), 191, 2);  // three quarters of the stem's first column

  // Width 0 keeps the face's own square proportions.
  ASSERT_TRUE(rasteriseFontAtlas("C64 Pro", 24, 0, atlas, &problem));
  EXPECT_FLOAT_EQ(atlas.glyphs['H' - kFirstAtlasCode].advance, 24.0f);
}

}  // namespace

// The sizes and the family read from the file's own tables (as the web page
// reads them, without FreeType) give the line box FreeType's atlas has.
TEST_F(FontInstall, TableReadingsAgreeWithFreeType) {
  const std::vector<char> file = fontBytes();
  const std::vector<unsigned char> bytes(file.begin(), file.end());
  FaceMetrics metrics = {};
  ASSERT_TRUE(trueTypeFaceMetrics(bytes, metrics));
  EXPECT_EQ(trueTypeFamily(bytes), "C64 Pro");
  const std::vector<char> other = otherFamilyBytes();
  EXPECT_EQ(trueTypeFamily({other.begin(), other.end()}), "C64 Prx");
  EXPECT_FALSE(trueTypeFaceMetrics({bytes.begin(), bytes.begin() + 12}, metrics));

  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &problem)) << problem;
  for (const auto& [height, width] : {std::pair{16, 0}, std::pair{24, 12}, std::pair{57, 40}}) {
    FontAtlas atlas;
    ASSERT_TRUE(rasteriseFontAtlas("C64 Pro", height, width, atlas, &problem)) << problem;
    const AtlasScale scale = atlasScale(metrics, height, width);
    EXPECT_FLOAT_EQ(scale.ascent, atlas.ascent) << height;
    EXPECT_FLOAT_EQ(scale.descent, atlas.descent) << height;
  }
}
