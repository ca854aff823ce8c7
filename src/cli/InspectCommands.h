#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// byeorisol-data inspect PATH [--against OTHER] [--skip KIND,...]: the verses that look wrong, by kind, each with
// its reference and an excerpt, then their counts. Exit status 0 when nothing was found, 1 when something was,
// 2 when the command line makes no sense or a version cannot be read (the file named).
int inspectCommand(const QStringList& arguments);

} // namespace cli
