#pragma once

#include <QString>

namespace platform {

// True when a top-level window of exactly this class and exactly this title
// exists on the desktop. On X11 the class matches either part of WM_CLASS
// (instance or class name). Without a window system the answer is false.
[[nodiscard]] bool topLevelWindowExists(const QString& className, const QString& title);

} // namespace platform
