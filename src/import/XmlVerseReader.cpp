#include "import/XmlVerseReader.h"

#include "books/SwordBookNames.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cctype>
#include <span>

namespace importer {

using namespace Qt::StringLiterals;

namespace {

// The file goes to the XML reader in pieces of this size.
constexpr qint64 kPieceSize = 64 * 1024;
// The most bytes the XML reader may hold for one token (times what a byte may expand to): the
// longest text in UTF-8, three bytes a character. QXmlStreamReader hands a text over whole, however
// long: one of 200 MB would take 400 MB.
constexpr qint64 kLongestToken = 3 * kLongestSourceText;
// What one entity may expand into, what it names in turn included (Qt's default, made sure of), and
// the most characters an entity may stand for for each byte of its reference ("&name;"): a document
// that names a long entity again and again would otherwise be read for ever.
constexpr int kEntityExpansionLimit = 4096;
constexpr qint64 kMostExpansion = 16;
// The XML reader keeps every open element: a file of nothing but start tags would fill the memory.
constexpr int kDeepestElement = 256;

// Elements whose content is no verse text, and elements that mark words up within a line.
constexpr QStringView kOsisLeftOut[] = {u"note", u"title"};
constexpr QStringView kOsisInline[] = {u"w",         u"transChange", u"divineName", u"hi",  u"q",         u"foreign",
                                       u"name",      u"seg",         u"abbr",       u"rdg", u"reference", u"catchWord",
                                       u"mentioned", u"inscription", u"date",       u"a",   u"index"};
constexpr QStringView kZefaniaLeftOut[] = {u"NOTE", u"XREF", u"CAPTION", u"REMARK"};
constexpr QStringView kZefaniaInline[] = {u"STYLE", u"gr", u"sup", u"sub"};

// A name without its prefix ("osis:verse" is "verse"), an OSIS id without its work ("KJV:Gen.1.1" is "Gen.1.1").
QStringView localName(QStringView name)
{
    return name.sliced(name.lastIndexOf(u':') + 1);
}

bool isOneOf(QStringView name, std::span<const QStringView> names)
{
    return std::ranges::find(names, name) != names.end();
}

bool isLeftOut(QStringView name, bool osis)
{
    return osis ? isOneOf(name, kOsisLeftOut) : isOneOf(name, kZefaniaLeftOut);
}

bool isInline(QStringView name, bool osis)
{
    return osis ? isOneOf(name, kOsisInline) : isOneOf(name, kZefaniaInline);
}

// What parts several verses in an osisID ("Gen.1.1 Gen.1.2", "Gen.1.1-Gen.1.3") or a vnumber ("1-2", "1,2"):
// white space (a character reference may put a line end there) or a dash or comma.
bool isSeparator(QChar c)
{
    return c <= u' ' || c == u'-' || c == u',';
}

// The book of an OSIS id, 0 when the book tables do not know it.
int osisBook(QStringView id)
{
    for (int book = 1; !books::SwordBookNames::osisId(book).isEmpty(); ++book) {
        if (books::SwordBookNames::osisId(book) == id) {
            return book;
        }
    }
    return 0;
}

// An IMP key, "Gen 1:1".
QString verseKey(QStringView book, QStringView chapter, QStringView verse)
{
    QString key;
    key.reserve(book.size() + chapter.size() + verse.size() + 2);
    return key.append(book).append(u' ').append(chapter).append(u':').append(verse);
}

// The next byte of a file, or -1 at its end (or where it cannot be read on).
int nextByte(QFile& file)
{
    char byte = 0;
    return file.getChar(&byte) ? static_cast<unsigned char>(byte) : -1;
}

// How many UTF-16 units, as the XML reader counts columns, a byte of UTF-8 begins: none for a byte
// that continues a character, two for the first of four.
int unitsBegun(int byte)
{
    return (byte & 0xc0) == 0x80 ? 0 : byte >= 0xf0 ? 2 : 1;
}

// Where reading resumes after malformed XML: the start tag found, on its line of the file.
struct ResumePoint
{
    qint64 offset = -1; // -1: the file ended first
    qint64 line = 0;
    qint64 lineStart = 0;
    qint64 column = 0;
    bool tooDeep = false;
};

// Reads tags from the file, from where it stands, to the first start tag named one of resumeNames (any prefix), and
// follows the elements opened and closed on the way in open: an end tag closes the innermost element
// of its name and all within it, or nothing when none is open. Comments, CDATA sections, processing
// instructions and declarations are passed over; so is '>' within quotes in a tag.
ResumePoint findResumePoint(QFile& in, qint64 line, qint64 lineStart, qint64 column,
                            std::span<const QStringView> resumeNames, std::vector<QString>& open)
{
    int c = 0;
    const auto next = [&] {
        c = nextByte(in);
        if (c == '\n') {
            ++line;
            lineStart = in.pos();
            column = 0;
        } else if (c >= 0) {
            column += unitsBegun(c);
        }
        return c;
    };
    const auto skipPast = [&](QByteArrayView end) {
        QByteArray last; // the last bytes read, as many as end has
        while (!end.isEmpty() && last != end && next() >= 0) {
            last.append(static_cast<char>(c));
            if (last.size() > end.size()) {
                last.remove(0, 1);
            }
        }
    };
    // A name from its first byte on; c is the byte after it.
    const auto readName = [&](QByteArray name) {
        // (the characters of an XML name: a tag of others is carried over by the name up to them)
        while (next() >= 0 && (c >= 0x80 || std::isalnum(c) != 0 || c == '_' || c == '-' || c == '.' || c == ':') &&
               name.size() < 256) {
            name.append(static_cast<char>(c));
        }
        return QString::fromUtf8(name);
    };
    while (next() >= 0) {
        if (c != '<') {
            continue;
        }
        const ResumePoint here{in.pos() - 1, line, lineStart, column - 1};
        if (next() == '/') {
            const QString name = readName({});
            const auto same = std::find(open.rbegin(), open.rend(), name);
            if (same != open.rend()) {
                open.erase(std::prev(same.base()), open.end());
            }
            if (c != '>') {
                skipPast(">");
            }
        } else if (c == '!') {
            QByteArray opening;
            while (opening.size() < 7 && next() >= 0 && c != '>') {
                opening.append(static_cast<char>(c));
                if (opening == "--" || opening == "[CDATA[") {
                    break;
                }
            }
            skipPast(opening == "--" ? "-->" : opening == "[CDATA[" ? "]]>" : c == '>' ? "" : ">");
        } else if (c == '?') {
            skipPast("?>");
        } else if (c > ' ' && c != '>') {
            QString name = readName(QByteArray(1, static_cast<char>(c)));
            const QStringView local = localName(name);
            if (std::ranges::find(resumeNames, local) != resumeNames.end()) {
                // Verses, chapters and books do not nest: one still open ends where the next starts.
                const auto same = std::find_if(open.rbegin(), open.rend(),
                                               [&](const QString& other) { return localName(other) == local; });
                if (local != u"div" && same != open.rend()) {
                    open.erase(std::prev(same.base()), open.end());
                }
                return here;
            }
            // To the tag's end, past quoted values; a tag that ends "/>" opens nothing.
            int quote = 0, last = 0;
            while (c >= 0 && (c != '>' || quote != 0)) {
                last = c;
                if (quote == 0 && (c == '"' || c == '\'')) {
                    quote = c;
                } else if (c == quote) {
                    quote = 0;
                }
                next();
            }
            if (c == '>' && last != '/') {
                open.push_back(std::move(name));
                if (std::ssize(open) > kDeepestElement) {
                    return {.tooDeep = true};
                }
            }
        }
    }
    return {};
}

// The words of a divine name as they are printed, in capitals up to an apostrophe: "Lord’s" is "LORD’s".
QString divineName(QStringView text)
{
    const qsizetype end =
        std::ranges::find_if(text, [](QChar c) { return c == u'\u2019' || c == u'\''; }) - text.begin();
    return text.first(end).toString().toUpper().append(text.sliced(end));
}

// Character data as it reads: the five named entities and character references in the letters they stand for;
// any other reference stays as it is written.
void appendCharacterData(QString& read, QStringView data)
{
    static const std::pair<QStringView, QChar> kNamed[] = {
        {u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}};
    qsizetype at = 0;
    while (at < data.size()) {
        const qsizetype end = data[at] == u'&' ? data.indexOf(u';', at) : -1;
        const QStringView name = end > at ? data.sliced(at + 1, end - at - 1) : QStringView();
        const auto named = std::ranges::find(kNamed, name, &std::pair<QStringView, QChar>::first);
        // (0, no character, when the reference is not numeric or its number cannot be read)
        const uint code = name.startsWith(u"#x")  ? name.sliced(2).toUInt(nullptr, 16)
                          : name.startsWith(u'#') ? name.sliced(1).toUInt()
                                                  : 0;
        if (named != std::end(kNamed)) {
            read.append(named->second);
        } else if (code > 0 && code <= 0x10ffff) {
            const char32_t character = code;
            read.append(QString::fromUcs4(&character, 1));
        } else { // a letter, up to the next reference
            const qsizetype next = data.indexOf(u'&', at + 1);
            read.append(data.sliced(at, (next < 0 ? data.size() : next) - at));
            at = next < 0 ? data.size() : next;
            continue;
        }
        at = end + 1;
    }
}

// Where the tag that starts at a '<' ends (its '>'); -1 when no tag starts there: a '<' that no name, '/', '!' or '?'
// follows, or that another '<' follows before any '>', is a letter.
qsizetype tagEndAt(QStringView markup, qsizetype at)
{
    if (markup[at] != u'<' || at + 1 == markup.size()) {
        return -1;
    }
    const QChar first = markup[at + 1];
    if (!first.isLetter() && first != u'_' && first != u'/' && first != u'!' && first != u'?') {
        return -1;
    }
    const qsizetype end = markup.indexOf(u'>', at + 1);
    return end < 0 || markup.sliced(at + 1, end - at - 1).contains(u'<') ? -1 : end;
}

// XML white space as one space between pieces, none at the ends.
QString withSingleSpaces(QStringView text)
{
    QString single;
    single.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            space = !single.isEmpty();
        } else {
            if (std::exchange(space, false)) {
                single.append(u' ');
            }
            single.append(c);
        }
    }
    return single;
}

} // namespace

