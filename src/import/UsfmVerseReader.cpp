#include "import/UsfmVerseReader.h"

#include "books/SwordBookNames.h"
#include "books/UsfmBookIds.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace importer {

namespace {

enum class MarkerKind
{
    Character, // and every marker not in the table
    Paragraph, // a space between the words before and after it
    Heading,   // a paragraph that is no verse text
    Note,      // left out up to its closing marker
    Sidebar,
    Book,
    Chapter,
    Verse
};

struct Marker
{
    std::u16string_view name;
    MarkerKind kind;
};

const Marker* findMarker(std::u16string_view name)
{
    using enum MarkerKind;
    // The markers by name; a Paragraph or Heading marker may have a number after its name ("\q1", "\s2", "\toc3").
    static constexpr auto kMarkers = std::to_array<Marker>(
        {{u"b", Paragraph},    {u"c", Chapter},     {u"ca", Note},      {u"cat", Note},      {u"cd", Heading},
         {u"cl", Heading},     {u"cls", Paragraph}, {u"cp", Heading},   {u"d", Heading},     {u"ef", Note},
         {u"esb", Sidebar},    {u"ex", Note},       {u"f", Note},       {u"fe", Note},       {u"fig", Note},
         {u"h", Heading},      {u"ib", Heading},    {u"id", Book},      {u"ide", Heading},   {u"ie", Heading},
         {u"iex", Heading},    {u"ili", Heading},   {u"im", Heading},   {u"imi", Heading},   {u"imq", Heading},
         {u"imt", Heading},    {u"imte", Heading},  {u"io", Heading},   {u"iot", Heading},   {u"ip", Heading},
         {u"ipi", Heading},    {u"ipq", Heading},   {u"ipr", Heading},  {u"iq", Heading},    {u"is", Heading},
         {u"lf", Paragraph},   {u"lh", Paragraph},  {u"li", Paragraph}, {u"lim", Paragraph}, {u"lit", Heading},
         {u"m", Paragraph},    {u"mi", Paragraph},  {u"mr", Heading},   {u"ms", Heading},    {u"mt", Heading},
         {u"mte", Heading},    {u"nb", Paragraph},  {u"p", Paragraph},  {u"pb", Paragraph},  {u"pc", Paragraph},
         {u"periph", Heading}, {u"ph", Paragraph},  {u"pi", Paragraph}, {u"pm", Paragraph},  {u"pmc", Paragraph},
         {u"pmo", Paragraph},  {u"pmr", Paragraph}, {u"po", Paragraph}, {u"pr", Paragraph},  {u"q", Paragraph},
         {u"qa", Heading},     {u"qc", Paragraph},  {u"qd", Heading},   {u"qm", Paragraph},  {u"qr", Paragraph},
         {u"r", Heading},      {u"rem", Heading},   {u"rq", Note},      {u"s", Heading},     {u"sd", Heading},
         {u"sp", Heading},     {u"sr", Heading},    {u"sts", Heading},  {u"tc", Paragraph},  {u"tcr", Paragraph},
         {u"th", Paragraph},   {u"thr", Paragraph}, {u"toc", Heading},  {u"toca", Heading},  {u"tr", Paragraph},
         {u"usfm", Heading},   {u"v", Verse},       {u"va", Note},      {u"vp", Note},       {u"x", Note}});
    static_assert(std::is_sorted(kMarkers.begin(), kMarkers.end(),
                                 [](const Marker& a, const Marker& b) { return a.name < b.name; }));
    const auto found = std::lower_bound(kMarkers.begin(), kMarkers.end(), name,
                                        [](const Marker& marker, std::u16string_view n) { return marker.name < n; });
    return found != kMarkers.end() && found->name == name ? &*found : nullptr;
}

MarkerKind kindOf(QStringView name)
{
    std::u16string_view whole(name.utf16(), static_cast<std::size_t>(name.size()));
    if (const Marker* marker = findMarker(whole)) {
        return marker->kind;
    }
    const std::size_t digits = whole.find_last_not_of(u"0123456789") + 1;
    if (digits > 0 && digits < whole.size()) {
        const Marker* marker = findMarker(whole.substr(0, digits));
        if (marker && (marker->kind == MarkerKind::Paragraph || marker->kind == MarkerKind::Heading)) {
            return marker->kind;
        }
    }
    return MarkerKind::Character;
}

// A milestone ("\qt-s |sid="q1"\*", "\qt-e\*", "\ts-s\*"): no text of its own, only attributes.
bool isMilestone(QStringView name)
{
    return name.endsWith(u"-s") || name.endsWith(u"-e");
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isNameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-';
}

// Where a run of text ends: at a marker or a character with a meaning of its own.
bool endsText(QChar c)
{
    return c == u'\\' || c == u'|' || c == u'~' || c == u'/';
}

} // namespace

UsfmVerseReader::UsfmVerseReader(TextFileReader& reader) : m_reader(reader)
{
    m_reader.setLongestLine(kLongestSourceText);
}

