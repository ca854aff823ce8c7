#include "import/ImpEntryReader.h"

#include "books/TrimSpaces.h"

namespace importer {

TextFileReader::ReadResult ImpEntryReader::readLine()
{
    const TextFileReader::ReadResult read = m_reader.readLine(m_line);
    if (read == TextFileReader::ReadResult::Line) {
        ++m_lineNumber;
        m_keyPending = m_line.startsWith(QLatin1String("$$$"));
    }
    return read;
}

TextFileReader::ReadResult ImpEntryReader::next(SourceEntry& entry)
{
    using ReadResult = TextFileReader::ReadResult;
    while (!m_keyPending) {
        const ReadResult read = readLine();
        if (read != ReadResult::Line) {
            return read;
        }
    }
    // Nothing is read past a key line before its entry is: the line read last is the key line.
    entry = SourceEntry();
    entry.lineNumber = m_lineNumber;
    entry.key = m_line.sliced(3);
    m_keyPending = false;
    for (;;) {
        const ReadResult read = readLine();
        if (read == ReadResult::End || m_keyPending) {
            return ReadResult::Line;
        }
        if (read == ReadResult::Failed) {
            return read;
        }
        const QStringView part = books::trimSpaces(m_line);
        if (!part.isEmpty()) {
            if (!entry.text.isEmpty()) {
                entry.text.append(u' ');
            }
            entry.text.append(part);
        }
    }
}

} // namespace importer
