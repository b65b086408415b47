#include "visuals/text_pages.h"

// Each line below is one row of exactly 20 characters. A short row would
// shift the rest of the page; the tests check every page's length and its
// ten closing zero bytes.
const char textPages[kTextPageStride * kTextPageCount] =
    // Page 0: the announcement.
    "   GLASS MERIDIAN   "
    "                    "
    "  a realtime show   "
    " of light and sound "
    "                    "
    " raymarched glass:  "
    " folded and lit by  "
    "   its own music.   "
    "                    "
    "  escape ends it!   "
    "\0\0\0\0\0\0\0\0\0\0"
    // Page 1: the credits.
    "      CREDITS       "
    "                    "
    " code/music/font:   "
    "  the meridian crew "
    "                    "
    " sound synthesized  "
    "  live in memory.   "
    "                    "
    " greets to all the  "
    " sceners out there! "
    "\0\0\0\0\0\0\0\0\0";  // the literal's own terminator is the tenth zero
