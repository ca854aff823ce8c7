#include "shell/gui/MainWindow.h"

#include "editor/gui/VerseEditorDialog.h"
#include "exchange/gui/CompareDialog.h"
#include "exchange/gui/ExportDialog.h"
#include "exchange/gui/InspectDialog.h"
#include "import/gui/ImportDialog.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
#include "maintenance/gui/AboutDialog.h"
#include "maintenance/gui/BackupGuideDialog.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/RunControl.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/Skin.h"
#include "platform/gui/TextSize.h"
#include "platform/gui/VersionFileDialog.h"
#include "platform/gui/WindowSettings.h"
#include "shell/gui/StatusDialogs.h"
#include "shell/gui/VersionListModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
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
#include <utility>

namespace shell {

namespace {

const QString kCaption = QStringLiteral("벼리솔 성경자료 관리기");
const QString kFileMenu = QStringLiteral("파일(&F)");
const QString kVersionMenu = QStringLiteral("역본(&V)");
const QString kHelpMenu = QStringLiteral("도움말(&H)");
const QString kToolBar = QStringLiteral("도구 모음");
const QString kVersionList = QStringLiteral("역본 목록");

const QString kOpen = QStringLiteral("열기...");
const QString kOpenTip = QStringLiteral("목록에 없는 역본파일을 골라 그 본문을 편집합니다.");
const QString kEdit = QStringLiteral("성경본문 편집");
const QString kEditTip = QStringLiteral("설치된 성경역본의 본문을 편집(수정)합니다.");
const QString kImport = QStringLiteral("개인보유 역본 추가");
const QString kImportTip =
    QStringLiteral("개인이 가지고 있는 텍스트, IMP, USFM, OSIS, Zefania 파일의 역본을 벼리솔용으로 만듭니다.");
const QString kRepair = QStringLiteral("손상된 역본파일 치료");
const QString kRepairTip = QStringLiteral("불완전 종료에 따른 손상된 역본파일을 치료합니다.");
const QString kCompact = QStringLiteral("역본파일 최적화");
const QString kCompactTip = QStringLiteral("역본파일의 용량을 줄이고 실행속도를 높입니다.");
const QString kBackupGuide = QStringLiteral("자료파일 백업방법");
const QString kBackupGuideTip = QStringLiteral("역본파일을 백업하는 방법을 보여 줍니다.");
const QString kDelete = QStringLiteral("개인보유 역본 삭제");
const QString kDeleteTip = QStringLiteral("개인보유 역본 추가로 만든 역본파일을 삭제합니다.");
const QString kExport = QStringLiteral("역본파일 내보내기");
const QString kExportTip = QStringLiteral("역본파일의 본문을 텍스트, IMP, OSIS, Zefania, VPL 파일로 내보냅니다.");
const QString kCompare = QStringLiteral("역본 비교");
const QString kCompareTip = QStringLiteral("두 역본파일의 본문을 비교하여 다른 구절을 보여 줍니다.");
const QString kInspect = QStringLiteral("본문 점검");
const QString kInspectTip =
    QStringLiteral("역본파일의 본문에서 빈 본문, 깨진 글자, 짝이 없는 괄호처럼 잘못된 듯한 곳을 찾아 보여 줍니다.");
const QString kAbout = QStringLiteral("프로그램 정보(&A)");
const QString kRunProgress = QStringLiteral("진행 상황");
const QString kCancel = QStringLiteral("취소");
const QString kExit = QStringLiteral("종료");

// The size the window asks for at its first opening, in average characters and lines of its font.
constexpr int kWidthInCharacters = 110;
constexpr int kHeightInLines = 30;
constexpr int kProgressWidthInCharacters = 30;

// The verse editor opens a version at its first verse.
const QString kFirstVerse = QStringLiteral("창 1:1");
const QString kVersionFilter = QStringLiteral("역본파일 (*.dat)");

QAction* newAction(QObject* parent, const char* name)
{
    auto* action = new QAction(parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

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

} // namespace

MainWindow::MainWindow(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QMainWindow(parent), m_dialogs(std::make_unique<StatusDialogs>(dialogs)),
      m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("MainWindow"));
    setAcceptDrops(true);
    createActions();
    createCentralList();
    createMenus();
    applyTexts();
    updateActions();
    platform::applySkin(this, m_programFolder);
    platform::rememberGeometry(this);
}

MainWindow::~MainWindow() = default;

QSize MainWindow::sizeHint() const
{
    return platform::atLeastCharacters(QMainWindow::sizeHint(), *this, kWidthInCharacters, kHeightInLines);
}

void MainWindow::createActions()
{
    m_openAction = newAction(this, "openAction");
    m_openAction->setShortcut(QKeySequence::Open);
    m_importAction = newAction(this, "importAction");
    m_exportAction = newAction(this, "exportAction");
    m_exitAction = newAction(this, "exitAction");
    m_exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_editAction = newAction(this, "editAction");
    m_inspectAction = newAction(this, "inspectAction");
    m_compareAction = newAction(this, "compareAction");
    m_repairAction = newAction(this, "repairAction");
    m_compactAction = newAction(this, "compactAction");
    m_deleteAction = newAction(this, "deleteAction");
    m_deleteAction->setShortcut(QKeySequence::Delete);
    m_backupGuideAction = newAction(this, "backupGuideAction");
    m_aboutAction = newAction(this, "aboutAction");

    connect(m_openAction, &QAction::triggered, this, &MainWindow::onOpenTriggered);
    connect(m_importAction, &QAction::triggered, this, &MainWindow::onImportTriggered);
    connect(m_exportAction, &QAction::triggered, this, &MainWindow::onExportTriggered);
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::onExitTriggered);
    connect(m_editAction, &QAction::triggered, this, &MainWindow::onEditTriggered);
    connect(m_inspectAction, &QAction::triggered, this, &MainWindow::onInspectTriggered);
    connect(m_compareAction, &QAction::triggered, this, &MainWindow::onCompareTriggered);
    connect(m_repairAction, &QAction::triggered, this, &MainWindow::onRepairTriggered);
    connect(m_compactAction, &QAction::triggered, this, &MainWindow::onCompactTriggered);
    connect(m_deleteAction, &QAction::triggered, this, &MainWindow::onDeleteTriggered);
    connect(m_backupGuideAction, &QAction::triggered, this, &MainWindow::onBackupGuideTriggered);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::onAboutTriggered);
}

