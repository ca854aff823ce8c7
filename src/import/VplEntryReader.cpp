#include "import/VplEntryReader.h"

#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "books/TrimSpaces.h"
#include "import/XmlVerseReader.h"

#include <QRegularExpression>

namespace importer {

namespace {

// A key and the space after it: a heading's in brackets, or a book's name, a space and "chapter:verse".
const QRegularExpression kKeyPattern(QStringLiteral(R"(^(\[[^\]]*\]|(\S.*?) \d+:\d+)(?: |$))"));

} // namespace

bool VplEntryReader::beginsWithKey(QStringView line)
{
    const QRegularExpressionMatch match = kKeyPattern.match(line.toString());
    if (!match.hasMatch()) {
        return false;
    }
    // A Korean abbreviation makes a line of a text file ("창 1:1 ..."), not of a VPL file.
    const QStringView book = match.capturedView(2);
    return book.isNull() || (books::SwordBookNames::find(book) != 0 && books::BookAbbreviations::find(book) == 0);
}

TextFileReader::ReadResult VplEntryReader::next(SourceEntry& entry)
{
    using ReadResult = TextFileReader::ReadResult;
    for (;;) {
        const ReadResult read = m_reader.readLine(m_line);
        if (read != ReadResult::Line) {
            return read;
        }
        ++m_lineNumber;
        const QString line = books::trimSpaces(m_line).toString();
        if (line.isEmpty()) {
            continue;
        }
        entry = SourceEntry{};
        entry.lineNumber = m_lineNumber;
        const QRegularExpressionMatch match = kKeyPattern.match(line);
        entry.key = match.hasMatch() ? match.captured(1) : line;
        const QString text = books::trimSpaces(QStringView(line).sliced(entry.key.size())).toString();
        entry.text = text.contains(u'<') ? osisMarkupText(text) : text;
        return ReadResult::Line;
    }
}

} // namespace importer
