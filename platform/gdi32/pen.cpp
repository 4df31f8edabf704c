// Pens: cosmetic, drawn one pixel wide; PS_NULL draws nothing.
#include "objects.h"

namespace gdi {

int Pen::Describe(int size, void *buffer) const
{
    return CopyOut(logical, size, buffer);
}

} // namespace gdi

using namespace gdi;

HPEN WINAPI CreatePenIndirect(const LOGPEN *plpen)
{
    if (plpen == nullptr || (plpen->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME) {
        return nullptr;
    }
    LOGPEN pen = *plpen;
    pen.lopnWidth.y = 0;
    if (pen.lopnWidth.x < 0) {
        pen.lopnWidth.x = 0;
    }
    return static_cast<HPEN>(AddObject(std::make_unique<Pen>(pen)));
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    const LOGPEN pen = {static_cast<UINT>(iStyle), {cWidth, 0}, color};
    return CreatePenIndirect(&pen);
}
