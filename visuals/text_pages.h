// The two pages of the text layer: constant data.
#pragma once

constexpr int kTextColumns = 20;
constexpr int kTextRows = 10;
constexpr int kTextCharacters = kTextColumns * kTextRows;  // drawn per page
constexpr int kTextPageStride = kTextCharacters + 10;      // 10 zero bytes follow each page
constexpr int kTextPageCount = 2;

// Page p's character i is textPages[kTextPageStride * p + i]; rows of 20
// characters one after the other, blank rows all spaces.
extern const char textPages[kTextPageStride * kTextPageCount];
