#include "platform/gui/BackgroundRun.h"
#include "platform/gui/ShellOpen.h"
#include "platform/gui/WindowSettings.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProgressBar>
#include <QTimer>
#include <QUrl>
#include <stdexcept>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// A desktop handler for one scheme, recording what it was asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;
    Q_INVOKABLE void open(const QUrl& url) { urls << url; }
};

} // namespace

class PlatformGuiTest : public QObject
{
    Q_OBJECT

private slots:
    // Offscreen the desktop has no handler, so the real "Open" refuses and the message says what to open by
    // hand; with a handler, it is opened and nothing is said. (A Windows desktop opens a folder and an
    // address: there the refusal is the test's own.)
    void aRefusedOpenNamesWhatToOpenByHand()
    {
        const platform::ShellOpen refusing = QGuiApplication::platformName() == u"offscreen"_s
                                                 ? platform::ShellOpen(platform::openWithShell)
                                                 : [](const QString&) { return false; };
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
            const QString shown = target == address ? target : QDir::toNativeSeparators(target);
            testsupport::ScriptedDialogs dialogs;
            dialogs.queueAnswer(platform::MessageAnswer::Ok);
            platform::openForUser(dialogs, nullptr, refusing, shown);
            UrlRecorder desktop;
            QDesktopServices::setUrlHandler(url.scheme(), &desktop, "open");
            platform::openForUser(dialogs, nullptr, platform::openWithShell, shown);
            QDesktopServices::unsetUrlHandler(url.scheme());
            QCOMPARE(desktop.urls, QList<QUrl>{url});
            QCOMPARE(dialogs.messages().value(0).text, shown + u"\r\n\r\n"_s + advice);
            QCOMPARE(dialogs.messages().value(0).icon, platform::MessageIcon::Exclamation);
        }
    }

    // A window opens at the size it had when it last closed, kept by its name; a window of another name opens
    // at its own size hint. A folder kept is offered again until it is gone.
    void windowSizesAndFoldersAreKeptBetweenOpenings()
    {
        const auto open = [](const QString& name) {
            auto window = std::make_unique<QWidget>();
            window->setObjectName(name);
            platform::rememberGeometry(window.get());
            return window;
        };
        auto first = open(u"keptWindow"_s);
        first->show();
        first->resize(523, 311);
        first->close();
        QCOMPARE(open(u"keptWindow"_s)->size(), QSize(523, 311));
        QVERIFY(open(u"otherWindow"_s)->size() != QSize(523, 311));
        const testsupport::InstallTree folder;
        const QString file = folder.writeFile(u"a.txt"_s, "x");
        platform::setLastFolder(u"import"_s, file);
        QCOMPARE(platform::lastFolder(u"import"_s, u"/fallback"_s), QDir::toNativeSeparators(QFileInfo(file).path()));
        QCOMPARE(platform::lastFolder(u"export"_s, u"/fallback"_s), u"/fallback"_s);
        platform::setLastFolder(u"import"_s, folder.path(u"gone"_s), true);
        QCOMPARE(platform::lastFolder(u"import"_s, u"/fallback"_s), u"/fallback"_s);
    }

    // A run on the worker goes on while the window's timers fire: its progress shows, a cancel from the window reaches
    // it, and its result, or what it threw, comes back on the window's thread.
    void aRunInTheBackgroundLeavesTheWindowItsEventsAndStopsWhenCancelled()
    {
        platform::RunControl control;
        QProgressBar bar;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] { bar.value() == 500 ? control.cancel() : void(); });
        watch.start(10);
        const auto window = std::this_thread::get_id();
        const bool onWorker = platform::runInBackground(control, &bar, [&] {
            for (control.report(1, 2); !control.cancelled();) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return std::this_thread::get_id() != window;
        });
        QVERIFY(onWorker);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, platform::runInBackground(control, nullptr, []() -> int {
                                     throw std::runtime_error("failed");
                                 }));
    }
};

QTEST_MAIN(PlatformGuiTest)
#include "PlatformGuiTest.moc"
