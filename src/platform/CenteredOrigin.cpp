#include "platform/CenteredOrigin.h"

#include <QtGlobal>
#include <cmath>
#include <limits>

namespace platform {

namespace {

std::optional<int> halfDifference(double screen, double window)
{
    // Round the difference to a whole number, then halve it, cutting the fraction toward zero.
    const double rounded = std::nearbyint(screen - window);
    if (!std::isfinite(rounded) || std::abs(rounded) > 1e15) {
        return std::nullopt;
    }
    const long long half = static_cast<long long>(rounded) / 2;
    if (half < std::numeric_limits<qint16>::min() || half > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(half);
}

} // namespace

std::optional<QPoint> centeredOrigin(double screenWidth, double screenHeight, double windowWidth, double windowHeight)
{
    const auto top = halfDifference(screenHeight, windowHeight);
    const auto left = halfDifference(screenWidth, windowWidth);
    if (!top || !left) {
        return std::nullopt;
    }
    return QPoint(*left, *top);
}

} // namespace platform
