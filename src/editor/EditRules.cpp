#include "editor/EditRules.h"

#include "books/TrimSpaces.h"

namespace editor {

QString firstReference()
{
    return QStringLiteral("창 1:1");
}

QString trimSpaces(const QString& text)
{
    return books::trimSpaces(text).toString();
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

std::optional<qsizetype> lineBreakCaret(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLineBreak(text.at(i))) {
            return i + 1;
        }
    }
    return std::nullopt;
}

} // namespace editor
