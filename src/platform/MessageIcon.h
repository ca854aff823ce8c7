#pragma once

namespace platform {

// The icon of a message to the user. Core code names it; windows show it.
enum class MessageIcon
{
    None,
    Critical,
    Question,
    Exclamation,
    Information,
};

} // namespace platform
