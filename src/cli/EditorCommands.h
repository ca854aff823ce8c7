#pragma once

#include <QString>

namespace cli {

// byeorisol-data show PATH REFERENCE: prints the verse's reference and text, one
// line each, as the verse editor's display box and text box show them.
int showCommand(const QString& path, const QString& reference);

// byeorisol-data save PATH REFERENCE TEXT: stores TEXT as the verse's text by the
// verse editor's save rules.
int saveCommand(const QString& path, const QString& reference, const QString& text);

} // namespace cli
