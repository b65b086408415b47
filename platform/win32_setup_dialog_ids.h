/* The setup dialog's template and control ids, shared by the resource
   script and the dialog procedure. Plain macros: the resource compiler
   reads this file too. */
#pragma once

#define GM_SETUP_DIALOG 101
#define GM_SETUP_MODES 1001
#define GM_SETUP_RESOLUTION_LABEL 1002
#define GM_SETUP_FULL_SCREEN 1003
#define GM_SETUP_FULL_SCREEN_LABEL 1004
#define GM_SETUP_RULE 1005
#define GM_SETUP_BANNER 1006
