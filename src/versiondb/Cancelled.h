#pragma once

#include "platform/RunControl.h"

namespace versiondb {

// Raised by the engine's long work (a repair, a compaction) when its run has been cancelled, once what it had made
// is gone again: the version file is as it was before the work began.
struct Cancelled
{};

// Raises Cancelled when control says the run is to stop; a null control is never cancelled.
inline void stopIfCancelled(const platform::RunControl* control)
{
    if (control != nullptr && control->cancelled()) {
        throw Cancelled{};
    }
}

} // namespace versiondb
