#include "import/gui/ImportDialog.h"

#include "import/BuildPipeline.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/TextFileReader.h"
#include "import/VersionName.h"
#include "import/gui/FormatHelpDialog.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/RunControl.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ShellOpen.h"
#include "platform/gui/VersionFileDialog.h"
#include "platform/gui/WindowSettings.h"
#include "versiondb/Names.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

namespace importer {

namespace {

const QString kCaption = QStringLiteral("개인보유 역본 추가");
const QString kTabCaptions = QStringLiteral("1.텍스트 파일 선택|2.역본명 설정|3.만들기 시작");

const QString kDropMark = QStringLiteral("※");
const QString kDropInstruction =
    QStringLiteral("성경원문이 담겨 있는 텍스트 파일을 아래의 목록상자에 마우스로 끌어다 놓으십시오. "
                   "파일수는 관계 없지만 반드시 동일한 역본파일로만 구성하여 주십시오.");
const QString kAddHint = QStringLiteral("(아래 쪽의 '파일추가' 단추를 이용하셔도 됩니다)");
// The format help button stands between the two parts of this sentence.
const QString kFormatLead = QStringLiteral("※ 파일 형식은");
const QString kFormatHelp = QStringLiteral("다음");
const QString kFormatTail = QStringLiteral("과 같이 만들어 주십시오.");
const QString kAddFiles = QStringLiteral("파일추가");
const QString kEditFile = QStringLiteral("파일편집");
const QString kEditFileTip = QStringLiteral("선택된 파일을 텍스트 편집기로 열어 편집합니다.");
const QString kRemove = QStringLiteral("삭제");
const QString kRemoveTip = QStringLiteral("선택된 파일을 목록에서 삭제합니다. ");
const QString kRemoveAll = QStringLiteral("모두삭제");
const QString kRemoveAllTip = QStringLiteral("목록에 추가된 모든  파일을 삭제합니다.");
const QString kCheck = QStringLiteral("※편집오류 잡아내기※");

const QString kNameQuestion = QStringLiteral("※ 1번[탭]의 목록에 추가된 텍스트 파일들은 어떤 역본입니까? ");
const QString kName = QStringLiteral("역본명:");
const QString kOpenVersionTip = QStringLiteral("열기");
const QString kOverwriteNote =
    QStringLiteral("이미 만들어진 역본파일을 선택하셨을 경우 똑같은 절이 나오면 자동 업데이트(덮어쓰게) 됩니다. ");
const QString kShippedWarning =
    QStringLiteral("주의하실 것은 기본적으로 제공된 역본(개역.dat, kjv.dat)은 선택하지 마십시오.");

const QString kStartHint = QStringLiteral("※ '만들기 시작' 단추를 누르면 작업이 시작됩니다.");
const QString kDurationNote = QStringLiteral("완료시간은 시스템 사양에 따라 가변적입니다.");
const QString kRecommendation =
    QStringLiteral("작업추천: 1번[탭]에서 지원하는 '편집오류 잡아내기'를 실행하고 만들기를 시작하십시오.");
const QString kBuild = QStringLiteral("※만들기 시작※");
const QString kStatus = QStringLiteral("1/2 작업중...");
const QString kCancel = QStringLiteral("취소");
const QString kProgress = QStringLiteral("진행 상황");

const QString kFindings = QStringLiteral("오류 목록");
const QString kFindingHeaders = QStringLiteral("파일|줄|오류 내용");
const QString kFindingsLeftOut = QStringLiteral("... 나머지 %1개는 오류목록파일('err.txt')에 있습니다.");
const QString kColumnAfterLine = QStringLiteral(" (%1칸)");
const QString kLineHead = QStringLiteral("줄:");
const QString kLineUnread = QStringLiteral("이 줄을 읽을 수 없습니다. 파일이 바뀌었거나 없어졌습니다.");

const QString kClose = QStringLiteral("닫기");
const QString kCloseWhileRunning =
    QStringLiteral("작업 중에는 창을 닫을 수 없습니다.\r\n먼저 '취소' 단추로 작업을 취소하십시오.");
const QString kCloseWithFiles = QStringLiteral("목록에 텍스트 파일이 있습니다. 창을 닫을까요?");

const QString kSelectToRemove = QStringLiteral("지울 파일을 목록에서 선택해야 합니다 !");
const QString kSelectToEdit = QStringLiteral("편집할 파일을 목록에서 선택해야 합니다 !");
const QString kShippedChosen = QStringLiteral("선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !");
const QString kTwoLineBreaks = QStringLiteral("\r\n\r\n");

const QString kAddTitle = QStringLiteral("텍스트 파일 추가");
// Text files first; SWORD's IMP files (mod2imp) and USFM files are read as well.
const QString kAddFilter =
    QStringLiteral("텍스트 파일 (*.txt);;IMP 파일 (*.imp);;USFM 파일 (*.usfm *.sfm);;OSIS·Zefania XML 파일 (*.xml)");
const QString kOpenTitle = QStringLiteral("역본파일 선택");
const QString kOpenFilter = QStringLiteral("역본파일 (*.dat)");

// The folder of the text files last added.
const QString kImportFolderKey = QStringLiteral("import");

// The most characters of a line shown from the findings.
constexpr qsizetype kLongestLineShown = 2000;
// Where a finding keeps its file's path and its line number.
constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

QLabel* label(const char* name, bool wrap = false)
{
    auto* created = new QLabel;
    created->setObjectName(QString::fromLatin1(name));
    created->setTextFormat(Qt::PlainText);
    created->setWordWrap(wrap);
    return created;
}

QPushButton* button(const char* name)
{
    auto* created = new QPushButton;
    created->setObjectName(QString::fromLatin1(name));
    // Enter in the name box must not press a button by surprise.
    created->setAutoDefault(false);
    return created;
}

bool isDragEvent(const QEvent* event)
{
    return event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop;
}

// The local files and folders of dropped data, in order; anything else is passed over.
QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile() && !url.toLocalFile().isEmpty()) {
                paths << url.toLocalFile();
            }
        }
    }
    return paths;
}

} // namespace