QString osisMarkupText(QStringView markup)
{
    QString text;
    text.reserve(markup.size());
    // Open elements, and the depths at which a left-out element and a divine name were opened (0: none is open); and
    // whether the piece is between the milestones of a heading before the verse.
    int depth = 0, leftOutFrom = 0, divineNameFrom = 0;
    bool preverse = false;
    qsizetype at = 0;
    while (at < markup.size()) {
        const qsizetype tagEnd = tagEndAt(markup, at);
        if (tagEnd < 0) { // character data up to the next tag; a '<' that opens no tag is a letter
            qsizetype end = markup.indexOf(u'<', at + 1);
            end = end < 0 ? markup.size() : end;
            if (leftOutFrom != 0 || preverse) {
                // left out
            } else if (divineNameFrom != 0) {
                QString name;
                appendCharacterData(name, markup.sliced(at, end - at));
                text.append(divineName(name));
            } else {
                appendCharacterData(text, markup.sliced(at, end - at));
            }
            at = end;
            continue;
        }
        const QStringView tag = markup.sliced(at + 1, tagEnd - at - 1);
        at = tagEnd + 1;
        if (tag.startsWith(u'!') || tag.startsWith(u'?')) { // a comment, a declaration: nothing of the text
            continue;
        }
        const bool closing = tag.startsWith(u'/');
        const bool empty = !closing && tag.endsWith(u'/');
        QStringView name = tag.sliced(closing ? 1 : 0, tag.size() - (closing || empty ? 1 : 0));
        name = name.first(std::ranges::find_if(name, [](QChar c) { return c <= u' ' || c == u'/'; }) - name.begin());
        name = localName(name);
        if (name == u"div" && tag.contains(u"x-preverse")) {
            preverse = tag.contains(u"sID");
        }
        const bool inLine = isInline(name, true);
        if (!closing) {
            ++depth;
            if (leftOutFrom == 0 && isLeftOut(name, true)) {
                leftOutFrom = depth;
            } else if (leftOutFrom == 0 && !inLine) {
                text.append(u' ');
            } else if (name == u"divineName" && divineNameFrom == 0) {
                divineNameFrom = depth;
            }
        }
        if (closing || empty) {
            divineNameFrom = depth == divineNameFrom ? 0 : divineNameFrom;
            if (depth == leftOutFrom) {
                leftOutFrom = 0;
            } else if (leftOutFrom == 0 && !inLine) {
                text.append(u' ');
            }
            depth = std::max(depth - 1, 0);
        }
    }
    return withSingleSpaces(text);
}

