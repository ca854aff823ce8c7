#pragma once

#include <QString>

namespace platform {

// Asks the desktop to open a file, a folder or a web address with its usual
// program, as the shell's "Open" verb does. The answer is ignored by callers.
bool openWithShell(const QString& pathOrAddress);

} // namespace platform
