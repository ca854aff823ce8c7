#pragma once

#include <QString>

class QWidget;

namespace platform {

// The skin hook: when the program folder holds "skin.qss", its style sheet is
// applied to the window. Without it the window keeps the platform's look.
void applySkin(QWidget* window, const QString& programFolder);

} // namespace platform
