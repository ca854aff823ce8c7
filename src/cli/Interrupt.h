#pragma once

#include "platform/RunControl.h"

namespace cli {

// While it lives, Ctrl+C (SIGINT) cancels the run of control instead of ending the process, so that the run leaves
// every file as it was before it; a second Ctrl+C while the run winds down ends the process as usual.
class InterruptScope
{
public:
    explicit InterruptScope(platform::RunControl& control);
    ~InterruptScope();
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;
};

} // namespace cli