void MainWindow::createCentralList()
{
    m_versions = new VersionListModel(platform::installFolder(m_programFolder), this);
    m_versionTable = new QTableView(this);
    m_versionTable->setObjectName(QStringLiteral("versionTable"));
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
    connect(m_versionTable, &QWidget::customContextMenuRequested, this, &MainWindow::onContextMenuRequested);
    connect(m_versionTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::updateActions);
    // A version listed or gone, or read as shipped, changes what the actions can do.
    connect(m_versions, &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateActions);
    connect(m_versions, &QAbstractItemModel::modelReset, this, &MainWindow::updateActions);
}

void MainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_fileMenu->addActions({m_openAction, m_importAction, m_exportAction});
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exitAction);

    m_versionMenu = menuBar()->addMenu(QString());
    m_versionMenu->setObjectName(QStringLiteral("versionMenu"));
    m_versionMenu->addActions({m_editAction, m_inspectAction, m_compareAction});
    m_versionMenu->addSeparator();
    m_versionMenu->addActions({m_repairAction, m_compactAction, m_deleteAction});

    m_helpMenu = menuBar()->addMenu(QString());
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    m_helpMenu->addActions({m_backupGuideAction, m_aboutAction});

    QToolBar* tools = addToolBar(QString());
    tools->setObjectName(QStringLiteral("mainToolBar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->setMovable(false);
    tools->addActions({m_editAction, m_importAction, m_exportAction, m_inspectAction, m_compareAction});
    tools->addSeparator();
    tools->addActions({m_repairAction, m_compactAction, m_deleteAction});

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("versionContextMenu"));
    m_contextMenu->addActions({m_editAction, m_inspectAction, m_compareAction, m_exportAction});
    m_contextMenu->addSeparator();
    m_contextMenu->addActions({m_repairAction, m_compactAction, m_deleteAction});

    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_runProgress = new QProgressBar(this);
    m_runProgress->setObjectName(QStringLiteral("runProgress"));
    m_runProgress->setMaximumWidth(fontMetrics().averageCharWidth() * kProgressWidthInCharacters);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QPushButton::clicked, this, &MainWindow::onCancelClicked);
    statusBar()->addPermanentWidget(m_runProgress);
    statusBar()->addPermanentWidget(m_cancelButton);
    m_runProgress->hide();
    m_cancelButton->hide();
}

