#include "platform/gui/AnimationWidget.h"

#include "AviWriter.h"
#include "platform/AviClip.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using platform::AnimationWidget;

class AnimationWidgetTest : public QObject
{
    Q_OBJECT

private:
    static QString builtClip()
    {
        return testsupport::builtProgramFolder() + QDir::separator() + QStringLiteral("list.avi");
    }

    // What a widget that was never given a clip shows.
    static QImage blank(QSize size)
    {
        AnimationWidget widget;
        widget.resize(size);
        return widget.grab().toImage();
    }

    static QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }

    // Three frames of one colour each, ten milliseconds apart.
    static QByteArray threeFrameClip()
    {
        clip::IndexedClip clip;
        clip.width = 4;
        clip.height = 3;
        clip.frameInterval = std::chrono::microseconds(10000);
        clip.palette = {0xFFFF0000U, 0xFF00FF00U, 0xFF0000FFU};
        for (char index = 0; index < 3; ++index) {
            clip.frames.push_back(QByteArray(12, index));
        }
        return clip::writeAvi(clip, clip::Encoding::Rle8);
    }

private slots:
    void aMissingClipIsRefusedAndShowsNothing()
    {
        QTemporaryDir folder;
        AnimationWidget widget;
        widget.resize(100, 80);
        QVERIFY(!widget.open(folder.filePath(QStringLiteral("list.avi"))));
        QVERIFY(!widget.isOpen());
        QCOMPARE(widget.lastError(), platform::AviError::CannotRead);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QVERIFY(!widget.isPlaying());
        QCOMPARE(widget.grab().toImage(), blank(widget.size()));
    }

    void aBrokenClipIsRefusedAndTheClipBeforeItIsClosed()
    {
        QTemporaryDir folder;
        QFile good(builtClip());
        QVERIFY(good.open(QIODevice::ReadOnly));
        const QByteArray bytes = good.readAll();
        const QString broken = writeFile(folder, QStringLiteral("broken.avi"), bytes.left(bytes.size() / 2));
        const QString text = writeFile(folder, QStringLiteral("text.avi"), QByteArray("not a clip at all"));

        AnimationWidget widget;
        widget.resize(100, 80);
        QVERIFY(widget.open(builtClip()));
        QVERIFY(widget.grab().toImage() != blank(widget.size()));
        QVERIFY(!widget.open(broken));
        QCOMPARE(widget.lastError(), platform::AviError::Truncated);
        QVERIFY(!widget.isOpen());
        QCOMPARE(widget.grab().toImage(), blank(widget.size()));
        QVERIFY(!widget.open(text));
        QCOMPARE(widget.lastError(), platform::AviError::NotAvi);
        QCOMPARE(widget.grab().toImage(), blank(widget.size()));
    }

    void theProgramsClipShowsItsFirstFrameCentredOverTheWindow()
    {
        const auto clip = platform::AviClip::fromFile(builtClip()).clip;
        QVERIFY(clip.has_value());
        AnimationWidget widget;
        widget.resize(100, 80);
        // A window colour unlike any of the clip's, to see where it shows through.
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, QColor(0x12, 0x34, 0x56));
        widget.setPalette(palette);
        widget.setAutoFillBackground(true);
        QVERIFY(widget.open(builtClip()));
        QCOMPARE(widget.frameCount(), qsizetype{24});
        QCOMPARE(widget.frameIntervalMs(), 100);
        QCOMPARE(widget.sizeHint(), QSize(80, 60));
        QCOMPARE(widget.currentFrame(), qsizetype{0});
        const QImage shown = widget.grab().toImage();
        const auto indexAt = [&](QPoint p) {
            return static_cast<unsigned char>(clip->frame(0).at(p.y() * 80 + p.x()));
        };
        const unsigned char background = indexAt(QPoint(0, 0));
        int drawn = 0;
        // The clip sits ten pixels in from either side.
        for (int y = 0; y < 60; y += 3) {
            for (int x = 0; x < 80; x += 3) {
                const unsigned char index = indexAt(QPoint(x, y));
                const QRgb expected = index == background ? qRgb(0x12, 0x34, 0x56) : clip->palette()[index];
                QCOMPARE(shown.pixel(x + 10, y + 10), expected);
                drawn += index == background ? 0 : 1;
            }
        }
        QVERIFY(drawn > 100);
        QCOMPARE(shown.pixel(5, 5), qRgb(0x12, 0x34, 0x56));
    }

    void playsLoopingOnlyWhileVisible()
    {
        QTemporaryDir folder;
        const QString path = writeFile(folder, QStringLiteral("three.avi"), threeFrameClip());
        AnimationWidget widget;
        widget.resize(4, 3);
        QVERIFY(widget.open(path));
        QCOMPARE(widget.frameIntervalMs(), 10);
        QVERIFY(!widget.isPlaying());

        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QVERIFY(widget.isPlaying());
        // Round and round: the last frame is followed by the first.
        QTRY_COMPARE(widget.currentFrame(), qsizetype{2});
        QTRY_COMPARE(widget.currentFrame(), qsizetype{0});
        QTRY_COMPARE(widget.currentFrame(), qsizetype{1});

        widget.hide();
        QVERIFY(!widget.isPlaying());
        const qsizetype stopped = widget.currentFrame();
        QTest::qWait(50);
        QCOMPARE(widget.currentFrame(), stopped);
        widget.show();
        QVERIFY(widget.isPlaying());
    }

    void closeStopsAndShowsNothing()
    {
        AnimationWidget widget;
        widget.resize(100, 80);
        QVERIFY(widget.open(builtClip()));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QVERIFY(widget.isPlaying());
        widget.close();
        QVERIFY(!widget.isOpen());
        QVERIFY(!widget.isPlaying());
        QCOMPARE(widget.sizeHint(), QSize(0, 0));
        QCOMPARE(widget.grab().toImage(), blank(widget.size()));
    }
};

QTEST_MAIN(AnimationWidgetTest)
#include "AnimationWidgetTest.moc"
