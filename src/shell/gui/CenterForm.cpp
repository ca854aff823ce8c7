#include "shell/gui/CenterForm.h"

#include "platform/CenteredOrigin.h"
#include "platform/gui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace shell {

void CenterForm(QWidget* window)
{
    if (window == nullptr || (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) != 0) {
        return;
    }
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const double perPixel = platform::twipsPerPixel(window);
    const QSize screenSize = screen->geometry().size();
    const QSize windowSize = window->frameGeometry().size();
    const auto origin = platform::centeredOrigin(screenSize.width() * perPixel, screenSize.height() * perPixel,
                                                 windowSize.width() * perPixel, windowSize.height() * perPixel);
    if (!origin) {
        return;
    }
    window->move(screen->geometry().topLeft() +
                 QPoint(platform::twipsToPixels(origin->x(), window), platform::twipsToPixels(origin->y(), window)));
}

} // namespace shell
