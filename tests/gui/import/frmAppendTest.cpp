#include "import/gui/frmAppend.h"

#include "ImportTree.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/AnimationWidget.h"
#include "shell/gui/frmMain.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
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

using importer::frmAppend;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::ImportTree;
using testsupport::ScriptedDialogs;

namespace {

const QString kCheckQuestion = QStringLiteral("작업을 시작하시겠습니까?\r\n(일단 작업이 시작되면 중지할 수 없습니다)");
const QString kBuildQuestion =
    QStringLiteral("☞ 역본 만들기를 시작하시겠습니까?\r\n(작업이 시작되면 중지할 수 없습니다)");
const QString kCheckNoFiles = QStringLiteral("성경원문이 들어있는 텍스트파일을 목록에 추가하십시오 !");
const QString kBuildNoFiles =
    QStringLiteral("1번[탭]의 파일목록이 비여있습니다. 역본원문이 있는 텍스트 파일을 추가하십시오 !");
const QString kNoName = QStringLiteral("역본명을 2번[탭]에서 설정하여 주십시오 !");
const QString kShippedTarget =
    QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 '성경본문 편집'만을 지원합니다.");
const QString kShippedChosen = QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !");
const QString kSelectToRemove = QStringLiteral("지울 파일을 목록에서 선택해야 합니다 !");
const QString kSelectToEdit = QStringLiteral("편집할 파일을 목록에서 선택해야 합니다 !");
const QString kCheckWithErrors = QStringLiteral(
    "테스트 작업이 완료되었습니다.\r\n\r\n그러나 일부 텍스트파일에서 편집오류가 발견되어 오류목록파일('err.txt')을 "
    "열겠습니다.\r\n한번 살펴보시고 오류를 수정하여 주십시오.\r\n('err.txt'파일의 참조가 완료되면 삭제하십시오)");
const QString kCheckClean = QStringLiteral(
    "테스트 작업이 완료되었습니다.\r\n\r\n지금 목록에 있는 텍스트파일은 편집오류가 발견되지 않았습니다.");
const QString kPhase1Failure =
    QStringLiteral("\r\n\r\n위와 같이 예상치 않은 오류가 발생하여 작업을 중지합니다! 전문가와 상의하십시오.");
const QString kPhase2Failure = QStringLiteral("\r\n\r\n위와 같은 예상치 않은 오류가 발생하여 작업을 중단합니다 !");
const QString kDeleteFailedVersion = QStringLiteral("\r\n실패한 역본파일은 삭제하십시오 !");

template <typename T> T* control(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

QPushButton* button(QWidget& window, const char* name)
{
    return control<QPushButton>(window, name);
}

QListWidget* list(QWidget& window)
{
    return control<QListWidget>(window, "List1");
}

QComboBox* nameBox(QWidget& window)
{
    return control<QComboBox>(window, "Combo1");
}

QStringList entries(QWidget& window)
{
    QStringList texts;
    for (int i = 0; i < list(window)->count(); ++i) {
        texts << list(window)->item(i)->text();
    }
    return texts;
}

QList<QUrl> fileUrls(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(QDir::fromNativeSeparators(path));
    }
    return urls;
}

struct DropResult
{
    bool enterAccepted = false;
    Qt::DropAction enterAction = Qt::IgnoreAction;
    bool dropAccepted = false;
    Qt::DropAction dropAction = Qt::IgnoreAction;
};

// Drags data over the file list and drops it there, as a file manager does:
// a move offered first, as file managers offer for a plain drag.
DropResult dropOnList(QWidget& window, const QMimeData& data)
{
    QWidget* target = list(window)->viewport();
    const QPoint point = target->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    DropResult result;
    QDragEnterEvent enter(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &enter);
    result.enterAccepted = enter.isAccepted();
    result.enterAction = enter.dropAction();
    QDragMoveEvent move(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(point), offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &drop);
    result.dropAccepted = drop.isAccepted();
    result.dropAction = drop.dropAction();
    return result;
}

DropResult dropFiles(QWidget& window, const QStringList& paths)
{
    QMimeData data;
    data.setUrls(fileUrls(paths));
    return dropOnList(window, data);
}

// Scripted dialogs that also call the test back on every message box, while
// it is open, and on every file dialog.
class HookedDialogs final : public platform::Dialogs
{
public:
    ScriptedDialogs script;
    std::function<void(const QString&)> onMessage;

