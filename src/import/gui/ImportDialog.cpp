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
#include "platform/gui/NamedWidget.h"
#include "platform/gui/VersionFileDialog.h"
#include "platform/gui/WindowSettings.h"
#include "versiondb/Names.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
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
#include <exception>
#include <utility>

namespace importer {

namespace {

const QString kTwoLineBreaks = QStringLiteral("\r\n\r\n");

// The folder of the text files last added.
const QString kImportFolderKey = QStringLiteral("import");

// The most characters of a line shown from the findings.
constexpr qsizetype kLongestLineShown = 2000;
// Where a finding keeps its file's path and its line number.
constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

using platform::named;

QLabel* label(QWidget* parent, const char* name, const QString& text, bool wrap = false)
{
    auto* created = named<QLabel>(parent, name, text);
    created->setTextFormat(Qt::PlainText);
    created->setWordWrap(wrap);
    return created;
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
    const QString caption = QStringLiteral("개인보유 역본 추가");
    setWindowTitle(caption);
    // A command of the window: disabled during a run, its click handled by the slot or function given.
    const auto command = [this](QWidget* page, const char* name, const QString& text, auto slot,
                                const QString& tip = QString()) {
        auto* created = named<QPushButton>(page, name, text, tip);
        // Enter in the name box must not press a button by surprise.
        created->setAutoDefault(false);
        connect(created, &QPushButton::clicked, this, slot);
        m_commands << created;
        return created;
    };

    auto* stepTabs = named<QTabWidget>(this, "stepTabs");
    stepTabs->setAccessibleName(caption);

    // Step 1: the text files, dropped on the list or added with its buttons.
    auto* filesPage = named<QWidget>(this, "filesPage");
    const QString filesStep = QStringLiteral("1.텍스트 파일 선택");
    const QString dropInstruction =
        QStringLiteral("성경원문이 담겨 있는 텍스트 파일을 아래의 목록상자에 마우스로 끌어다 놓으십시오. "
                       "파일수는 관계 없지만 반드시 동일한 역본파일로만 구성하여 주십시오.");
    auto* instructions = new QGridLayout;
    instructions->addWidget(label(filesPage, "dropMarkLabel", QStringLiteral("※")), 0, 0, Qt::AlignTop);
    instructions->addWidget(label(filesPage, "dropInstructionLabel", dropInstruction, true), 0, 1);
    instructions->addWidget(
        label(filesPage, "addHintLabel", QStringLiteral("(아래 쪽의 '파일추가' 단추를 이용하셔도 됩니다)"), true), 1,
        1);
    instructions->setColumnStretch(1, 1);
    // The format help button stands between the two parts of its sentence.
    auto* format = new QHBoxLayout;
    format->addWidget(label(filesPage, "formatLeadLabel", QStringLiteral("※ 파일 형식은")));
    format->addWidget(
        command(filesPage, "formatHelpButton", QStringLiteral("다음"), [this] { FormatHelpDialog(this).exec(); }));
    format->addWidget(label(filesPage, "formatTailLabel", QStringLiteral("과 같이 만들어 주십시오.")));
    format->addStretch(1);
    m_fileList = named<QListWidget>(filesPage, "fileList");
    m_fileList->setAccessibleName(filesStep);
    m_fileList->setAccessibleDescription(dropInstruction);
    m_fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_fileList->setDragEnabled(false);
    m_fileList->setAcceptDrops(true);
    m_fileList->viewport()->setAcceptDrops(true);
    m_fileList->viewport()->installEventFilter(this);
    m_commands << m_fileList;
    m_fileCommands = {
        m_fileList,
        command(filesPage, "addFilesButton", QStringLiteral("파일추가"), &ImportDialog::onAddFilesClicked),
        command(filesPage, "editFileButton", QStringLiteral("파일편집"), &ImportDialog::onEditFileClicked,
                QStringLiteral("선택된 파일을 텍스트 편집기로 열어 편집합니다.")),
        command(filesPage, "removeButton", QStringLiteral("삭제"), &ImportDialog::onRemoveClicked,
                QStringLiteral("선택된 파일을 목록에서 삭제합니다. ")),
        command(
            filesPage, "removeAllButton", QStringLiteral("모두삭제"), [this] { m_fileList->clear(); },
            QStringLiteral("목록에 추가된 모든  파일을 삭제합니다.")),
    };
    auto* listButtons = new QHBoxLayout;
    for (QWidget* button : m_fileCommands.sliced(1)) {
        listButtons->addWidget(button);
    }
    listButtons->addStretch(1);
    listButtons->addWidget(
        command(filesPage, "checkButton", QStringLiteral("※편집오류 잡아내기※"), &ImportDialog::onCheckClicked));
    // Or, in the place of the files, a Bible module that SWORD's library finds on this machine.
    const QString module = QStringLiteral("SWORD 모듈:");
    auto* moduleLabel = label(filesPage, "swordModuleLabel", module);
    m_swordModuleBox = named<QComboBox>(filesPage, "swordModuleBox");
    m_swordModuleBox->setAccessibleName(module);
    m_swordModuleBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    moduleLabel->setBuddy(m_swordModuleBox);
    const QList<SwordModule> bibles = installedSwordBibles();
    if (const auto missing = swordModuleRefusal(QString(), bibles)) {
        m_swordModuleBox->addItem(*missing);
        m_swordModuleBox->setToolTip(*missing);
        m_swordModuleBox->setEnabled(false);
    } else {
        m_swordModuleBox->addItem(QStringLiteral("쓰지 않음 (목록의 파일을 읽습니다)"));
        for (const SwordModule& bible : bibles) {
            m_swordModuleBox->addItem(bible.name + QStringLiteral(" - ") + bible.description, bible.name);
        }
        m_swordModuleBox->setToolTip(
            QStringLiteral("고른 모듈의 본문을 목록의 파일 대신 읽어 검사하거나 역본을 만듭니다."));
        connect(m_swordModuleBox, &QComboBox::currentIndexChanged, this, &ImportDialog::onSwordModuleChanged);
        m_commands << m_swordModuleBox;
    }
    auto* moduleRow = new QHBoxLayout;
    moduleRow->addWidget(moduleLabel);
    moduleRow->addWidget(m_swordModuleBox, 1);
    auto* files = new QVBoxLayout(filesPage);
    files->addLayout(instructions);
    files->addLayout(format);
    files->addWidget(m_fileList, 1);
    files->addLayout(listButtons);
    files->addLayout(moduleRow);
    stepTabs->addTab(filesPage, filesStep);

    // Step 2: the version name, typed or taken from an existing version file.
    auto* namePage = named<QWidget>(this, "namePage");
    const QString name = QStringLiteral("역본명:");
    auto* nameQuestion = label(namePage, "nameQuestionLabel",
                               QStringLiteral("※ 1번[탭]의 목록에 추가된 텍스트 파일들은 어떤 역본입니까? "), true);
    auto* nameLabel = label(namePage, "nameLabel", name);
    m_nameBox = named<QComboBox>(namePage, "nameBox");
    m_nameBox->setEditable(true);
    // Its list part stays empty: Enter must not add the typed name to it.
    m_nameBox->setInsertPolicy(QComboBox::NoInsert);
    m_nameBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_nameBox->setAccessibleName(name);
    m_nameBox->lineEdit()->setAccessibleName(name);
    nameLabel->setBuddy(m_nameBox);
    m_commands << m_nameBox;
    const QString open = QStringLiteral("열기");
    auto* openVersion = command(namePage, "openVersionButton", QString(), &ImportDialog::onOpenVersionClicked, open);
    openVersion->setAccessibleName(open);
    openVersion->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_nameBox, 1);
    nameRow->addWidget(openVersion);
    auto* nameForm = new QFormLayout;
    nameForm->addRow(nameLabel, nameRow);
    auto* shippedWarning =
        label(namePage, "shippedWarningLabel",
              QStringLiteral("주의하실 것은 기본적으로 제공된 역본(개역.dat, kjv.dat)은 선택하지 마십시오."), true);
    shippedWarning->setStyleSheet(QStringLiteral("color: #A01C1C;"));
    auto* names = new QVBoxLayout(namePage);
    names->addWidget(nameQuestion);
    names->addLayout(nameForm);
    names->addSpacing(m_nameBox->sizeHint().height() / 2);
    names->addWidget(label(
        namePage, "overwriteNoteLabel",
        QStringLiteral("이미 만들어진 역본파일을 선택하셨을 경우 똑같은 절이 나오면 자동 업데이트(덮어쓰게) 됩니다. "),
        true));
    names->addWidget(shippedWarning);
    names->addStretch(1);
    stepTabs->addTab(namePage, QStringLiteral("2.역본명 설정"));