ImportDialog::ImportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)),
      m_shellOpen(platform::openWithShell)
{
    setObjectName(QStringLiteral("ImportDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::createWidgets()
{
    m_stepTabs = new QTabWidget;
    m_stepTabs->setObjectName(QStringLiteral("stepTabs"));

    // Tab 1: the file list.
    m_dropMarkLabel = label("dropMarkLabel");
    m_dropInstructionLabel = label("dropInstructionLabel", true);
    m_addHintLabel = label("addHintLabel", true);
    m_formatLeadLabel = label("formatLeadLabel");
    m_formatHelpButton = button("formatHelpButton");
    m_formatTailLabel = label("formatTailLabel");
    m_fileList = new QListWidget;
    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_fileList->setDragEnabled(false);
    m_fileList->setAcceptDrops(true);
    m_fileList->viewport()->setAcceptDrops(true);
    m_fileList->viewport()->installEventFilter(this);
    m_addFilesButton = button("addFilesButton");
    m_editFileButton = button("editFileButton");
    m_removeButton = button("removeButton");
    m_removeAllButton = button("removeAllButton");
    m_checkButton = button("checkButton");

    // Tab 2: the version name.
    m_nameQuestionLabel = label("nameQuestionLabel", true);
    m_nameLabel = label("nameLabel");
    m_nameBox = new QComboBox;
    m_nameBox->setObjectName(QStringLiteral("nameBox"));
    m_nameBox->setEditable(true);
    // Its list part stays empty: Enter must not add the typed name to it.
    m_nameBox->setInsertPolicy(QComboBox::NoInsert);
    m_nameBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_nameLabel->setBuddy(m_nameBox);
    m_openVersionButton = button("openVersionButton");
    m_openVersionButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_overwriteNoteLabel = label("overwriteNoteLabel", true);
    m_shippedWarningLabel = label("shippedWarningLabel", true);
    m_shippedWarningLabel->setStyleSheet(QStringLiteral("color: #A01C1C;"));

    // Tab 3: the start of a build.
    m_startHintLabel = label("startHintLabel", true);
    m_durationNoteLabel = label("durationNoteLabel", true);
    m_recommendationLabel = label("recommendationLabel", true);
    m_buildButton = button("buildButton");
    QFont strong = m_buildButton->font();
    strong.setBold(true);
    m_buildButton->setFont(strong);
    m_statusLabel = label("statusLabel");
    m_statusLabel->setVisible(false);
    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 0);
    m_progressBar->setValue(0);
    m_progressBar->setVisible(false);
    m_cancelButton = button("cancelButton");
    m_cancelButton->setVisible(false);
    m_findingList = new QTreeWidget;
    m_findingList->setObjectName(QStringLiteral("findingList"));
    m_findingList->setRootIsDecorated(false);
    m_findingList->setUniformRowHeights(true);
    m_findingList->setAlternatingRowColors(true);
    m_findingList->setVisible(false);

    m_buttonBox = new QDialogButtonBox;
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_closeButton = m_buttonBox->addButton(QString(), QDialogButtonBox::RejectRole);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);

    connect(m_addFilesButton, &QPushButton::clicked, this, &ImportDialog::onAddFilesClicked);
    connect(m_removeButton, &QPushButton::clicked, this, &ImportDialog::onRemoveClicked);
    connect(m_removeAllButton, &QPushButton::clicked, this, &ImportDialog::onRemoveAllClicked);
    connect(m_editFileButton, &QPushButton::clicked, this, &ImportDialog::onEditFileClicked);
    connect(m_openVersionButton, &QPushButton::clicked, this, &ImportDialog::onOpenVersionClicked);
    connect(m_checkButton, &QPushButton::clicked, this, &ImportDialog::onCheckClicked);
    connect(m_buildButton, &QPushButton::clicked, this, &ImportDialog::onBuildClicked);
    connect(m_formatHelpButton, &QPushButton::clicked, this, &ImportDialog::onFormatHelpClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &ImportDialog::onCancelClicked);
    connect(m_findingList, &QTreeWidget::itemDoubleClicked, this, &ImportDialog::onFindingDoubleClicked);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &ImportDialog::reject);
}

