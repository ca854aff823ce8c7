#include "import/gui/frmAppend.h"

#include "import/ParseImportLine.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/VersionName.h"
#include "import/gui/frmAppendForm.h"
#include "platform/gui/AnimationWidget.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

using importer::frmAppend;
using importer::RunMessages;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::control;
using testsupport::InstallTree;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Drags data over the file list and drops it there, offering a move first as file managers do. The
// action the list takes; Qt::IgnoreAction when it refuses the drag, the drop, or takes differing actions.
Qt::DropAction dropOnList(QWidget& window, const QMimeData& data)
{
    QWidget* target = control<QListWidget>(window, QStringLiteral("List1"))->viewport();
    const QPoint point = target->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return Qt::IgnoreAction;
    }
    QDragMoveEvent move(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(point), offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted() && drop.dropAction() == enter.dropAction() ? drop.dropAction() : Qt::IgnoreAction;
}

Qt::DropAction dropFiles(QWidget& window, const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(QDir::fromNativeSeparators(path));
    }
    QMimeData data;
    data.setUrls(urls);
    return dropOnList(window, data);
}

// An import window with scripted dialogs and a recorded desktop "Open" that opens what it is
// given, unless told to refuse.
struct Session
{
    explicit Session(const QString& programFolder = QStringLiteral("/nonexistent/manager"))
        : window(dialogs, programFolder)
    {
        window.setShellOpen([this](const QString& path) {
            opened << path;
            return !desktopRefuses;
        });
    }

    const QList<testsupport::ScriptedDialogs::Shown>& messages() const { return dialogs.messages(); }
    QListWidget* list() { return control<QListWidget>(window, QStringLiteral("List1")); }
    QComboBox* nameBox() { return control<QComboBox>(window, QStringLiteral("Combo1")); }
    // Queues the answers to the message boxes to come, then clicks the command.
    void click(const QString& command, std::initializer_list<MessageAnswer> answers = {})
    {
        for (MessageAnswer answer : answers) {
            dialogs.queueAnswer(answer);
        }
        control<QPushButton>(window, command)->click();
    }
    void show()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    testsupport::ScriptedDialogs dialogs;
    frmAppend window;
    QStringList opened;
    bool desktopRefuses = false;
};

// The window at one moment, in words: whether a run is on, how many of the commands, the list and the name
// box take input, and which work controls show. Between runs a shown window reads "11 enabled".
QString state(frmAppend& window)
{
    QStringList words;
    const auto say = [&words](bool when, const QString& word) {
        if (when) {
            words << word;
        }
    };
    const QCursor* pointer = QApplication::overrideCursor();
    say(window.isRunning(), QStringLiteral("running"));
    say(pointer != nullptr && pointer->shape() == Qt::WaitCursor, QStringLiteral("busy"));
    int enabled = 0;
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7",
                             "Command8", "Command11", "List1", "Combo1"}) {
        enabled += control(window, QString::fromLatin1(name))->isEnabled() ? 1 : 0;
    }
    words << QStringLiteral("%1 enabled").arg(enabled);
    auto* status = control<QLabel>(window, QStringLiteral("Label15"));
    say(!status->isHidden(), QStringLiteral("status ") + status->text());
    auto* progress = control<QProgressBar>(window, QStringLiteral("ProgressBar1"));
    say(!progress->isHidden(), QStringLiteral("progress to %1").arg(progress->maximum()));
    auto* animation = control<platform::AnimationWidget>(window, QStringLiteral("Ani1"));
    say(!animation->isHidden(), QStringLiteral("animation"));
    say(animation->isOpen(), QStringLiteral("clip open"));
    return words.join(QStringLiteral(", "));
}

const QString kIdle = QStringLiteral("11 enabled");

// Records each distinct state of the window, in order, every time a run lets pending events through;
// onRunning is then called too.
class RunWatcher
{
public:
    explicit RunWatcher(frmAppend& window)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, &window] {
            if (window.isRunning()) {
                if (const QString now = state(window); !states.contains(now)) {
                    states << now;
                }
                if (onRunning) {
                    onRunning();
                }
            }
        });
        m_timer.start();
    }

    QStringList states;
    std::function<void()> onRunning;

private:
    QTimer m_timer;
};

// An install tree with the template, the clip and a small reference version.
std::unique_ptr<InstallTree> runTree()
{
    auto tree = std::make_unique<InstallTree>(QStringList{QStringLiteral("null.mdb"), QStringLiteral("list.avi")});
    if (tree->makeSmallReference().isEmpty() || !tree->isValid()) {
        qFatal("no install tree");
    }
    return tree;
}

} // namespace

class frmAppendTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(QApplication::overrideCursor() == nullptr); }

    void opensIdleOnTheFirstTab()
    {
        Session s;
        auto* tabs = control<QTabWidget>(s.window, QStringLiteral("VideoSoftIndexTab1"));
        tabs->setCurrentIndex(2);
        s.show();
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(state(s.window), kIdle);
        QCOMPARE(s.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(s.nameBox()->isEditable());
    }

    void addFilesAppendsEachChosenFile()
    {
        Session s;
        const QStringList chosen = {native("/first.txt"), native("/texts/창세기.txt"), native("/texts/출애굽기.txt")};
        s.dialogs.queueFiles(chosen.mid(0, 1));
        s.dialogs.queueFiles(chosen.mid(1));
        s.dialogs.queueFiles({});
        for (int i = 0; i < 3; ++i) {
            s.click("Command3");
        }
        QCOMPARE(s.window.fileList(), chosen);
    }

    void dropAddsLocalFilesOfAnyTypeAndFoldersInOrderAsCopies()
    {
        auto tree = runTree();
        Session s(tree->programFolder());
        const QString genesis = tree->textFile(QStringLiteral("창세기.txt"), {QStringLiteral("창 1:1 태초에")});
        const QString document = tree->textFile(QStringLiteral("notes.doc"), {QStringLiteral("x")});
        const QStringList dropped = {genesis, document, tree->makeFolder(QStringLiteral("책들")), genesis,
                                     native(QDir::tempPath() + QStringLiteral("/no such file.txt"))};
        // Never a move: the file manager must keep its files.
        QCOMPARE(dropFiles(s.window, dropped), Qt::CopyAction);
        QCOMPARE(s.window.fileList(), dropped);
        // Data without local files adds nothing; of mixed data only the local file is taken.
        QMimeData text;
        text.setText(QStringLiteral("창 1:1 태초에"));
        QCOMPARE(dropOnList(s.window, text), Qt::IgnoreAction);
        const QUrl web(QStringLiteral("https://example.org/bible.txt"));
        QMimeData mixed;
        mixed.setUrls({web, QUrl::fromLocalFile(QStringLiteral("/texts/a.txt"))});
        QCOMPARE(dropOnList(s.window, mixed), Qt::CopyAction);
        QCOMPARE(s.window.fileList(), dropped + QStringList{native(QStringLiteral("/texts/a.txt"))});
    }

    void removeAndEditTakeTheSelection()
    {
        Session s;
        for (const char* command : {"Command2", "Command4", "Command6"}) {
            s.click(QString::fromLatin1(command)); // an empty list: nothing is asked
        }
        QStringList paths;
        for (const char* path : {"/t/a.txt", "/t/b.txt", "/t/c.txt", "/t/b.txt", "/t/e.txt"}) {
            paths << native(QString::fromLatin1(path));
        }
        dropFiles(s.window, paths);
        // Entries but no current entry: the user is asked to select one.
        s.click("Command2", {MessageAnswer::Ok});
        s.click("Command4", {MessageAnswer::Ok});
        QCOMPARE(s.messages()[0].text, QStringLiteral("지울 파일을 목록에서 선택해야 합니다 !"));
        QCOMPARE(s.messages()[1].text, QStringLiteral("편집할 파일을 목록에서 선택해야 합니다 !"));
        QCOMPARE(s.window.fileList(), paths);
        // Edit opens the current entry; when the desktop refuses, the message names the file.
        s.list()->setCurrentRow(1);
        s.desktopRefuses = true;
        s.click("Command4", {MessageAnswer::Ok});
        QCOMPARE(s.opened, QStringList{paths[1]});
        QCOMPARE(s.messages().last().text, platform::notOpenedMessage(paths[1]));
        // Remove takes every selected entry, the current one being the last clicked.
        s.list()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        s.list()->setCurrentRow(3, QItemSelectionModel::Select);
        s.list()->setCurrentRow(4, QItemSelectionModel::Select);
        s.click("Command2");
        QCOMPARE(s.window.fileList(), (QStringList{paths[0], paths[2]}));
        // A double click edits the entry clicked.
        s.desktopRefuses = false;
        s.show();
        const QPoint second = s.list()->visualItemRect(s.list()->item(1)).center();
        QTest::mouseClick(s.list()->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTest::mouseDClick(s.list()->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QCOMPARE(s.opened, (QStringList{paths[1], paths[2]}));
        s.click("Command6");
        QCOMPARE(s.list()->count(), 0);
        QCOMPARE(s.messages().size(), 3);
    }

    void openButtonTakesTheNameOfAVersionFileThatIsNotShipped()
    {
        Session s;
        s.dialogs.queueFiles({native(QStringLiteral("/elsewhere/mine.dat"))});
        s.dialogs.queueFiles({});
        s.dialogs.queueFiles({native(QStringLiteral("/elsewhere/kjv.DAT"))});
        s.click("Command8");
        s.click("Command8");
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral("mine.dat"));
        s.click("Command8", {MessageAnswer::Ok});
        QCOMPARE(s.messages().last().text,
                 QStringLiteral("kjv.DAT\r\n\r\n선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !"));
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral("mine.dat"));
    }

    // Row: the command, with a file listed or not, the name typed, the one message it shows (a
    // question is answered No) and the name box afterwards. No run starts.
    void refusalsAndQuestions_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("boxAfter");
        const QString check = QStringLiteral("Command11");
        const QString build = QStringLiteral("Command7");
        const QStringList file = {native(QStringLiteral("/t/a.txt"))};
        QString user = QStringLiteral(" user ");
        const QString shipped = importer::buildRunRefusal(file, user).value();
        QTest::newRow("check, empty list") << check << false << "" << *importer::checkRunRefusal({}) << "";
        QTest::newRow("check") << check << true << " mine " << importer::checkRunQuestion() << " mine ";
        QTest::newRow("build, empty list")
            << build << false << " mine " << *importer::buildRunRefusal({}, user) << " mine ";
        QTest::newRow("shipped name") << build << true << " user " << shipped << "user";
        QTest::newRow("leaves the install folder")
            << build << true << "../escape" << *importer::versionNameProblem("../escape") << "../escape";
        QTest::newRow("build") << build << true << "  kjv2  " << importer::buildRunQuestion() << "kjv2";
    }

    void refusalsAndQuestions()
    {
        QFETCH(QString, command);
        QFETCH(bool, withFile);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, boxAfter);
        Session s;
        if (withFile) {
            dropFiles(s.window, {native(QStringLiteral("/t/a.txt"))});
        }
        s.nameBox()->setEditText(typed);
        const bool question = message == importer::checkRunQuestion() || message == importer::buildRunQuestion();
        s.click(command, {question ? MessageAnswer::No : MessageAnswer::Ok});
        QCOMPARE(s.messages().size(), 1);
        QCOMPARE(s.messages()[0].text, message);
        QCOMPARE(s.messages()[0].icon, question ? MessageIcon::Question : MessageIcon::Exclamation);
        QCOMPARE(s.nameBox()->currentText(), boxAfter);
    }

    void checkRunsFromDroppedFiles()
    {
        auto tree = runTree();
        Session s(tree->programFolder());
        s.show();
        const QString good = tree->textFile(QStringLiteral("good.txt"),
                                            {QStringLiteral("창 1:1 태초에"), QStringLiteral("창 1:2 땅이 혼돈하고")});
        const QString bad = tree->textFile(QStringLiteral("bad.txt"), {QStringLiteral("창 9:9 없는 절")});
        dropFiles(s.window, {good, bad});
        RunWatcher watcher(s.window);
        s.desktopRefuses = true;
        s.click("Command11", {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Ok});
        // The error log, opened once the message was read; the desktop refused, so its path is given.
        const QString errorLog = tree->programFile(QStringLiteral("err.txt"));
        QCOMPARE(s.messages().size(), 3);
        QCOMPARE(s.messages()[1].text, RunMessages::testFinishedWithErrors());
        QCOMPARE(s.opened, QStringList{errorLog});
        QCOMPARE(s.messages()[2].text, platform::notOpenedMessage(errorLog));
        QCOMPARE(s.dialogs.busyAtMessages(), (QList<bool>{false, false, false}));
        QCOMPARE(watcher.states, QStringList{QStringLiteral("running, busy, 0 enabled, animation, clip open")});
        QCOMPARE(state(s.window), kIdle);
        QCOMPARE(s.window.fileList(), (QStringList{good, bad}));
        // A clean check without the clip goes on, removes the earlier log, opens and makes nothing.
        QVERIFY(QFile::remove(tree->programFile(QStringLiteral("list.avi"))));
        s.click("Command6");
        dropFiles(s.window, {good});
        RunWatcher clean(s.window);
        s.click("Command11", {MessageAnswer::Yes, MessageAnswer::Ok});
        QCOMPARE(s.messages().last().text, RunMessages::testFinishedWithoutErrors());
        QCOMPARE(s.messages().last().icon, MessageIcon::Information);
        QCOMPARE(clean.states, QStringList{QStringLiteral("running, busy, 0 enabled, animation")});
        QCOMPARE(s.opened.size(), 1);
        QVERIFY(!QFile::exists(errorLog));
        QCOMPARE(QDir(tree->installFolder()).entryList({QStringLiteral("*.DAT"), QStringLiteral("*.dat")}),
                 QStringList{QStringLiteral("개역.DAT")});
    }

    void buildRunFromDroppedFiles()
    {
        auto tree = runTree();
        Session s(tree->programFolder());
        s.show();
        const QString genesis = tree->textFile(QStringLiteral("창세기.txt"),
                                               {QStringLiteral("창 1:1 태초에"), QStringLiteral("창 1:3 빛이 있으라")});
        const QString exodus = tree->textFile(QStringLiteral("출애굽기.txt"), {QStringLiteral("출 1:1 이스라엘")});
        dropFiles(s.window, {genesis, exodus});
        s.nameBox()->setEditText(QStringLiteral(" 새번역 "));
        RunWatcher watcher(s.window);
        bool closedDuringRun = false;
        watcher.onRunning = [&] {
            // Neither the close box nor Escape nor a disabled command does anything now.
            closedDuringRun = closedDuringRun || s.window.close();
            QTest::keyClick(&s.window, Qt::Key_Escape);
            s.click("Command6");
        };
        s.click("Command7", {MessageAnswer::Yes, MessageAnswer::Ok});
        QCOMPARE(s.messages().size(), 2);
        QCOMPARE(s.messages()[1].text, RunMessages::buildFinished(QStringLiteral("새번역.DAT")));
        QCOMPARE(s.messages()[1].icon, MessageIcon::Information);
        QVERIFY(s.opened.isEmpty());
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral("새번역.DAT"));
        const QList<std::pair<QString, QString>> expected = {
            {QStringLiteral("창 1:1"), QStringLiteral("태초에")},
            {QStringLiteral("창 1:2"), QStringLiteral("<Null>")},
            {QStringLiteral("창 1:3"), QStringLiteral("빛이 있으라")},
            {QStringLiteral("출 1:1"), QStringLiteral("이스라엘")},
        };
        QCOMPARE(testsupport::storedTexts(tree->path(QStringLiteral("새번역.DAT"))), expected);
        // Both phases showed their status and progress over the reference's four verses, the animation only the
        // second.
        QCOMPARE(watcher.states,
                 (QStringList{QStringLiteral("running, busy, 0 enabled, status 1/2 작업중..., progress to 4"),
                              QStringLiteral("running, busy, 0 enabled, status 2/2 작업중..., progress to 4, "
                                             "animation, clip open")}));
        QVERIFY(!closedDuringRun);
        QCOMPARE(s.window.fileList(), (QStringList{genesis, exodus}));
        QCOMPARE(state(s.window), kIdle);
    }

    // The help window's sample is Genesis 1:1-11 in the import format; only the sample scrolls sideways.
    void helpSampleIsImportTextInTheKoreanFont()
    {
        const QStringList sample = importer::frmAppendForm::sampleText().split(QStringLiteral("\r\n"));
        for (int verse = 1; verse <= 11; ++verse) {
            const auto parsed = importer::ParseImportLine(sample[verse - 1], [](const QString&) { return true; });
            QCOMPARE(parsed.outcome, importer::LineOutcome::Accepted);
            QCOMPARE(parsed.reference, QStringLiteral("창 1:%1").arg(verse));
        }
        importer::frmAppendForm window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QTabWidget*>()->setCurrentIndex(2);
        QCoreApplication::processEvents();
        for (const char* name : {"Text1", "Text2", "Text3"}) {
            auto* box = control<QPlainTextEdit>(window, QString::fromLatin1(name));
            QCOMPARE(box->font().family(), importer::frmAppendForm::textFont().family());
            QCOMPARE(box->font().pointSizeF(), 9.75);
            QCOMPARE(box->horizontalScrollBar()->maximum() > 0, QByteArray(name) == "Text3");
        }
    }
};

QTEST_MAIN(frmAppendTest)
#include "frmAppendTest.moc"
