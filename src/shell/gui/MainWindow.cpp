#include "shell/gui/MainWindow.h"

#include "editor/gui/VerseEditorDialog.h"
#include "exchange/gui/ExportDialog.h"
#include "import/gui/ImportDialog.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
#include "maintenance/gui/AboutDialog.h"
#include "maintenance/gui/BackupGuideDialog.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/RunControl.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/VersionFileDialog.h"
#include "platform/gui/WindowSettings.h"
#include "review/gui/CompareDialog.h"
#include "review/gui/InspectDialog.h"
#include "shell/gui/VersionListModel.h"
#include "versiondb/Names.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <utility>

namespace shell {

namespace {

// The verse editor opens a version at its first verse.
const QString kFirstVerse = QStringLiteral("창 1:1");

// The local files and folders of dropped data that the import can read: anything but a version file.
QStringList droppedImportFiles(const QMimeData* data)
{
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive)) {
            paths << QDir::toNativeSeparators(url.toLocalFile());
        }
    }
    return paths;
}

// Shows a window of that type modally over the main window, on the version selected (none: its field stays empty).
template <typename Window>
void execOnVersion(platform::Dialogs& dialogs, const QString& programFolder, MainWindow* main)
{
    Window window(dialogs, programFolder, main);
    window.setVersion(main->selectedVersion());
    window.exec();
}

} // namespace

MainWindow::MainWindow(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(platform::programTitle());
    setAcceptDrops(true);

    // Without a tip of its own, an action's tooltip is its text.
    const auto action = [this](const char* name, const QString& text, void (MainWindow::*slot)(),
                               const QString& tip = {}) {
        auto* made = platform::named<QAction>(this, name, text, tip);
        made->setStatusTip(tip);
        connect(made, &QAction::triggered, this, slot);
        return made;
    };
    QAction* openAction = action("openAction", QStringLiteral("열기..."), &MainWindow::onOpenTriggered,
                                 QStringLiteral("목록에 없는 역본파일을 골라 그 본문을 편집합니다."));
    openAction->setShortcut(QKeySequence::Open);
    QAction* importAction =
        action("importAction", QStringLiteral("개인보유 역본 추가"), &MainWindow::onImportTriggered,
               QStringLiteral(
                   "개인이 가지고 있는 텍스트, IMP, USFM, OSIS, Zefania, VPL 파일의 역본을 벼리솔용으로 만듭니다."));
    QAction* exportAction =
        action("exportAction", QStringLiteral("역본파일 내보내기"), &MainWindow::onExportTriggered,
               QStringLiteral("역본파일의 본문을 텍스트, IMP, OSIS, Zefania, VPL 파일로 내보냅니다."));
    QAction* exitAction = action("exitAction", QStringLiteral("종료"), &MainWindow::onExitTriggered);
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QAction* editAction = action("editAction", QStringLiteral("성경본문 편집"), &MainWindow::onEditTriggered,
                                 QStringLiteral("설치된 성경역본의 본문을 편집(수정)합니다."));
    QAction* inspectAction =
        action("inspectAction", QStringLiteral("본문 점검"), &MainWindow::onInspectTriggered,
               QStringLiteral(
                   "역본파일의 본문에서 빈 본문, 깨진 글자, 짝이 없는 괄호처럼 잘못된 듯한 곳을 찾아 보여 줍니다."));
    QAction* compareAction = action("compareAction", QStringLiteral("역본 비교"), &MainWindow::onCompareTriggered,
                                    QStringLiteral("두 역본파일의 본문을 비교하여 다른 구절을 보여 줍니다."));
    m_repairAction = action("repairAction", QStringLiteral("손상된 역본파일 치료"), &MainWindow::onRepairTriggered,
                            QStringLiteral("불완전 종료에 따른 손상된 역본파일을 치료합니다."));
    m_compactAction = action("compactAction", QStringLiteral("역본파일 최적화"), &MainWindow::onCompactTriggered,
                             QStringLiteral("역본파일의 용량을 줄이고 실행속도를 높입니다."));
    m_deleteAction = action("deleteAction", QStringLiteral("개인보유 역본 삭제"), &MainWindow::onDeleteTriggered,
                            QStringLiteral("개인보유 역본 추가로 만든 역본파일을 삭제합니다."));
    m_deleteAction->setShortcut(QKeySequence::Delete);
    QAction* backupGuideAction =
        action("backupGuideAction", QStringLiteral("자료파일 백업방법"), &MainWindow::onBackupGuideTriggered,
               QStringLiteral("역본파일을 백업하는 방법을 보여 줍니다."));
    QAction* aboutAction = action("aboutAction", QStringLiteral("프로그램 정보(&A)"), &MainWindow::onAboutTriggered);

    m_versions = new VersionListModel(platform::installFolder(m_programFolder), this);
    m_versionTable = platform::named<QTableView>(this, "versionTable");
    m_versionTable->setAccessibleName(QStringLiteral("역본 목록"));
    m_versionTable->setModel(m_versions);
    m_versionTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_versionTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_versionTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_versionTable->setShowGrid(false);
    m_versionTable->setAlternatingRowColors(true);
    m_versionTable->setWordWrap(false);
    m_versionTable->verticalHeader()->hide();
    m_versionTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_versionTable->horizontalHeader()->setSectionResizeMode(VersionListModel::NameColumn, QHeaderView::Stretch);
    m_versionTable->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(m_versionTable);
    connect(m_versionTable, &QTableView::activated, this, [this] { onEditTriggered(); });
    connect(m_versionTable, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (m_versionTable->indexAt(at).isValid()) {
            m_contextMenu->popup(m_versionTable->viewport()->mapToGlobal(at));
        }
    });
    connect(m_versionTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::updateActions);
    // A version listed or gone, or read as shipped, changes what the actions can do.
    connect(m_versions, &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateActions);
    connect(m_versions, &QAbstractItemModel::modelReset, this, &MainWindow::updateActions);

    const auto addGroups = [](auto* to, const QList<QAction*>& first, const QList<QAction*>& second) {
        to->addActions(first);
        to->addSeparator();
        to->addActions(second);
    };
    const QList<QAction*> upkeep = {m_repairAction, m_compactAction, m_deleteAction};
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("파일(&F)"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    addGroups(fileMenu, {openAction, importAction, exportAction}, {exitAction});
    QMenu* versionMenu = menuBar()->addMenu(QStringLiteral("역본(&V)"));
    versionMenu->setObjectName(QStringLiteral("versionMenu"));
    addGroups(versionMenu, {editAction, inspectAction, compareAction}, upkeep);
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("도움말(&H)"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpMenu->addActions({backupGuideAction, aboutAction});

    QToolBar* tools = addToolBar(QStringLiteral("도구 모음"));
    tools->setObjectName(QStringLiteral("mainToolBar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->setMovable(false);
    addGroups(tools, {editAction, importAction, exportAction, inspectAction, compareAction}, upkeep);

    m_contextMenu = platform::named<QMenu>(this, "versionContextMenu");
    addGroups(m_contextMenu, {editAction, inspectAction, compareAction, exportAction}, upkeep);

    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_runProgress = platform::named<QProgressBar>(this, "runProgress");
    m_runProgress->setAccessibleName(QStringLiteral("진행 상황"));
    m_runProgress->setMaximumWidth(fontMetrics().averageCharWidth() * 30);
    m_cancelButton = platform::named<QPushButton>(this, "cancelButton", QStringLiteral("취소"));
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_running != nullptr) {
            m_running->cancel();
        }
    });
    statusBar()->addPermanentWidget(m_runProgress);
    statusBar()->addPermanentWidget(m_cancelButton);
    m_runProgress->hide();
    m_cancelButton->hide();

    updateActions();
    // The skin hook: when the program folder holds "skin.qss", its style sheet is applied to the window. Without it
    // the window keeps the platform's look.
    if (QFile skin(m_programFolder + platform::separator() + QStringLiteral("skin.qss"));
        skin.open(QIODevice::ReadOnly | QIODevice::Text)) {
        setStyleSheet(QString::fromUtf8(skin.readAll()));
    }
    // Room for the list's columns and a few dozen versions at the first opening.
    platform::rememberGeometry(this, 110, 30);
}