void ImportDialog::createLayout()
{
    auto* filesPage = new QWidget;
    filesPage->setObjectName(QStringLiteral("filesPage"));
    auto* instructions = new QGridLayout;
    instructions->addWidget(m_dropMarkLabel, 0, 0, Qt::AlignTop);
    instructions->addWidget(m_dropInstructionLabel, 0, 1);
    instructions->addWidget(m_addHintLabel, 1, 1);
    instructions->setColumnStretch(1, 1);
    auto* format = new QHBoxLayout;
    format->addWidget(m_formatLeadLabel);
    format->addWidget(m_formatHelpButton);
    format->addWidget(m_formatTailLabel);
    format->addStretch(1);
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* command : {m_addFilesButton, m_editFileButton, m_removeButton, m_removeAllButton}) {
        listButtons->addWidget(command);
    }
    listButtons->addStretch(1);
    listButtons->addWidget(m_checkButton);
    auto* files = new QVBoxLayout(filesPage);
    files->addLayout(instructions);
    files->addLayout(format);
    files->addWidget(m_fileList, 1);
    files->addLayout(listButtons);

    auto* namePage = new QWidget;
    namePage->setObjectName(QStringLiteral("namePage"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_nameBox, 1);
    nameRow->addWidget(m_openVersionButton);
    auto* nameForm = new QFormLayout;
    nameForm->addRow(m_nameLabel, nameRow);
    auto* name = new QVBoxLayout(namePage);
    name->addWidget(m_nameQuestionLabel);
    name->addLayout(nameForm);
    name->addSpacing(m_nameBox->sizeHint().height() / 2);
    name->addWidget(m_overwriteNoteLabel);
    name->addWidget(m_shippedWarningLabel);
    name->addStretch(1);

    auto* buildPage = new QWidget;
    buildPage->setObjectName(QStringLiteral("buildPage"));
    auto* build = new QVBoxLayout(buildPage);
    build->addWidget(m_startHintLabel);
    build->addWidget(m_durationNoteLabel);
    build->addWidget(m_recommendationLabel);
    build->addSpacing(m_buildButton->sizeHint().height() / 2);
    build->addWidget(m_buildButton, 0, Qt::AlignHCenter);
    build->addStretch(1);

    for (QWidget* page : {filesPage, namePage, buildPage}) {
        m_stepTabs->addTab(page, QString());
    }
    // Each opening starts on the first step; the user moves between steps.
    m_stepTabs->setCurrentIndex(0);

    auto* work = new QHBoxLayout;
    work->addWidget(m_statusLabel);
    work->addWidget(m_progressBar, 1);
    work->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_stepTabs, 1);
    layout->addLayout(work);
    layout->addWidget(m_findingList, 1);
    layout->addWidget(m_buttonBox);
}

