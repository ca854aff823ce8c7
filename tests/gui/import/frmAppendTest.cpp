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
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;
using importer::RunMessages;
using platform::MessageAnswer;
using testsupport::control;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Drags data over the file list and drops it there, offering a move first as file managers do. The
// action the list takes; Qt::IgnoreAction when it refuses the drag, the drop, or takes differing actions.
Qt::DropAction dropOnList(QWidget& window, const QMimeData& data)
{
    QWidget* target = control<QListWidget>(window, u"List1"_s)->viewport();
    const QPoint point = target->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(point), offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &drop);
    const bool taken = enter.isAccepted() && drop.isAccepted() && drop.dropAction() == enter.dropAction();
    return taken ? drop.dropAction() : Qt::IgnoreAction;
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

// The window in words: whether a run is on, how many of the commands, the list and the name box take
// input, and which work controls show. Between runs it reads "11 enabled".
QString state(importer::frmAppend& window)
{
    QStringList words;
    const QCursor* pointer = QApplication::overrideCursor();
    if (window.isRunning()) {
        words << u"running"_s;
    }
    if (pointer != nullptr && pointer->shape() == Qt::WaitCursor) {
        words << u"busy"_s;
    }
    int enabled = 0;
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7",
                             "Command8", "Command11", "List1", "Combo1"}) {
        enabled += control(window, QString::fromLatin1(name))->isEnabled() ? 1 : 0;
    }
    words << u"%1 enabled"_s.arg(enabled);
    if (auto* status = control<QLabel>(window, u"Label15"_s); !status->isHidden()) {
        words << u"status "_s + status->text();
    }
    if (auto* progress = control<QProgressBar>(window, u"ProgressBar1"_s); !progress->isHidden()) {
        words << u"progress to %1"_s.arg(progress->maximum());
    }
    auto* animation = control<platform::AnimationWidget>(window, u"Ani1"_s);
    if (!animation->isHidden()) {
        words << (animation->isOpen() ? u"animation, clip open"_s : u"animation"_s);
    }
    return words.join(u", "_s);
}

// An import window with scripted dialogs and a recorded desktop "Open" that opens what it is given,
// unless told to refuse. While a run lets pending events through, each new state is recorded and
// duringRun called.
struct Session
{
    explicit Session(const QString& programFolder = u"/nonexistent/manager"_s) : window(dialogs, programFolder)
    {
        window.setShellOpen([this](const QString& path) {
            opened << path;
            return !desktopRefuses;
        });
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (window.isRunning()) {
                if (const QString now = state(window); !states.contains(now)) {
                    states << now;
                }
                if (duringRun) {
                    duringRun();
                }
            }
        });
        watch.start(0);
    }
    QListWidget* list() { return control<QListWidget>(window, u"List1"_s); }
    QComboBox* nameBox() { return control<QComboBox>(window, u"Combo1"_s); }
    QString lastMessage() const { return dialogs.messages().isEmpty() ? QString() : dialogs.messages().last().text; }
    // Queues the answers to the message boxes to come, then clicks the command.
    void click(const QString& command, std::initializer_list<MessageAnswer> answers = {})
    {
        for (MessageAnswer answer : answers) {
            dialogs.queueAnswer(answer);
        }
        testsupport::click(window, command);
    }

    testsupport::ScriptedDialogs dialogs;
    importer::frmAppend window;
    QStringList opened;
    bool desktopRefuses = false;
    QTimer watch;
    QStringList states;
    std::function<void()> duringRun;
};

