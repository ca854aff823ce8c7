#include "platform/gui/AnimationWidget.h"

#include <QPainter>
#include <algorithm>

namespace platform {

namespace {

// The timer neither races nor stalls on clips with odd frame rates.
constexpr qint64 kShortestIntervalMs = 10;
constexpr qint64 kLongestIntervalMs = 10000;

QImage toImage(const AviClip& clip, qsizetype index)
{
    const QByteArray& pixels = clip.frame(index);
    const auto* data = reinterpret_cast<const uchar*>(pixels.constData());
    QImage image(data, clip.width(), clip.height(), clip.bytesPerLine(), QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(clip.palette().begin(), clip.palette().end()));
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Like the control it replaces, the clip's background (the colour of its
// first frame's top left pixel) lets the window show through.
void makeBackgroundTransparent(QList<QImage>& frames)
{
    const QRgb key = frames.front().pixel(0, 0);
    for (QImage& frame : frames) {
        for (int y = 0; y < frame.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = 0; x < frame.width(); ++x) {
                if (row[x] == key) {
                    row[x] = qRgba(0, 0, 0, 0);
                }
            }
        }
    }
}

} // namespace

AnimationWidget::AnimationWidget(QWidget* parent) : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &AnimationWidget::advance);
}

bool AnimationWidget::open(const QString& path)
{
    close();
    const AviClip::Result result = AviClip::fromFile(path);
    m_lastError = result.error;
    if (!result.clip) {
        return false;
    }
    const AviClip& clip = *result.clip;
    QList<QImage> frames;
    frames.reserve(clip.frameCount());
    for (qsizetype i = 0; i < clip.frameCount(); ++i) {
        frames.append(toImage(clip, i));
    }
    makeBackgroundTransparent(frames);
    m_frames = std::move(frames);
    const qint64 intervalMs = std::chrono::duration_cast<std::chrono::milliseconds>(clip.frameInterval()).count();
    m_timer.setInterval(static_cast<int>(std::clamp(intervalMs, kShortestIntervalMs, kLongestIntervalMs)));
    updateGeometry();
    updateTimer();
    update();
    return true;
}

void AnimationWidget::close()
{
    m_timer.stop();
    m_frames.clear();
    m_current = 0;
    update();
}

QSize AnimationWidget::sizeHint() const
{
    return m_frames.isEmpty() ? QSize(0, 0) : m_frames.front().size();
}

void AnimationWidget::paintEvent(QPaintEvent*)
{
    if (m_frames.isEmpty()) {
        return;
    }
    const QImage& frame = m_frames.at(m_current);
    QPainter painter(this);
    const QPoint origin((width() - frame.width()) / 2, (height() - frame.height()) / 2);
    painter.drawImage(origin, frame);
}

void AnimationWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void AnimationWidget::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateTimer();
}

void AnimationWidget::advance()
{
    if (m_frames.isEmpty()) {
        m_timer.stop();
        return;
    }
    m_current = (m_current + 1) % m_frames.size();
    update();
}

void AnimationWidget::updateTimer()
{
    // Plays only while there is something to show and someone to see it.
    if (!m_frames.isEmpty() && isVisible()) {
        if (!m_timer.isActive()) {
            m_timer.start();
        }
    } else {
        m_timer.stop();
    }
}

} // namespace platform
