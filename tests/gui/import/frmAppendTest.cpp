#include "import/gui/frmAppend.h"

#include "platform/ProgramFolders.h"
#include "platform/gui/AnimationWidget.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <sys/stat.h>

using importer::frmAppend;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using testsupport::InstallTree;
using testsupport::ScriptedDialogs;

using testsupport::click;
using testsupport::control;

namespace {

const QString kCheckQuestion = QStringLiteral("작업을 시작하시겠습니까?\r\n(일단 작업이 시작되면 중지할 수 없습니다)");
const QString kBuildQuestion =
    QStringLiteral("☞ 역본 만들기를 시작하시겠습니까?\r\n(작업이 시작되면 중지할 수 없습니다)");
const QString kShippedTarget =
    QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 '성경본문 편집'만을 지원합니다.");
const QString kCheckWithErrors = QStringLiteral(
    "테스트 작업이 완료되었습니다.\r\n\r\n그러나 일부 텍스트파일에서 편집오류가 발견되어 오류목록파일('err.txt')을 "
    "열겠습니다.\r\n한번 살펴보시고 오류를 수정하여 주십시오.\r\n('err.txt'파일의 참조가 완료되면 삭제하십시오)");
const QString kCheckClean = QStringLiteral(
    "테스트 작업이 완료되었습니다.\r\n\r\n지금 목록에 있는 텍스트파일은 편집오류가 발견되지 않았습니다.");

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
    explicit Session(const QString& programFolder = QStringLiteral("/nonexistent/manager"), QWidget* owner = nullptr)
        : window(dialogs, programFolder, owner)
    {
        window.setShellOpen([this](const QString& path) {
            opened << path;
            return !desktopRefuses;
        });
    }

    const QList<ScriptedDialogs::Shown>& messages() const { return dialogs.messages(); }
    QPushButton* button(const QString& name) { return control<QPushButton>(window, name); }
    QListWidget* list() { return control<QListWidget>(window, QStringLiteral("List1")); }
    QComboBox* nameBox() { return control<QComboBox>(window, QStringLiteral("Combo1")); }
    // Queues the answers to the message boxes to come, then clicks the command.
    void click(const QString& command, std::initializer_list<MessageAnswer> answers = {})
    {
        for (MessageAnswer answer : answers) {
            dialogs.queueAnswer(answer);
        }
        button(command)->click();
    }

    ScriptedDialogs dialogs;
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
    say(!window.isVisible(), QStringLiteral("hidden"));
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

QIcon filledIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QRgb iconColour(const QWidget& window)
{
    return window.windowIcon().pixmap(16, 16).toImage().pixel(8, 8);
}

} // namespace

class frmAppendTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(QApplication::overrideCursor() == nullptr); }

    void windowAsItOpens()
    {
        QWidget owner;
        owner.setWindowIcon(filledIcon(Qt::red));
        Session s(QStringLiteral("/nonexistent/manager"), &owner);
        auto* tabs = control<QTabWidget>(s.window, QStringLiteral("VideoSoftIndexTab1"));
        tabs->setCurrentIndex(2);
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(iconColour(s.window), QColor(Qt::red).rgb());
        // Each page's controls sit in its own container.
        QCOMPARE(s.list()->parentWidget()->objectName(), QStringLiteral("VideoSoftElastic1"));
        QCOMPARE(s.nameBox()->parentWidget()->objectName(), QStringLiteral("VideoSoftElastic2"));
        QCOMPARE(s.button("Command7")->parentWidget()->objectName(), QStringLiteral("VideoSoftElastic3"));
        QCOMPARE(s.list()->count(), 0);
        QCOMPARE(s.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(s.nameBox()->isEditable());
        QCOMPARE(s.nameBox()->currentText(), QString());
        QCOMPARE(s.nameBox()->count(), 0);
        for (const char* hidden : {"Label15", "ProgressBar1", "Ani1", "List2"}) {
            QVERIFY2(control(s.window, QString::fromLatin1(hidden))->isHidden(), hidden);
        }
        // The format button stands over the gap of 13 spaces in Label2.
        auto* label2 = control<QLabel>(s.window, QStringLiteral("Label2"));
        const QFontMetrics metrics(label2->font());
        const QString before = QStringLiteral("※ 텍스트파일 형식은");
        const QRect command5 = s.button("Command5")->geometry();
        QVERIFY(command5.left() >= label2->x() + metrics.horizontalAdvance(before));
        QVERIFY(command5.right() < label2->x() + metrics.horizontalAdvance(before + QString(13, QLatin1Char(' '))));
        QVERIFY(command5.intersects(label2->geometry()));
        // Five buttons in one row under the list, in order; every caption fits its button.
        int right = -1;
        for (const char* name : {"Command5", "Command3", "Command4", "Command2", "Command6", "Command11"}) {
            QPushButton* button = s.button(QString::fromLatin1(name));
            QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) < button->width(), name);
            if (button->geometry() != command5) {
                QCOMPARE(button->y(), s.button("Command3")->y());
                QVERIFY2(button->x() > right && button->y() > s.list()->geometry().bottom(), name);
                right = button->geometry().right();
            }
        }
        QVERIFY(s.messages().isEmpty());
    }

    void addFilesAppendsEachChosenFile()
    {
        Session s(QStringLiteral("/base/viewer/manager"));
        const QStringList chosen = {QStringLiteral("/first.txt"), QStringLiteral("/texts/창세기.txt"),
                                    QStringLiteral("/texts/출애굽기.txt"), QStringLiteral("/texts/레위기.txt")};
        s.dialogs.queueFiles(chosen.mid(0, 1));
        s.dialogs.queueFiles(chosen.mid(1));
        s.dialogs.queueFiles({}); // cancelled: nothing changes
        for (int i = 0; i < 3; ++i) {
            s.click("Command3");
        }
        QStringList expected;
        for (const QString& path : chosen) {
            expected << native(path);
        }
        QCOMPARE(s.window.fileList(), expected);
        const platform::FileDialogRequest request = s.dialogs.fileRequests().front();
        QCOMPARE(request.title, QStringLiteral("텍스트 파일 추가"));
        QCOMPARE(request.filter, QStringLiteral("텍스트 파일 (*.txt);;IMP 파일 (*.imp)"));
        QCOMPARE(request.folder, platform::installFolder(QStringLiteral("/base/viewer/manager")));
        QVERIFY(request.multiple);
        QVERIFY(s.messages().isEmpty());
    }

    void dropAddsLocalFilesOfAnyTypeAndFoldersInOrderAsCopies()
    {
        InstallTree tree{{QStringLiteral("null.mdb"), QStringLiteral("list.avi")}};
        QVERIFY(!tree.makeSmallReference().isEmpty());
        QVERIFY(tree.isValid());
        Session s(tree.programFolder());
        const QString genesis = tree.textFile(QStringLiteral("창세기.txt"), {QStringLiteral("창 1:1 태초에")});
        const QString document = tree.textFile(QStringLiteral("notes.doc"), {QStringLiteral("x")});
        const QStringList dropped = {genesis, document, tree.makeFolder(QStringLiteral("책들")), genesis,
                                     native(QDir::tempPath() + QStringLiteral("/no such file.txt"))};
        // Never a move: the file manager must keep its files.
        QCOMPARE(dropFiles(s.window, dropped), Qt::CopyAction);
        QCOMPARE(s.window.fileList(), dropped);
        dropFiles(s.window, {document});
        QCOMPARE(s.window.fileList(), dropped + QStringList{document});
        // Data without local files adds nothing; of mixed data only the local file is taken.
        QMimeData text;
        text.setText(QStringLiteral("창 1:1 태초에"));
        QCOMPARE(dropOnList(s.window, text), Qt::IgnoreAction);
        const QUrl web(QStringLiteral("https://example.org/bible.txt"));
        QMimeData remote;
        remote.setUrls({web});
        QCOMPARE(dropOnList(s.window, remote), Qt::IgnoreAction);
        QMimeData mixed;
        mixed.setUrls({web, QUrl::fromLocalFile(QStringLiteral("/texts/a.txt"))});
        QCOMPARE(dropOnList(s.window, mixed), Qt::CopyAction);
        QCOMPARE(s.window.fileList(), (dropped + QStringList{document, native(QStringLiteral("/texts/a.txt"))}));
        QVERIFY(s.messages().isEmpty());
    }

    void removeAndEditTakeTheSelection()
    {
        Session s;
        // An empty list: nothing happens and nothing is asked.
        for (const char* command : {"Command2", "Command4", "Command6"}) {
            s.click(QString::fromLatin1(command));
        }
        QVERIFY(s.messages().isEmpty());
        QStringList paths;
        for (const char* path : {"/t/a.txt", "/t/b.txt", "/t/c.txt", "/t/b.txt", "/t/e.txt"}) {
            paths << native(QString::fromLatin1(path));
        }
        dropFiles(s.window, paths);
        // Entries but no current entry: the user is asked to select one.
        s.click("Command2", {MessageAnswer::Ok});
        s.click("Command4", {MessageAnswer::Ok});
        QCOMPARE(s.messages().size(), 2);
        QCOMPARE(s.messages()[0].text, QStringLiteral("지울 파일을 목록에서 선택해야 합니다 !"));
        QCOMPARE(s.messages()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(s.messages()[0].buttons, MessageButtons::Ok);
        QCOMPARE(s.messages()[1].text, QStringLiteral("편집할 파일을 목록에서 선택해야 합니다 !"));
        QCOMPARE(s.messages()[1].icon, MessageIcon::Exclamation);
        QCOMPARE(s.window.fileList(), paths);
        QVERIFY(s.opened.isEmpty());
        // Edit opens the current entry; when the desktop refuses, the message names the file.
        s.list()->setCurrentRow(1);
        s.click("Command4");
        QCOMPARE(s.opened, QStringList{paths[1]});
        QCOMPARE(s.messages().size(), 2);
        s.desktopRefuses = true;
        s.click("Command4", {MessageAnswer::Ok});
        QCOMPARE(s.opened, (QStringList{paths[1], paths[1]}));
        QCOMPARE(s.messages().size(), 3);
        QCOMPARE(s.messages()[2].text, platform::notOpenedMessage(paths[1]));
        QVERIFY(s.messages()[2].text.startsWith(paths[1] + QStringLiteral("\r\n\r\n")));
        QCOMPARE(s.messages()[2].icon, MessageIcon::Exclamation);
        s.desktopRefuses = false;
        // Remove takes every selected entry, the current one being the last clicked.
        s.list()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        s.list()->setCurrentRow(3, QItemSelectionModel::Select);
        s.list()->setCurrentRow(4, QItemSelectionModel::Select);
        s.click("Command2");
        QCOMPARE(s.window.fileList(), (QStringList{paths[0], paths[2]}));
        // A double click edits the entry clicked.
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        const QPoint second = s.list()->visualItemRect(s.list()->item(1)).center();
        QTest::mouseClick(s.list()->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTest::mouseDClick(s.list()->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QCOMPARE(s.opened, (QStringList{paths[1], paths[1], paths[2]}));
        s.click("Command6");
        QCOMPARE(s.list()->count(), 0);
        QCOMPARE(s.messages().size(), 3);
    }

    void openButtonTakesTheNameOfAVersionFileThatIsNotShipped()
    {
        Session s(QStringLiteral("/base/viewer/manager"));
        s.nameBox()->setEditText(QStringLiteral("before"));
        s.dialogs.queueFiles({native(QStringLiteral("/elsewhere/mine.dat"))});
        s.dialogs.queueFiles({}); // cancelled: the name stays
        s.click("Command8");
        s.click("Command8");
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral("mine.dat"));
        QCOMPARE(s.nameBox()->count(), 0);
        const platform::FileDialogRequest request = s.dialogs.fileRequests().front();
        QCOMPARE(request.title, QStringLiteral("역본파일 선택"));
        QCOMPARE(request.filter, QStringLiteral("역본파일 (*.dat)"));
        QCOMPARE(request.folder, platform::installFolder(QStringLiteral("/base/viewer/manager")));
        QVERIFY(!request.multiple);
        QVERIFY(s.messages().isEmpty());
        for (const char* shipped :
             {"/base/viewer/KJV.DAT", "/elsewhere/kjv.dat", "/base/viewer/User.Dat", "/base/viewer/개역.DAT"}) {
            const QString path = native(QString::fromUtf8(shipped));
            s.dialogs.queueFiles({path});
            s.click("Command8", {MessageAnswer::Ok});
            QCOMPARE(s.messages().last().text,
                     QFileInfo(path).fileName() +
                         QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !"));
            QCOMPARE(s.messages().last().icon, MessageIcon::Exclamation);
            QCOMPARE(s.nameBox()->currentText(), QStringLiteral("mine.dat"));
        }
    }

    void refusalsAndQuestions_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("boxAfter");
        const QString check = QStringLiteral("Command11");
        const QString build = QStringLiteral("Command7");
        QTest::newRow("check, empty list")
            << check << false << " mine " << QStringLiteral("성경원문이 들어있는 텍스트파일을 목록에 추가하십시오 !")
            << " mine ";
        QTest::newRow("check, no name, answered No") << check << true << "" << kCheckQuestion << "";
        QTest::newRow("build, empty list")
            << build << false << " mine "
            << QStringLiteral("1번[탭]의 파일목록이 비여있습니다. 역본원문이 있는 텍스트 파일을 추가하십시오 !")
            << " mine ";
        const QString noName = QStringLiteral("역본명을 2번[탭]에서 설정하여 주십시오 !");
        QTest::newRow("no name") << build << true << "" << noName << "";
        QTest::newRow("spaces only") << build << true << "   " << noName << "";
        for (const char* shipped : {"KJV.DAT", "kjv", "개역", " user "}) {
            const QString name = QString::fromUtf8(shipped).trimmed();
            QTest::newRow(shipped) << build << true << QString::fromUtf8(shipped) << name + kShippedTarget << name;
        }
        QTest::newRow("leaves the install folder")
            << build << true << "../escape"
            << QStringLiteral("역본명에는 폴더 구분 기호(\\ /), '..', 그리고 파일 이름에 쓸 수 없는 문자(: * ? \" < "
                              "> |)를 넣을 수 없습니다 !")
            << "../escape";
        QTest::newRow("kjv2 trimmed, answered No") << build << true << "  kjv2  " << kBuildQuestion << "kjv2";
    }

    // Each refusal or question is the only message: no run starts (one would fail on the missing folder).
    void refusalsAndQuestions()
    {
        QFETCH(QString, command);
        QFETCH(bool, withFiles);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, boxAfter);
        Session s;
        if (withFiles) {
            dropFiles(s.window, {native(QStringLiteral("/t/a.txt"))});
        }
        s.nameBox()->setEditText(typed);
        const bool question = message == kCheckQuestion || message == kBuildQuestion;
        s.click(command, {question ? MessageAnswer::No : MessageAnswer::Ok});
        QCOMPARE(s.messages().size(), 1);
        QCOMPARE(s.messages()[0].text, message);
        QCOMPARE(s.messages()[0].icon, question ? MessageIcon::Question : MessageIcon::Exclamation);
        QCOMPARE(s.messages()[0].buttons, question ? MessageButtons::YesNo : MessageButtons::Ok);
        QCOMPARE(s.nameBox()->currentText(), boxAfter);
    }

    void checkRunsFromDroppedFiles()
    {
        InstallTree tree{{QStringLiteral("null.mdb"), QStringLiteral("list.avi")}};
        QVERIFY(!tree.makeSmallReference().isEmpty());
        QVERIFY(tree.isValid());
        Session s(tree.programFolder());
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        const QString good = tree.textFile(QStringLiteral("good.txt"),
                                           {QStringLiteral("창 1:1 태초에"), QStringLiteral("창 1:2 땅이 혼돈하고")});
        const QString bad = tree.textFile(QStringLiteral("bad.txt"),
                                          {QStringLiteral("창 1:3 빛이 있으라"), QStringLiteral("창 9:9 없는 절")});
        dropFiles(s.window, {good, bad, good});
        s.nameBox()->setEditText(QStringLiteral("  untouched "));
        RunWatcher watcher(s.window);
        s.desktopRefuses = true;
        s.dialogs.queueAnswer(MessageAnswer::Yes);
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(s.button("Command11"), Qt::LeftButton);
        QCOMPARE(s.messages().size(), 3);
        QCOMPARE(s.messages()[1].text, kCheckWithErrors);
        QCOMPARE(s.messages()[1].icon, MessageIcon::Exclamation);
        // The error log, opened once the message was read; the desktop refused, so its path is given.
        const QString errorLog = tree.programFile(QStringLiteral("err.txt"));
        QVERIFY(QFile::exists(errorLog));
        QCOMPARE(s.opened, QStringList{errorLog});
        QCOMPARE(s.messages()[2].text, platform::notOpenedMessage(errorLog));
        QVERIFY(s.messages()[2].text.startsWith(errorLog + QStringLiteral("\r\n\r\n")));
        QCOMPARE(s.messages()[2].icon, MessageIcon::Exclamation);
        // While the check ran: every command off, the animation playing, no status or progress.
        QCOMPARE(watcher.states, QStringList{QStringLiteral("running, busy, 0 enabled, animation, clip open")});
        // Afterwards: as before, the list and the name untouched.
        QCOMPARE(state(s.window), kIdle);
        QCOMPARE(s.window.fileList(), (QStringList{good, bad, good}));
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral("  untouched "));

        // A clean check without the clip: it goes on, removes the earlier log, opens and makes nothing.
        QVERIFY(QFile::remove(tree.programFile(QStringLiteral("list.avi"))));
        s.click("Command6");
        dropFiles(s.window, {good});
        RunWatcher clean(s.window);
        s.click("Command11", {MessageAnswer::Yes, MessageAnswer::Ok});
        QCOMPARE(s.messages().size(), 5);
        QCOMPARE(s.messages()[4].text, kCheckClean);
        QCOMPARE(s.messages()[4].icon, MessageIcon::Information);
        QCOMPARE(clean.states, QStringList{QStringLiteral("running, busy, 0 enabled, animation")});
        QCOMPARE(s.opened.size(), 1);
        QVERIFY(!QFile::exists(tree.programFile(QStringLiteral("err.txt"))));
        QCOMPARE(QDir(tree.installFolder()).entryList({QStringLiteral("*.DAT"), QStringLiteral("*.dat")}, QDir::Files),
                 QStringList{QStringLiteral("개역.DAT")});
    }

    void buildRunFromDroppedFiles()
    {
        InstallTree tree{{QStringLiteral("null.mdb"), QStringLiteral("list.avi")}};
        QVERIFY(!tree.makeSmallReference().isEmpty());
        QVERIFY(tree.isValid());
        Session s(tree.programFolder());
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        const QString genesis = tree.textFile(QStringLiteral("창세기.txt"),
                                              {QStringLiteral("창 1:1 태초에"), QStringLiteral("창 1:3 빛이 있으라")});
        const QString exodus = tree.textFile(QStringLiteral("출애굽기.txt"), {QStringLiteral("출 1:1 이스라엘")});
        dropFiles(s.window, {genesis, exodus});
        s.nameBox()->setEditText(QStringLiteral(" 새번역 "));
        RunWatcher watcher(s.window);
        bool closedDuringRun = false;
        watcher.onRunning = [&] {
            // Neither the close box nor Escape nor a disabled command does anything now.
            closedDuringRun = closedDuringRun || s.window.close();
            QTest::keyClick(&s.window, Qt::Key_Escape);
            s.button("Command6")->click();
        };
        s.dialogs.queueAnswer(MessageAnswer::Yes);
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(s.button("Command7"), Qt::LeftButton);
        QCOMPARE(s.messages().size(), 2);
        QCOMPARE(s.messages()[0].text, kBuildQuestion);
        QCOMPARE(s.messages()[1].text,
                 QStringLiteral("새번역.DAT\r\n\r\n만들기 작업이 완료되었습니다.\r\n\r\n관리기 프로그램을 종료하시고 "
                                "벼리솔을 실행하면 만든역본이 추가되어 있을 것입니다."));
        QCOMPARE(s.messages()[1].icon, MessageIcon::Information);
        QVERIFY(s.opened.isEmpty());
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral("새번역.DAT"));
        const QList<std::pair<QString, QString>> expected = {
            {QStringLiteral("창 1:1"), QStringLiteral("태초에")},
            {QStringLiteral("창 1:2"), QStringLiteral("<Null>")},
            {QStringLiteral("창 1:3"), QStringLiteral("빛이 있으라")},
            {QStringLiteral("출 1:1"), QStringLiteral("이스라엘")},
        };
        QCOMPARE(testsupport::storedTexts(tree.path(QStringLiteral("새번역.DAT"))), expected);
        // Both phases showed their status and progress over the reference's four verses, the animation
        // only the second.
        QCOMPARE(watcher.states,
                 (QStringList{QStringLiteral("running, busy, 0 enabled, status 1/2 작업중..., progress to 4"),
                              QStringLiteral("running, busy, 0 enabled, status 2/2 작업중..., progress to 4, "
                                             "animation, clip open")}));
        QVERIFY(!closedDuringRun);
        QCOMPARE(s.window.fileList(), (QStringList{genesis, exodus}));
        QCOMPARE(state(s.window), kIdle);
    }

    void helpWindowLeavesTheListAndTheName()
    {
        QWidget owner;
        owner.setWindowIcon(filledIcon(Qt::blue));
        Session s(QStringLiteral("/nonexistent/manager"), &owner);
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        const QStringList paths = {native(QStringLiteral("/t/a.txt")), native(QStringLiteral("/t/b.txt"))};
        dropFiles(s.window, paths);
        s.list()->setCurrentRow(1);
        s.nameBox()->setEditText(QStringLiteral(" 내 역본 "));
        QString help;
        QTimer::singleShot(0, &s.window, [&] {
            if (QWidget* shown = QApplication::activeModalWidget(); shown != nullptr && shown != &s.window) {
                help = shown->windowTitle() +
                       (shown->parentWidget() == &s.window ? QStringLiteral(" over the window") : QString()) +
                       (iconColour(*shown) == QColor(Qt::blue).rgb() ? QStringLiteral(" with the icon") : QString());
                if (auto* ok = shown->findChild<QPushButton*>(QStringLiteral("Command3"))) {
                    ok->click();
                }
            }
        });
        QTest::mouseClick(s.button("Command5"), Qt::LeftButton);
        // Modal over the import window, with the main window's icon.
        QCOMPARE(help, QStringLiteral("텍스트 파일 형식에 대한 설명 over the window with the icon"));
        QCOMPARE(s.window.fileList(), paths);
        QCOMPARE(s.list()->currentRow(), 1);
        QCOMPARE(s.nameBox()->currentText(), QStringLiteral(" 내 역본 "));
        QVERIFY(s.window.isVisible());
        QVERIFY(s.messages().isEmpty());
    }

    void closeButtonAndCloseBoxClose()
    {
        Session s;
        QTimer::singleShot(0, &s.window, [&] { s.click("Command1"); });
        QCOMPARE(s.window.exec(), int(QDialog::Accepted));
        QVERIFY(!s.window.isVisible());
        s.window.show();
        QVERIFY(s.window.close());
        QVERIFY(!s.window.isVisible());
        QVERIFY(s.messages().isEmpty());
    }
};

int runFrmAppendTest(int argc, char* argv[])
{
    frmAppendTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmAppendTest.moc"
