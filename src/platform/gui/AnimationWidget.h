#pragma once

#include "platform/gui/AviClip.h"

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

namespace platform {

// Plays an AVI clip of uncompressed or RLE8 frames, looping at the clip's own
// frame rate while the widget is visible, centred in the widget, with the
// clip's background colour (that of the first frame's top left pixel) left
// transparent so that the window shows through. It stands in
// for the animation control of the import window: a missing or broken clip
// is refused by open() and the widget then shows nothing; it never throws.
class AnimationWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AnimationWidget(QWidget* parent = nullptr);

    // Opens the clip at path in place of any open one; false, with nothing
    // open and nothing shown, when it cannot be read.
    bool open(const QString& path);
    // Stops and forgets the clip; the widget shows nothing.
    void close();

    [[nodiscard]] bool isOpen() const { return !m_frames.isEmpty(); }
    [[nodiscard]] bool isPlaying() const { return m_timer.isActive(); }
    [[nodiscard]] AviError lastError() const { return m_lastError; }
    [[nodiscard]] qsizetype frameCount() const { return m_frames.size(); }
    [[nodiscard]] qsizetype currentFrame() const { return m_current; }
    // The interval of the frame timer, in milliseconds.
    [[nodiscard]] int frameIntervalMs() const { return m_timer.interval(); }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void advance();
    void updateTimer();

    QList<QImage> m_frames;
    qsizetype m_current = 0;
    QTimer m_timer;
    AviError m_lastError = AviError::None;
};

} // namespace platform
