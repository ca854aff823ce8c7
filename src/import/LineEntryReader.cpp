#include "import/LineEntryReader.h"

namespace importer {

TextFileReader::ReadResult LineEntryReader::next(SourceEntry& entry)
{
    entry = SourceEntry();
    const TextFileReader::ReadResult read = m_reader.readLine(entry.key);
    entry.lineNumber = ++m_lineNumber;
    return read;
}

ParsedImpKey LineEntryReader::judge(const SourceEntry& entry, const ReferenceExists& exists) const
{
    ParsedLine parsed = parseImportLine(entry.key, exists);
    return {parsed.outcome == LineOutcome::Blank, std::move(parsed)};
}

} // namespace importer
