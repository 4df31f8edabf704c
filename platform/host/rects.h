// Rectangles as USER32 treats them, kept here so that the hosts call nothing above them. An empty
// result is all zeros.
#pragma once

#include <windows.h>

#include <algorithm>

namespace platform::host {

inline bool IsEmpty(const RECT &rect)
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

inline bool Same(const RECT &first, const RECT &second)
{
    return first.left == second.left && first.top == second.top && first.right == second.right &&
           first.bottom == second.bottom;
}

inline RECT Moved(const RECT &rect, LONG dx, LONG dy)
{
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

inline RECT Intersection(const RECT &first, const RECT &second)
{
    const RECT common = {std::max(first.left, second.left), std::max(first.top, second.top),
                         std::min(first.right, second.right), std::min(first.bottom, second.bottom)};
    return IsEmpty(common) ? RECT{} : common;
}

inline RECT Union(const RECT &first, const RECT &second)
{
    if (IsEmpty(first)) {
        return IsEmpty(second) ? RECT{} : second;
    }
    if (IsEmpty(second)) {
        return first;
    }
    return {std::min(first.left, second.left), std::min(first.top, second.top),
            std::max(first.right, second.right), std::max(first.bottom, second.bottom)};
}

} // namespace platform::host
