#pragma once

#include <QString>

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

// A message to the user as a core words it: its icon and its text. Every core that speaks to the user returns these.
struct Message
{
    MessageIcon icon = MessageIcon::None;
    QString text;

    bool operator==(const Message&) const = default;
};

} // namespace platform
