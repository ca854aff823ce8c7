#pragma once

#include <QFontMetrics>
#include <QSize>
#include <QWidget>

namespace platform {

// A window's size hint widened (and heightened) to hold at least this many average characters and lines of its
// font: room for paths and texts at the first opening.
[[nodiscard]] inline QSize atLeastCharacters(QSize hint, const QWidget& window, int characters, int lines = 0)
{
    const QFontMetrics metrics = window.fontMetrics();
    return hint.expandedTo(QSize(metrics.averageCharWidth() * characters, metrics.height() * lines));
}

} // namespace platform
