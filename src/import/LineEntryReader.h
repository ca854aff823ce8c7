#pragma once

#include "import/TextFileReader.h"
#include "import/VerseSource.h"

namespace importer {

// Reads a text file of a verse a line ("창 1:1 태초에 ..."): each line an entry whose key is the whole line, read by
// the line rules of parseImportLine (a blank line is skipped). One line is held at a time.
class LineEntryReader final : public VerseSource
{
public:
    // reader is open; it is read to its end.
    explicit LineEntryReader(TextFileReader& reader) : m_reader(reader) {}

    [[nodiscard]] TextFileReader::ReadResult next(SourceEntry& entry) override;
    [[nodiscard]] const platform::FileFailure& failure() const override { return m_reader.failure(); }
    [[nodiscard]] ParsedImpKey judge(const SourceEntry& entry, const ReferenceExists& exists) const override;

private:
    TextFileReader& m_reader;
    qint64 m_lineNumber = 0;
};

} // namespace importer