void ImportDialog::applyTexts()
{
    setWindowTitle(kCaption);
    m_stepTabs->setAccessibleName(kCaption);
    const QStringList tabs = kTabCaptions.split(QLatin1Char('|'));
    for (int i = 0; i < m_stepTabs->count() && i < tabs.size(); ++i) {
        m_stepTabs->setTabText(i, tabs.at(i));
    }
    m_dropMarkLabel->setText(kDropMark);
    m_dropInstructionLabel->setText(kDropInstruction);
    m_addHintLabel->setText(kAddHint);
    m_formatLeadLabel->setText(kFormatLead);
    m_formatHelpButton->setText(kFormatHelp);
    m_formatTailLabel->setText(kFormatTail);
    m_fileList->setAccessibleName(tabs.value(0));
    m_fileList->setAccessibleDescription(kDropInstruction);
    m_addFilesButton->setText(kAddFiles);
    m_editFileButton->setText(kEditFile);
    m_editFileButton->setToolTip(kEditFileTip);
    m_removeButton->setText(kRemove);
    m_removeButton->setToolTip(kRemoveTip);
    m_removeAllButton->setText(kRemoveAll);
    m_removeAllButton->setToolTip(kRemoveAllTip);
    m_checkButton->setText(kCheck);

    m_nameQuestionLabel->setText(kNameQuestion);
    m_nameLabel->setText(kName);
    m_nameBox->setAccessibleName(kName);
    m_nameBox->lineEdit()->setAccessibleName(kName);
    m_openVersionButton->setToolTip(kOpenVersionTip);
    m_openVersionButton->setAccessibleName(kOpenVersionTip);
    m_overwriteNoteLabel->setText(kOverwriteNote);
    m_shippedWarningLabel->setText(kShippedWarning);

    m_startHintLabel->setText(kStartHint);
    m_durationNoteLabel->setText(kDurationNote);
    m_recommendationLabel->setText(kRecommendation);
    m_buildButton->setText(kBuild);
    m_statusLabel->setText(kStatus);
    m_progressBar->setAccessibleName(kProgress);
    m_cancelButton->setText(kCancel);
    m_findingList->setHeaderLabels(kFindingHeaders.split(QLatin1Char('|')));
    m_findingList->setAccessibleName(kFindings);

    m_closeButton->setText(kClose);
}

QStringList ImportDialog::fileList() const
{
    QStringList files;
    files.reserve(m_fileList->count());
    for (int i = 0; i < m_fileList->count(); ++i) {
        files << m_fileList->item(i)->text();
    }
    return files;
}

void ImportDialog::addFiles(const QStringList& paths)
{
    if (m_running) {
        return;
    }
    for (const QString& path : paths) {
        if (!path.isEmpty()) {
            m_fileList->addItem(QDir::toNativeSeparators(path));
        }
    }
}

void ImportDialog::warn(const QString& text)
{
    m_dialogs.inform(this, platform::MessageIcon::Exclamation, text);
}

void ImportDialog::onAddFilesClicked()
{
    if (m_running) {
        return;
    }
    platform::FileDialogRequest request;
    request.title = kAddTitle;
    request.folder = platform::lastFolder(kImportFolderKey, platform::installFolder(m_programFolder));
    request.filter = kAddFilter;
    request.multiple = true;
    // Each chosen file as its full native path; a cancel adds nothing.
    const QStringList chosen = m_dialogs.chooseFiles(this, request);
    if (!chosen.isEmpty()) {
        platform::setLastFolder(kImportFolderKey, chosen.front());
    }
    addFiles(chosen);
}