void MainWindow::applyTexts()
{
    setWindowTitle(kCaption);
    m_fileMenu->setTitle(kFileMenu);
    m_versionMenu->setTitle(kVersionMenu);
    m_helpMenu->setTitle(kHelpMenu);
    findChild<QToolBar*>(QStringLiteral("mainToolBar"))->setWindowTitle(kToolBar);
    m_versionTable->setAccessibleName(kVersionList);
    m_runProgress->setAccessibleName(kRunProgress);
    m_cancelButton->setText(kCancel);
    const std::pair<QAction*, std::pair<QString, QString>> texts[] = {
        {m_openAction, {kOpen, kOpenTip}},
        {m_importAction, {kImport, kImportTip}},
        {m_exportAction, {kExport, kExportTip}},
        {m_exitAction, {kExit, {}}},
        {m_editAction, {kEdit, kEditTip}},
        {m_inspectAction, {kInspect, kInspectTip}},
        {m_compareAction, {kCompare, kCompareTip}},
        {m_repairAction, {kRepair, kRepairTip}},
        {m_compactAction, {kCompact, kCompactTip}},
        {m_deleteAction, {kDelete, kDeleteTip}},
        {m_backupGuideAction, {kBackupGuide, kBackupGuideTip}},
        {m_aboutAction, {kAbout, {}}},
    };
    for (const auto& [action, text] : texts) {
        action->setText(text.first);
        // Without a tip of its own, an action's tooltip is its text.
        if (!text.second.isEmpty()) {
            action->setToolTip(text.second);
            action->setStatusTip(text.second);
        }
    }
}

void MainWindow::updateActions()
{
    const QModelIndexList selected = m_versionTable->selectionModel()->selectedRows();
    const bool one = !selected.isEmpty();
    for (QAction* action : {m_repairAction, m_compactAction}) {
        action->setEnabled(one);
    }
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

void MainWindow::onContextMenuRequested(const QPoint& at)
{
    if (m_versionTable->indexAt(at).isValid()) {
        m_contextMenu->popup(m_versionTable->viewport()->mapToGlobal(at));
    }
}

template <typename Work> auto MainWindow::runWithProgress(Work work)
{
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
    const auto outcome = platform::runInBackground(control, m_runProgress, [&work, &control] { return work(control); });
    m_cancelButton->hide();
    m_runProgress->hide();
    m_versionTable->setEnabled(true);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        actions[i]->setEnabled(enabled[i]);
    }
    m_running = nullptr;
    return outcome;
}

void MainWindow::onCancelClicked()
{
    if (m_running != nullptr) {
        m_running->cancel();
    }
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
    static_cast<void>(m_dialogs->takeLastMessage());
    work();
    m_versions->refresh();
    if (const QString said = m_dialogs->takeLastMessage(); !said.isEmpty()) {
        statusBar()->showMessage(said);
    }
}

void MainWindow::editVersion(const QString& path, const QString& reference)
{
    runHoldingVersions([&] {
        editor::VerseEditorDialog window(*m_dialogs, m_programFolder, this);
        if (!path.isEmpty()) {
            if (const auto failure = window.showVerse(path, reference)) {
                m_dialogs->inform(this, platform::MessageIcon::Exclamation,
                                  platform::GetFileName(path) + QStringLiteral("\r\n\r\n") + failure->description);
                return;
            }
        }
        window.exec();
    });
}

void MainWindow::onEditTriggered()
{
    editVersion(selectedVersion(), kFirstVerse);
}

void MainWindow::onOpenTriggered()
{
    platform::FileDialogRequest request;
    request.filter = kVersionFilter;
    if (const QString path = platform::chooseVersionFile(*m_dialogs, this, m_programFolder, request); !path.isEmpty()) {
        editVersion(path, kFirstVerse);
    }
}

