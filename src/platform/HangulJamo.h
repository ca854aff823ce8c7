#pragma once

#include <QString>
#include <algorithm>

namespace platform {

// Whether c is a conjoining jamo of Unicode's three blocks (as macOS writes Hangul in file names and texts).
[[nodiscard]] inline bool isConjoiningJamo(char16_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF);
}

// Whether text holds conjoining jamo that NFC composes into syllables (old Hangul that has no syllable stays).
[[nodiscard]] inline bool hasDecomposedHangul(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isConjoiningJamo(c.unicode()); }) &&
           text.normalized(QString::NormalizationForm_C) != text;
}

} // namespace platform
