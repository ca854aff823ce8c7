// Any bytes given to the AVI clip reader give a clip whose frames all have
// the size the clip announces, or an error; never a crash or a stray read.

#include "platform/gui/AviClip.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto result =
        platform::AviClip::fromBytes(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (result.clip) {
        const platform::AviClip& clip = *result.clip;
        if (clip.frameCount() == 0 || result.error != platform::AviError::None) {
            std::abort();
        }
        for (qsizetype i = 0; i < clip.frameCount(); ++i) {
            if (clip.frame(i).size() != clip.bytesPerLine() * clip.height()) {
                std::abort();
            }
        }
        if (clip.palette().size() != 256) {
            std::abort();
        }
    } else if (result.error == platform::AviError::None) {
        std::abort();
    }
    return 0;
}
