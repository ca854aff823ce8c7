#pragma once

#include "import/TextFileReader.h"
#include "import/VerseSource.h"

#include <QString>

namespace importer {

// Reads the entries of an IMP file, as SWORD's `mod2imp MODULE -s` writes it: a key line, "$$$" and
// the key, then the lines of the entry's text up to the next key line or the end of the file.
// Lines before the first key line belong to no entry. One entry is held at a time. An entry's
// lineNumber is its key line's, its key the key line after its "$$$" as it stands, its text the
// entry's lines trimmed of spaces and joined by single spaces (lines of spaces only left out, so an
// entry without text has an empty text). An IMP file has no faults of its own.
class ImpEntryReader final : public VerseSource
{
public:
    // reader is open; it is read to its end.
    explicit ImpEntryReader(TextFileReader& reader) : m_reader(reader) {}

    [[nodiscard]] TextFileReader::ReadResult next(SourceEntry& entry) override;
    [[nodiscard]] const platform::FileFailure& failure() const override { return m_reader.failure(); }

private:
    // The next line into m_line; m_keyPending says whether it is a key line, the start of the next entry.
    [[nodiscard]] TextFileReader::ReadResult readLine();

    TextFileReader& m_reader;
    qint64 m_lineNumber = 0;
    QString m_line;
    bool m_keyPending = false;
};

} // namespace importer
