#include "platform/gui/AnimationWidget.h"

#include "AviWriter.h"
#include "platform/gui/AviClip.h"
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
    static QString builtClip() { return testsupport::builtProgramFolder() + QDir::separator() + "list.avi"; }

    // What a widget that was never given a clip shows.
    static QImage blank(QSize size)
    {
        AnimationWidget widget;
        widget.resize(size);
        return widget.grab().toImage();
    }

    static QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
    {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(name));
        }
        return file.fileName();
    }

private slots:
    // A missing or broken clip is refused, closes the clip before it, and shows nothing.
    void aMissingOrBrokenClipIsRefusedAndShowsNothing()
    {
        QTemporaryDir folder;
        QFile good(builtClip());
        QVERIFY(good.open(QIODevice::ReadOnly));
        const QByteArray bytes = good.readAll();
        const std::vector<std::pair<QString, platform::AviError>> cases = {
            {folder.filePath(QStringLiteral("none.avi")), platform::AviError::CannotRead},
            {writeFile(folder, QStringLiteral("half.avi"), bytes.left(bytes.size() / 2)),
             platform::AviError::Truncated},
            {writeFile(folder, QStringLiteral("text.avi"), "not a clip at all"), platform::AviError::NotAvi},
        };
        AnimationWidget widget;
        widget.resize(100, 80);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        for (const auto& [path, error] : cases) {
            QVERIFY(widget.open(builtClip()));
            QVERIFY(widget.grab().toImage() != blank(widget.size()));
            QVERIFY(!widget.open(path));
            QCOMPARE(widget.lastError(), error);
            QVERIFY(!widget.isOpen());
            QVERIFY(!widget.isPlaying());
            QCOMPARE(widget.grab().toImage(), blank(widget.size()));
        }
    }

    void theProgramsClipShowsItsFirstFrameCentredOverTheWindow()
    {
        const auto clip = platform::AviClip::fromFile(builtClip()).clip;
        QVERIFY(clip.has_value());
        AnimationWidget widget;
        widget.resize(100, 80);
        // A window colour unlike any of the clip's, to see where it shows through.
        const QRgb window = qRgb(0x12, 0x34, 0x56);
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, window);
        widget.setPalette(palette);
        widget.setAutoFillBackground(true);
        QVERIFY(widget.open(builtClip()));
        QCOMPARE(widget.frameCount(), qsizetype{24});
        QCOMPARE(widget.frameIntervalMs(), 100);
        QCOMPARE(widget.sizeHint(), QSize(80, 60));
        const QImage shown = widget.grab().toImage();
        const auto background = static_cast<unsigned char>(clip->frame(0).at(0));
        int drawn = 0;
        // The clip sits ten pixels in from either side.
        for (int y = 0; y < 60; y += 3) {
            for (int x = 0; x < 80; x += 3) {
                const auto index = static_cast<unsigned char>(clip->frame(0).at(y * 80 + x));
                QCOMPARE(shown.pixel(x + 10, y + 10), index == background ? window : clip->palette()[index]);
                drawn += index == background ? 0 : 1;
            }
        }
        QVERIFY(drawn > 100);
        QCOMPARE(shown.pixel(5, 5), window);
    }

    void playsLoopingOnlyWhileVisibleUntilClosed()
    {
        // Three frames of one colour each, ten milliseconds apart.
        clip::IndexedClip three;
        three.width = 4;
        three.height = 3;
        three.frameInterval = std::chrono::microseconds(10000);
        three.palette = {0xFFFF0000U, 0xFF00FF00U, 0xFF0000FFU};
        for (char index = 0; index < 3; ++index) {
            three.frames.push_back(QByteArray(12, index));
        }
        QTemporaryDir folder;
        AnimationWidget widget;
        widget.resize(4, 3);
        QVERIFY(widget.open(writeFile(folder, "three.avi", clip::writeAvi(three))));
        QCOMPARE(widget.frameIntervalMs(), 10);
        QCOMPARE(widget.currentFrame(), qsizetype{0});
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

        widget.close();
        QVERIFY(!widget.isOpen());
        QVERIFY(!widget.isPlaying());
        QCOMPARE(widget.sizeHint(), QSize(0, 0));
        QCOMPARE(widget.grab().toImage(), blank(widget.size()));
    }
};

int runAnimationWidgetTest(int argc, char* argv[])
{
    AnimationWidgetTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AnimationWidgetTest.moc"
