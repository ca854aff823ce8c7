#include "platform/Utf8.h"

#include <QtGlobal>
#include <cstring>

namespace platform {

bool isWellFormedUtf8(QByteArrayView bytes, bool mayBeCut)
{
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        // Runs of ASCII, eight bytes at a time: most texts are mostly ASCII or mostly Hangul.
        constexpr quint64 kHighBits = 0x8080808080808080ULL;
        quint64 eight = 0;
        while (i + 8 <= size && (std::memcpy(&eight, bytes.data() + i, 8), (eight & kHighBits) == 0)) {
            i += 8;
        }
        if (i >= size) {
            break;
        }
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The length of the sequence and the range of its second byte, which rules out the bad forms.
        qsizetype length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        for (qsizetype k = 1; k < length; ++k) {
            if (i + k >= size) {
                return mayBeCut;
            }
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

} // namespace platform
