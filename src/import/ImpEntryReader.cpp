#include "import/ImpEntryReader.h"

#include "books/TrimSpaces.h"

namespace importer {

bool ImpEntryReader::isKeyLine(const QString& line)
{
    return line.startsWith(QLatin1String("$$$"));
}

TextFileReader::ReadResult ImpEntryReader::next(ImpEntry& entry)
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
    entry.keyLineNumber = m_keyLineNumber;
    entry.key = m_line.sliced(3);
    entry.text.clear();
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
