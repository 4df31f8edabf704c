// The subset of the Win32 API that SlantGlyphDemo and its tests use, for Linux.
#pragma once

#include "windef.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