bool ImportDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_fileList->viewport() && isDragEvent(event)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = droppedPaths(drop->mimeData());
        if (m_running || !m_fileList->isEnabled() || paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        // Always a copy: the file manager must never take a move as done and
        // remove the dropped files.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop) {
            addFiles(paths);
        }
        return true;
    }
    // A double click anywhere on the list edits its current entry; the
    // click before it has made the entry under the pointer current.
    if (watched == m_fileList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        onFileListDoubleClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ImportDialog::onRemoveClicked()
{
    if (m_running || m_fileList->count() == 0) {
        return;
    }
    if (m_fileList->currentItem() == nullptr) {
        warn(kSelectToRemove);
        return;
    }
    for (int i = m_fileList->count() - 1; i >= 0; --i) {
        if (m_fileList->item(i)->isSelected()) {
            delete m_fileList->takeItem(i);
        }
    }
}

void ImportDialog::onRemoveAllClicked()
{
    if (m_running) {
        return;
    }
    m_fileList->clear();
}

void ImportDialog::onEditFileClicked()
{
    if (m_running || m_fileList->count() == 0) {
        return;
    }
    const QListWidgetItem* current = m_fileList->currentItem();
    if (current == nullptr) {
        warn(kSelectToEdit);
        return;
    }
    platform::openForUser(m_dialogs, this, m_shellOpen, current->text());
}

void ImportDialog::onFileListDoubleClicked()
{
    onEditFileClicked();
}

void ImportDialog::onOpenVersionClicked()
{
    if (m_running) {
        return;
    }
    platform::FileDialogRequest request;
    request.title = kOpenTitle;
    request.filter = kOpenFilter;
    const QString chosen = platform::chooseVersionFile(m_dialogs, this, m_programFolder, request);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = QDir::toNativeSeparators(chosen);
    const QString name = platform::GetFileName(path);
    if (name.isEmpty()) {
        return;
    }
    if (versiondb::isShippedName(path)) {
        warn(name + kTwoLineBreaks + kShippedChosen);
        return;
    }
    // Only the name counts: the build works on the file of that name in the install folder.
    m_nameBox->setEditText(name);
}

void ImportDialog::onCheckClicked()
{
    if (m_running) {
        return;
    }
    if (const auto refusal = checkRunRefusal(fileList())) {
        warn(*refusal);
        return;
    }
    if (!m_dialogs.confirm(this, checkRunQuestion())) {
        return;
    }
    run(std::nullopt);
}

void ImportDialog::onBuildClicked()
{
    if (m_running) {
        return;
    }
    const QStringList files = fileList();
    QString name = m_nameBox->currentText();
    const auto refusal = buildRunRefusal(files, name);
    // The name is trimmed back into the box once the list has passed.
    if (!files.isEmpty()) {
        m_nameBox->setEditText(name);
    }
    if (refusal) {
        warn(*refusal);
        return;
    }
    // A name that cannot be a file in the install folder is refused before the question.
    if (const auto problem = versionNameProblem(name)) {
        warn(*problem);
        return;
    }
    if (!m_dialogs.confirm(this, buildRunQuestion())) {
        return;
    }
    run(name);
}

void ImportDialog::run(std::optional<QString> versionName)
{
    const QStringList files = fileList();
    platform::RunControl control;
    m_control = &control;
    m_running = true;
    setCommandsEnabled(false);
    showWorkControls(versionName.has_value());
    // A build says which of its two phases goes on.
    QTimer status;
    if (versionName) {
        connect(&status, &QTimer::timeout, this,
                [this, &control] { m_statusLabel->setText(RunMessages::stageStatus(control.stage())); });
        status.start(platform::kProgressIntervalMs);
    }
    std::optional<RunOutcome> outcome;
    try {
        outcome = platform::runInBackground(
            control, m_progressBar, [folder = m_programFolder, &files, &versionName, &control] {
                BuildPipeline pipeline(folder, control);
                return versionName ? pipeline.runBuild(*versionName, files) : pipeline.runCheck(files);
            });
    } catch (const std::exception& error) {
        // The pipeline reports its own failures; anything else still ends the run through the same failure
        // message, with the work controls put away first.
        resetWorkControls();
        m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                         RunMessages::phase2Failure(QString::fromLocal8Bit(error.what()), versionName.has_value()));
    }
    status.stop();
    m_control = nullptr;
    resetWorkControls();
    m_running = false;
    setCommandsEnabled(true);
    if (!outcome) {
        return;
    }
    if (versionName && !outcome->versionName.isEmpty()) {
        m_nameBox->setEditText(outcome->versionName);
    }
    if (outcome->result != RunResult::Cancelled && outcome->result != RunResult::Refused) {
        showFindings(*outcome);
    }
    for (const RunMessage& message : outcome->messages) {
        m_dialogs.inform(this, message.icon, message.text);
    }
    if (!outcome->errorLogPath.isEmpty()) {
        platform::openForUser(m_dialogs, this, m_shellOpen, outcome->errorLogPath);
    }
}