void MainWindow::updateActions()
{
    const QModelIndexList selected = m_versionTable->selectionModel()->selectedRows();
    const bool one = !selected.isEmpty();
    m_repairAction->setEnabled(one);
    m_compactAction->setEnabled(one);
    // The shipped files can never be deleted: the action says so by being unavailable.
    m_deleteAction->setEnabled(one && !m_versions->isShipped(selected.first().row()));
}

QString MainWindow::selectedVersion() const
{
    const QModelIndexList selected = m_versionTable->selectionModel()->selectedRows();
    return selected.isEmpty() ? QString() : m_versions->path(selected.first().row());
}

bool MainWindow::selectVersion(const QString& fileName)
{
    const int row = m_versions->rowOf(fileName);
    if (row < 0) {
        return false;
    }
    m_versionTable->selectRow(row);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run in progress ends first, by its cancel button.
    if (m_running != nullptr) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

template <typename Work> void MainWindow::runHoldingVersions(Work work)
{
    // No version may be held for the list while a window or a command holds one.
    m_versions->finishReading();
    static_cast<void>(m_dialogs.takeLastMessage());
    work();
    m_versions->refresh();
    if (const QString said = m_dialogs.takeLastMessage(); !said.isEmpty()) {
        statusBar()->showMessage(said);
    }
}

void MainWindow::editVersion(QWidget* parent, const QString& path, const QString& reference)
{
    editor::VerseEditorDialog window(m_dialogs, m_programFolder, parent);
    if (!path.isEmpty()) {
        if (const auto failure = window.showVerse(path, reference)) {
            m_dialogs.warn(parent, platform::getFileName(path) + QStringLiteral("\r\n\r\n") + failure->description);
            return;
        }
    }
    window.exec();
}

void MainWindow::onEditTriggered()
{
    const QString path = selectedVersion();
    runHoldingVersions([&] { editVersion(this, path, kFirstVerse); });
}

void MainWindow::onOpenTriggered()
{
    platform::FileDialogRequest request;
    request.filter = QStringLiteral("역본파일 (*.dat)");
    if (const QString path = platform::chooseVersionFile(m_dialogs, this, m_programFolder, request); !path.isEmpty()) {
        runHoldingVersions([&] { editVersion(this, path, kFirstVerse); });
    }
}

void MainWindow::importFiles(const QStringList& paths)
{
    runHoldingVersions([&] {
        importer::ImportDialog window(m_dialogs, m_programFolder, this);
        window.addFiles(paths);
        window.exec();
    });
}

void MainWindow::onImportTriggered()
{
    importFiles({});
}

void MainWindow::onExportTriggered()
{
    runHoldingVersions([&] { execOnVersion<exchange::ExportDialog>(m_dialogs, m_programFolder, this); });
}

void MainWindow::onCompareTriggered()
{
    runHoldingVersions([&] { execOnVersion<review::CompareDialog>(m_dialogs, m_programFolder, this); });
}

void MainWindow::onInspectTriggered()
{
    runHoldingVersions([&] {
        // A finding chosen there opens the verse editor over it, on that version at that verse.
        review::InspectDialog window(
            m_dialogs, m_programFolder,
            [this, &window](const QString& path, const QString& reference) { editVersion(&window, path, reference); },
            this);
        window.setVersion(selectedVersion());
        window.exec();
    });
}

void MainWindow::showMessages(const QList<maintenance::Message>& messages)
{
    for (const maintenance::Message& message : messages) {
        m_dialogs.inform(this, message.icon, message.text);
    }
}

template <typename Operation>
void MainWindow::maintainSelected(QString (*confirmation)(const QString&), Operation operation)
{
    const QString path = selectedVersion();
    if (path.isEmpty()) {
        return;
    }
    const QString name = platform::getFileName(path);
    if (!m_dialogs.confirm(this, confirmation(name))) {
        return;
    }
    runHoldingVersions([&] {
        // The list and every action wait while the run goes; the status bar shows how far it is and can cancel it.
        platform::RunControl control;
        m_running = &control;
        const QList<QAction*> actions = findChildren<QAction*>();
        QList<bool> enabled;
        for (QAction* action : actions) {
            enabled << action->isEnabled();
            action->setEnabled(false);
        }
        m_versionTable->setEnabled(false);
        m_runProgress->setRange(0, 0);
        m_runProgress->show();
        m_cancelButton->show();
        const auto outcome = platform::runInBackground(control, m_runProgress, [&] {
            return std::invoke(operation, maintenance::VersionMaintenance(m_programFolder), path, &control);
        });
        m_cancelButton->hide();
        m_runProgress->hide();
        m_versionTable->setEnabled(true);
        for (qsizetype i = 0; i < actions.size(); ++i) {
            actions[i]->setEnabled(enabled[i]);
        }
        m_running = nullptr;
        showMessages(maintenance::MaintenanceMessages::forOutcome(name, outcome));
    });
}

void MainWindow::onRepairTriggered()
{
    maintainSelected(&maintenance::MaintenanceMessages::repairConfirmation,
                     &maintenance::VersionMaintenance::repairVersion);
}

void MainWindow::onCompactTriggered()
{
    maintainSelected(&maintenance::MaintenanceMessages::compactConfirmation,
                     &maintenance::VersionMaintenance::compactVersion);
}

void MainWindow::onDeleteTriggered()
{
    const QString path = selectedVersion();
    if (path.isEmpty()) {
        return;
    }
    const QString name = platform::getFileName(path);
    if (versiondb::isShippedName(path)) {
        showMessages({maintenance::MaintenanceMessages::shippedFileRefused(name)});
        return;
    }
    // A deletion cannot be taken back: Enter answers 아니요.
    if (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                          maintenance::MaintenanceMessages::deleteConfirmation(name)) != platform::MessageAnswer::Yes) {
        return;
    }
    runHoldingVersions([&] {
        showMessages(maintenance::MaintenanceMessages::forOutcome(
            name, maintenance::VersionMaintenance(m_programFolder).deleteVersion(path)));
    });
}

void MainWindow::onBackupGuideTriggered()
{
    maintenance::BackupGuideDialog(m_dialogs, m_programFolder, this).exec();
}

void MainWindow::onAboutTriggered()
{
    maintenance::AboutDialog(m_dialogs, m_programFolder, this).exec();
}

void MainWindow::onExitTriggered()
{
    // Ends the program at once, without asking and without any window's unload handling.
    QCoreApplication::exit(0);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedImportFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedImportFiles(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Once the drop has ended: the import window is modal, and the source of the drag waits for its answer.
    QTimer::singleShot(0, this, [this, paths] { importFiles(paths); });
}

} // namespace shell
