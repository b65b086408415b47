// Places the generated picture file into read-only data under the symbol
// overlayPicture; the assembler checks its size.
#include "visuals/overlay_picture.h"

#ifndef GM_OVERLAY_PICTURE_FILE
#error "GM_OVERLAY_PICTURE_FILE names the generated picture"
#endif

#define GM_STRINGIFY2(x) #x
#define GM_STRINGIFY(x) GM_STRINGIFY2(x)

asm(".pushsection .rodata\n"
    ".balign 64\n"
    ".globl overlayPicture\n"
    ".type overlayPicture, @object\n"
    "overlayPicture:\n"
    ".incbin \"" GM_OVERLAY_PICTURE_FILE "\"\n"
    ".if . - overlayPicture != " GM_STRINGIFY(GM_OVERLAY_PICTURE_BYTES) "\n"
    ".error \"the overlay picture file has the wrong size\"\n"
    ".endif\n"
    ".size overlayPicture, . - overlayPicture\n"
    ".popsection\n");
