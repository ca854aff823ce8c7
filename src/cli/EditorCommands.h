#pragma once

#include <QString>
#include <optional>

namespace cli {

// byeorisol-data show PATH REFERENCE: prints the verse's reference and text, one
// line each, as the verse editor's display box and text box show them.
int showCommand(const QString& path, const QString& reference);

// byeorisol-data save PATH REFERENCE TEXT: stores TEXT as the verse's text by the
// verse editor's save rules.
int saveCommand(const QString& path, const QString& reference, const QString& text);

// byeorisol-data history PATH [REFERENCE]: the version's changes, or the verse's with its texts
// before and after each, newest first.
int historyCommand(const QString& path, const std::optional<QString>& reference);

// byeorisol-data undo PATH [REFERENCE]: takes back the version's last change, or the verse's, and
// prints every verse with the text it has again.
int undoCommand(const QString& path, const std::optional<QString>& reference);

} // namespace cli
