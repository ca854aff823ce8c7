#pragma once

#include <QRect>

class QWidget;

namespace platform {

// Window geometry is given in twips: 15 twips to a pixel at 96 dots per inch,
// scaled with the screen's logical resolution.
[[nodiscard]] double twipsPerPixel(const QWidget* widget);
[[nodiscard]] int twipsToPixels(int twips, const QWidget* widget);
[[nodiscard]] int pixelsToTwips(int pixels, const QWidget* widget);
[[nodiscard]] QRect twipsRect(int left, int top, int width, int height, const QWidget* widget);

} // namespace platform
