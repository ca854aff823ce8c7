#include "platform/CodePage949.h"

#include <QtGlobal>
#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QStringEncoder>
#endif

namespace platform {

#ifdef Q_OS_WIN

namespace {

constexpr UINT kCodePage = 949;

bool isLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) || (byte >= 0x81 && byte <= 0xFE);
}

// The characters of bytes, or nothing when a byte or pair of them is no character.
std::optional<QString> decodeStrictly(QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        return QString();
    }
    const int size = int(bytes.size());
    const int length = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                        length);
    return text;
}

} // namespace

CodePage949::CodePage949() = default;

bool CodePage949::available()
{
    return IsValidCodePage(kCodePage);
}

QString CodePage949::decode(QByteArrayView bytes)
{
    if (auto text = decodeStrictly(bytes)) {
        return std::move(*text);
    }
    // A faulty line: character by character, each fault its own U+FFFD.
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text.append(QChar(byte));
            ++i;
        } else if (isLeadByte(byte) && i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            text.append(decodeStrictly(bytes.sliced(i, 2)).value_or(QString(QChar::ReplacementCharacter)));
            i += 2;
        } else {
            text.append(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return text;
}

CodePage949::Encoded CodePage949::encode(QStringView text)
{
    Encoded encoded;
    if (text.isEmpty()) {
        return encoded;
    }
    // One "?" a character, as ICU writes elsewhere: a character past U+FFFF (none is in the code page) is two UTF-16
    // units, which Windows would make two.
    QString single;
    if (std::any_of(text.begin(), text.end(), [](QChar unit) { return unit.isHighSurrogate(); })) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            single.append(pair ? QChar(QChar::ReplacementCharacter) : text[i]);
            i += pair ? 1 : 0;
        }
        text = single;
    }
    const auto* characters = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = int(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, characters, size, nullptr, 0, "?", nullptr);
    encoded.bytes.resize(length);
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, characters, size, encoded.bytes.data(), length, "?",
                        &usedDefault);
    encoded.complete = !usedDefault;
    return encoded;
}

#else

namespace {

constexpr const char* kIcuName = "windows-949";

} // namespace

CodePage949::CodePage949() : m_decoder(kIcuName, QStringConverter::Flag::Stateless) {}

bool CodePage949::available()
{
    return QStringDecoder(kIcuName).isValid();
}

QString CodePage949::decode(QByteArrayView bytes)
{
    QString text = m_decoder.decode(bytes);
    m_decoder.resetState();
    return text;
}

CodePage949::Encoded CodePage949::encode(QStringView text)
{
    // A fresh encoder each time: resetState does not clear the error of an earlier text.
    QStringEncoder encoder(kIcuName, QStringConverter::Flag::Stateless);
    Encoded encoded{encoder.encode(text), true};
    encoded.complete = !encoder.hasError();
    return encoded;
}

#endif

} // namespace platform
