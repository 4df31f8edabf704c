/* The placeholders of placeholders_gdi32.def, defined as placeholders.c defines its own. */
#define WINESUITE_PLACEHOLDERS "placeholders_gdi32.def"
#include "placeholders.c"
