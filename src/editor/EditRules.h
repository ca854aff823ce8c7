#pragma once

#include <QString>
#include <optional>

namespace editor {

// The reference that first goes to, and that a freshly opened version shows.
[[nodiscard]] QString firstReference();

// The text without the spaces (U+0020) at either end; any other white space stays.
[[nodiscard]] QString trimSpaces(const QString& text);

// The offset just after the first line break of text (carriage return, line feed, or the line and paragraph
// separators that a text box makes of them), where the caret goes when a save is refused for it; nothing when the
// text is a single line.
[[nodiscard]] std::optional<qsizetype> lineBreakCaret(const QString& text);

} // namespace editor
