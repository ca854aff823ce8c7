#pragma once

#include <QPoint>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

namespace shell {

// The part of a path after its last separator; a path without a separator,
// or one ending in it, gives the empty text.
[[nodiscard]] QString GetFileName(const QString& path);

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

// True only for a normal file: folders, hidden files and paths in missing
// folders give false. A name with wildcards is true when a normal file matches.
[[nodiscard]] bool FileExists(const QString& path);

// A field value, or two spaces when it is Null or cannot be read as text.
[[nodiscard]] QString NullToSpaces(const QVariant& value);

// The origin, in twips, that centres a window of the given size on a screen of
// the given size. Nothing when a coordinate does not fit a 16-bit signed integer.
[[nodiscard]] std::optional<QPoint> centeredOrigin(double screenWidth, double screenHeight, double windowWidth,
                                                   double windowHeight);

} // namespace shell
