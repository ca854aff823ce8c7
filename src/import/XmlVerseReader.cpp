#include "import/XmlVerseReader.h"

#include "books/SwordBookNames.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/RegularFile.h"

#include <algorithm>
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

} // namespace

XmlVerseReader::XmlVerseReader(QString path) : m_path(std::move(path))
{
    m_failure.path = m_path;
    m_xml.setEntityExpansionLimit(kEntityExpansionLimit);
}

XmlVerseReader::~XmlVerseReader() = default;

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
        // The file is all there: a premature end is malformed too.
        endWith(SourceFault::MalformedXml, m_xml.lineNumber(), m_xml.errorString(), m_xml.columnNumber());
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
        if (m_open && m_keep && m_skipFrom == 0) {
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
    m_lastTokenLine = m_xml.lineNumber();
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
            endWith(SourceFault::MalformedXml, m_xml.lineNumber(),
                    QStringLiteral("Entity '%1' expands to more than %2 characters for each byte of its reference.")
                        .arg(entity.name(), QString::number(kMostExpansion)),
                    m_xml.columnNumber());
            return;
        }
        m_expansion = std::max(m_expansion, expansion);
    }
}

void XmlVerseReader::startElement()
{
    const qint64 line = m_xml.lineNumber();
    const QStringView name = m_xml.name();
    if (++m_depth > kDeepestElement) {
        endWith(SourceFault::MalformedXml, line,
                QStringLiteral("Elements are nested more than %1 deep.").arg(kDeepestElement), m_xml.columnNumber());
        return;
    }
    if (!m_rootSeen) {
        m_rootSeen = true;
        if (name == u"osis") {
            m_dialect = Dialect::Osis;
        } else if (name == u"XMLBIBLE") {
            m_dialect = Dialect::Zefania;
        } else {
            endWith(SourceFault::NotABible, line, m_xml.qualifiedName().toString());
        }
        return;
    }
    const bool osis = m_dialect == Dialect::Osis;
    if (osis && name == u"verse") {
        startOsisVerse(line);
    } else if (!osis && name == u"VERS") {
        startZefaniaVerse(line);
    } else if (!osis && name == u"BIBLEBOOK") {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QStringView number = attributes.value("bnumber"_L1);
        bool numeric = false;
        const int book = number.trimmed().toInt(&numeric);
        m_book = books::SwordBookNames::osisId(numeric ? book : 0).toString();
        m_chapter.clear();
        m_bookUnknown = m_book.isEmpty();
        if (m_bookUnknown) {
            fault(SourceFault::UnknownBookId, line, number.toString());
        }
    } else if (!osis && name == u"CHAPTER") {
        m_chapter = m_xml.attributes().value("cnumber"_L1).toString().simplified();
    } else if (m_skipFrom != 0) {
        // Within a note: nothing of it counts.
    } else if (isLeftOut(name, osis)) {
        m_skipFrom = m_depth;
    } else if (!isInline(name, osis)) {
        m_spacePending = true;
    }
}

void XmlVerseReader::endElement()
{
    const QStringView name = m_xml.name();
    // A note, and what it holds, leaves no space behind: "word<note>...</note>." is "word.".
    const bool leftOut = m_skipFrom != 0;
    if (m_depth-- == m_skipFrom) {
        m_skipFrom = 0;
    }
    const bool osis = m_dialect == Dialect::Osis;
    if (osis ? name == u"verse" : name == u"VERS") {
        if (m_container) {
            finishVerse();
        }
    } else if (!leftOut && !isInline(name, osis)) {
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
    QStringView reference = id.sliced(id.lastIndexOf(u':') + 1);
    reference = reference.first(reference.contains(u'!') ? reference.indexOf(u'!') : reference.size());
    const qsizetype bookEnd = reference.contains(u'.') ? reference.indexOf(u'.') : reference.size();
    const QStringView book = reference.first(bookEnd);
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
    const qsizetype chapterEnd = reference.indexOf(u'.', bookEnd + 1);
    if (chapterEnd < 0 || reference.indexOf(u'.', chapterEnd + 1) >= 0) {
        openVerse(line, id.toString(), container, true);
        return;
    }
    openVerse(line,
              verseKey(book, reference.sliced(bookEnd + 1, chapterEnd - bookEnd - 1), reference.sliced(chapterEnd + 1)),
              container, true);
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
        m_text.append(text.sliced(at, end - at));
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
