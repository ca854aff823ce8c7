#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#ifndef Q_OS_WIN
#include <QStringDecoder>
#endif

namespace platform {

// Windows code page 949, the Korean one (EUC-KR and the rest of Hangul's syllables), converted by the system's own
// tables on Windows and by ICU's "windows-949" elsewhere (ICU's "CP949" is IBM's table, which lacks characters).
// Every conversion is of whole text: nothing carries over from one call to the next. A decoder is kept for reading
// line after line; encoding is rare enough to need none.
class CodePage949
{
public:
    CodePage949();

    struct Encoded
    {
        QByteArray bytes;
        bool complete = true; // false when a character had no place in the code page and became "?"
    };

    // Whether this system converts code page 949 at all: Qt built without ICU cannot, and says so here.
    [[nodiscard]] static bool available();

    // A byte that begins no character, and a lead byte whose second byte is not one that can follow it, become
    // one U+FFFD each (the byte after such a lead byte is read again as a character of its own); a pair of bytes
    // that has no character becomes one U+FFFD.
    [[nodiscard]] QString decode(QByteArrayView bytes);
    // Each character the code page lacks becomes one "?".
    [[nodiscard]] static Encoded encode(QStringView text);

private:
#ifndef Q_OS_WIN
    QStringDecoder m_decoder;
#endif
};

} // namespace platform