XmlVerseReader::XmlVerseReader(QString path) : m_path(std::move(path))
{
    m_failure.path = m_path;
    m_xml.setEntityExpansionLimit(kEntityExpansionLimit);
}

TextFileReader::ReadResult XmlVerseReader::next(SourceEntry& entry)
{
    while (m_ready.empty()) {
        if (m_ended) {
            return TextFileReader::ReadResult::End;
        }
        if (!step()) {
            return TextFileReader::ReadResult::Failed;
        }
    }
    entry = std::move(m_ready.front());
    m_ready.pop_front();
    return TextFileReader::ReadResult::Line;
}

bool XmlVerseReader::step()
{
    if (!m_file.isOpen()) {
        if (auto why = platform::openRegularFileOrSayWhy(m_file, m_path)) {
            m_failure.description = std::move(*why);
            return false;
        }
    }
    const QXmlStreamReader::TokenType token = m_xml.readNext();
    if (token == QXmlStreamReader::Invalid) {
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !m_fileRead) {
            return feed();
        }
        // The file is all there: a premature end is malformed too, and nothing follows it.
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            endWith(SourceFault::MalformedXml, line(), m_xml.errorString(), column());
        } else {
            resume();
        }
        return true;
    }
    m_pendingBytes = 0;
    switch (token) {
    case QXmlStreamReader::DTD:
        learnEntities();
        break;
    case QXmlStreamReader::StartElement:
        startElement();
        break;
    case QXmlStreamReader::EndElement:
        endElement();
        break;
    case QXmlStreamReader::Characters:
        if (m_open && m_keep && m_skipFrom == 0 && !m_preverse) {
            appendText(m_xml.text());
        }
        break;
    case QXmlStreamReader::EndDocument:
        finishVerse();
        m_ended = true;
        break;
    default:
        break;
    }
    m_lastTokenLine = line();
    return true;
}

