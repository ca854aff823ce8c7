#pragma once

#include "platform/gui/Dialogs.h"

namespace platform {

// Asks, with request's title, filter and button, for one version file, starting in the folder a version was last
// chosen from (else the install folder of programFolder), and keeps the folder of the file chosen for the next time.
// The chosen path; empty when the user cancelled.
[[nodiscard]] QString chooseVersionFile(Dialogs& dialogs, QWidget* parent, const QString& programFolder,
                                        FileDialogRequest request);

} // namespace platform
