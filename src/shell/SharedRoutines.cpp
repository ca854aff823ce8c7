#include "shell/SharedRoutines.h"

#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <limits>

namespace shell {

QString GetFileName(const QString& path)
{
    const qsizetype last = path.lastIndexOf(platform::separator());
    if (last < 0) {
        return {};
    }
    return path.mid(last + 1);
}

namespace {

bool isNormalFile(const QFileInfo& info)
{
    return info.isFile() && !info.isHidden();
}

bool hasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

} // namespace

bool FileExists(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const qsizetype last = path.lastIndexOf(platform::separator());
    const QString name = path.mid(last + 1);
    if (!hasWildcards(name)) {
        return isNormalFile(QFileInfo(path));
    }
    const QString folder = path.left(path.size() - name.size());
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!dir.exists()) {
        return false;
    }
    // QDir::Files without QDir::Hidden lists neither folders nor hidden files.
    return !dir.entryList({name}, QDir::Files | QDir::NoDotAndDotDot).isEmpty();
}

QString NullToSpaces(const QVariant& value)
{
    static const QString kTwoSpaces = QStringLiteral("  ");
    if (value.isNull() || !value.canConvert<QString>()) {
        return kTwoSpaces;
    }
    return value.toString();
}

namespace {

std::optional<int> halfDifference(double screen, double window)
{
    // Round the difference to a whole number, then halve it, cutting the fraction toward zero.
    const double rounded = std::nearbyint(screen - window);
    if (!std::isfinite(rounded) || std::abs(rounded) > 1e15) {
        return std::nullopt;
    }
    const long long half = static_cast<long long>(rounded) / 2;
    if (half < std::numeric_limits<qint16>::min() || half > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(half);
}

} // namespace

std::optional<QPoint> centeredOrigin(double screenWidth, double screenHeight, double windowWidth, double windowHeight)
{
    const auto top = halfDifference(screenHeight, windowHeight);
    const auto left = halfDifference(screenWidth, windowWidth);
    if (!top || !left) {
        return std::nullopt;
    }
    return QPoint(*left, *top);
}

} // namespace shell
