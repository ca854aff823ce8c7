#include "import/gui/ImportDialog.h"

#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/VersionName.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

using namespace Qt::StringLiterals;
namespace RunMessages = importer::RunMessages;
using platform::MessageAnswer;
using testsupport::control;

namespace {

// Drops files, links and text on the file list offering a move: the action taken, or Qt::IgnoreAction.
Qt::DropAction dropOnList(QWidget& window, const QStringList& paths, QList<QUrl> links = {}, const QString& text = {})
{
    std::ranges::transform(paths, std::back_inserter(links), &QUrl::fromLocalFile);
    QMimeData data;
    if (!links.isEmpty()) {
        data.setUrls(links);
    }
    if (!text.isEmpty()) {
        data.setText(text);
    }
    QWidget* target = control<QListWidget>(window, u"fileList"_s)->viewport();
    const QPoint point = target->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(point), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    for (QDropEvent* event : std::initializer_list<QDropEvent*>{&enter, &drop}) {
        event->setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, event);
    }
    return enter.isAccepted() && drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// The window in words: whether a run is on, how many controls take input, which work controls show.
QString state(importer::ImportDialog& window)
{
    QStringList words;
    if (window.isRunning()) {
        words << u"running"_s;
    }
    int enabled = 0;
    for (const char* name :
         {"closeButton", "removeButton", "addFilesButton", "editFileButton", "formatHelpButton", "removeAllButton",
          "buildButton", "openVersionButton", "checkButton", "fileList", "nameBox"}) {
        enabled += control(window, QString::fromLatin1(name))->isEnabled() ? 1 : 0;
    }
    words << u"%1 enabled"_s.arg(enabled);
    if (auto* status = control<QLabel>(window, u"statusLabel"_s); !status->isHidden()) {
        words << u"status "_s + status->text();
    }
    if (auto* progress = control<QProgressBar>(window, u"progressBar"_s); !progress->isHidden()) {
        words << u"progress"_s;
    }
    if (auto* cancel = control<QPushButton>(window, u"cancelButton"_s); cancel->isVisible() && cancel->isEnabled()) {
        words << u"cancel "_s + cancel->text();
    }
    return words.join(u", "_s);
}

// A shown import window, scripted dialogs and a recorded "Open"; a run notes each state, tries closing and Remove All.
struct Session
{
    explicit Session(const QString& programFolder = u"/nonexistent/manager"_s) : window(dialogs, programFolder)
    {
        window.setShellOpen([this](const QString& path) {
            opened << path;
            return !desktopRefuses;
        });
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (const QString now = state(window); window.isRunning() && !states.contains(now)) {
                states << now;
                dialogs.queueAnswer(MessageAnswer::Ok);
                closedDuringRun = window.close() || closedDuringRun;
                testsupport::click(window, u"removeAllButton"_s);
            }
        });
        watch.start(0);
        window.show();
    }
    QListWidget* list() { return control<QListWidget>(window, u"fileList"_s); }
    QComboBox* nameBox() { return control<QComboBox>(window, u"nameBox"_s); }
    QString lastMessage() const { return dialogs.messages().isEmpty() ? QString() : dialogs.messages().last().text; }
    // Clicks the command with the answers queued for what it asks: the last message shown.
    QString click(const QString& command, std::initializer_list<MessageAnswer> answers = {})
    {
        dialogs.queueAnswers(answers);
        testsupport::click(window, command);
        return lastMessage();
    }

    testsupport::ScriptedDialogs dialogs;
    importer::ImportDialog window;
    QStringList opened;
    bool desktopRefuses = false;
    QTimer watch;
    QStringList states;
    bool closedDuringRun = false;
};

} // namespace

class ImportDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // SWORD's modules are found through the plugin beside the built programs.
    void initTestCase() { QCoreApplication::addLibraryPath(testsupport::builtProgramFolder()); }

    // Local files and folders are taken in order, chosen, dropped (as copies) or handed over; other data is not.
    // Remove and Edit work on the selection.
    void theListTakesChosenAndDroppedFilesAndWorksOnTheSelection()
    {
        Session s;
        s.click(u"removeButton"_s); // an empty list: nothing is asked
        s.click(u"editFileButton"_s);
        // The list shows the paths in the system's own form.
        QStringList paths{QDir::tempPath() + u"/a.txt"_s, u"/t/b.doc"_s, QDir::tempPath(), u"/t/b.doc"_s, u"/no.txt"_s};
        std::ranges::transform(paths, paths.begin(), &QDir::toNativeSeparators);
        const QString dropped = QDir::toNativeSeparators(u"/t/f.txt"_s),
                      added = QDir::toNativeSeparators(u"/t/g.txt"_s);
        for (const QStringList& files : {paths.mid(0, 1), paths.mid(1, 2), QStringList()}) {
            s.dialogs.queueFiles(files);
            s.click(u"addFilesButton"_s);
        }
        QCOMPARE(dropOnList(s.window, paths.mid(3)), Qt::CopyAction);
        QCOMPARE(dropOnList(s.window, {}, {}, u"창 1:1 태초에"_s), Qt::IgnoreAction);
        QCOMPARE(dropOnList(s.window, {u"/t/f.txt"_s}, {QUrl(u"https://example.org/bible.txt"_s)}), Qt::CopyAction);
        s.window.addFiles({u"/t/g.txt"_s});
        QCOMPARE(s.window.fileList(), (paths + QStringList{dropped, added}));
        QCOMPARE(s.dialogs.fileRequests().value(1).folder, QDir::toNativeSeparators(QDir::tempPath()));
        QCOMPARE(s.click(u"removeButton"_s, {MessageAnswer::Ok}), u"지울 파일을 목록에서 선택해야 합니다 !"_s);
        QCOMPARE(s.click(u"editFileButton"_s, {MessageAnswer::Ok}), u"편집할 파일을 목록에서 선택해야 합니다 !"_s);
        s.list()->setCurrentRow(1);
        s.desktopRefuses = true;
        QCOMPARE(s.click(u"editFileButton"_s, {MessageAnswer::Ok}), platform::notOpenedMessage(paths[1]));
        QCOMPARE(s.opened, QStringList{paths[1]});
        QCOMPARE(s.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
        s.list()->setCurrentRow(3, QItemSelectionModel::Select);
        s.list()->setCurrentRow(5, QItemSelectionModel::Select);
        s.click(u"removeButton"_s);
        QCOMPARE(s.window.fileList(), (QStringList{paths[0], paths[2], paths[4], added}));
        s.click(u"removeAllButton"_s);
        QCOMPARE(s.list()->count(), 0);
        QCOMPARE(s.dialogs.messages().size(), 3);
    }

    // Open takes a version's name; each refusal or question answered No starts no run; the build trims the name.
    void theNameAndTheRefusalsBeforeARun()
    {
        Session s;
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        for (const QString& path : {u"/elsewhere/mine.dat"_s, QString(), u"/elsewhere/kjv.DAT"_s}) {
            s.dialogs.queueFiles(path.isEmpty() ? QStringList() : QStringList{path});
            s.click(u"openVersionButton"_s);
            QCOMPARE(s.nameBox()->currentText(), u"mine.dat"_s);
        }
        QCOMPARE(s.lastMessage(), u"kjv.DAT\r\n\r\n선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !"_s);
        const auto expect = [&s](const char* command, const QString& message, const QString& boxAfter) {
            const bool question = message == importer::checkRunQuestion() || message == importer::buildRunQuestion();
            s.dialogs.clear();
            QCOMPARE(s.click(QString::fromLatin1(command), {question ? MessageAnswer::No : MessageAnswer::Ok}),
                     message);
            QCOMPARE(s.dialogs.messages().size(), 1);
            QCOMPARE(s.dialogs.messages()[0].icon,
                     question ? platform::MessageIcon::Question : platform::MessageIcon::Exclamation);
            QCOMPARE(s.nameBox()->currentText(), boxAfter);
        };
        const QStringList file = {u"/t/a.txt"_s};
        QString user = u" user "_s;
        s.nameBox()->setEditText(user);
        expect("checkButton", *importer::checkRunRefusal({}), user);
        expect("buildButton", *importer::buildRunRefusal({}, user), u" user "_s);
        dropOnList(s.window, file);
        expect("checkButton", importer::checkRunQuestion(), u" user "_s);
        expect("buildButton", *importer::buildRunRefusal(file, user), u"user"_s);
        s.nameBox()->setEditText(u"../escape"_s);
        expect("buildButton", *importer::versionNameProblem(u"../escape"_s), u"../escape"_s);
        s.nameBox()->setEditText(u"  kjv2  "_s);
        expect("buildButton", importer::buildRunQuestion(), u"kjv2"_s);
        QVERIFY(s.states.isEmpty());
    }

    // A check lists its errors and opens the log; a build shows both phases; a clean check removes the old log; during
    // a run nothing closes the window or changes the list.
    void runsFromTheListedFiles()
    {
        testsupport::InstallTree tree({u"null.mdb"_s});
        QVERIFY(!tree.makeVersion(u"개역.DAT"_s, testsupport::smallReferenceVerses()).isEmpty());
        Session s(tree.programFolder());
        QCOMPARE(control<QTabWidget>(s.window, u"stepTabs"_s)->currentIndex(), 0);
        const QStringList files = {tree.textFile(u"창세기.txt"_s, {u"창 1:1 태초에"_s, u"창 1:3 빛이 있으라"_s}),
                                   tree.textFile(u"출애굽기.txt"_s, {u"출 1:1 이스라엘"_s})};
        const QString bad = tree.textFile(u"bad.txt"_s, {u"창 1:1 a"_s, u"창 9:9 없는 절"_s});
        dropOnList(s.window, {files[0], bad});
        s.desktopRefuses = true;
        s.click(u"checkButton"_s, {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Ok});
        const QString errorLog = tree.programFile(u"err.txt"_s);
        QCOMPARE(s.dialogs.messages().size(), 4);
        QCOMPARE(s.dialogs.messages()[1].text,
                 u"작업 중에는 창을 닫을 수 없습니다.\r\n먼저 '취소' 단추로 작업을 취소하십시오."_s);
        QCOMPARE(s.dialogs.messages()[2].text, RunMessages::testFinishedWithErrors());
        QCOMPARE(s.opened, QStringList{errorLog});
        QCOMPARE(s.lastMessage(), platform::notOpenedMessage(errorLog));
        QCOMPARE(s.states, QStringList{u"running, 0 enabled, progress, cancel 취소"_s});
        QCOMPARE(s.window.fileList().size(), 2);
        auto* findings = control<QTreeWidget>(s.window, u"findingList"_s);
        QVERIFY(findings->isVisible());
        QCOMPARE(findings->topLevelItemCount(), 1);
        QCOMPARE(findings->topLevelItem(0)->text(0) + u'|' + findings->topLevelItem(0)->text(1), u"bad.txt|2"_s);
        s.dialogs.queueAnswer(MessageAnswer::Ok);
        emit findings->itemDoubleClicked(findings->topLevelItem(0), 0);
        QCOMPARE(s.lastMessage(), bad + u"\r\n\r\n2줄:\r\n창 9:9 없는 절"_s);
        s.click(u"removeAllButton"_s);
        dropOnList(s.window, files);
        s.nameBox()->setEditText(u" 새번역 "_s);
        s.states.clear();
        s.dialogs.clear();
        QCOMPARE(s.click(u"buildButton"_s, {MessageAnswer::Yes, MessageAnswer::Ok}),
                 RunMessages::buildFinished(u"새번역.DAT"_s));
        QCOMPARE(s.nameBox()->currentText(), u"새번역.DAT"_s);
        QVERIFY(findings->isHidden());
        QCOMPARE(testsupport::storedTexts(tree.path(u"새번역.DAT"_s)).value(3),
                 (std::pair{u"출 1:1"_s, u"이스라엘"_s}));
        QVERIFY(s.states.contains(u"running, 0 enabled, status 1/2 작업중..., progress, cancel 취소"_s) ||
                s.states.contains(u"running, 0 enabled, status 2/2 작업중..., progress, cancel 취소"_s));
        QCOMPARE(s.window.fileList(), files);
        QCOMPARE(state(s.window), u"11 enabled"_s);
        s.states.clear();
        s.dialogs.clear();
        QCOMPARE(s.click(u"checkButton"_s, {MessageAnswer::Yes, MessageAnswer::Ok}),
                 RunMessages::testFinishedWithoutErrors());
        QCOMPARE(s.opened.size(), 1);
        QVERIFY(!QFile::exists(errorLog));
        QCOMPARE(QDir(tree.installFolder()).entryList({u"*.DAT"_s}), (QStringList{u"개역.DAT"_s, u"새번역.DAT"_s}));
        QVERIFY(!s.closedDuringRun && s.window.isVisible());
        // With files listed, closing asks, 아니요 first; 예 closes.
        s.dialogs.clear();
        s.watch.stop();
        for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            s.dialogs.queueAnswer(answer);
            QTest::keyClick(&s.window, Qt::Key_Escape);
            QCOMPARE(s.window.isVisible(), answer == MessageAnswer::No);
        }
        QCOMPARE(s.dialogs.messages().size(), 2);
        QCOMPARE(s.dialogs.messages()[0].buttons, platform::MessageButtons::YesNoDefaultNo);
        QCOMPARE(s.lastMessage(), u"목록에 텍스트 파일이 있습니다. 창을 닫을까요?"_s);
    }

    // A SWORD module chosen is read in the place of the files, which are out of use until files are added again.
    void buildsFromAChosenSwordModule()
    {
        testsupport::InstallTree tree({u"null.mdb"_s});
        QVERIFY(tree.addReference());
        Session s(tree.programFolder());
        s.watch.stop();
        auto* modules = control<QComboBox>(s.window, u"swordModuleBox"_s);
        const int kjv = modules->findData(u"engKJV2006eb"_s);
        if (kjv < 0) {
            QSKIP("SWORD's KJV module is not installed (sword-text-kjv: scripts/setup)");
        }
        modules->setCurrentIndex(kjv);
        QVERIFY(!s.list()->isEnabled() && !control(s.window, u"addFilesButton"_s)->isEnabled());
        s.nameBox()->setEditText(u"킹제임스"_s);
        QCOMPARE(s.click(u"buildButton"_s, {MessageAnswer::Yes, MessageAnswer::Ok}),
                 RunMessages::buildFinishedWithErrors(u"킹제임스.DAT"_s, 31100));
        QCOMPARE(s.opened, QStringList{tree.programFile(u"err.txt"_s)});
        QVERIFY(!s.list()->isEnabled() && modules->isEnabled());
        auto* findings = control<QTreeWidget>(s.window, u"findingList"_s);
        QCOMPARE(findings->topLevelItemCount(), 2);
        QCOMPARE(findings->topLevelItem(0)->text(0), u"engKJV2006eb (SWORD 모듈)"_s);
        const qsizetype shown = s.dialogs.messages().size();
        emit findings->itemDoubleClicked(findings->topLevelItem(0), 0);
        QCOMPARE(s.dialogs.messages().size(), shown);
        s.window.addFiles({tree.textFile(u"창세기.txt"_s, {u"창 1:1 태초에"_s})});
        QCOMPARE(modules->currentIndex(), 0);
        QVERIFY(s.list()->isEnabled());
        QCOMPARE(s.window.runInput().files.size(), 1);
    }

    // A build and a check cancelled during the run leave every file byte for byte as before.
    void aCancelledRunLeavesTheFilesAsTheyWere()
    {
        testsupport::InstallTree tree({u"null.mdb"_s});
        QVERIFY(tree.addReference({u"mine.DAT"_s}));
        tree.writeFile(u"manager/err.txt"_s, "earlier\r\n");
        const QHash<QString, QByteArray> before = tree.fileBytes();
        Session s(tree.programFolder());
        s.watch.stop();
        s.window.addFiles(testsupport::kjvBookFiles());
        s.nameBox()->setEditText(u"mine.DAT"_s);
        for (const char* command : {"buildButton", "checkButton"}) {
            // Cancelled the moment the run shows its cancel button: before its work can have ended.
            const testsupport::WhenUsable cancel(control<QPushButton>(s.window, u"cancelButton"_s),
                                                 [&s] { testsupport::click(s.window, u"cancelButton"_s); });
            s.dialogs.clear();
            QVERIFY(s.click(QString::fromLatin1(command), {MessageAnswer::Yes, MessageAnswer::Ok})
                        .startsWith(u"작업을 취소했습니다."_s));
            QCOMPARE(s.dialogs.messages().size(), 2);
            QCOMPARE(s.dialogs.messages()[1].icon, platform::MessageIcon::Information);
            QVERIFY(tree.fileBytes() == before);
        }
        QVERIFY(s.opened.isEmpty());
    }
};

QTEST_MAIN(ImportDialogTest)
#include "ImportDialogTest.moc"
