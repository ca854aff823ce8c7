#pragma once

#include "import/TextFileReader.h"

#include <QString>

namespace importer {

// One entry of an IMP file.
struct ImpEntry
{
    // The 1-based number of the entry's key line in its file.
    qint64 keyLineNumber = 0;
    // The key line after its "$$$", as it stands.
    QString key;
    // The entry's lines trimmed of spaces, joined by single spaces; lines of spaces only are left
    // out, so an entry without text has an empty text.
    QString text;
};

// Reads the entries of an IMP file, as SWORD's `mod2imp MODULE -s` writes it: a key line, "$$$" and
// the key, then the lines of the entry's text up to the next key line or the end of the file.
// Lines before the first key line belong to no entry. One entry is held at a time.
class ImpEntryReader
{
public:
    // reader is open; it is read to its end.
    explicit ImpEntryReader(TextFileReader& reader) : m_reader(reader) {}

    // The next entry into entry (Line); End after the last one; Failed when the file could not be
    // read on (the reader's failure says why).
    [[nodiscard]] TextFileReader::ReadResult next(ImpEntry& entry);

private:
    [[nodiscard]] static bool isKeyLine(const QString& line);

    TextFileReader& m_reader;
    qint64 m_lineNumber = 0;
    // The key line that ended the previous entry, and its number: the start of the next one.
    QString m_line;
    qint64 m_keyLineNumber = 0;
    bool m_keyPending = false;
};

} // namespace importer