TextFileReader::ReadResult UsfmVerseReader::next(SourceEntry& entry)
{
    using ReadResult = TextFileReader::ReadResult;
    m_entry = &entry;
    m_produced = false;
    while (!m_produced) {
        if (m_position < m_line.size()) {
            if (m_line.at(m_position) == u'\\') {
                readMarker();
            } else {
                readText();
            }
        } else if (!m_atEnd) {
            const ReadResult read = m_reader.readLine(m_line);
            if (read == ReadResult::Failed) {
                return read;
            }
            nextLine(read);
        } else if (m_awaited != Awaited::Nothing) {
            takeNumber({});
        } else if (m_verseOpen) {
            endVerse();
        } else {
            return ReadResult::End;
        }
    }
    return ReadResult::Line;
}

void UsfmVerseReader::nextLine(TextFileReader::ReadResult read)
{
    m_position = 0;
    if (read == TextFileReader::ReadResult::End) {
        m_atEnd = true;
        m_line.clear();
        return;
    }
    ++m_lineNumber;
    if (collecting()) {
        m_spacePending = true;
    }
    if (m_reader.lineTooLong()) {
        // What the line held is unknown: the verse it may continue is not kept, and the reader starts afresh at
        // the next marker.
        m_verseOpen = false;
        m_text.clear();
        m_awaited = Awaited::Nothing;
        m_headingParagraph = false;
        m_skip = Skip::Nothing;
        m_characterSpans = 0;
        m_attributes = false;
        reportFault(m_lineNumber, SourceFault::TooLong);
    }
}

void UsfmVerseReader::readMarker()
{
    const QStringView line(m_line);
    qsizetype end = m_position + 1;
    if (end < line.size() && line[end] == u'+') {
        ++end; // a character marker nested in another
    }
    const qsizetype nameBegin = end;
    while (end < line.size() && isNameCharacter(line[end])) {
        ++end;
    }
    const QStringView name = line.sliced(nameBegin, end - nameBegin);
    const bool closing = end < line.size() && line[end] == u'*';
    if (name.isEmpty() && !closing) {
        // A backslash that begins no marker is text.
        ++m_position;
        append(u"\\");
        return;
    }
    if (!handleMarker(name, closing)) {
        return;
    }
    m_position = closing ? end + 1 : end;
    // The space after a marker's name belongs to the marker.
    if (!closing && m_position < line.size() && isSpace(line[m_position])) {
        ++m_position;
    }
}

bool UsfmVerseReader::handleMarker(QStringView name, bool closing)
{
    if (m_awaited != Awaited::Nothing) {
        // A marker where a number should be: the number is empty.
        takeNumber({});
        if (m_produced) {
            return false;
        }
    }
    m_attributes = false;
    const MarkerKind kind = kindOf(name);
    const bool structure = kind == MarkerKind::Book || kind == MarkerKind::Chapter || kind == MarkerKind::Verse;
    const bool paragraph = kind == MarkerKind::Paragraph || kind == MarkerKind::Heading;
    if (m_skip != Skip::Nothing) {
        const bool note = m_skip == Skip::Note;
        if (note ? closing && name == m_skipCloser : name == u"esbe") {
            m_skip = Skip::Nothing;
            return true;
        }
        // Left open, a note ends where its paragraph does, a sidebar where a verse, chapter or book starts.
        if (closing || !(structure || (note && paragraph))) {
            return true;
        }
        m_skip = Skip::Nothing;
    }
    if (closing) {
        if (kind == MarkerKind::Character && !name.isEmpty() && m_characterSpans > 0) {
            --m_characterSpans;
        }
        return true;
    }
    if (isMilestone(name)) {
        m_attributes = true;
        return true;
    }
    switch (kind) {
    case MarkerKind::Character:
        ++m_characterSpans;
        return true;
    case MarkerKind::Paragraph:
        m_headingParagraph = false;
        m_characterSpans = 0;
        m_spacePending = true;
        return true;
    case MarkerKind::Heading:
        m_headingParagraph = true;
        m_characterSpans = 0;
        return true;
    case MarkerKind::Note:
        m_skip = Skip::Note;
        m_skipCloser = name.toString();
        return true;
    case MarkerKind::Sidebar:
        m_skip = Skip::Sidebar;
        return true;
    case MarkerKind::Book:
    case MarkerKind::Chapter:
    case MarkerKind::Verse:
        break;
    }
    if (m_verseOpen) {
        endVerse();
        return false;
    }
    m_headingParagraph = false;
    m_characterSpans = 0;
    m_awaited = kind == MarkerKind::Book      ? Awaited::BookId
                : kind == MarkerKind::Chapter ? Awaited::Chapter
                                              : Awaited::Verse;
    m_markerLine = m_lineNumber;
    return true;
}

