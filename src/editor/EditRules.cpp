#include "editor/EditRules.h"

#include "books/TrimSpaces.h"

#include <algorithm>

namespace editor {

QString firstReference()
{
    return QStringLiteral("창 1:1");
}

QString trimSpaces(const QString& text)
{
    return books::trimSpaces(text).toString();
}

std::optional<qsizetype> lineBreakCaret(const QString& text)
{
    const auto lineBreak = std::find_if(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
    if (lineBreak == text.cend()) {
        return std::nullopt;
    }
    return lineBreak - text.cbegin() + 1;
}

} // namespace editor