void ImportDialog::setCommandsEnabled(bool enabled)
{
    for (QWidget* command : std::initializer_list<QWidget*>{
             m_closeButton, m_removeButton, m_addFilesButton, m_editFileButton, m_formatHelpButton, m_removeAllButton,
             m_buildButton, m_openVersionButton, m_checkButton, m_fileList, m_nameBox, m_findingList}) {
        command->setEnabled(enabled);
    }
}

void ImportDialog::showWorkControls(bool building)
{
    m_statusLabel->setText(RunMessages::stageStatus(1));
    m_statusLabel->setVisible(building);
    // Moving to and fro until the run has counted what it reads.
    m_progressBar->setRange(0, 0);
    m_progressBar->setValue(0);
    m_progressBar->setVisible(true);
    m_cancelButton->setEnabled(true);
    m_cancelButton->setVisible(true);
    m_cancelButton->setFocus();
}

void ImportDialog::resetWorkControls()
{
    m_statusLabel->setVisible(false);
    m_progressBar->setVisible(false);
    m_progressBar->setRange(0, 0);
    m_progressBar->setValue(0);
    m_cancelButton->setVisible(false);
}

void ImportDialog::onCancelClicked()
{
    if (m_control != nullptr) {
        m_control->cancel();
        m_cancelButton->setEnabled(false);
    }
}

void ImportDialog::showFindings(const RunOutcome& outcome)
{
    m_findingList->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(outcome.findings.size() + 1);
    for (const Finding& finding : outcome.findings) {
        QString line = QString::number(finding.line);
        if (finding.column > 0) {
            line += kColumnAfterLine.arg(finding.column);
        }
        auto* item = new QTreeWidgetItem({platform::GetFileName(finding.file), line, finding.reason});
        item->setToolTip(0, finding.file);
        item->setToolTip(2, finding.reason);
        item->setData(0, kPathRole, finding.file);
        item->setData(0, kLineRole, finding.line);
        items << item;
    }
    if (outcome.findingsLeftOut > 0) {
        items << new QTreeWidgetItem({QString(), QString(), kFindingsLeftOut.arg(outcome.findingsLeftOut)});
    }
    m_findingList->addTopLevelItems(items);
    m_findingList->resizeColumnToContents(0);
    m_findingList->resizeColumnToContents(1);
    m_findingList->setVisible(!items.isEmpty());
}

void ImportDialog::onFindingDoubleClicked(QTreeWidgetItem* item)
{
    if (m_running || item == nullptr || item->data(0, kLineRole).toLongLong() <= 0) {
        return;
    }
    const QString path = item->data(0, kPathRole).toString();
    const qint64 line = item->data(0, kLineRole).toLongLong();
    const std::optional<QString> text = TextFileReader::lineAt(path, line, kLongestLineShown);
    m_dialogs.inform(this, text ? platform::MessageIcon::Information : platform::MessageIcon::Exclamation,
                     path + kTwoLineBreaks + QString::number(line) + kLineHead + QStringLiteral("\r\n") +
                         text.value_or(kLineUnread));
}

void ImportDialog::onFormatHelpClicked()
{
    if (m_running) {
        return;
    }
    FormatHelpDialog help(this);
    help.exec();
}

bool ImportDialog::mayClose()
{
    if (m_running) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, kCloseWhileRunning);
        return false;
    }
    return m_fileList->count() == 0 ||
           m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                             kCloseWithFiles) == platform::MessageAnswer::Yes;
}

void ImportDialog::reject()
{
    // The close box comes here too, through QDialog's closeEvent.
    if (mayClose()) {
        QDialog::reject();
    }
}

} // namespace importer