void UsfmVerseReader::readText()
{
    const QStringView line(m_line);
    qsizetype end = m_position;
    if (m_awaited != Awaited::Nothing) {
        // The number after "\id", "\c" or "\v", after any spaces.
        while (end < line.size() && isSpace(line[end])) {
            ++end;
        }
        if (end > m_position) {
            m_position = end;
            return;
        }
        while (end < line.size() && !isSpace(line[end]) && line[end] != u'\\') {
            ++end;
        }
        const qsizetype begin = std::exchange(m_position, end);
        takeNumber(line.sliced(begin, end - begin));
        return;
    }
    const QChar c = line[end];
    if (c == u'|' && m_characterSpans > 0) {
        // Attributes of a character span ("\w grace|strong="H2580"\w*"), up to its closing marker.
        ++m_position;
        m_attributes = true;
        return;
    }
    if (c == u'~') {
        ++m_position;
        append(u"\u00A0");
        return;
    }
    if (c == u'/' && end + 1 < line.size() && line[end + 1] == u'/') {
        // An optional line break.
        m_position += 2;
        append(u" ");
        return;
    }
    ++end;
    while (end < line.size() && !endsText(line[end])) {
        ++end;
    }
    const qsizetype begin = std::exchange(m_position, end);
    const QStringView text = line.sliced(begin, end - begin);
    if (m_book == Book::None && !m_textBeforeBookReported && !m_missingBookReported && !text.trimmed().isEmpty()) {
        m_textBeforeBookReported = true;
        reportFault(m_lineNumber, SourceFault::TextBeforeBookId);
    }
    append(text);
}

void UsfmVerseReader::takeNumber(QStringView number)
{
    const Awaited awaited = std::exchange(m_awaited, Awaited::Nothing);
    if (awaited == Awaited::BookId) {
        m_chapter.clear();
        // The rest of the "\id" line describes the file.
        m_headingParagraph = true;
        const int book = books::UsfmBookIds::find(number);
        m_book = book == 0 ? Book::Unknown : Book::Known;
        m_osisId = books::SwordBookNames::osisId(book);
        if (book == 0) {
            reportFault(m_markerLine, SourceFault::UnknownBookId, number.toString());
        }
        return;
    }
    if (awaited == Awaited::Nothing) {
        return;
    }
    if (m_book == Book::None && !m_missingBookReported) {
        m_missingBookReported = true;
        reportFault(m_markerLine, SourceFault::MissingBookId);
    }
    if (awaited == Awaited::Chapter) {
        m_chapter = number.toString();
        return;
    }
    if (m_book != Book::Known) {
        return;
    }
    if (number.contains(u'-')) {
        reportFault(m_markerLine, SourceFault::VerseRange, number.toString());
        return;
    }
    m_verseOpen = true;
    m_verse = number.toString();
    m_verseLine = m_markerLine;
    m_text.resize(0);
    m_spacePending = false;
}

bool UsfmVerseReader::collecting() const
{
    return m_verseOpen && !m_headingParagraph && m_skip == Skip::Nothing && !m_attributes;
}

void UsfmVerseReader::append(QStringView text)
{
    if (!collecting()) {
        return;
    }
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    if (begin == end) {
        m_spacePending = m_spacePending || !text.isEmpty();
        return;
    }
    if ((m_spacePending || begin > 0) && !m_text.isEmpty()) {
        m_text.append(u' ');
    }
    m_spacePending = end < text.size();
    // Spaces and tabs within become single spaces. The last character is none of them, so text[i + 1] is there.
    qsizetype from = begin;
    for (qsizetype i = begin; i < end; ++i) {
        if (isSpace(text[i]) && (text[i] == u'\t' || isSpace(text[i + 1]))) {
            m_text.append(text.sliced(from, i - from)).append(u' ');
            while (isSpace(text[i + 1])) {
                ++i;
            }
            from = i + 1;
        }
    }
    m_text.append(text.sliced(from, end - from));
    if (m_text.size() > kLongestSourceText) {
        m_verseOpen = false;
        m_text.clear();
        reportFault(m_verseLine, SourceFault::TooLong);
    }
}

void UsfmVerseReader::endVerse()
{
    m_verseOpen = false;
    SourceEntry& entry = *m_entry;
    entry.lineNumber = m_verseLine;
    entry.column = 0;
    entry.fault.reset();
    entry.detail.clear();
    // Copied, so that both strings keep their room for the next verse.
    entry.key.resize(0);
    entry.key.append(m_osisId).append(u' ').append(m_chapter).append(u':').append(m_verse);
    entry.text.resize(0);
    entry.text.append(m_text);
    m_text.resize(0);
    m_produced = true;
}

void UsfmVerseReader::reportFault(qint64 lineNumber, SourceFault kind, const QString& detail)
{
    SourceEntry& entry = *m_entry;
    entry.lineNumber = lineNumber;
    entry.column = 0;
    entry.key.clear();
    entry.text.clear();
    entry.fault = kind;
    entry.detail = detail;
    m_produced = true;
}

} // namespace importer
