#pragma once

#include "import/TextFileReader.h"
#include "import/VerseSource.h"

namespace importer {

// Reads the entries of a VPL file, a verse a line, as SWORD's `mod2vpl MODULE 1` and the program's own VPL export
// write it: the key, a book's SWORD name or OSIS id with "chapter:verse" ("Genesis 1:1", "I Samuel 3:4", "Gen 1:1"),
// or a heading's key in brackets ("[ Testament 1 Heading ]"); one space; the verse's text to the line's end (none for
// an empty verse). An entry's lineNumber is its line's, its key the key as written, its text the rest trimmed of
// spaces; a text with markup (a module's OSIS, as mod2vpl writes it) is read as an OSIS file's verse is. A line holding
// more than spaces that begins with no key is an entry whose key is the whole line, which the key rules reject. One
// line is held at a time.
class VplEntryReader final : public VerseSource
{
public:
    // reader is open; it is read to its end.
    explicit VplEntryReader(TextFileReader& reader) : m_reader(reader) {}

    // Whether a line begins with a key of a book's SWORD name or OSIS id, or of a heading.
    [[nodiscard]] static bool beginsWithKey(QStringView line);

    [[nodiscard]] TextFileReader::ReadResult next(SourceEntry& entry) override;
    [[nodiscard]] const platform::FileFailure& failure() const override { return m_reader.failure(); }

private:
    TextFileReader& m_reader;
    QString m_line;
    qint64 m_lineNumber = 0;
};

} // namespace importer
