#include "AviWriter.h"
#include "platform/gui/AnimationWidget.h"
#include "platform/gui/AviClip.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/ShellOpen.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QDesktopServices>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using platform::AnimationWidget;

namespace {

QString builtClip()
{
    return testsupport::builtProgramFolder() + QDir::separator() + "list.avi";
}

// A desktop handler for one scheme, recording what it was asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class PlatformGuiTest : public QObject
{
    Q_OBJECT

private slots:
    // The clip's first frame shows centred over the window colour. A clip plays round and round only while
    // shown, until closed. A damaged clip is refused, closes the clip before it, and shows nothing.
    void theAnimationShowsPlaysAndRefusesADamagedClip()
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
        const QImage nothing = widget.grab().toImage();
        QVERIFY(widget.open(builtClip()));
        QCOMPARE(widget.sizeHint(), QSize(80, 60));
        const QImage shown = widget.grab().toImage();
        const auto background = static_cast<unsigned char>(clip->frame(0).at(0));
        // The clip sits ten pixels in from either side.
        for (int y = 0; y < 60; y += 3) {
            for (int x = 0; x < 80; x += 3) {
                const auto index = static_cast<unsigned char>(clip->frame(0).at(y * 80 + x));
                QCOMPARE(shown.pixel(x + 10, y + 10), index == background ? window : clip->palette()[index]);
            }
        }
        QCOMPARE(shown.pixel(5, 5), window);
        // Three frames of one colour each, ten milliseconds apart.
        clip::IndexedClip three{4, 3, std::chrono::milliseconds(10), {0xFFFF0000U, 0xFF00FF00U, 0xFF0000FFU}, {}};
        three.frames = {QByteArray(12, 0), QByteArray(12, 1), QByteArray(12, 2)};
        const testsupport::InstallTree folder;
        QVERIFY(widget.open(folder.writeFile(u"three.avi"_s, clip::writeAvi(three))));
        QVERIFY(!widget.isPlaying());
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTRY_COMPARE(widget.currentFrame(), qsizetype{2});
        QTRY_COMPARE(widget.currentFrame(), qsizetype{0});
        QTRY_COMPARE(widget.currentFrame(), qsizetype{1});
        widget.hide();
        const qsizetype stopped = widget.currentFrame();
        QTest::qWait(50);
        QCOMPARE(widget.currentFrame(), stopped);
        widget.show();
        QVERIFY(widget.isPlaying());
        widget.close();
        QVERIFY(!widget.isOpen() && !widget.isPlaying());
        QCOMPARE(widget.grab().toImage(), nothing);
        const QByteArray bytes = testsupport::bytes(builtClip());
        QVERIFY(widget.open(builtClip()));
        QVERIFY(!widget.open(folder.writeFile(u"half.avi"_s, bytes.left(bytes.size() / 2))));
        QCOMPARE(widget.lastError(), platform::AviError::Truncated);
        QVERIFY(!widget.isOpen() && !widget.isPlaying());
        QCOMPARE(widget.grab().toImage(), nothing);
    }

    // Offscreen the desktop has no handler, so the real "Open" refuses and the message says what to open by
    // hand; with a handler, it is opened and nothing is said.
    void aRefusedOpenNamesWhatToOpenByHand()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"err.txt"_s);
        const QString address = u"https://byeorisol.example.org"_s;
        const std::pair<QString, QString> cases[] = {
            {file, u"이 파일을 자동으로 열지 못했습니다.\r\n위의 파일을 직접 찾아 열어 주십시오."_s},
            {folder.path(), u"이 폴더를 자동으로 열지 못했습니다.\r\n위의 폴더를 직접 찾아 열어 주십시오."_s},
            {address,
             u"이 주소를 웹 브라우저로 열지 못했습니다.\r\n위의 주소를 웹 브라우저에 직접 입력하여 주십시오."_s},
        };
        for (const auto& [target, advice] : cases) {
            const QUrl url = target == address ? QUrl(address) : QUrl::fromLocalFile(target);
            testsupport::ScriptedDialogs dialogs;
            dialogs.queueAnswer(platform::MessageAnswer::Ok);
            platform::openForUser(dialogs, nullptr, platform::openWithShell, QDir::toNativeSeparators(target));
            UrlRecorder desktop;
            QDesktopServices::setUrlHandler(url.scheme(), &desktop, "open");
            platform::openForUser(dialogs, nullptr, platform::openWithShell, QDir::toNativeSeparators(target));
            QDesktopServices::unsetUrlHandler(url.scheme());
            QCOMPARE(desktop.urls, QList<QUrl>{url});
            QCOMPARE(dialogs.messages().size(), 1);
            QCOMPARE(dialogs.messages()[0].text, QDir::toNativeSeparators(target) + u"\r\n\r\n"_s + advice);
            QCOMPARE(dialogs.messages()[0].icon, platform::MessageIcon::Exclamation);
        }
    }

    void centringCutsTheFractionTowardZeroAndRefusesWhatOverflowsSixteenBits()
    {
        const std::pair<std::array<double, 4>, std::optional<QPoint>> cases[] = {
            {{100, 100, 103, 104.4}, QPoint(-1, -2)},
            {{0, 0, 100, 70000}, std::nullopt},
            {{65534, 0, 0, 65536}, QPoint(32767, -32768)},
        };
        for (const auto& [s, origin] : cases) {
            QVERIFY2(platform::centeredOrigin(s[0], s[1], s[2], s[3]) == origin,
                     qPrintable(u"%1x%2 / %3x%4"_s.arg(s[0]).arg(s[1]).arg(s[2]).arg(s[3])));
        }
    }
};

QTEST_MAIN(PlatformGuiTest)
#include "PlatformGuiTest.moc"
