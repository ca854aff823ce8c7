#include "platform/gui/Twips.h"

#include <QWidget>
#include <cmath>

namespace platform {

double twipsPerPixel(const QWidget* widget)
{
    const int dpi = widget != nullptr ? widget->logicalDpiY() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int twipsToPixels(int twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel(widget)));
}

int pixelsToTwips(int pixels, const QWidget* widget)
{
    return static_cast<int>(std::lround(pixels * twipsPerPixel(widget)));
}

QRect twipsRect(int left, int top, int width, int height, const QWidget* widget)
{
    return {twipsToPixels(left, widget), twipsToPixels(top, widget), twipsToPixels(width, widget),
            twipsToPixels(height, widget)};
}

} // namespace platform
