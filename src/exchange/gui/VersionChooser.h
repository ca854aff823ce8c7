#pragma once

#include <QString>

class QLineEdit;

namespace platform {
class Dialogs;
} // namespace platform

namespace exchange {

// Asks for one version file, starting in the folder a version was last chosen from (else the install
// folder), and puts its path into box; a cancelled dialog leaves the box as it was. The export, comparison and
// inspection windows choose versions so.
void chooseVersionInto(QLineEdit* box, platform::Dialogs& dialogs, const QString& programFolder, const QString& title);

} // namespace exchange
