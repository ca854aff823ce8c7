#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>
#include <utility>

namespace exchange {

// The bytes of one exported file in UTF-8 without a byte-order mark, appended piece by piece
// straight into one buffer: no text is encoded into a copy of its own first.
class ExportBytes
{
public:
    // Room for about that many bytes is taken at once.
    explicit ExportBytes(qsizetype expected);

    ExportBytes& add(const char* ascii);
    ExportBytes& add(QStringView text);
    ExportBytes& add(int number);
    // The text as the content of an XML element: &, < and > as entity references, the line
    // breaks as character references (so that they come back as they were, CR included); as an
    // attribute's value between double quotes, quotes and tabs too.
    ExportBytes& addXml(QStringView text, bool attribute = false);

    [[nodiscard]] QByteArray take() { return std::move(m_bytes); }

    // Whether a text added for XML held a character that XML 1.0 cannot hold at all (a control
    // character but tab, LF and CR, or U+FFFE, U+FFFF), not even as a character reference: the
    // bytes are no XML then.
    [[nodiscard]] bool notXml() const { return m_notXml; }
    // Whether XML 1.0 can hold the text, as the texts added for XML are judged.
    [[nodiscard]] static bool xmlCanHold(QStringView text);

private:
    QByteArray m_bytes;
    bool m_notXml = false;
    QStringEncoder m_utf8{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

} // namespace exchange
