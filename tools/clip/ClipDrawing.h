#pragma once

#include "AviWriter.h"

#include <optional>

namespace clip {

// The work animation "list.avi": a page on which lines of writing appear,
// line by line under a pen, and which then slides onto the stack of
// finished pages; the next loop starts on a fresh page.
// Nothing when a drawn colour is missing from the palette (a fault of this code).
[[nodiscard]] std::optional<IndexedClip> drawWritingPages();

} // namespace clip