bool XmlVerseReader::feed()
{
    if (m_pendingBytes * m_expansion > kLongestToken) {
        endWith(SourceFault::TooLong, m_open ? m_line : m_lastTokenLine);
        return true;
    }
    QByteArray piece(kPieceSize, Qt::Uninitialized);
    const qint64 got = m_file.read(piece.data(), kPieceSize);
    if (got < 0) {
        m_failure.description = platform::FileErrorDescriptions::readFailure();
        return false;
    }
    piece.resize(got);
    m_fileRead = got == 0;
    m_xml.addData(piece);
    m_pendingBytes += got;
    return true;
}

void XmlVerseReader::learnEntities()
{
    for (const QXmlStreamEntityDeclaration& entity : m_xml.entityDeclarations()) {
        // A value that names other entities may grow to the limit; character references are resolved.
        const qint64 size = entity.value().contains(u'&') ? kEntityExpansionLimit : entity.value().size();
        const qint64 reference = entity.name().size() + 2;
        const qint64 expansion = (size + reference - 1) / reference;
        if (expansion > kMostExpansion) {
            endWith(SourceFault::MalformedXml, line(),
                    QStringLiteral("Entity '%1' expands to more than %2 characters for each byte of its reference.")
                        .arg(entity.name(), QString::number(kMostExpansion)),
                    column());
            return;
        }
        m_expansion = std::max(m_expansion, expansion);
    }
}

qint64 XmlVerseReader::line() const
{
    return m_firstLine + m_xml.lineNumber() - 1;
}

