#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

class Dialogs;

// Asks the desktop to open a file, a folder or a web address with its usual
// program, as the shell's "Open" verb does; false when the desktop refuses.
bool openWithShell(const QString& pathOrAddress);

// The desktop's "Open" as the windows call it, replaceable so that tests can
// record what would be opened and answer for the desktop.
using ShellOpen = std::function<bool(const QString&)>;

// Opens a file, a folder or a web address for the user. When the desktop refuses,
// says so in a message that names it, so that the user can open it by hand.
void openForUser(Dialogs& dialogs, QWidget* parent, const ShellOpen& open, const QString& pathOrAddress);

// That message: the file, folder or address, two line breaks, and what to do.
[[nodiscard]] QString notOpenedMessage(const QString& pathOrAddress);

} // namespace platform
