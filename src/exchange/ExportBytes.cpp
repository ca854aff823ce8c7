#include "exchange/ExportBytes.h"

#include <charconv>

namespace exchange {

namespace {

constexpr quint64 bit(char16_t c)
{
    return quint64(1) << c;
}

// The characters below 64 that do not stand for themselves in XML element content and in an attribute value.
constexpr quint64 kContentReferences = bit(u'&') | bit(u'<') | bit(u'>') | bit(u'\n') | bit(u'\r');
constexpr quint64 kAttributeReferences = kContentReferences | bit(u'"') | bit(u'\'') | bit(u'\t');
// The control characters that XML 1.0 cannot hold.
constexpr quint64 kNotXml = (bit(0x20) - 1) & ~(bit(u'\t') | bit(u'\n') | bit(u'\r'));

// The reference that stands for a character in XML, or nothing when it stands for itself.
const char* xmlReference(char16_t c, bool attribute)
{
    switch (c) {
    case u'&':
        return "&amp;";
    case u'<':
        return "&lt;";
    case u'>':
        return "&gt;";
    case u'\n':
        return "&#10;";
    case u'\r':
        return "&#13;";
    case u'"':
        return attribute ? "&quot;" : nullptr;
    case u'\'':
        return attribute ? "&apos;" : nullptr;
    case u'\t':
        return attribute ? "&#9;" : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

ExportBytes::ExportBytes(qsizetype expected)
{
    m_bytes.reserve(expected);
}

ExportBytes& ExportBytes::add(const char* ascii)
{
    m_bytes.append(ascii);
    return *this;
}

ExportBytes& ExportBytes::add(QStringView text)
{
    // UTF-8 takes at most three bytes for a UTF-16 unit.
    const qsizetype size = m_bytes.size();
    m_bytes.resize(size + 3 * text.size());
    char* const end = m_utf8.appendToBuffer(m_bytes.data() + size, text);
    m_bytes.truncate(end - m_bytes.constData());
    return *this;
}

ExportBytes& ExportBytes::add(int number)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    m_bytes.append(digits, end - digits);
    return *this;
}

ExportBytes& ExportBytes::addXml(QStringView text, bool attribute)
{
    // Most characters are letters at or above 64, passed over at two comparisons; the characters
    // XML cannot hold are noted on the way, so that no pass of its own looks for them.
    const quint64 references = attribute ? kAttributeReferences : kContentReferences;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 64) {
            m_notXml |= unit >= 0xFFFE;
            continue;
        }
        m_notXml |= (kNotXml >> unit & 1) != 0;
        if ((references >> unit & 1) == 0) {
            continue;
        }
        if (const char* reference = xmlReference(unit, attribute)) {
            add(text.sliced(from, i - from)).add(reference);
            from = i + 1;
        }
    }
    return add(text.sliced(from));
}

bool ExportBytes::xmlCanHold(QStringView text)
{
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x20 ? (kNotXml >> unit & 1) != 0 : unit >= 0xFFFE) {
            return false;
        }
    }
    return true;
}

} // namespace exchange