qint64 XmlVerseReader::column() const
{
    return m_xml.columnNumber() + (m_xml.lineNumber() == 1 ? m_columnShift : 0);
}

void XmlVerseReader::resume()
{
    const qint64 faultLine = line(), faultColumn = column();
    fault(SourceFault::MalformedXml, faultLine, m_xml.errorString(), faultColumn);
    if (m_open && m_keep) {
        m_ready.back().key = m_key;
    }
    m_open = false;
    const QString encoding = m_xml.documentEncoding().toString();
    QByteArray start(2, 0);
    const bool searchable = m_file.seek(0) && m_file.read(start.data(), 2) == 2 && start != "\xff\xfe" &&
                            start != "\xfe\xff" && !encoding.startsWith(u"UTF-16"_s, Qt::CaseInsensitive);
    // The fault's place in the file: its line from the reader's first, then its column.
    m_file.seek(m_firstLineStart);
    qint64 line = m_firstLine, lineStart = m_firstLineStart, column = 0;
    for (int c = 0; searchable && line < faultLine && (c = nextByte(m_file)) >= 0;) {
        if (c == '\n') {
            ++line;
            lineStart = m_file.pos();
        }
    }
    // A fault at an end tag lies just past it: that end tag is read again, to close what it closes. (The last '<'
    // before the fault on its line, when an end tag's.)
    qint64 tagOffset = -1, tagColumn = 0;
    for (int c = 0, previous = 0; searchable && column < faultColumn && (c = nextByte(m_file)) >= 0; previous = c) {
        if (previous == '<') {
            tagOffset = c == '/' ? m_file.pos() - 2 : -1;
        }
        if (c == '<') {
            tagColumn = column;
        }
        column += unitsBegun(c);
    }
    if (tagOffset >= 0) {
        m_file.seek(tagOffset);
        column = tagColumn;
    }
    // Each resumption goes on past the last: a fault in what the resumed reader was given first is no way back.
    if (m_file.pos() <= m_resumedAt) {
        m_file.seek(m_resumedAt + 1);
        line = m_firstLine;
        lineStart = m_firstLineStart;
        column = m_resumedColumn + 1;
    }
    static constexpr QStringView kOsisStarts[] = {u"verse", u"chapter", u"div"};
    static constexpr QStringView kZefaniaStarts[] = {u"VERS", u"CHAPTER", u"BIBLEBOOK"};
    std::vector<QString> open = m_openNames;
    const ResumePoint at = searchable
                               ? findResumePoint(m_file, line, lineStart, column,
                                                 m_osis ? std::span(kOsisStarts) : std::span(kZefaniaStarts), open)
                               : ResumePoint{};
    if (at.tooDeep) {
        endWith(SourceFault::MalformedXml, at.line,
                QStringLiteral("Elements are nested more than %1 deep.").arg(kDeepestElement), at.column);
        return;
    }
    if (at.offset < 0 || !m_file.seek(at.offset)) {
        m_ready.back().endsFile = true;
        m_ended = true;
        return;
    }
    // A new reader, given the start tags of the elements open at that point, then the file from it.
    QByteArray prefix;
    if (!encoding.isEmpty()) {
        prefix = "<?xml version=\"1.0\" encoding=\"" + encoding.toLatin1() + "\"?>";
    }
    QStringList namespaces;
    for (const QString& name : open) {
        if (name.contains(u':') && !namespaces.contains(name.section(u':', 0, 0))) {
            namespaces << name.section(u':', 0, 0);
        }
    }
    for (const QString& name : open) {
        prefix += '<' + name.toUtf8();
        for (const QString& space : std::exchange(namespaces, {})) {
            prefix += " xmlns:" + space.toUtf8() + "=\"urn:byeorisol:resumed\"";
        }
        prefix += '>';
    }
    m_xml.clear();
    m_xml.setEntityExpansionLimit(kEntityExpansionLimit);
    m_xml.addData(prefix);
    m_fileRead = false;
    m_pendingBytes = 0;
    m_resumedAt = at.offset;
    m_resumedColumn = at.column;
    m_firstLine = at.line;
    m_firstLineStart = at.lineStart;
    m_columnShift = at.column - QString::fromUtf8(prefix).size();
    m_lastTokenLine = at.line;
    m_carriedOver = std::ssize(open);
    m_depth = static_cast<int>(open.size());
    const auto leftOut =
        std::ranges::find_if(open, [this](const QString& name) { return isLeftOut(localName(name), m_osis); });
    m_skipFrom = leftOut == open.end() ? 0 : static_cast<int>(leftOut - open.begin()) + 1;
    m_divineNameFrom = 0;
    m_openNames = std::move(open);
    m_spacePending = false;
    m_preverse = false;
}

