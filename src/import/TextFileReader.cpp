#include "import/TextFileReader.h"

#include "platform/FileErrorDescriptions.h"
#include "platform/RegularFile.h"

#include <algorithm>

namespace importer {

namespace {

constexpr qsizetype kReadSize = 64 * 1024;
// The longest line lineAt takes in before cutting it.
constexpr qsizetype kLongestHeldLine = 1 << 20;

// Decoding starts afresh for every line, and a byte-order mark inside the text is text.
constexpr QStringConverter::Flags kDecoderFlags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// A space in each encoding: appended to a line before decoding so that an incomplete sequence at
// the end of the line becomes U+FFFD instead of vanishing, then removed again.
QByteArray encodedSpace(TextFileReader::Encoding encoding)
{
    using Encoding = TextFileReader::Encoding;
    return encoding == Encoding::Utf16LE   ? QByteArray(" \0", 2)
           : encoding == Encoding::Utf16BE ? QByteArray("\0 ", 2)
                                           : QByteArray(" ");
}

// The UTF-16 decoder passes surrogates through as they come; one without its partner is no character.
void replaceUnpairedSurrogates(QString& line)
{
    const qsizetype size = line.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = line.at(i);
        if (c.isHighSurrogate() && i + 1 < size && line.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            line[i] = QChar::ReplacementCharacter;
        }
    }
}

} // namespace

TextFileReader::TextFileReader(QString path) : m_path(std::move(path))
{
    m_failure.path = m_path;
}

std::optional<QString> TextFileReader::lineAt(const QString& path, qint64 lineNumber, qsizetype longest)
{
    TextFileReader reader(path);
    if (lineNumber < 1 || !reader.open()) {
        return std::nullopt;
    }
    // A longer line is not held while the reader passes it: it is cut to its start below.
    reader.setLongestLine(kLongestHeldLine);
    QString line;
    for (qint64 number = 1; number <= lineNumber; ++number) {
        if (reader.readLine(line) != ReadResult::Line) {
            return std::nullopt;
        }
    }
    return line.left(longest);
}

bool TextFileReader::open()
{
    if (auto why = platform::openRegularFileOrSayWhy(m_file, m_path)) {
        m_failure.description = std::move(*why);
        return false;
    }
    while (m_buffer.size() < kTextFileSampleSize && !m_atEnd) {
        if (!fill()) {
            return false;
        }
    }
    // The kind is judged on the first bytes only: a long file is not read twice.
    const qsizetype sampleSize = std::min(m_buffer.size(), kTextFileSampleSize);
    const bool wholeFile = sampleSize == m_buffer.size() && (m_atEnd || m_file.atEnd());
    const TextFileKind kind = detectTextFileKind(QByteArrayView(m_buffer).first(sampleSize), wholeFile);
    m_encoding = kind.encoding;
    m_position = kind.markSize;
    m_format = kind.format;
    m_unit = (m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE) ? 2 : 1;
    if (m_encoding != Encoding::Cp949) {
        m_decoder = QStringDecoder(m_encoding == Encoding::Utf8      ? QStringConverter::Utf8
                                   : m_encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                                     : QStringConverter::Utf16BE,
                                   kDecoderFlags);
    } else if (!platform::CodePage949::available()) {
        m_failure.description = QStringLiteral("코드 페이지 949 변환기를 찾을 수 없습니다.");
        return false;
    }
    return true;
}

bool TextFileReader::fill()
{
    // Keeps the unread bytes (at most one incomplete code unit or a pending CR's follower).
    m_buffer.remove(0, m_position);
    m_position = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + kReadSize);
    const qint64 got = m_file.read(m_buffer.data() + kept, kReadSize);
    if (got < 0) {
        m_buffer.resize(kept);
        m_failure.description = platform::FileErrorDescriptions::readFailure();
        return false;
    }
    m_buffer.resize(kept + got);
    if (got == 0) {
        m_atEnd = true;
    }
    return true;
}

