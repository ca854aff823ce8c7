#pragma once

#include "import/TextFileKind.h"
#include "platform/CodePage949.h"
#include "platform/FileFailure.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <optional>

namespace importer {

// Reads an import text file line by line. Its encoding is judged on its first bytes (see
// detectTextFileKind): a byte-order mark chooses it and is not part of the first line; without one
// the file is code page 949 or UTF-8, and UTF-8 when it is an IMP file. A line ends at CR LF,
// at a lone CR or at a lone LF: a file written with LF
// line ends is read line by line, not as one long line stored into a single verse.
// Bytes that are not valid in the encoding become U+FFFD. Nothing of the file is held beyond
// the current line and one read buffer. The file is closed when the reader goes.
class TextFileReader
{
public:
    using Encoding = TextEncoding;

    enum class ReadResult
    {
        Line,
        End,
        Failed
    };

    explicit TextFileReader(QString path);
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // The text of the line of that 1-based number, as a check read it, cut to at most longest characters; nothing
    // when the file cannot be read or has no such line.
    [[nodiscard]] static std::optional<QString> lineAt(const QString& path, qint64 lineNumber, qsizetype longest);

    // Opens the file and judges its kind on its first bytes. Only a regular file (or a link to one) is
    // opened: a folder, device or pipe fails at once, without a byte read or a wait.
    [[nodiscard]] bool open();
    // The next line into line (without its line end); End after the last line; Failed on a read error.
    [[nodiscard]] ReadResult readLine(QString& line);

    // Lines of more than this many characters are not held: readLine hands on such a line as an empty
    // one and sets lineTooLong(), keeping at most three bytes a character of it while it looks for its end.
    // 0, the default, takes lines of any length.
    void setLongestLine(qsizetype characters) { m_longestLine = characters; }
    // Whether the line readLine handed on last was longer than the longest line.
    [[nodiscard]] bool lineTooLong() const { return m_lineTooLong; }

    // How many bytes of the file have been read so far (the line handed on last and some ahead of it).
    [[nodiscard]] qint64 position() const { return m_file.isOpen() ? m_file.pos() : 0; }

    [[nodiscard]] Encoding encoding() const { return m_encoding; }
    // How the file's verses are written, judged on its first bytes.
    [[nodiscard]] SourceFormat format() const { return m_format; }
    // Set after open() or readLine() failed.
    [[nodiscard]] const platform::FileFailure& failure() const { return m_failure; }

private:
    [[nodiscard]] bool fill();
    [[nodiscard]] qsizetype findLineEnd(qsizetype from) const;
    // Whether the code unit at that byte is the ASCII character.
    [[nodiscard]] bool unitIs(qsizetype at, char ascii) const;
    [[nodiscard]] bool nextUnitIsLineFeed();
    void appendToLine(qsizetype size);
    void decodeLine(QString& line);

    QString m_path;
    QFile m_file;
    Encoding m_encoding = Encoding::Cp949;
    SourceFormat m_format = SourceFormat::Lines;
    qsizetype m_unit = 1;     // bytes per code unit: 2 for UTF-16
    QStringDecoder m_decoder; // UTF-8 and UTF-16
    platform::CodePage949 m_cp949;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_atEnd = false;
    QByteArray m_lineBytes;
    qsizetype m_longestLine = 0;
    bool m_lineTooLong = false;
    platform::FileFailure m_failure;
};

} // namespace importer