    // Step 3: the start of a build.
    auto* buildPage = named<QWidget>(this, "buildPage");
    auto* build = new QVBoxLayout(buildPage);
    build->addWidget(
        label(buildPage, "startHintLabel", QStringLiteral("※ '만들기 시작' 단추를 누르면 작업이 시작됩니다."), true));
    build->addWidget(
        label(buildPage, "durationNoteLabel", QStringLiteral("완료시간은 시스템 사양에 따라 가변적입니다."), true));
    build->addWidget(label(
        buildPage, "recommendationLabel",
        QStringLiteral("작업추천: 1번[탭]에서 지원하는 '편집오류 잡아내기'를 실행하고 만들기를 시작하십시오."), true));
    auto* buildButton =
        command(buildPage, "buildButton", QStringLiteral("※만들기 시작※"), &ImportDialog::onBuildClicked);
    QFont strong = buildButton->font();
    strong.setBold(true);
    buildButton->setFont(strong);
    build->addSpacing(buildButton->sizeHint().height() / 2);
    build->addWidget(buildButton, 0, Qt::AlignHCenter);
    build->addStretch(1);
    stepTabs->addTab(buildPage, QStringLiteral("3.만들기 시작"));

    // Below the steps: a run's status, progress and cancel button, and the findings of the last run.
    m_statusLabel = label(this, "statusLabel", RunMessages::stageStatus(1));
    m_progressBar = named<QProgressBar>(this, "progressBar");
    m_progressBar->setAccessibleName(QStringLiteral("진행 상황"));
    m_cancelButton = named<QPushButton>(this, "cancelButton", QStringLiteral("취소"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_control != nullptr) {
            m_control->cancel();
            m_cancelButton->setEnabled(false);
        }
    });
    showWorkControls(false);
    m_findingList = named<QTreeWidget>(this, "findingList");
    m_findingList->setAccessibleName(QStringLiteral("오류 목록"));
    m_findingList->setHeaderLabels({QStringLiteral("파일"), QStringLiteral("줄"), QStringLiteral("오류 내용")});
    m_findingList->setRootIsDecorated(false);
    m_findingList->setUniformRowHeights(true);
    m_findingList->setAlternatingRowColors(true);
    m_findingList->setVisible(false);
    connect(m_findingList, &QTreeWidget::itemDoubleClicked, this, &ImportDialog::onFindingDoubleClicked);
    m_commands << m_findingList;

