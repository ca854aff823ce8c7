#pragma once

#include <QByteArrayView>

namespace platform {

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
// A sequence cut off by the end of the bytes counts as well-formed when mayBeCut is set.
[[nodiscard]] bool isWellFormedUtf8(QByteArrayView bytes, bool mayBeCut = false);

} // namespace platform