// An install tree with the template, the clip and a small reference version.
std::unique_ptr<testsupport::InstallTree> runTree()
{
    auto tree = std::make_unique<testsupport::InstallTree>(QStringList{u"null.mdb"_s, u"list.avi"_s});
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

    void addFilesAppendsEachChosenFile()
    {
        Session s;
        const QStringList chosen = {native(u"/first.txt"_s), native(u"/t/창세기.txt"_s), native(u"/t/출애굽기.txt"_s)};
        for (const QStringList& files : {chosen.mid(0, 1), chosen.mid(1), QStringList()}) {
            s.dialogs.queueFiles(files);
            s.click(u"Command3"_s);
        }
        QCOMPARE(s.window.fileList(), chosen);
    }

    void dropAddsLocalFilesOfAnyTypeAndFoldersInOrderAsCopies()
    {
        Session s;
        const QStringList dropped = {native(u"/t/창세기.txt"_s), native(u"/t/notes.doc"_s), QDir::tempPath(),
                                     native(u"/t/창세기.txt"_s), native(u"/no such file.txt"_s)};
        // Never a move: the file manager must keep its files.
        QCOMPARE(dropFiles(s.window, dropped), Qt::CopyAction);
        QCOMPARE(s.window.fileList(), dropped);
        // Data without local files adds nothing; of mixed data only the local file is taken.
        QMimeData text;
        text.setText(u"창 1:1 태초에"_s);
        QCOMPARE(dropOnList(s.window, text), Qt::IgnoreAction);
        QMimeData mixed;
        mixed.setUrls({QUrl(u"https://example.org/bible.txt"_s), QUrl::fromLocalFile(u"/t/a.txt"_s)});
        QCOMPARE(dropOnList(s.window, mixed), Qt::CopyAction);
        QCOMPARE(s.window.fileList(), dropped + QStringList{native(u"/t/a.txt"_s)});
    }

    void removeAndEditTakeTheSelection()
    {
        Session s;
        for (const QString& command : {u"Command2"_s, u"Command4"_s, u"Command6"_s}) {
            s.click(command); // an empty list: nothing is asked
        }
        QStringList paths;
        for (const char* path : {"/t/a.txt", "/t/b.txt", "/t/c.txt", "/t/b.txt", "/t/e.txt"}) {
            paths << native(QString::fromLatin1(path));
        }
        dropFiles(s.window, paths);
        // Entries but no current entry: the user is asked to select one.
        s.click(u"Command2"_s, {MessageAnswer::Ok});
        QCOMPARE(s.lastMessage(), u"지울 파일을 목록에서 선택해야 합니다 !"_s);
        s.click(u"Command4"_s, {MessageAnswer::Ok});
        QCOMPARE(s.lastMessage(), u"편집할 파일을 목록에서 선택해야 합니다 !"_s);
        // Edit opens the current entry; when the desktop refuses, the message names the file.
        s.list()->setCurrentRow(1);
        s.desktopRefuses = true;
        s.click(u"Command4"_s, {MessageAnswer::Ok});
        QCOMPARE(s.opened, QStringList{paths[1]});
        QCOMPARE(s.lastMessage(), platform::notOpenedMessage(paths[1]));
        // Remove takes every selected entry, the current one being the last clicked.
        QCOMPARE(s.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
        s.list()->setCurrentRow(3, QItemSelectionModel::Select);
        s.list()->setCurrentRow(4, QItemSelectionModel::Select);
        s.click(u"Command2"_s);
        QCOMPARE(s.window.fileList(), (QStringList{paths[0], paths[2]}));
        // A double click edits the entry clicked.
        s.desktopRefuses = false;
        control<QTabWidget>(s.window, u"VideoSoftIndexTab1"_s)->setCurrentIndex(2);
        s.window.show(); // on the first page
        QCOMPARE(control<QTabWidget>(s.window, u"VideoSoftIndexTab1"_s)->currentIndex(), 0);
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        const QPoint second = s.list()->visualItemRect(s.list()->item(1)).center();
        QTest::mouseClick(s.list()->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTest::mouseDClick(s.list()->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QCOMPARE(s.opened, (QStringList{paths[1], paths[2]}));
        s.click(u"Command6"_s);
        QCOMPARE(s.list()->count(), 0);
        QCOMPARE(s.dialogs.messages().size(), 3);
    }

    void openButtonTakesTheNameOfAVersionFileThatIsNotShipped()
    {
        Session s;
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        for (const QString& path : {u"/elsewhere/mine.dat"_s, QString(), u"/elsewhere/kjv.DAT"_s}) {
            s.dialogs.queueFiles(path.isEmpty() ? QStringList() : QStringList{native(path)});
            s.click(u"Command8"_s);
            QCOMPARE(s.nameBox()->currentText(), u"mine.dat"_s);
        }
        QCOMPARE(s.lastMessage(), u"kjv.DAT\r\n\r\n선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !"_s);
    }

    // Each shows its one message (a question is answered No), leaves the name box so, and starts no run.
    void refusalsAndQuestions()
    {
        const QStringList file = {native(u"/t/a.txt"_s)};
        QString user = u" user "_s;
        const struct
        {
            const char* command;
            bool withFile;
            QString typed;
            QString message;
            QString boxAfter;
        } cases[] = {
            {"Command11", false, u" mine "_s, *importer::checkRunRefusal({}), u" mine "_s},
            {"Command11", true, u" mine "_s, importer::checkRunQuestion(), u" mine "_s},
            {"Command7", false, u" mine "_s, *importer::buildRunRefusal({}, user), u" mine "_s},
            {"Command7", true, u" user "_s, *importer::buildRunRefusal(file, user), u"user"_s},
            {"Command7", true, u"../escape"_s, *importer::versionNameProblem(u"../escape"_s), u"../escape"_s},
            {"Command7", true, u"  kjv2  "_s, importer::buildRunQuestion(), u"kjv2"_s},
        };
        for (const auto& c : cases) {
            Session s;
            if (c.withFile) {
                dropFiles(s.window, file);
            }
            s.nameBox()->setEditText(c.typed);
            const bool question =
                c.message == importer::checkRunQuestion() || c.message == importer::buildRunQuestion();
            s.click(QString::fromLatin1(c.command), {question ? MessageAnswer::No : MessageAnswer::Ok});
            QCOMPARE(s.dialogs.messages().size(), 1);
            QCOMPARE(s.lastMessage(), c.message);
            QCOMPARE(s.dialogs.messages()[0].icon,
                     question ? platform::MessageIcon::Question : platform::MessageIcon::Exclamation);
            QCOMPARE(s.nameBox()->currentText(), c.boxAfter);
            QVERIFY(s.states.isEmpty());
        }
    }

    void checkRunsFromDroppedFiles()
    {
        auto tree = runTree();
        Session s(tree->programFolder());
        s.window.show();
        const QString good = tree->textFile(u"good.txt"_s, {u"창 1:1 태초에"_s, u"창 1:2 땅이 혼돈하고"_s});
        dropFiles(s.window, {good, tree->textFile(u"bad.txt"_s, {u"창 9:9 없는 절"_s})});
        s.desktopRefuses = true;
        s.click(u"Command11"_s, {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Ok});
        // The error log, opened once the message was read; the desktop refused, so its path is given.
        const QString errorLog = tree->programFile(u"err.txt"_s);
        QCOMPARE(s.dialogs.messages().size(), 3);
        QCOMPARE(s.dialogs.messages()[1].text, RunMessages::testFinishedWithErrors());
        QCOMPARE(s.opened, QStringList{errorLog});
        QCOMPARE(s.lastMessage(), platform::notOpenedMessage(errorLog));
        QCOMPARE(s.dialogs.busyAtMessages(), (QList<bool>{false, false, false}));
        QCOMPARE(s.states, QStringList{u"running, busy, 0 enabled, animation, clip open"_s});
        QCOMPARE(state(s.window), u"11 enabled"_s);
        // A clean check without the clip goes on, removes the earlier log, opens and makes nothing.
        QVERIFY(QFile::remove(tree->programFile(u"list.avi"_s)));
        s.click(u"Command6"_s);
        dropFiles(s.window, {good});
        s.states.clear();
        s.click(u"Command11"_s, {MessageAnswer::Yes, MessageAnswer::Ok});
        QCOMPARE(s.lastMessage(), RunMessages::testFinishedWithoutErrors());
        QCOMPARE(s.states, QStringList{u"running, busy, 0 enabled, animation"_s});
        QCOMPARE(s.opened.size(), 1);
        QVERIFY(!QFile::exists(errorLog));
        QCOMPARE(QDir(tree->installFolder()).entryList({u"*.DAT"_s, u"*.dat"_s}), QStringList{u"개역.DAT"_s});
    }

    void buildRunFromDroppedFiles()
    {
        auto tree = runTree();
        Session s(tree->programFolder());
        s.window.show();
        const QStringList files = {tree->textFile(u"창세기.txt"_s, {u"창 1:1 태초에"_s, u"창 1:3 빛이 있으라"_s}),
                                   tree->textFile(u"출애굽기.txt"_s, {u"출 1:1 이스라엘"_s})};
        dropFiles(s.window, files);
        s.nameBox()->setEditText(u" 새번역 "_s);
        bool closedDuringRun = false;
        s.duringRun = [&] {
            // Neither the close box nor Escape nor a disabled command does anything now.
            closedDuringRun = closedDuringRun || s.window.close();
            QTest::keyClick(&s.window, Qt::Key_Escape);
            s.click(u"Command6"_s);
        };
        s.click(u"Command7"_s, {MessageAnswer::Yes, MessageAnswer::Ok});
        QCOMPARE(s.dialogs.messages().size(), 2);
        QCOMPARE(s.lastMessage(), RunMessages::buildFinished(u"새번역.DAT"_s));
        QCOMPARE(s.nameBox()->currentText(), u"새번역.DAT"_s);
        const QList<std::pair<QString, QString>> expected = {{u"창 1:1"_s, u"태초에"_s},
                                                             {u"창 1:2"_s, u"<Null>"_s},
                                                             {u"창 1:3"_s, u"빛이 있으라"_s},
                                                             {u"출 1:1"_s, u"이스라엘"_s}};
        QCOMPARE(testsupport::storedTexts(tree->path(u"새번역.DAT"_s)), expected);
        // Both phases showed their status and progress over the reference's four verses, the animation only the
        // second.
        QCOMPARE(s.states, (QStringList{u"running, busy, 0 enabled, status 1/2 작업중..., progress to 4"_s,
                                        u"running, busy, 0 enabled, status 2/2 작업중..., progress to 4, "
                                        u"animation, clip open"_s}));
        QVERIFY(!closedDuringRun);
        QCOMPARE(s.window.fileList(), files);
        QCOMPARE(state(s.window), u"11 enabled"_s);
    }

    // The help window's sample is Genesis 1:1-11 in the import format; only the sample scrolls sideways.
    void helpSampleIsImportTextInTheKoreanFont()
    {
        const QStringList sample = importer::frmAppendForm::sampleText().split(u"\r\n"_s);
        for (int verse = 1; verse <= 11; ++verse) {
            const auto parsed = importer::ParseImportLine(sample[verse - 1], [](const QString&) { return true; });
            QCOMPARE(parsed.outcome, importer::LineOutcome::Accepted);
            QCOMPARE(parsed.reference, u"창 1:%1"_s.arg(verse));
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
