#include "import/TextFileKind.h"

#include "books/BookAbbreviations.h"
#include "books/TrimSpaces.h"
#include "import/VplEntryReader.h"
#include "platform/CodePage949.h"
#include "platform/Utf8.h"

#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <utility>

namespace importer {

namespace {

// The byte-order marks and the encodings they choose.
constexpr std::pair<QByteArrayView, TextEncoding> kByteOrderMarks[] = {
    {"\xEF\xBB\xBF", TextEncoding::Utf8}, {"\xFF\xFE", TextEncoding::Utf16LE}, {"\xFE\xFF", TextEncoding::Utf16BE}};
constexpr QStringView kImpKeyStart = u"$$$";

// Calls lineFound for every line of text; a line ends at CR or LF, and empty pieces between them are
// empty lines, which no caller minds.
template <typename Text, typename Unit, typename LineFound>
void forEachLine(Text text, Unit carriageReturn, Unit lineFeed, LineFound lineFound)
{
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == carriageReturn || text[i] == lineFeed) {
            if (!lineFound(text.sliced(begin, i - begin))) {
                return;
            }
            begin = i + 1;
        }
    }
}

bool beginsWithBook(QStringView line)
{
    const QStringView trimmed = books::trimSpaces(line);
    for (int book = 1; book <= books::BookAbbreviations::kCount; ++book) {
        if (trimmed.startsWith(books::BookAbbreviations::at(book))) {
            return true;
        }
    }
    return false;
}

// Among how many first lines holding more than spaces a USFM file has its first book's "\id" (after a licence, a
// comment).
constexpr int kLinesSearchedForBookId = 40;

// The format of text: a key line, a line beginning with a VPL key or with a USFM marker (a backslash and a letter) as
// the first line holding more than spaces, or a USFM book's "\id" among the first kLinesSearchedForBookId such lines;
// else lines.
SourceFormat firstLinesFormat(QStringView text)
{
    SourceFormat format = SourceFormat::Lines;
    int lines = 0;
    forEachLine(text, u'\r', u'\n', [&](QStringView line) {
        const QStringView trimmed = books::trimSpaces(line);
        if (trimmed.isEmpty()) {
            return true;
        }
        if (lines++ == 0 && line.startsWith(kImpKeyStart)) {
            format = SourceFormat::Imp;
        } else if (lines == 1 && VplEntryReader::beginsWithKey(trimmed)) {
            format = SourceFormat::Vpl;
        } else if ((lines == 1 && line.size() > 1 && line[0] == u'\\' && line[1].isLetter() &&
                    line[1].unicode() < 0x80) ||
                   line.startsWith(u"\\id ")) {
            format = SourceFormat::Usfm;
        }
        return format == SourceFormat::Lines && lines < kLinesSearchedForBookId;
    });
    return format;
}

// The text of a file's start, good enough to find its key lines: exact for ASCII, which is all they
// need, in code page 949 and UTF-8 alike.
QString startAsText(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) {
        return QStringDecoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE)
            .decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

// Whether more lines begin with a book abbreviation when read as UTF-8 than when read as code page 949.
bool moreBookLinesInUtf8(QByteArrayView bytes)
{
    qsizetype utf8Lead = 0;
    platform::CodePage949 cp949; // (without a converter it reads nothing, so no line begins with a book)
    forEachLine(bytes, '\r', '\n', [&](QByteArrayView line) {
        if (beginsWithBook(QString::fromUtf8(line))) {
            ++utf8Lead;
        }
        if (beginsWithBook(cp949.decode(line))) {
            --utf8Lead;
        }
        return true;
    });
    return utf8Lead > 0;
}

// Whether the first character of text that is no XML white space is '<': a declaration, a comment or
// an element.
bool startsWithMarkup(QStringView text)
{
    const auto first =
        std::ranges::find_if_not(text, [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; });
    return first != text.end() && *first == u'<';
}

} // namespace

TextFileKind detectTextFileKind(QByteArrayView start, bool wholeFile)
{
    TextFileKind kind;
    for (const auto& [mark, encoding] : kByteOrderMarks) {
        if (start.startsWith(mark)) {
            kind.encoding = encoding;
            kind.markSize = mark.size();
            break;
        }
    }
    const QByteArrayView text = start.sliced(kind.markSize);
    const QString startText = startAsText(text, kind.encoding);
    // An XML file names its encoding itself, and its reader decodes it.
    if (startsWithMarkup(startText)) {
        kind.format = SourceFormat::Xml;
        return kind;
    }
    kind.format = firstLinesFormat(startText);
    if (kind.markSize != 0) {
        return kind;
    }
    if (kind.format != SourceFormat::Lines) {
        kind.encoding = TextEncoding::Utf8;
    } else if (platform::isWellFormedUtf8(text, !wholeFile) && moreBookLinesInUtf8(text)) {
        kind.encoding = TextEncoding::Utf8;
    }
    return kind;
}

} // namespace importer