qsizetype TextFileReader::findLineEnd(qsizetype from) const
{
    // Bytes are looked at directly: the loop over units costs a check a third more on a whole Bible.
    if (m_unit == 1) {
        const char* data = m_buffer.constData();
        for (qsizetype i = from; i < m_buffer.size(); ++i) {
            if (data[i] == '\r' || data[i] == '\n') {
                return i;
            }
        }
        return -1;
    }
    for (qsizetype i = from; i + m_unit <= m_buffer.size(); i += m_unit) {
        if (unitIs(i, '\r') || unitIs(i, '\n')) {
            return i;
        }
    }
    return -1;
}

bool TextFileReader::unitIs(qsizetype at, char ascii) const
{
    const char* unit = m_buffer.constData() + at;
    if (m_unit == 1) {
        return unit[0] == ascii;
    }
    return m_encoding == Encoding::Utf16LE ? unit[0] == ascii && unit[1] == '\0' : unit[0] == '\0' && unit[1] == ascii;
}

bool TextFileReader::nextUnitIsLineFeed()
{
    while (m_buffer.size() - m_position < m_unit && !m_atEnd) {
        if (!fill()) {
            return false;
        }
    }
    return m_buffer.size() - m_position >= m_unit && unitIs(m_position, '\n');
}

void TextFileReader::appendToLine(qsizetype size)
{
    // No character takes more than three bytes in these encodings (four UTF-8 bytes make two UTF-16 units),
    // so a line of more bytes than three for each character it may have is too long whatever they are.
    if (m_longestLine > 0 && m_lineBytes.size() + size > 3 * m_longestLine) {
        m_lineTooLong = true;
    }
    if (!m_lineTooLong) {
        m_lineBytes.append(m_buffer.constData() + m_position, size);
    }
    m_position += size;
}

TextFileReader::ReadResult TextFileReader::readLine(QString& line)
{
    m_lineBytes.clear();
    m_lineTooLong = false;
    bool anything = false;
    for (;;) {
        if (m_buffer.size() - m_position < m_unit) {
            if (m_atEnd) {
                // Whatever is left (an odd byte of a UTF-16 file) is part of the last line.
                if (m_position < m_buffer.size()) {
                    appendToLine(m_buffer.size() - m_position);
                    anything = true;
                }
                if (!anything) {
                    return ReadResult::End;
                }
                decodeLine(line);
                return ReadResult::Line;
            }
            if (!fill()) {
                return ReadResult::Failed;
            }
            continue;
        }
        anything = true;
        const qsizetype end = findLineEnd(m_position);
        if (end < 0) {
            // No line end in the buffer: take every complete code unit and read on.
            const qsizetype available = m_buffer.size() - m_position;
            const qsizetype whole = available - available % m_unit;
            appendToLine(whole);
            continue;
        }
        appendToLine(end - m_position);
        const bool carriageReturn = unitIs(end, '\r');
        m_position = end + m_unit;
        if (!carriageReturn) {
            // A lone LF ends the line as well.
        } else if (nextUnitIsLineFeed()) {
            m_position += m_unit;
        } else if (!m_failure.description.isEmpty()) {
            return ReadResult::Failed;
        }
        decodeLine(line);
        return ReadResult::Line;
    }
}

void TextFileReader::decodeLine(QString& line)
{
    if (m_lineTooLong) {
        line.clear();
        return;
    }
    // An odd byte left at the end of a UTF-16 file is no whole character.
    const bool oddByte = m_unit == 2 && m_lineBytes.size() % 2 != 0;
    if (oddByte) {
        m_lineBytes.chop(1);
    }
    m_lineBytes.append(encodedSpace(m_encoding));
    if (m_encoding == Encoding::Cp949) {
        line = m_cp949.decode(m_lineBytes);
    } else {
        line = m_decoder.decode(m_lineBytes);
        m_decoder.resetState();
    }
    if (line.endsWith(u' ')) {
        line.chop(1);
    }
    if (m_unit == 2) {
        replaceUnpairedSurrogates(line);
    }
    if (oddByte) {
        line.append(QChar::ReplacementCharacter);
    }
    if (m_longestLine > 0 && line.size() > m_longestLine) {
        m_lineTooLong = true;
        line.clear();
    }
}

} // namespace importer