void XmlVerseReader::startElement()
{
    if (m_carriedOver > 0) { // given again to a resumed reader: their state is kept
        --m_carriedOver;
        return;
    }
    const qint64 line = this->line();
    const QStringView name = m_xml.name();
    if (++m_depth > kDeepestElement) {
        endWith(SourceFault::MalformedXml, line,
                QStringLiteral("Elements are nested more than %1 deep.").arg(kDeepestElement), column());
        return;
    }
    m_openNames.push_back(m_xml.qualifiedName().toString());
    if (!m_rootSeen) {
        m_rootSeen = true;
        m_osis = name == u"osis";
        if (!m_osis && name != u"XMLBIBLE") {
            endWith(SourceFault::NotABible, line, m_xml.qualifiedName().toString());
        }
        return;
    }
    if (m_osis && name == u"verse") {
        startOsisVerse(line);
    } else if (!m_osis && name == u"VERS") {
        startZefaniaVerse(line);
    } else if (!m_osis && name == u"BIBLEBOOK") {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QStringView number = attributes.value("bnumber"_L1);
        m_book = books::SwordBookNames::osisId(number.trimmed().toInt()).toString(); // 0, no book, when no number
        m_chapter.clear();
        m_bookUnknown = m_book.isEmpty();
        if (m_bookUnknown) {
            fault(SourceFault::UnknownBookId, line, number.toString());
        }
    } else if (!m_osis && name == u"CHAPTER") {
        m_chapter = m_xml.attributes().value("cnumber"_L1).toString().simplified();
    } else if (m_osis && name == u"div" && m_xml.attributes().value("subType"_L1) == u"x-preverse") {
        // What stands between these milestones is the heading before the verse (a speaker in a song, say).
        m_preverse = m_xml.attributes().hasAttribute("sID"_L1);
    } else if (m_skipFrom != 0) {
        // Within a note: nothing of it counts.
    } else if (isLeftOut(name, m_osis)) {
        m_skipFrom = m_depth;
    } else if (!isInline(name, m_osis)) {
        m_spacePending = true;
    } else if (m_osis && name == u"divineName" && m_divineNameFrom == 0) {
        m_divineNameFrom = m_depth;
    }
}

void XmlVerseReader::endElement()
{
    const QStringView name = m_xml.name();
    m_openNames.pop_back();
    // A note, and what it holds, leaves no space behind: "word<note>...</note>." is "word.".
    const bool leftOut = m_skipFrom != 0;
    if (m_depth == m_divineNameFrom) {
        m_divineNameFrom = 0;
    }
    if (m_depth-- == m_skipFrom) {
        m_skipFrom = 0;
    }
    if (m_osis ? name == u"verse" : name == u"VERS") {
        if (m_container) {
            finishVerse();
        }
    } else if (!leftOut && !isInline(name, m_osis)) {
        m_spacePending = true;
    }
}

