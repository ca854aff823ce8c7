#pragma once

#include <QPoint>
#include <optional>

namespace platform {

// The origin, in twips, that centres a window of the given size on a screen of
// the given size. Nothing when a coordinate does not fit a 16-bit signed integer.
[[nodiscard]] std::optional<QPoint> centeredOrigin(double screenWidth, double screenHeight, double windowWidth,
                                                   double windowHeight);

} // namespace platform