    MessageAnswer message(QWidget* parent, MessageIcon icon, platform::MessageButtons buttons,
                          const QString& text) override
    {
        if (onMessage) {
            onMessage(text);
        }
        return script.message(parent, icon, buttons, text);
    }
    QStringList chooseFiles(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return script.chooseFiles(parent, request);
    }
    std::optional<platform::FontChoice> chooseFont(QWidget* parent, const platform::FontChoice& current) override
    {
        return script.chooseFont(parent, current);
    }
};

// The state of the window's commands and work controls at one moment.
struct Snapshot
{
    bool running = false;
    QStringList enabledCommands;
    bool statusVisible = false;
    QString status;
    bool progressVisible = false;
    int progressMaximum = 0;
    bool animationVisible = false;
    bool animationOpen = false;
    bool busyPointer = false;
    bool stillVisible = false;
};

const char* const kCommands[] = {"Command1", "Command2", "Command3", "Command4", "Command5",
                                 "Command6", "Command7", "Command8", "Command11"};

Snapshot snapshot(frmAppend& window)
{
    Snapshot shot;
    shot.running = window.isRunning();
    for (const char* name : kCommands) {
        if (button(window, name)->isEnabled()) {
            shot.enabledCommands << QString::fromLatin1(name);
        }
    }
    if (list(window)->isEnabled()) {
        shot.enabledCommands << QStringLiteral("List1");
    }
    if (nameBox(window)->isEnabled()) {
        shot.enabledCommands << QStringLiteral("Combo1");
    }
    auto* status = control<QLabel>(window, "Label15");
    // Shown by the run, whichever tab the user looks at.
    shot.statusVisible = !status->isHidden();
    shot.status = status->text();
    auto* progress = control<QProgressBar>(window, "ProgressBar1");
    shot.progressVisible = !progress->isHidden();
    shot.progressMaximum = progress->maximum();
    auto* animation = control<platform::AnimationWidget>(window, "Ani1");
    shot.animationVisible = !animation->isHidden();
    shot.animationOpen = animation->isOpen();
    shot.busyPointer =
        QApplication::overrideCursor() != nullptr && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    shot.stillVisible = window.isVisible();
    return shot;
}

// Takes a snapshot every time the run lets pending events through.
class RunWatcher
{
public:
    explicit RunWatcher(frmAppend& window) : m_window(window)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_window.isRunning()) {
                shots.append(snapshot(m_window));
                if (onRunning) {
                    onRunning();
                }
            }
        });
        m_timer.start();
    }

    QList<Snapshot> shots;
    std::function<void()> onRunning;

private:
    frmAppend& m_window;
    QTimer m_timer;
};

} // namespace

class frmAppendTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(QApplication::overrideCursor() == nullptr); }

    void captionTabsAndStart()
    {
        ScriptedDialogs dialogs;
        QWidget owner;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        owner.setWindowIcon(QIcon(red));
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"), &owner);
        QCOMPARE(window.windowTitle(), QStringLiteral("개인역본 추가 - Import"));
        auto* tabs = control<QTabWidget>(window, "VideoSoftIndexTab1");
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("1.텍스트파일 선택"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("2.역본명 설정"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("3.만들기 시작"));
        tabs->setCurrentIndex(2);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(window.windowIcon().pixmap(16, 16).toImage().pixel(8, 8), QColor(Qt::red).rgb());
        // Each page's controls sit in its own container.
        QCOMPARE(list(window)->parentWidget()->objectName(), QStringLiteral("VideoSoftElastic1"));
        QCOMPARE(nameBox(window)->parentWidget()->objectName(), QStringLiteral("VideoSoftElastic2"));
        QCOMPARE(button(window, "Command7")->parentWidget()->objectName(), QStringLiteral("VideoSoftElastic3"));
        // Empty list and name; work controls hidden.
        QCOMPARE(list(window)->count(), 0);
        QCOMPARE(list(window)->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(nameBox(window)->isEditable());
        QCOMPARE(nameBox(window)->currentText(), QString());
        QCOMPARE(nameBox(window)->count(), 0);
        for (const char* hidden : {"Label15", "ProgressBar1", "Ani1", "List2"}) {
            QVERIFY2(control<QWidget>(window, hidden)->isHidden(), hidden);
        }
        QVERIFY(dialogs.messages().isEmpty());
    }

    void controlTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("Label1") << "Label1"
                                << "성경원문이 담겨 있는 텍스트파일을 아래의 목록상자에 마우스로 끌어다 놓으십시오. "
                                   "파일수는 관계 없지만 반드시 동일한 역본파일로만 구성하여 주십시오."
                                << "";
        QTest::newRow("Label8") << "Label8"
                                << "(아래 쪽의 '파일추가' 단추를 이용하셔도 됩니다)"
                                << "";
        QTest::newRow("Label2") << "Label2"
                                << "※ 텍스트파일 형식은             과 같이 만들어 주십시오."
                                << "";
        QTest::newRow("Label10") << "Label10"
                                 << "※"
                                 << "";
        QTest::newRow("Command5") << "Command5"
                                  << "다음"
                                  << "";
        QTest::newRow("Command3") << "Command3"
                                  << "파일추가"
                                  << "";
        QTest::newRow("Command4") << "Command4"
                                  << "파일편집"
                                  << "선택된 파일을 메모장이나 문서작성기로 열어 편집합니다.";
        QTest::newRow("Command2") << "Command2"
                                  << "삭제"
                                  << "선택된 파일을 목록에서 삭제합니다. ";
        QTest::newRow("Command6") << "Command6"
                                  << "모두삭제"
                                  << "목록에 추가된 모든  파일을 삭제합니다.";
        QTest::newRow("Command11") << "Command11"
                                   << "※편집오류 잡아내기※"
                                   << "";
        QTest::newRow("Label3") << "Label3"
                                << "※ 1번[탭]의 목록에 추가된 텍스트 파일들은 어떤 역본입니까? "
                                << "";
        QTest::newRow("Label4") << "Label4"
                                << "역본명:"
                                << "";
        QTest::newRow("Command8") << "Command8"
                                  << ""
                                  << "열기";
        QTest::newRow("Label9")
            << "Label9"
            << "이미 만들어진 역본파일을 선택하셨을 경우 똑같은 절이 나오면 자동 업데이트(덮어쓰게) "
               "됩니다. "
            << "";
        QTest::newRow("Label11") << "Label11"
                                 << "주의하실 것은 기본적으로 제공된 역본(개역,kjv)은 선택하지 마십시오."
                                 << "";
        QTest::newRow("Label5") << "Label5"
                                << "※ '만들기 시작' 단추를 누르면 작업이 시작됩니다."
                                << "";
        QTest::newRow("Label6") << "Label6"
                                << "완료시간은 시스템 사양에 따라 가변적입니다."
                                << "";
        QTest::newRow("Label7")
            << "Label7"
            << "작업추천: 1번[탭]에서 지원하는 '편집오류 잡아내기'를 실행하고 만들기를 시작하십시오."
            << "";
        QTest::newRow("Command7") << "Command7"
                                  << "※만들기 시작※"
                                  << "";
        QTest::newRow("Label15") << "Label15"
                                 << "1/2 작업중..."
                                 << "";
        QTest::newRow("Command1") << "Command1"
                                  << "닫기"
                                  << "";
    }

    void controlTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QWidget* found = window.findChild<QWidget*>(name);
        QVERIFY(found != nullptr);
        if (auto* asLabel = qobject_cast<QLabel*>(found)) {
            QCOMPARE(asLabel->text(), text);
        } else {
            auto* asButton = qobject_cast<QPushButton*>(found);
            QVERIFY(asButton != nullptr);
            QCOMPARE(asButton->text(), text);
        }
        QCOMPARE(found->toolTip(), tooltip);
    }

    void formatButtonStandsOverTheGap()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* label2 = control<QLabel>(window, "Label2");
        QPushButton* command5 = button(window, "Command5");
        const QFontMetrics metrics(label2->font());
        const int gapStart = label2->x() + metrics.horizontalAdvance(QStringLiteral("※ 텍스트파일 형식은"));
        const int gapEnd = label2->x() + metrics.horizontalAdvance(QStringLiteral("※ 텍스트파일 형식은") +
                                                                   QString(13, QLatin1Char(' ')));
        QVERIFY(command5->x() >= gapStart);
        QVERIFY(command5->geometry().right() < gapEnd);
        // The caption fits the button.
        QVERIFY(QFontMetrics(command5->font()).horizontalAdvance(command5->text()) < command5->width());
        QVERIFY(command5->geometry().intersects(label2->geometry()));
    }

    void fiveButtonsInOneRowUnderTheList()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        const QList<QPushButton*> row = {button(window, "Command3"), button(window, "Command4"),
                                         button(window, "Command2"), button(window, "Command6"),
                                         button(window, "Command11")};
        for (qsizetype i = 0; i < row.size(); ++i) {
            QCOMPARE(row[i]->y(), row[0]->y());
            QVERIFY(row[i]->y() > list(window)->geometry().bottom());
            if (i > 0) {
                QVERIFY(row[i]->x() > row[i - 1]->geometry().right());
            }
            QVERIFY(QFontMetrics(row[i]->font()).horizontalAdvance(row[i]->text()) < row[i]->width());
        }
    }

    void addFilesAppendsEachChosenFile()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/base/viewer/manager"));
        const QStringList chosen = {QStringLiteral("/texts/창세기.txt"), QStringLiteral("/texts/출애굽기.txt"),
                                    QStringLiteral("/texts/레위기.txt")};
        dialogs.queueFiles({QStringLiteral("/first.txt")});
        dialogs.queueFiles(chosen);
        button(window, "Command3")->click();
        button(window, "Command3")->click();
        QStringList expected = {QDir::toNativeSeparators(QStringLiteral("/first.txt"))};
        for (const QString& path : chosen) {
            expected << QDir::toNativeSeparators(path);
        }
        QCOMPARE(entries(window), expected);
        const platform::FileDialogRequest request = dialogs.fileRequests().front();
        QCOMPARE(request.title, QStringLiteral("텍스트 파일 추가"));
        QCOMPARE(request.filter, QStringLiteral("텍스트 파일 (*.txt)"));
        QCOMPARE(request.folder, platform::installFolder(QStringLiteral("/base/viewer/manager")));
        QVERIFY(request.multiple);
        QVERIFY(dialogs.messages().isEmpty());
    }

    void addFilesCancelledChangesNothing()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        dialogs.queueFiles({QStringLiteral("/a.txt")});
        dialogs.queueFiles({});
        button(window, "Command3")->click();
        button(window, "Command3")->click();
        QCOMPARE(entries(window), QStringList{QDir::toNativeSeparators(QStringLiteral("/a.txt"))});
        QVERIFY(dialogs.messages().isEmpty());
    }

    void dropAddsFilesOfAnyTypeAndFoldersInOrderTwiceIfTwice()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        const QString genesis = tree.textFile(QStringLiteral("창세기.txt"), {QStringLiteral("창 1:1 태초에")});
        const QString document = tree.textFile(QStringLiteral("notes.doc"), {QStringLiteral("x")});
        const QString folder = tree.folder(QStringLiteral("책들"));
        const QString missing = QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/no such file.txt"));
        const QStringList dropped = {genesis, document, folder, genesis, missing};
        const DropResult result = dropFiles(window, dropped);
        QVERIFY(result.enterAccepted);
        QVERIFY(result.dropAccepted);
        // Never a move: the file manager must keep its files.
        QCOMPARE(result.enterAction, Qt::CopyAction);
        QCOMPARE(result.dropAction, Qt::CopyAction);
        QCOMPARE(entries(window), dropped);
        // A second drop appends after the first.
        dropFiles(window, {document});
        QCOMPARE(entries(window), dropped + QStringList{document});
        QVERIFY(dialogs.messages().isEmpty());
    }

    void dropWithoutFilesAddsNothing()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QMimeData text;
        text.setText(QStringLiteral("창 1:1 태초에"));
        const DropResult textResult = dropOnList(window, text);
        QVERIFY(!textResult.enterAccepted);
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/bible.txt"))});
        QVERIFY(!dropOnList(window, web).enterAccepted);
        // Mixed data: only the local file is taken.
        QMimeData mixed;
        mixed.setUrls({QUrl(QStringLiteral("https://example.org/bible.txt")),
                       QUrl::fromLocalFile(QStringLiteral("/texts/a.txt"))});
        QVERIFY(dropOnList(window, mixed).dropAccepted);
        QCOMPARE(entries(window), QStringList{QDir::toNativeSeparators(QStringLiteral("/texts/a.txt"))});
    }

    void removeAndEditDoNothingOnAnEmptyList()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        button(window, "Command2")->click();
        button(window, "Command4")->click();
        button(window, "Command6")->click();
        QVERIFY(dialogs.messages().isEmpty());
        QVERIFY(opened.isEmpty());
    }

    void removeAndEditWithoutCurrentEntryAsk()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        dropFiles(window, {QStringLiteral("/t/a.txt"), QStringLiteral("/t/b.txt")});
        QVERIFY(list(window)->currentItem() == nullptr);
        dialogs.queueAnswer(MessageAnswer::Ok);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command2")->click();
        button(window, "Command4")->click();
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[0].text, kSelectToRemove);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(dialogs.messages()[0].buttons, platform::MessageButtons::Ok);
        QCOMPARE(dialogs.messages()[1].text, kSelectToEdit);
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::Exclamation);
        QCOMPARE(list(window)->count(), 2);
        QVERIFY(opened.isEmpty());
    }

    void removeTakesEverySelectedEntry()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        const QStringList paths = {QStringLiteral("/t/a.txt"), QStringLiteral("/t/b.txt"), QStringLiteral("/t/c.txt"),
                                   QStringLiteral("/t/b.txt"), QStringLiteral("/t/e.txt")};
        dropFiles(window, paths);
        QListWidget* files = list(window);
        // Entries 1, 3 and 4 selected; the current one is the last clicked.
        files->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        files->setCurrentRow(3, QItemSelectionModel::Select);
        files->setCurrentRow(4, QItemSelectionModel::Select);
        button(window, "Command2")->click();
        QCOMPARE(entries(window), (QStringList{QDir::toNativeSeparators(QStringLiteral("/t/a.txt")),
                                               QDir::toNativeSeparators(QStringLiteral("/t/c.txt"))}));
        QVERIFY(dialogs.messages().isEmpty());
    }

    void removeAllEmptiesWithoutAsking()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        dropFiles(window, {QStringLiteral("/t/a.txt"), QStringLiteral("/t/b.txt")});
        button(window, "Command6")->click();
        QCOMPARE(list(window)->count(), 0);
        QVERIFY(dialogs.messages().isEmpty());
    }

    void editOpensTheCurrentEntry()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return false; // the desktop's answer changes nothing
        });
        dropFiles(window, {QStringLiteral("/t/a.txt"), QStringLiteral("/t/b.txt"), QStringLiteral("/t/c.txt")});
        list(window)->setCurrentRow(1);
        button(window, "Command4")->click();
        QCOMPARE(opened, QStringList{QDir::toNativeSeparators(QStringLiteral("/t/b.txt"))});
        QVERIFY(dialogs.messages().isEmpty());
    }

    void doubleClickEditsTheEntryClicked()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        dropFiles(window, {QStringLiteral("/t/a.txt"), QStringLiteral("/t/b.txt"), QStringLiteral("/t/c.txt")});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QListWidget* files = list(window);
        const QPoint third = files->visualItemRect(files->item(2)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, third);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, third);
        QCOMPARE(opened, QStringList{QDir::toNativeSeparators(QStringLiteral("/t/c.txt"))});
        QVERIFY(dialogs.messages().isEmpty());
    }

    void openButtonPutsTheChosenFileName()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/base/viewer/manager"));
        nameBox(window)->setEditText(QStringLiteral("before"));
        dialogs.queueFiles({QDir::toNativeSeparators(QStringLiteral("/elsewhere/mine.dat"))});
        button(window, "Command8")->click();
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("mine.dat"));
        QCOMPARE(nameBox(window)->count(), 0);
        const platform::FileDialogRequest request = dialogs.fileRequests().front();
        QCOMPARE(request.title, QStringLiteral("역본파일 선택"));
        QCOMPARE(request.filter, QStringLiteral("역본파일 (*.dat)"));
        QCOMPARE(request.folder, platform::installFolder(QStringLiteral("/base/viewer/manager")));
        QVERIFY(!request.multiple);
        // Cancelled: the name stays.
        dialogs.queueFiles({});
        button(window, "Command8")->click();
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("mine.dat"));
        QVERIFY(dialogs.messages().isEmpty());
    }

    void openButtonRefusesShippedFiles_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("name");
        QTest::newRow("KJV.DAT") << "/base/viewer/KJV.DAT"
                                 << "KJV.DAT";
        QTest::newRow("kjv.dat elsewhere") << "/elsewhere/kjv.dat"
                                           << "kjv.dat";
        QTest::newRow("User.Dat") << "/base/viewer/User.Dat"
                                  << "User.Dat";
        QTest::newRow("개역.DAT") << "/base/viewer/개역.DAT"
                                  << "개역.DAT";
    }

    void openButtonRefusesShippedFiles()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, name);
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/base/viewer/manager"));
        nameBox(window)->setEditText(QStringLiteral("mine"));
        dialogs.queueFiles({QDir::toNativeSeparators(chosen)});
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command8")->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, name + kShippedChosen);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("mine"));
    }

    void checkRunWithEmptyListIsRefused()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command11")->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, kCheckNoFiles);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(dialogs.messages()[0].buttons, platform::MessageButtons::Ok);
    }

    void buildRunRefusals_data()
    {
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("boxAfter");
        QTest::newRow("empty list, name set") << false << " mine " << kBuildNoFiles << " mine ";
        QTest::newRow("empty list, no name") << false << "" << kBuildNoFiles << "";
        QTest::newRow("no name") << true << "" << kNoName << "";
        QTest::newRow("spaces only") << true << "   " << kNoName << "";
        QTest::newRow("KJV.DAT") << true << "KJV.DAT" << QStringLiteral("KJV.DAT") + kShippedTarget << "KJV.DAT";
        QTest::newRow("kjv") << true << "kjv" << QStringLiteral("kjv") + kShippedTarget << "kjv";
        QTest::newRow("개역") << true << "개역" << QStringLiteral("개역") + kShippedTarget << "개역";
        QTest::newRow(" user ") << true << " user " << QStringLiteral("user") + kShippedTarget << "user";
    }

    void buildRunRefusals()
    {
        QFETCH(bool, withFiles);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, boxAfter);
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        if (withFiles) {
            dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 태초에")})});
        }
        nameBox(window)->setEditText(typed);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, message);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(dialogs.messages()[0].buttons, platform::MessageButtons::Ok);
        QCOMPARE(nameBox(window)->currentText(), boxAfter);
        QVERIFY(!QFile::exists(tree.versionPath(QStringLiteral("kjv.DAT"))));
    }

    void buildRunAcceptsKjv2AndTrimsTheName()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 태초에")})});
        nameBox(window)->setEditText(QStringLiteral("  kjv2  "));
        dialogs.queueAnswer(MessageAnswer::No);
        button(window, "Command7")->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, kBuildQuestion);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Question);
        QCOMPARE(dialogs.messages()[0].buttons, platform::MessageButtons::YesNo);
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("kjv2"));
        // No stops: nothing made, nothing logged.
        QVERIFY(!QFile::exists(tree.versionPath(QStringLiteral("kjv2.DAT"))));
        QVERIFY(!QFile::exists(tree.errorLogPath()));
    }

    void buildRunRefusesANameThatIsNoFileName()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 태초에")})});
        nameBox(window)->setEditText(QStringLiteral("../escape"));
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        // Refused before the question is asked.
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Exclamation);
        QVERIFY(dialogs.messages()[0].text.contains(QStringLiteral("역본명")));
        QVERIFY(!QFile::exists(tree.installFolder() + QStringLiteral("/../escape.DAT")));
    }

    void checkRunAnsweredNoDoesNothing()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        QFile old(tree.errorLogPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 9:9 없는 절")})});
        dialogs.queueAnswer(MessageAnswer::No);
        button(window, "Command11")->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, kCheckQuestion);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Question);
        QCOMPARE(dialogs.messages()[0].buttons, platform::MessageButtons::YesNo);
        // The old error log is untouched: no run started.
        QVERIFY(QFile::exists(tree.errorLogPath()));
    }

    void checkRunFromDroppedFiles()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        HookedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString good = tree.textFile(QStringLiteral("good.txt"),
                                           {QStringLiteral("창 1:1 태초에"), QStringLiteral("창 1:2 땅이 혼돈하고")});
        const QString bad = tree.textFile(QStringLiteral("bad.txt"),
                                          {QStringLiteral("창 1:3 빛이 있으라"), QStringLiteral("창 9:9 없는 절")});
        dropFiles(window, {good, bad, good});
        nameBox(window)->setEditText(QStringLiteral("  untouched "));
        Snapshot atMessage;
        dialogs.onMessage = [&](const QString& text) {
            if (text == kCheckWithErrors) {
                atMessage = snapshot(window);
            }
        };
        RunWatcher watcher(window);
        dialogs.script.queueAnswer(MessageAnswer::Yes);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command11"), Qt::LeftButton);

        QCOMPARE(dialogs.script.messages().size(), 2);
        QCOMPARE(dialogs.script.messages()[0].text, kCheckQuestion);
        QCOMPARE(dialogs.script.messages()[1].text, kCheckWithErrors);
        QCOMPARE(dialogs.script.messages()[1].icon, MessageIcon::Exclamation);
        // The error log, opened once the message was read.
        QVERIFY(QFile::exists(tree.errorLogPath()));
        QCOMPARE(opened, QStringList{tree.errorLogPath()});
        // While the check ran: every command off, the animation playing, no status or progress.
        QVERIFY(!watcher.shots.isEmpty());
        for (const Snapshot& shot : watcher.shots) {
            QVERIFY(shot.running);
            QCOMPARE(shot.enabledCommands, QStringList());
            QVERIFY(shot.animationVisible);
            QVERIFY(shot.animationOpen);
            QVERIFY(!shot.statusVisible);
            QVERIFY(!shot.progressVisible);
            QVERIFY(shot.busyPointer);
        }
        // At the final message: still running, the pointer normal, the work controls put away.
        QVERIFY(atMessage.running);
        QCOMPARE(atMessage.enabledCommands, QStringList());
        QVERIFY(!atMessage.busyPointer);
        QVERIFY(!atMessage.animationVisible);
        // Afterwards: as before, the list and the name untouched.
        const Snapshot after = snapshot(window);
        QVERIFY(!after.running);
        QCOMPARE(after.enabledCommands.size(), 11);
        QVERIFY(!after.animationVisible && !after.animationOpen && !after.busyPointer);
        QCOMPARE(entries(window), (QStringList{good, bad, good}));
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("  untouched "));
        QVERIFY(window.isVisible());
    }

    void cleanCheckRunOpensNothing()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        // A check needs no version name.
        dropFiles(window, {tree.textFile(QStringLiteral("good.txt"), {QStringLiteral("창 1:1 태초에")})});
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command11")->click();
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[1].text, kCheckClean);
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::Information);
        QVERIFY(opened.isEmpty());
        QVERIFY(!QFile::exists(tree.errorLogPath()));
        const QStringList versions =
            QDir(tree.installFolder()).entryList({QStringLiteral("*.DAT"), QStringLiteral("*.dat")}, QDir::Files);
        QCOMPARE(versions, QStringList{QStringLiteral("개역.DAT")});
    }

    void buildRunFromDroppedFiles()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        HookedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString genesis = tree.textFile(QStringLiteral("창세기.txt"),
                                              {QStringLiteral("창 1:1 태초에"), QStringLiteral("창 1:3 빛이 있으라")});
        const QString exodus = tree.textFile(QStringLiteral("출애굽기.txt"), {QStringLiteral("출 1:1 이스라엘")});
        dropFiles(window, {genesis, exodus});
        nameBox(window)->setEditText(QStringLiteral(" 새번역 "));
        RunWatcher watcher(window);
        bool closedDuringRun = false;
        watcher.onRunning = [&] {
            // Neither the close box nor Escape nor a disabled command does anything now.
            if (window.close()) {
                closedDuringRun = true;
            }
            QTest::keyClick(&window, Qt::Key_Escape);
            button(window, "Command6")->click();
        };
        dialogs.script.queueAnswer(MessageAnswer::Yes);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);

        QCOMPARE(dialogs.script.messages().size(), 2);
        QCOMPARE(dialogs.script.messages()[0].text, kBuildQuestion);
        QCOMPARE(dialogs.script.messages()[1].text,
                 QStringLiteral("새번역.DAT\r\n\r\n만들기 작업이 완료되었습니다.\r\n\r\n관리기 프로그램을 종료하시고 "
                                "벼리솔을 실행하면 만든역본이 추가되어 있을 것입니다."));
        QCOMPARE(dialogs.script.messages()[1].icon, MessageIcon::Information);
        QVERIFY(opened.isEmpty());
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("새번역.DAT"));
        const QList<std::pair<QString, QString>> expected = {
            {QStringLiteral("창 1:1"), QStringLiteral("태초에")},
            {QStringLiteral("창 1:2"), QStringLiteral("<Null>")},
            {QStringLiteral("창 1:3"), QStringLiteral("빛이 있으라")},
            {QStringLiteral("출 1:1"), QStringLiteral("이스라엘")},
        };
        QCOMPARE(ImportTree::texts(tree.versionPath(QStringLiteral("새번역.DAT"))), expected);

        // Both phases showed their status and progress over the reference's four verses.
        QVERIFY(!watcher.shots.isEmpty());
        QStringList statuses;
        for (const Snapshot& shot : watcher.shots) {
            QCOMPARE(shot.enabledCommands, QStringList());
            QVERIFY(shot.stillVisible);
            QVERIFY(shot.busyPointer);
            if (shot.statusVisible && !statuses.contains(shot.status)) {
                statuses << shot.status;
            }
            if (shot.progressVisible) {
                QCOMPARE(shot.progressMaximum, 4);
            }
        }
        QVERIFY(!closedDuringRun);
        QVERIFY(statuses.contains(QStringLiteral("2/2 작업중...")));
        QCOMPARE(entries(window), (QStringList{genesis, exodus}));
        const Snapshot after = snapshot(window);
        QCOMPARE(after.enabledCommands.size(), 11);
        QVERIFY(!after.statusVisible && !after.progressVisible && !after.animationVisible && !after.busyPointer);
        QVERIFY(window.isVisible());
    }

    void buildRunWithErrorsShowsTheCountAndOpensTheLog()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        QStringList opened;
        window.setShellOpen([&opened](const QString& path) {
            opened << path;
            return true;
        });
        const QString file = tree.textFile(
            QStringLiteral("mine.txt"),
            {QStringLiteral("창 1:1 태초에"), QStringLiteral("창세기 1:2 땅이"), QStringLiteral("창 1:2 땅이")});
        dropFiles(window, {file, file});
        nameBox(window)->setEditText(QStringLiteral("mine"));
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[1].text,
                 QStringLiteral("mine.DAT\r\n\r\n만들기 작업이 완료되었습니다.\r\n텍스트파일에서 추가된 절수는 총: "
                                "4절입니다\r\n\r\n그러나 텍스트파일에서 편집오류가 발견되어 일부 구절을 추가하지 "
                                "못했습니다. 오류목록파일('err.txt')을 열고 올바르게 편집후 다시 "
                                "재작업하십시오.\r\n('err.txt'파일의 참조가 완료되면 삭제하십시오)"));
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::Exclamation);
        QCOMPARE(opened, QStringList{tree.errorLogPath()});
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("mine.DAT"));
    }

    void secondBuildIntoTheSameNameSkipsPhaseOne()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 첫째")})});
        nameBox(window)->setEditText(QStringLiteral("twice"));
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral("twice.DAT"));

        button(window, "Command6")->click();
        dropFiles(window, {tree.textFile(QStringLiteral("b.txt"), {QStringLiteral("창 1:2 둘째")})});
        RunWatcher watcher(window);
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        QCOMPARE(dialogs.messages().size(), 4);
        QVERIFY(dialogs.messages()[3].text.startsWith(QStringLiteral("twice.DAT\r\n\r\n만들기")));
        for (const Snapshot& shot : watcher.shots) {
            QVERIFY(!shot.statusVisible || shot.status != QStringLiteral("1/2 작업중..."));
        }
        const auto texts = ImportTree::texts(tree.versionPath(QStringLiteral("twice.DAT")));
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts[0].second, QStringLiteral("첫째"));
        QCOMPARE(texts[1].second, QStringLiteral("둘째"));
    }

    void buildIntoTheWholeReferenceShowsPhaseOne()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(tree.useFullReference());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("계 22:21 은혜가")})});
        nameBox(window)->setEditText(QStringLiteral("whole"));
        RunWatcher watcher(window);
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::Information);
        bool phase1Seen = false;
        for (const Snapshot& shot : watcher.shots) {
            if (shot.statusVisible && shot.status == QStringLiteral("1/2 작업중...")) {
                phase1Seen = true;
                QVERIFY(shot.progressVisible);
                QCOMPARE(shot.progressMaximum, 31102);
                QVERIFY(!shot.animationVisible);
            }
        }
        QVERIFY(phase1Seen);
        QCOMPARE(ImportTree::texts(tree.versionPath(QStringLiteral("whole.DAT"))).size(), 31102);
    }

    void missingReferenceShowsBothFailuresAndLeavesTheWindowUsable()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(QFile::remove(tree.referencePath()));
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 태초에")})});
        nameBox(window)->setEditText(QStringLiteral("lost"));
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command7")->click();
        QCOMPARE(dialogs.messages().size(), 3);
        QVERIFY(dialogs.messages()[1].text.endsWith(kPhase1Failure));
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::None);
        QVERIFY(dialogs.messages()[2].text.endsWith(kPhase2Failure + kDeleteFailedVersion));
        QCOMPARE(dialogs.messages()[2].icon, MessageIcon::Exclamation);
        const Snapshot after = snapshot(window);
        QVERIFY(!after.running);
        QCOMPARE(after.enabledCommands.size(), 11);
        QVERIFY(!after.statusVisible && !after.progressVisible && !after.animationVisible && !after.busyPointer);

        // A check run then says only the second failure, without the line for a build.
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command11")->click();
        QCOMPARE(dialogs.messages().size(), 5);
        QVERIFY(dialogs.messages()[4].text.endsWith(kPhase2Failure));
    }

    void runWithoutTheClipGoesOn()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(QFile::remove(tree.clipPath()));
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        window.show();
        dropFiles(window, {tree.textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 태초에")})});
        RunWatcher watcher(window);
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command11")->click();
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[1].text, kCheckClean);
        QVERIFY(!watcher.shots.isEmpty());
        QVERIFY(!watcher.shots.front().animationOpen);
    }

    void droppedFolderEndsTheCheckThroughItsFailure()
    {
        ImportTree tree;
        QVERIFY(tree.isValid());
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, tree.programFolder());
        dropFiles(window, {tree.folder(QStringLiteral("폴더"))});
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        button(window, "Command11")->click();
        QCOMPARE(dialogs.messages().size(), 2);
        QVERIFY(dialogs.messages()[1].text.endsWith(kPhase2Failure));
        QVERIFY(!window.isRunning());
    }

    void helpWindowLeavesTheListAndTheName()
    {
        ScriptedDialogs dialogs;
        QWidget owner;
        QPixmap blue(16, 16);
        blue.fill(Qt::blue);
        owner.setWindowIcon(QIcon(blue));
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"), &owner);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dropFiles(window, {QStringLiteral("/t/a.txt"), QStringLiteral("/t/b.txt")});
        list(window)->setCurrentRow(1);
        nameBox(window)->setEditText(QStringLiteral(" 내 역본 "));
        QString helpTitle;
        bool helpModal = false;
        QRgb helpIcon = 0;
        QTimer::singleShot(0, &window, [&] {
            QWidget* help = QApplication::activeModalWidget();
            if (help == nullptr || help == &window) {
                return;
            }
            helpTitle = help->windowTitle();
            helpModal = help->isModal() && help->parentWidget() == &window;
            helpIcon = help->windowIcon().pixmap(16, 16).toImage().pixel(8, 8);
            auto* ok = help->findChild<QPushButton*>(QStringLiteral("Command3"));
            if (ok != nullptr) {
                ok->click();
            }
        });
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        QCOMPARE(helpTitle, QStringLiteral("텍스트 파일 형식에 대한 설명"));
        QVERIFY(helpModal);
        QCOMPARE(helpIcon, QColor(Qt::blue).rgb());
        QCOMPARE(entries(window), (QStringList{QDir::toNativeSeparators(QStringLiteral("/t/a.txt")),
                                               QDir::toNativeSeparators(QStringLiteral("/t/b.txt"))}));
        QCOMPARE(list(window)->currentRow(), 1);
        QCOMPARE(nameBox(window)->currentText(), QStringLiteral(" 내 역본 "));
        QVERIFY(window.isVisible());
        QVERIFY(dialogs.messages().isEmpty());
    }

    void mainWindowOpensTheImportWindowModally()
    {
        ScriptedDialogs dialogs;
        shell::frmMain main(dialogs, QStringLiteral("/nonexistent/manager"));
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QString title;
        bool overMain = false;
        QTimer::singleShot(0, &main, [&] {
            QWidget* opened = QApplication::activeModalWidget();
            if (opened == nullptr) {
                return;
            }
            title = opened->windowTitle();
            overMain = opened->parentWidget() == &main && opened->isModal();
            if (auto* close = opened->findChild<QPushButton*>(QStringLiteral("Command1"))) {
                close->click();
            }
        });
        QTest::mouseClick(button(main, "Command4"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("개인역본 추가 - Import"));
        QVERIFY(overMain);
        // Closed and destroyed when the handler returned.
        QVERIFY(main.findChild<frmAppend*>() == nullptr);
        QVERIFY(dialogs.messages().isEmpty());
    }

    void closeButtonAndCloseBoxClose()
    {
        ScriptedDialogs dialogs;
        frmAppend window(dialogs, QStringLiteral("/nonexistent/manager"));
        QTimer::singleShot(0, &window, [&] { button(window, "Command1")->click(); });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
        window.show();
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QVERIFY(dialogs.messages().isEmpty());
    }
};

int runFrmAppendTest(int argc, char* argv[])
{
    frmAppendTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmAppendTest.moc"