void XmlVerseReader::startOsisVerse(qint64 line)
{
    finishVerse();
    const QXmlStreamAttributes attributes = m_xml.attributes();
    if (attributes.hasAttribute("eID"_L1)) {
        return;
    }
    const bool container = !attributes.hasAttribute("sID"_L1);
    QStringView id = attributes.value("osisID"_L1).trimmed();
    if (id.isEmpty()) {
        id = attributes.value("sID"_L1).trimmed();
    }
    if (std::ranges::any_of(id, isSeparator)) {
        fault(SourceFault::VerseRange, line, id.toString());
        openVerse(line, {}, container, false);
        return;
    }
    // A work before ':' ("KJV:Gen.1.1") and a part of the verse after '!' name no other verse.
    QStringView reference = localName(id);
    reference = reference.first(reference.contains(u'!') ? reference.indexOf(u'!') : reference.size());
    const QList<QStringView> parts = reference.split(u'.');
    const QStringView book = parts.front();
    if (book != m_knownBook) {
        if (osisBook(book) == 0) {
            if (book != m_unknownBook) {
                m_unknownBook = book.toString();
                fault(SourceFault::UnknownBookId, line, m_unknownBook);
            }
            openVerse(line, {}, container, false);
            return;
        }
        m_knownBook = book.toString();
        m_unknownBook.clear();
    }
    // Anything but a book, a chapter and a verse goes to the key rules as it is written, which reject it.
    openVerse(line, parts.size() == 3 ? verseKey(book, parts[1], parts[2]) : id.toString(), container, true);
}

void XmlVerseReader::startZefaniaVerse(qint64 line)
{
    finishVerse();
    const QXmlStreamAttributes attributes = m_xml.attributes();
    const QStringView number = attributes.value("vnumber"_L1).trimmed();
    if (m_bookUnknown) {
        // Its book was reported unknown.
        openVerse(line, {}, true, false);
    } else if (std::ranges::any_of(number, isSeparator)) {
        fault(SourceFault::VerseRange, line, number.toString());
        openVerse(line, {}, true, false);
    } else {
        openVerse(line, verseKey(m_book, m_chapter, number), true, true);
    }
}

void XmlVerseReader::openVerse(qint64 line, QString key, bool container, bool keep)
{
    m_open = true;
    m_keep = keep;
    m_container = container;
    m_tooLong = false;
    m_spacePending = false;
    m_preverse = false; // a heading left open ends with its verse
    m_line = line;
    m_key = std::move(key);
    m_text.clear();
}

void XmlVerseReader::finishVerse()
{
    if (!m_open) {
        return;
    }
    m_open = false;
    m_container = false;
    if (!m_keep) {
        return;
    }
    if (m_tooLong) {
        fault(SourceFault::TooLong, m_line);
        return;
    }
    SourceEntry entry;
    entry.lineNumber = m_line;
    entry.key = std::move(m_key);
    entry.text = std::move(m_text);
    m_ready.push_back(std::move(entry));
}

void XmlVerseReader::appendText(QStringView text)
{
    // White space is all that XML allows at or below ' ' in a text.
    const char16_t* data = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size && !m_tooLong;) {
        if (data[at] <= u' ') {
            m_spacePending = true;
            ++at;
            continue;
        }
        // A piece up to white space other than a single space between words: appended as it is.
        qsizetype end = at + 1;
        while (end < size && (data[end] > u' ' || (data[end] == u' ' && end + 1 < size && data[end + 1] > u' '))) {
            ++end;
        }
        if (m_spacePending && !m_text.isEmpty()) {
            m_text.append(u' ');
        }
        m_spacePending = false;
        const QStringView piece = text.sliced(at, end - at);
        if (m_divineNameFrom != 0) {
            m_text.append(divineName(piece));
        } else {
            m_text.append(piece); // (as it is: no copy of its own for the common case)
        }
        at = end;
        if (m_text.size() > kLongestSourceText) {
            m_tooLong = true;
            m_text.clear();
        }
    }
}

void XmlVerseReader::fault(SourceFault kind, qint64 line, QString detail, qint64 column)
{
    // An entry of the error list is one line: a line end within an attribute's value is a space there.
    std::ranges::replace_if(
        detail, [](QChar c) { return c < u' '; }, u' ');
    SourceEntry entry;
    entry.lineNumber = line;
    entry.column = column;
    entry.fault = kind;
    entry.detail = std::move(detail);
    m_ready.push_back(std::move(entry));
}

void XmlVerseReader::endWith(SourceFault kind, qint64 line, QString detail, qint64 column)
{
    // A verse still open is not whole: it is left out with the rest.
    m_open = false;
    fault(kind, line, std::move(detail), column);
    m_ready.back().endsFile = true;
    m_ended = true;
}

} // namespace importer
