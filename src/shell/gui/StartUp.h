#pragma once

#include "platform/ProgramFolders.h"

#include <QString>

class QApplication;

namespace platform {
class Dialogs;
}

namespace shell {

// The program's entry: refuses to run when the program folder could not be made
// ready, beside another instance of the program installed in the same folder, or
// beside the viewer's verse-input window; otherwise shows the main window and runs
// until it ends. Returns the exit code.
int StartUp(QApplication& app, platform::Dialogs& dialogs, const platform::ProgramFolder& programFolder);

// The two refusals, as the start-up routine shows them.
[[nodiscard]] QString previousInstanceMessage();
[[nodiscard]] QString viewerRunningMessage();
// The installed program could not copy its shipped files into the user's install folder.
[[nodiscard]] QString shippedFilesMessage(const platform::FileFailure& failure);

} // namespace shell
