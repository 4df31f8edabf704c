// The notches a turn of the mouse wheel makes, for the controls that step by whole notches.
#pragma once

#include <windows.h>

namespace platform {

// A fine-grained wheel reports less than WHEEL_DELTA a turn: what is left over is kept until the
// turns add up to a notch, and a turn the other way starts afresh. Returns the whole notches
// (positive away from the user), leaving the rest in `remainder`.
inline void AddWheelTurn(int &remainder, int delta)
{
    const bool sameWay = (delta < 0 && remainder < 0) || (delta > 0 && remainder > 0);
    remainder = sameWay ? remainder + delta : delta;
}

inline int WheelNotches(int &remainder, int delta)
{
    AddWheelTurn(remainder, delta);
    const int notches = remainder / WHEEL_DELTA;
    remainder -= notches * WHEEL_DELTA;
    return notches;
}

} // namespace platform
