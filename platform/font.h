// Fonts for the show's text: a face installed from a file for this process
// only, font objects made from it, and one line of text drawn with a font
// into whatever render target is current.
#pragma once

#include <cstdint>
#include <string>

// Makes the face in `fileName` available to this process. A bare name is
// looked up in the working directory first, then in the executable's
// folder; the first file found is the one used. Returns false, installing
// nothing, with the reason in *error when no such file exists or it cannot
// be read, when it is not a complete TrueType font, or when its family is
// not `family`.
bool installFont(const char* fileName, const char* family, std::string* error);

// The file installFont would read for `fileName`, "" when there is none.
std::string fontFilePath(const char* fileName);

// Withdraws the face installed from `fileName`. Font objects made from it
// keep drawing. Nothing happens when no face from that file is installed.
void removeFont(const char* fileName);

// A font object: one face at one size, its glyphs ready to draw.
struct TextFont;

// Makes what drawing text needs besides the fonts (the text program and its
// objects) in the current graphics context, once; createFont does it too
// when it has not been done. False with the driver's message when it
// cannot be made; fonts cannot be made or drawn with then.
bool prepareTextDrawing(std::string* error);

// A font of the installed face named `faceName`, `height` pixels from the
// top of the line to its bottom (ascent plus descent) and `width` pixels of
// average character width; glyphs stretch sideways when `width` is larger
// than the face's own proportions give (0: the face's own proportions).
// Needs the current graphics context. Null with the reason in *error when
// no face of that name is installed or the font cannot be made; drawing
// with a null font draws nothing.
TextFont* createFont(int32_t height, int32_t width, const char* faceName, std::string* error);

// Deletes every font object and the drawing resources, while the graphics
// context they were made in is still current. Fonts made before are invalid
// afterwards; createFont works again, in this or a new context.
void releaseFontObjects();

struct FontRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Draws `text` as one line centred horizontally and vertically on the
// rectangle's mid-point ((left + right) / 2, (top + bottom) / 2), never
// clipped to it; inverted rectangles are fine. The line box (ascent plus
// descent) is what is centred vertically, so every character of a font sits
// on the same baseline whatever its shape. Each glyph's coverage times the
// colour's alpha blends the colour (0xAARRGGBB) over the target
// (source alpha, one minus source alpha).
//
// Coordinates are pixels of the current viewport, y down from its top. An
// off-screen target keeps its picture's top in texture row 0, the default
// framebuffer shows its top row at the top of the window; both are handled.
// The bound framebuffer is left as it is, and every other piece of state
// the drawing changes is restored afterwards.
void drawText(TextFont* font, const char* text, const FontRect& rect, uint32_t colour);

// Optional bracket around many drawText calls: the state is saved once at
// the start and restored once at the end instead of around every call.
void beginTextDrawing();
void endTextDrawing();
