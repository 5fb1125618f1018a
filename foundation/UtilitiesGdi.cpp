// Vertical gradient fill through GDI's GradientFill.

#include "foundation/UtilitiesCommon.h"

namespace KV {

namespace {

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color)
{
    TRIVERTEX vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(GetRValue(color) << 8);
    vertex.Green = static_cast<COLOR16>(GetGValue(color) << 8);
    vertex.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
    vertex.Alpha = 0;
    return vertex;
}

} // namespace

void FillGradientV(HDC dc, COLORREF top, COLORREF bottom, const RECT& rect)
{
    TRIVERTEX vertices[4] = {
        Vertex(rect.left, rect.top, top),
        Vertex(rect.right, rect.top, top),
        Vertex(rect.left, rect.bottom, bottom),
        Vertex(rect.right, rect.bottom, bottom),
    };
    GRADIENT_RECT gradient = {0, 3};
    GradientFill(dc, vertices, 4, &gradient, 1, GRADIENT_FILL_RECT_V);
}

} // namespace KV
