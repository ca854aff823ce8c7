#pragma once

#include "import/ParseImpKey.h"
#include "import/TextFileReader.h"
#include "platform/FileFailure.h"

#include <QString>
#include <optional>

namespace importer {

// What is wrong with a file of a Bible format at one place, apart from the verse its entry names
// (which parseImpKey judges as it judges an IMP key).
enum class SourceFault
{
    MalformedXml,     // detail: what the XML reader says; column set; key: the verse it was in, if one was
    NotABible,        // XML, but neither OSIS nor Zefania: detail the root element's name
    MissingBookId,    // USFM: a chapter or verse before any \id
    TextBeforeBookId, // USFM: text before the first \id (a licence, a comment), reported once
    UnknownBookId,    // detail: the book's id or number as written
    VerseRange,       // detail: the verse numbers as written ("1-2")
    TooLong,          // one verse, line or element longer than kLongestSourceText characters
};

// The longest verse, line or XML element a Bible format's reader takes in; anything longer is a
// TooLong fault, so that memory stays flat whatever the file holds.
constexpr qsizetype kLongestSourceText = 1 << 20;

// One entry of a verse source: a verse, or a fault of the file.
struct SourceEntry
{
    // The 1-based line the verse or the fault starts on.
    qint64 lineNumber = 0;
    // The 1-based column of a MalformedXml fault; 0 otherwise.
    qint64 column = 0;
    // A verse: its key as an IMP key with the book's OSIS id ("Gen 1:1", "Ps 119:176"), and its text
    // with every marker and note left out, its pieces joined by single spaces, trimmed.
    QString key;
    QString text;
    // Set when the entry is a fault (then with no key, but as the fault says); detail as the fault says.
    std::optional<SourceFault> fault;
    QString detail;
    // A fault after which nothing more of the file is read: the rest of the file is left unread.
    bool endsFile = false;
};

// Reads the verses of one file entry by entry, holding one verse at a time. After a fault that ends
// the file it returns End.
class VerseSource
{
public:
    VerseSource() = default;
    VerseSource(const VerseSource&) = delete;
    VerseSource& operator=(const VerseSource&) = delete;
    virtual ~VerseSource() = default;

    // The next entry into entry (Line); End after the last one; Failed when the file could not be
    // read on (failure() says why).
    [[nodiscard]] virtual TextFileReader::ReadResult next(SourceEntry& entry) = 0;
    [[nodiscard]] virtual const platform::FileFailure& failure() const = 0;

    // What an entry names, its text included: its key read as an IMP key is, unless the format reads its keys
    // otherwise (a text file's whole line).
    [[nodiscard]] virtual ParsedImpKey judge(const SourceEntry& entry, const ReferenceExists& exists) const
    {
        ParsedImpKey key = parseImpKey(entry.key, exists);
        key.parsed.text = entry.text;
        return key;
    }
};

} // namespace importer
