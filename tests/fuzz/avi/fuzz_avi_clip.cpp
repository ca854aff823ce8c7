// Any bytes to the AVI clip reader: a clip whose frames all have the size it announces, or an error; no crash.
#include "../FuzzRequire.h"
#include "platform/gui/AviClip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto result =
        platform::AviClip::fromBytes(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    require(result.clip ? result.clip->frameCount() != 0 && result.error == platform::AviError::None &&
                              result.clip->palette().size() == 256
                        : result.error != platform::AviError::None);
    for (qsizetype i = 0; result.clip && i < result.clip->frameCount(); ++i) {
        require(result.clip->frame(i).size() == result.clip->bytesPerLine() * result.clip->height());
    }
    return 0;
}