    auto* buttonBox = named<QDialogButtonBox>(this, "buttonBox");
    auto* closeButton = buttonBox->addButton(QStringLiteral("닫기"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAutoDefault(false);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &ImportDialog::reject);
    m_commands << closeButton;

    auto* work = new QHBoxLayout;
    work->addWidget(m_statusLabel);
    work->addWidget(m_progressBar, 1);
    work->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stepTabs, 1);
    layout->addLayout(work);
    layout->addWidget(m_findingList, 1);
    layout->addWidget(buttonBox);
    platform::rememberGeometry(this);
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

RunInput ImportDialog::runInput() const
{
    const QString module = m_swordModuleBox->currentData().toString();
    return module.isEmpty() ? RunInput(fileList()) : RunInput::swordBible(module);
}

void ImportDialog::onSwordModuleChanged()
{
    const bool files = m_swordModuleBox->currentData().toString().isEmpty();
    for (QWidget* command : std::as_const(m_fileCommands)) {
        command->setEnabled(files && !m_running);
    }
}

void ImportDialog::addFiles(const QStringList& paths)
{
    if (m_running) {
        return;
    }
    // Files added are what the user means to read.
    m_swordModuleBox->setCurrentIndex(0);
    for (const QString& path : paths) {
        if (!path.isEmpty()) {
            m_fileList->addItem(QDir::toNativeSeparators(path));
        }
    }
}

void ImportDialog::onAddFilesClicked()
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("텍스트 파일 추가");
    request.folder = platform::lastFolder(kImportFolderKey, platform::installFolder(m_programFolder));
    // Text files first; SWORD's IMP files (mod2imp) and USFM files are read as well.
    request.filter = QStringLiteral(
        "텍스트 파일 (*.txt);;IMP 파일 (*.imp);;USFM 파일 (*.usfm *.sfm);;OSIS·Zefania XML 파일 (*.xml);;"
        "VPL 파일 (*.vpl)");
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
    const QEvent::Type type = event->type();
    if (watched == m_fileList->viewport() &&
        (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
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
        if (type == QEvent::Drop) {
            addFiles(paths);
        }
        return true;
    }
    // A double click anywhere on the list edits its current entry; the
    // click before it has made the entry under the pointer current.
    if (watched == m_fileList->viewport() && type == QEvent::MouseButtonDblClick) {
        onEditFileClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ImportDialog::onRemoveClicked()
{
    if (m_fileList->count() == 0) {
        return;
    }
    if (m_fileList->currentItem() == nullptr) {
        m_dialogs.warn(this, QStringLiteral("지울 파일을 목록에서 선택해야 합니다 !"));
        return;
    }
    qDeleteAll(m_fileList->selectedItems());
}

void ImportDialog::onEditFileClicked()
{
    // A double click reaches the list's viewport even while a run has disabled the list.
    if (m_running || m_fileList->count() == 0) {
        return;
    }
    const QListWidgetItem* current = m_fileList->currentItem();
    if (current == nullptr) {
        m_dialogs.warn(this, QStringLiteral("편집할 파일을 목록에서 선택해야 합니다 !"));
        return;
    }
    platform::openForUser(m_dialogs, this, m_shellOpen, current->text());
}

void ImportDialog::onOpenVersionClicked()
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("역본파일 선택");
    request.filter = QStringLiteral("역본파일 (*.dat)");
    const QString chosen = platform::chooseVersionFile(m_dialogs, this, m_programFolder, request);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = QDir::toNativeSeparators(chosen);
    const QString name = platform::getFileName(path);
    if (name.isEmpty()) {
        return;
    }
    if (versiondb::isShippedName(path)) {
        m_dialogs.warn(this,
                       name + kTwoLineBreaks + QStringLiteral("선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !"));
        return;
    }
    // Only the name counts: the build works on the file of that name in the install folder.
    m_nameBox->setEditText(name);
}

void ImportDialog::onCheckClicked()
{
    if (const auto refusal = checkRunRefusal(runInput())) {
        m_dialogs.warn(this, *refusal);
        return;
    }
    if (!m_dialogs.confirm(this, checkRunQuestion())) {
        return;
    }
    run(std::nullopt);
}

void ImportDialog::onBuildClicked()
{
    const RunInput input = runInput();
    QString name = m_nameBox->currentText();
    const auto refusal = buildRunRefusal(input, name);
    // The name is trimmed back into the box once the list (or the module) has passed.
    if (!input.files.isEmpty() || !input.swordModule.isEmpty()) {
        m_nameBox->setEditText(name);
    }
    if (refusal) {
        m_dialogs.warn(this, *refusal);
        return;
    }
    // A name that cannot be a file in the install folder is refused before the question.
    if (const auto problem = versionNameProblem(name)) {
        m_dialogs.warn(this, *problem);
        return;
    }
    if (!m_dialogs.confirm(this, buildRunQuestion())) {
        return;
    }
    run(name);
}

void ImportDialog::run(std::optional<QString> versionName)
{
    const RunInput input = runInput();
    platform::RunControl control;
    m_control = &control;
    m_running = true;
    for (QWidget* command : std::as_const(m_commands)) {
        command->setEnabled(false);
    }
    showWorkControls(true, versionName.has_value());
    // A build says which of its two phases goes on.
    QTimer status;
    if (versionName) {
        connect(&status, &QTimer::timeout, this,
                [this, &control] { m_statusLabel->setText(RunMessages::stageStatus(control.stage())); });
        status.start(platform::kProgressIntervalMs);
    }
    std::optional<RunOutcome> outcome;
    std::optional<QString> failure;
    try {
        outcome = platform::runInBackground(
            control, m_progressBar, [folder = m_programFolder, &input, &versionName, &control] {
                BuildPipeline pipeline(folder, control);
                return versionName ? pipeline.runBuild(*versionName, input) : pipeline.runCheck(input);
            });
    } catch (const std::exception& error) {
        // The pipeline reports its own failures; anything else still ends the run through the same failure message.
        failure = RunMessages::phase2Failure(QString::fromLocal8Bit(error.what()), versionName.has_value());
    }
    status.stop();
    m_control = nullptr;
    showWorkControls(false);
    // The failure is told with the work controls put away and the commands still disabled.
    if (failure) {
        m_dialogs.warn(this, *failure);
    }
    m_running = false;
    for (QWidget* command : std::as_const(m_commands)) {
        command->setEnabled(true);
    }
    onSwordModuleChanged();
    if (!outcome) {
        return;
    }
    if (versionName && !outcome->versionName.isEmpty()) {
        m_nameBox->setEditText(outcome->versionName);
    }
    if (outcome->result != RunResult::Cancelled && outcome->result != RunResult::Refused) {
        showFindings(*outcome);
    }
    for (const Message& message : outcome->messages) {
        m_dialogs.inform(this, message.icon, message.text);
    }
    if (!outcome->errorLogPath.isEmpty()) {
        platform::openForUser(m_dialogs, this, m_shellOpen, outcome->errorLogPath);
    }
}

void ImportDialog::showWorkControls(bool shown, bool building)
{
    m_statusLabel->setVisible(shown && building);
    // Moving to and fro until the run has counted what it reads.
    m_progressBar->setRange(0, 0);
    m_progressBar->setValue(0);
    m_progressBar->setVisible(shown);
    m_cancelButton->setVisible(shown);
    if (shown) {
        m_statusLabel->setText(RunMessages::stageStatus(1));
        m_cancelButton->setEnabled(true);
        m_cancelButton->setFocus();
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
            line += QStringLiteral(" (%1칸)").arg(finding.column);
        }
        // A file is listed by its full path; a module by its name, with no lines of a file to show.
        const bool inFile = QFileInfo(finding.file).isAbsolute();
        auto* item =
            new QTreeWidgetItem({inFile ? platform::getFileName(finding.file) : finding.file, line, finding.reason});
        item->setToolTip(0, finding.file);
        item->setToolTip(2, finding.reason);
        item->setData(0, kPathRole, finding.file);
        item->setData(0, kLineRole, inFile ? finding.line : 0);
        items << item;
    }
    if (outcome.findingsLeftOut > 0) {
        items << new QTreeWidgetItem(
            {QString(), QString(),
             QStringLiteral("... 나머지 %1개는 오류목록파일('err.txt')에 있습니다.").arg(outcome.findingsLeftOut)});
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
                     path + kTwoLineBreaks + QString::number(line) + QStringLiteral("줄:\r\n") +
                         text.value_or(QStringLiteral("이 줄을 읽을 수 없습니다. 파일이 바뀌었거나 없어졌습니다.")));
}

void ImportDialog::reject()
{
    // The close box comes here too, through QDialog's closeEvent. Never during a run; with files listed only when
    // the user says so.
    if (m_running) {
        m_dialogs.warn(this,
                       QStringLiteral("작업 중에는 창을 닫을 수 없습니다.\r\n먼저 '취소' 단추로 작업을 취소하십시오."));
    } else if (m_fileList->count() == 0 ||
               m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                                 QStringLiteral("목록에 텍스트 파일이 있습니다. 창을 닫을까요?")) ==
                   platform::MessageAnswer::Yes) {
        QDialog::reject();
    }
}

} // namespace importer
