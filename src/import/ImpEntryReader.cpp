#include "import/ImpEntryReader.h"

#include "books/TrimSpaces.h"

namespace importer {

bool ImpEntryReader::isKeyLine(const QString& line)
{
    return line.startsWith(QLatin1String("$$$"));
}

TextFileReader::ReadResult ImpEntryReader::next(SourceEntry& entry)
{
    using ReadResult = TextFileReader::ReadResult;
    while (!m_keyPending) {
        const ReadResult read = m_reader.readLine(m_line);
        if (read != ReadResult::Line) {
            return read;
        }
        ++m_lineNumber;
        if (isKeyLine(m_line)) {
            m_keyPending = true;
            m_keyLineNumber = m_lineNumber;
        }
    }
    entry.lineNumber = m_keyLineNumber;
    entry.column = 0;
    entry.fault.reset();
    entry.detail.clear();
    entry.text.clear();
    entry.key = m_line.sliced(3);
    m_keyPending = false;
    for (;;) {
        const ReadResult read = m_reader.readLine(m_line);
        if (read == ReadResult::End) {
            return ReadResult::Line;
        }
        if (read == ReadResult::Failed) {
            return read;
        }
        ++m_lineNumber;
        if (isKeyLine(m_line)) {
            m_keyPending = true;
            m_keyLineNumber = m_lineNumber;
            return ReadResult::Line;
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
