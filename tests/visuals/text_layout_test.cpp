#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "visuals/text_layout.h"

namespace {

struct Frame {
  TextCharacterLayout characters[kTextCharacters];
};

void layOut(TextPageState& state, float time, float previousTime, int32_t width, int32_t height,
            Frame& frame) {
  layoutTextFrame(time, previousTime, width, height, static_cast<float>(width),
                  static_cast<float>(height), state, frame.characters);
}

// Which page each character of the frame came from.
int pageOf(const TextCharacterLayout& character, int index) {
  const char fromPage0 = textPages[index];
  const char fromPage1 = textPages[kTextPageStride + index];
  if (character.code == fromPage0 && character.code != fromPage1) return 0;
  if (character.code == fromPage1 && character.code != fromPage0) return 1;
  return -1;  // both pages hold the same character here
}

void expectFromPage(const Frame& frame, int first, int last, int page) {
  for (int i = first; i <= last; ++i) {
    EXPECT_EQ(frame.characters[i].code, textPages[kTextPageStride * page + i]) << "character " << i;
  }
}

bool sameRects(const TextCharacterLayout& x, const TextCharacterLayout& y) {
  for (int layer = 0; layer < kTextLayers; ++layer) {
    if (x.rects[layer].left != y.rects[layer].left || x.rects[layer].top != y.rects[layer].top ||
        x.rects[layer].right != y.rects[layer].right ||
        x.rects[layer].bottom != y.rects[layer].bottom) {
      return false;
    }
  }
  return true;
}

// Worked by hand at 1366 x 768 (W/15 = 91, W/10 = 136, W/300 = 4, W/30 = 45,
// W/50 = 27, W/100 = 13, W/200 = 6; H/10 = 76, H/2 = 384, H/300 = 2,
// H/30 = 25) for music time 0, at rest.
TEST(TextLayout, IntegerDivisionsAtWidth1366) {
  TextPageState state;
  state.countdown = 300.0f;
  Frame frame;
  layOut(state, 0.0f, 0.0f, 1366, 768, frame);

  // Character 0: a = b = 0, ox = trunc(0 * 27 + 1 * 13) = 13, oy = trunc(0 * 13 + 1 * 6) = 6.
  const TextCharacterLayout& first = frame.characters[0];
  EXPECT_EQ(first.rects[2].left, 136 + 13);
  EXPECT_EQ(first.rects[2].top, 384 + 6);
  EXPECT_EQ(first.rects[0].left, 136 + 4 + 13);
  EXPECT_EQ(first.rects[0].top, 384 + 2 + 6);
  EXPECT_EQ(first.rects[1].left, 136 - 4 + 13);
  EXPECT_EQ(first.rects[1].top, 384 - 2 + 6);
  for (const TextRect& rect : first.rects) {
    EXPECT_EQ(rect.right, 45);
    EXPECT_EQ(rect.bottom, 25);
  }
  EXPECT_FLOAT_EQ(textRectCentre(first.rects[2]).x, (149.0f + 45.0f) / 2.0f);
  EXPECT_FLOAT_EQ(textRectCentre(first.rects[2]).y, (390.0f + 25.0f) / 2.0f);

  // Character 21 (column 1, row 1): a = b = 12,
  // ox = trunc(sin 24 * 27 + cos -24 * 13) = trunc(-18.94) = -18,
  // oy = trunc(sin -24 * 13 + cos 24 * 6) = trunc(14.32) = 14.
  const TextCharacterLayout& second = frame.characters[21];
  EXPECT_EQ(second.rects[2].left, 91 + 136 - 18);
  EXPECT_EQ(second.rects[2].top, 76 + 384 + 14);
  EXPECT_EQ(second.rects[0].left, 91 + 136 + 4 - 18);
  EXPECT_EQ(second.rects[1].top, 76 + 384 - 2 + 14);
}

TEST(TextLayout, LayersHaveTheirColoursInDrawingOrder) {
  TextPageState state;
  state.countdown = 300.0f;
  Frame frame;
  layOut(state, 1.0f, 1.0f, 1280, 720, frame);
  const uint32_t shadowByRow[4] = {0x77FFAA44u, 0x7755AAFFu, 0x7755FFAAu, 0x77FF55FFu};
  for (int i = 0; i < kTextCharacters; ++i) {
    const int row = i / kTextColumns;
    EXPECT_EQ(frame.characters[i].colours[0], shadowByRow[row % 4]) << "character " << i;
    EXPECT_EQ(frame.characters[i].colours[1], 0xFFFFFFFFu);
    EXPECT_EQ(frame.characters[i].colours[2], 0xFF000000u);
    // The shadow sits W/300 right and H/300 down of the face, the highlight
    // as much left and up.
    EXPECT_EQ(frame.characters[i].rects[0].left - frame.characters[i].rects[2].left, 4);
    EXPECT_EQ(frame.characters[i].rects[0].top - frame.characters[i].rects[2].top, 2);
    EXPECT_EQ(frame.characters[i].rects[1].left - frame.characters[i].rects[2].left, -4);
    EXPECT_EQ(frame.characters[i].rects[1].top - frame.characters[i].rects[2].top, -2);
  }
}

// The fly terms scale with the float screen size: character 0 at time 0 with
// the countdown at 600 has A = 10 pi, so oy = trunc(6 + cos 0 * 10 pi * 768 * 0.05)
// = trunc(1212.37) and ox gains sin 0 = 0.
TEST(TextLayout, FlyInAtFullAmplitude) {
  TextPageState state;
  Frame frame;
  layOut(state, 0.0f, 0.0f, 1366, 768, frame);
  EXPECT_EQ(frame.characters[0].rects[2].left, 136 + 13);
  EXPECT_EQ(frame.characters[0].rects[2].top, 384 + 1212);
}

TEST(TextLayout, NoFlyTermAtExactly500Or100) {
  // With no time passing the countdown holds still for the whole frame.
  auto frameAt = [](float countdown, Frame& frame) {
    TextPageState state;
    state.countdown = countdown;
    layOut(state, 7.3f, 7.3f, 1280, 720, frame);
    EXPECT_EQ(state.countdown, countdown);
  };
  static Frame rest, at500, at100, above500, below100;
  frameAt(300.0f, rest);
  frameAt(500.0f, at500);
  frameAt(100.0f, at100);
  frameAt(std::nextafter(500.0f, 1000.0f), above500);
  frameAt(std::nextafter(100.0f, 0.0f), below100);

  int movedAbove = 0;
  int movedBelow = 0;
  for (int i = 0; i < kTextCharacters; ++i) {
    EXPECT_TRUE(sameRects(at500.characters[i], rest.characters[i])) << "character " << i;
    EXPECT_TRUE(sameRects(at100.characters[i], rest.characters[i])) << "character " << i;
    movedAbove += sameRects(above500.characters[i], rest.characters[i]) ? 0 : 1;
    movedBelow += sameRects(below100.characters[i], rest.characters[i]) ? 0 : 1;
  }
  // Even the tiniest amplitude moves some characters across a truncation step.
  EXPECT_GT(movedAbove, 0);
  EXPECT_GT(movedBelow, 0);
}

TEST(TextLayout, FirstFrameCountsDownByTheWholeMusicTime) {
  TextPageState state;
  Frame frame;
  layOut(state, 0.25f, 0.0f, 1280, 720, frame);
  EXPECT_EQ(state.page, 0);
  EXPECT_FLOAT_EQ(state.countdown, 600.0f - 200.0f * 0.25f);
  expectFromPage(frame, 0, kTextCharacters - 1, 0);
}

// Times in quarters keep every countdown step exact.
TEST(TextLayout, PageFlipsInTheMiddleOfAFrame) {
  TextPageState state;
  Frame frame;
  layOut(state, 2.5f, 0.0f, 1280, 720, frame);  // 600 - 200 * 2.5 = 100
  EXPECT_EQ(state.countdown, 100.0f);
  EXPECT_EQ(state.page, 0);

  // 0.75 per character: the 134th subtraction (character 133) reaches -0.5.
  Frame flipping;
  layOut(state, 3.25f, 2.5f, 1280, 720, flipping);
  expectFromPage(flipping, 0, 132, 0);
  expectFromPage(flipping, 133, kTextCharacters - 1, 1);
  EXPECT_EQ(state.page, 1);
  EXPECT_EQ(state.countdown, 600.0f - 66.0f * 0.75f);  // characters 134 to 199 after the reset

  // Characters before the flip fly out, the rest fly in: none is at rest.
  TextPageState resting;
  resting.countdown = 300.0f;
  Frame rest;
  layOut(resting, 3.25f, 3.25f, 1280, 720, rest);
  int atRest = 0;
  for (int i = 0; i < kTextCharacters; ++i) {
    atRest += sameRects(flipping.characters[i], rest.characters[i]) ? 1 : 0;
  }
  EXPECT_LT(atRest, 10);
}

TEST(TextLayout, AFrameLongerThanTwoPagesFlipsTwice) {
  TextPageState state;
  Frame frame;
  // 6.5 per character: flips at characters 92 (93 steps) and 185.
  layOut(state, 6.5f, 0.0f, 1280, 720, frame);
  expectFromPage(frame, 0, 91, 0);
  expectFromPage(frame, 92, 184, 1);
  expectFromPage(frame, 185, kTextCharacters - 1, 0);
  EXPECT_EQ(state.page, 0);
  EXPECT_EQ(state.countdown, 600.0f - 14.0f * 6.5f);  // characters 186 to 199 after the second reset
}

// At a steady 60 frames per second the pages change near music time 3, 6, 9
// ... and alternate (within a few frames: the countdown's rounding drifts a
// little over the song); the song ends at 23.25 on page 1.
TEST(TextLayout, PageTimelineAtSteadyPlayback) {
  TextPageState state;
  static Frame frame;
  std::vector<float> changes;
  float previous = 0.0f;
  int shown = 0;
  for (uint32_t position = 0; position <= 7688496u; position += 735u) {
    const float time = static_cast<float>(position) / 330688.0f;
    layOut(state, time, previous, 1280, 720, frame);
    previous = time;
    for (int i = 0; i < kTextCharacters; ++i) {
      const int page = pageOf(frame.characters[i], i);
      if (page >= 0 && page != shown) {
        changes.push_back(time);
        shown = page;
      }
    }
  }
  ASSERT_EQ(changes.size(), 7u);
  for (size_t k = 0; k < changes.size(); ++k) {
    EXPECT_NEAR(changes[k], 3.0f * static_cast<float>(k + 1), 0.01f) << "change " << k;
  }
  EXPECT_EQ(state.page, 1);
}

// Stepping the pages alone carries the same state from frame to frame as
// laying the frames out: ordinary frames, a frame that ends a page inside
// it, one long enough to change pages twice, a still frame and one that
// goes back in time.
TEST(TextLayout, SteppingPagesAloneMatchesLayout) {
  const float times[] = {0.02f, 0.04f, 2.99f, 3.01f, 3.5f, 10.0f, 10.0f, 9.0f, 9.5f, 15.2f};
  TextPageState laidOut;
  TextPageState stepped;
  static Frame frame;
  float previous = 0.0f;
  for (float time : times) {
    layOut(laidOut, time, previous, 1280, 720, frame);
    stepTextPages(time, previous, stepped);
    previous = time;
    EXPECT_EQ(stepped.page, laidOut.page) << "at " << time;
    EXPECT_EQ(stepped.countdown, laidOut.countdown) << "at " << time;
  }
}

// Seeking gives the state that playing from the start reaches.
TEST(TextLayout, SeekingMatchesSteadyPlayback) {
  const TextPageState atStart = seekTextPages(0.0f);
  EXPECT_EQ(atStart.page, 0);
  EXPECT_EQ(atStart.countdown, kTextCountdownStart);
  const TextPageState atEight = seekTextPages(8.0f);
  EXPECT_EQ(atEight.page, 0);
  EXPECT_FLOAT_EQ(atEight.countdown, 200.0f);

  TextPageState played;
  static Frame frame;
  float previous = 0.0f;
  for (int step = 1; step <= 96; ++step) {  // quarters up to 24: exact steps
    const float time = 0.25f * static_cast<float>(step);
    layOut(played, time, previous, 1280, 720, frame);
    previous = time;
    const TextPageState sought = seekTextPages(time);
    EXPECT_EQ(sought.page, played.page) << "at " << time;
    EXPECT_EQ(sought.countdown, played.countdown) << "at " << time;
  }
}

}  // namespace
