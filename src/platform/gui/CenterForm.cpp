#include "platform/gui/CenterForm.h"

#include "platform/gui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
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

void CenterForm(QWidget* window)
{
    if (window == nullptr || (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) != 0) {
        return;
    }
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const double perPixel = twipsPerPixel(window);
    const QSize screenSize = screen->geometry().size();
    const QSize windowSize = window->frameGeometry().size();
    const auto origin = centeredOrigin(screenSize.width() * perPixel, screenSize.height() * perPixel,
                                       windowSize.width() * perPixel, windowSize.height() * perPixel);
    if (!origin) {
        return;
    }
    window->move(screen->geometry().topLeft() +
                 QPoint(twipsToPixels(origin->x(), window), twipsToPixels(origin->y(), window)));
}

} // namespace platform
