// Brushes: solid and null.
#include "objects.h"

namespace gdi {

int Brush::Describe(int size, void *buffer) const
{
    return CopyOut(logical, size, buffer);
}

} // namespace gdi

using namespace gdi;

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH *plbrush)
{
    if (plbrush == nullptr || (plbrush->lbStyle != BS_SOLID && plbrush->lbStyle != BS_NULL)) {
        return nullptr;
    }
    LOGBRUSH brush = *plbrush;
    brush.lbHatch = 0;
    return static_cast<HBRUSH>(AddObject(std::make_unique<Brush>(brush)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    const LOGBRUSH brush = {BS_SOLID, color, 0};
    return CreateBrushIndirect(&brush);
}