void MainWindow::importFiles(const QStringList& paths)
{
    runHoldingVersions([&] {
        importer::ImportDialog window(*m_dialogs, m_programFolder, this);
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
    runHoldingVersions([&] {
        exchange::ExportDialog window(*m_dialogs, m_programFolder, this);
        if (const QString path = selectedVersion(); !path.isEmpty()) {
            window.setVersion(path);
        }
        window.exec();
    });
}

void MainWindow::onCompareTriggered()
{
    runHoldingVersions([&] {
        exchange::CompareDialog window(*m_dialogs, m_programFolder, this);
        if (const QString path = selectedVersion(); !path.isEmpty()) {
            window.setVersion(path);
        }
        window.exec();
    });
}

void MainWindow::onInspectTriggered()
{
    runHoldingVersions([&] {
        // A finding chosen there opens the verse editor over it, on that version at that verse.
        exchange::InspectDialog window(
            *m_dialogs, m_programFolder,
            [this, &window](const QString& path, const QString& reference) {
                editor::VerseEditorDialog editorWindow(*m_dialogs, m_programFolder, &window);
                if (const auto failure = editorWindow.showVerse(path, reference)) {
                    m_dialogs->inform(&window, platform::MessageIcon::Exclamation,
                                      platform::GetFileName(path) + QStringLiteral("\r\n\r\n") + failure->description);
                    return;
                }
                editorWindow.exec();
            },
            this);
        if (const QString path = selectedVersion(); !path.isEmpty()) {
            window.setVersion(path);
        }
        window.exec();
    });
}

void MainWindow::showMessages(const QList<maintenance::Message>& messages)
{
    for (const maintenance::Message& message : messages) {
        m_dialogs->inform(this, message.icon, message.text);
    }
}

void MainWindow::onRepairTriggered()
{
    const QString path = selectedVersion();
    if (path.isEmpty()) {
        return;
    }
    const QString name = platform::GetFileName(path);
    if (!m_dialogs->confirm(this, maintenance::MaintenanceMessages::repairConfirmation(name))) {
        return;
    }
    runHoldingVersions([&] {
        const auto outcome = runWithProgress([this, &path](platform::RunControl& control) {
            return maintenance::VersionMaintenance(m_programFolder).RepairVersion(path, &control);
        });
        showMessages(maintenance::MaintenanceMessages::forOutcome(name, outcome));
    });
}

void MainWindow::onCompactTriggered()
{
    const QString path = selectedVersion();
    if (path.isEmpty()) {
        return;
    }
    const QString name = platform::GetFileName(path);
    if (!m_dialogs->confirm(this, maintenance::MaintenanceMessages::compactConfirmation(name))) {
        return;
    }
    runHoldingVersions([&] {
        const auto outcome = runWithProgress([this, &path](platform::RunControl& control) {
            return maintenance::VersionMaintenance(m_programFolder).CompactVersion(path, &control);
        });
        showMessages(maintenance::MaintenanceMessages::forOutcome(name, outcome));
    });
}

void MainWindow::onDeleteTriggered()
{
    const QString path = selectedVersion();
    if (path.isEmpty()) {
        return;
    }
    const QString name = platform::GetFileName(path);
    if (maintenance::VersionMaintenance::isShipped(path)) {
        showMessages({maintenance::MaintenanceMessages::shippedFileRefused(name)});
        return;
    }
    // A deletion cannot be taken back: Enter answers 아니요.
    if (m_dialogs->message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                           maintenance::MaintenanceMessages::deleteConfirmation(name)) !=
        platform::MessageAnswer::Yes) {
        return;
    }
    runHoldingVersions([&] {
        const maintenance::DeleteOutcome outcome = maintenance::VersionMaintenance(m_programFolder).DeleteVersion(path);
        showMessages(maintenance::MaintenanceMessages::forOutcome(name, outcome));
    });
}

void MainWindow::onBackupGuideTriggered()
{
    maintenance::BackupGuideDialog window(*m_dialogs, m_programFolder, this);
    window.exec();
}

void MainWindow::onAboutTriggered()
{
    maintenance::AboutDialog window(*m_dialogs, m_programFolder, this);
    window.exec();
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
