#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "visuals/text_pages.h"

namespace {

bool allowedOnPage(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ' || c == '!' || c == '.' ||
         c == '/' || c == ':';
}

TEST(TextPages, EveryPageIsTwoHundredPlainCharactersThenTenZeroBytes) {
  for (int page = 0; page < kTextPageCount; ++page) {
    const char* start = textPages + kTextPageStride * page;
    for (int i = 0; i < kTextCharacters; ++i) {
      EXPECT_TRUE(allowedOnPage(start[i]))
          << "page " << page << " row " << i / kTextColumns << " column " << i % kTextColumns
          << " holds byte " << static_cast<int>(start[i]);
    }
    for (int i = kTextCharacters; i < kTextPageStride; ++i) {
      EXPECT_EQ(start[i], '\0') << "page " << page << " byte " << i;
    }
  }
}

TEST(TextPages, TheAnnouncementNamesTheShowAndThePagesDiffer) {
  const std::string first(textPages, kTextCharacters);
  const std::string second(textPages + kTextPageStride, kTextCharacters);
  EXPECT_NE(first.find("GLASS MERIDIAN"), std::string::npos);
  EXPECT_NE(first, second);
  EXPECT_NE(second.find_first_not_of(' '), std::string::npos);
}

}  // namespace
