// Part of the Win32 subset for Linux.
#pragma once

#include "windef.h"
