#pragma once

#include "import/FileFailure.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <memory>

namespace importer {

// Reads an import text file line by line. The file is code page 949 unless it begins with a
// UTF-8, UTF-16LE or UTF-16BE byte-order mark, which then chooses the encoding and is not part
// of the first line. A line ends at CR LF, at a lone CR or at a lone LF: a file written with LF
// line ends is read line by line, not as one long line stored into a single verse.
// Bytes that are not valid in the encoding become U+FFFD. Nothing of the file is held beyond
// the current line and one read buffer. The file is closed when the reader goes.
class TextFileReader
{
public:
    enum class Encoding
    {
        Cp949,
        Utf8,
        Utf16LE,
        Utf16BE
    };

    enum class ReadResult
    {
        Line,
        End,
        Failed
    };

    explicit TextFileReader(QString path);
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;
    ~TextFileReader();

    // Opens the file and reads its byte-order mark, if any. Only a regular file (or a link to one) is
    // opened: a folder, device or pipe fails at once, without a byte read or a wait.
    [[nodiscard]] bool open();
    // The next line into line (without its line end); End after the last line; Failed on a read error.
    [[nodiscard]] ReadResult readLine(QString& line);

    [[nodiscard]] Encoding encoding() const { return m_encoding; }
    // Set after open() or readLine() failed.
    [[nodiscard]] const FileFailure& failure() const { return m_failure; }

private:
    [[nodiscard]] bool fill();
    [[nodiscard]] qsizetype findLineEnd(qsizetype from) const;
    [[nodiscard]] bool unitIsCarriageReturn(qsizetype at) const;
    [[nodiscard]] bool nextUnitIsLineFeed();
    void decodeLine(QString& line);

    QString m_path;
    QFile m_file;
    Encoding m_encoding = Encoding::Cp949;
    qsizetype m_unit = 1; // bytes per code unit: 2 for UTF-16
    QStringDecoder m_decoder;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_atEnd = false;
    QByteArray m_lineBytes;
    FileFailure m_failure;
};

} // namespace importer
