#pragma once

#include <QLocale>
#include <QString>

namespace platform {

// A count as the messages write it: Korean digit grouping ("31,102").
[[nodiscard]] inline QString thousands(qint64 number)
{
    return QLocale(QLocale::Korean, QLocale::SouthKorea).toString(number);
}

} // namespace platform
