#pragma once

#include <QPoint>
#include <optional>

class QWidget;

namespace platform {

// Centres a window on its screen; a minimised or maximised window, or one
// whose centred position does not fit 16 bits in twips, stays where it is.
void CenterForm(QWidget* window);

// The origin, in twips, that centres a window of the given size on a screen of
// the given size. Nothing when a coordinate does not fit a 16-bit signed integer.
[[nodiscard]] std::optional<QPoint> centeredOrigin(double screenWidth, double screenHeight, double windowWidth,
                                                   double windowHeight);

} // namespace platform
