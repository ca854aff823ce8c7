// Any bytes given to the AVI clip reader give a clip whose frames all have
// the size the clip announces, or an error; never a crash or a stray read.
#include "../FuzzRequire.h"
#include "platform/gui/AviClip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto result =
        platform::AviClip::fromBytes(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    bool sound = result.clip ? result.clip->frameCount() != 0 && result.error == platform::AviError::None &&
                                   result.clip->palette().size() == 256
                             : result.error != platform::AviError::None;
    for (qsizetype i = 0; result.clip && i < result.clip->frameCount(); ++i) {
        sound = sound && result.clip->frame(i).size() == result.clip->bytesPerLine() * result.clip->height();
    }
    require(sound);
    return 0;
}
