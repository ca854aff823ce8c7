#pragma once

#include <QString>

class QApplication;

namespace platform {
class Dialogs;
}

namespace shell {

// The program's entry: refuses to run beside another instance of the program
// installed in the same folder, or beside the viewer's verse-input window;
// otherwise shows the main window and runs until it ends. Returns the exit code.
int StartUp(QApplication& app, platform::Dialogs& dialogs, const QString& programFolder);

// The two refusals, as the start-up routine shows them.
[[nodiscard]] QString previousInstanceMessage();
[[nodiscard]] QString viewerRunningMessage();

} // namespace shell
