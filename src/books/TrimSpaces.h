#pragma once

#include <QStringView>

namespace books {

// The text without the spaces (U+0020) at either end; tabs and other white space stay.
// Inline: the import calls it several times for every line it reads.
[[nodiscard]] inline QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == u' ') {
        --end;
    }
    return text.sliced(begin, end - begin);
}

} // namespace books
