#pragma once

#include <QString>

class QWidget;

namespace platform {

// What the program remembers between starts, in the platform's configuration
// location: each window's size and the folders last used. Nothing else is kept.

// Gives the window the size it had when it last closed (kept under its object
// name) and keeps its size again each time it is hidden. At its first opening it takes its size hint, widened (and
// heightened) to hold at least this many average characters and lines of its font: room for paths and texts.
void rememberGeometry(QWidget* window, int characters = 0, int lines = 0);

// The folder last used for the kind of file that key names; fallback when none
// was kept or the folder kept is gone.
[[nodiscard]] QString lastFolder(const QString& key, const QString& fallback);

// Keeps the folder of path (a file, or a folder itself when isFolder) under key.
void setLastFolder(const QString& key, const QString& path, bool isFolder = false);

} // namespace platform
