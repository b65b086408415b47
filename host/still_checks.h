// The one rule for what a still (and a capture) may ask for, and the one
// wording of each refusal: a frame size within the sides a render target
// takes, a music time within the song. The capture's command line and the
// page's address read their values; both check them here.
#pragma once

#include <string>

inline constexpr int kSmallestSide = 16;
inline constexpr int kLargestSide = 16384;

// "WIDTHxHEIGHT", as sizes are written on the command line and in messages.
std::string frameSizeText(int width, int height);

// False, with "the frame size SIZE is not supported: each side from 16 to
// 16384 pixels" in *error, when a side lies outside those bounds. sizeText
// is the size as the user wrote it.
bool checkFrameSize(int width, int height, const std::string& sizeText, std::string* error);

// False, with "WHAT lies outside the song (0 to 174.342 s)" in *error, when
// the time in seconds lies outside the song. `what` names the value as the
// user gave it ("--still 200", "still=200").
bool checkSongTime(double seconds, const std::string& what, std::string* error);
