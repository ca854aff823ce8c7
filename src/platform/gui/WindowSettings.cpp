#include "platform/gui/WindowSettings.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace platform {

namespace {

const QString kGeometryGroup = QStringLiteral("geometry/");
const QString kFolderGroup = QStringLiteral("folders/");

// Keeps its window's geometry each time the window hides (a dialog's close, accept and reject all hide it).
class GeometryKeeper final : public QObject
{
public:
    explicit GeometryKeeper(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Hide) {
            QSettings().setValue(kGeometryGroup + m_window->objectName(), m_window->saveGeometry());
        }
        return false;
    }

private:
    QWidget* m_window;
};

} // namespace

void rememberGeometry(QWidget* window, int characters, int lines)
{
    // Hints are of the style's fonts and margins only once the controls are polished.
    window->ensurePolished();
    const QByteArray kept = QSettings().value(kGeometryGroup + window->objectName()).toByteArray();
    if (kept.isEmpty() || !window->restoreGeometry(kept)) {
        // As large as it asks, within the screen, and never below what its layout needs.
        const QSize screen = window->screen()->availableSize();
        const QFontMetrics metrics = window->fontMetrics();
        const QSize wanted =
            window->sizeHint().expandedTo(QSize(metrics.averageCharWidth() * characters, metrics.height() * lines));
        window->resize(wanted.boundedTo(screen).expandedTo(window->minimumSizeHint()));
    }
    window->installEventFilter(new GeometryKeeper(window));
}

QString lastFolder(const QString& key, const QString& fallback)
{
    const QString kept = QSettings().value(kFolderGroup + key).toString();
    return kept.isEmpty() || !QFileInfo(kept).isDir() ? fallback : kept;
}

void setLastFolder(const QString& key, const QString& path, bool isFolder)
{
    if (path.isEmpty()) {
        return;
    }
    const QString folder = isFolder ? path : QFileInfo(path).path();
    QSettings().setValue(kFolderGroup + key, QDir::toNativeSeparators(folder));
}

} // namespace platform
