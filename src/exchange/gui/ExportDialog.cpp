#include "exchange/gui/ExportDialog.h"

#include "exchange/ExportMessages.h"
#include "exchange/VersionExport.h"
#include "exchange/gui/VersionChooser.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/TextSize.h"
#include "platform/gui/WindowRun.h"
#include "platform/gui/WindowSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <tuple>
#include <utility>

namespace exchange {

namespace {

const QString kWindowTitle = QStringLiteral("역본파일 내보내기");
const QString kVersionLabel = QStringLiteral("내보낼 역본파일");
const QString kFormatLabel = QStringLiteral("형식");
const QString kTextFiles = QStringLiteral("텍스트 파일");
const QString kImp = QStringLiteral("IMP");
const QString kOsis = QStringLiteral("OSIS");
const QString kZefania = QStringLiteral("Zefania");
const QString kVpl = QStringLiteral("VPL");
const QString kEncodingLabel = QStringLiteral("인코딩");
const QString kCodePage949 = QStringLiteral("코드 페이지 949");
const QString kUtf8 = QStringLiteral("UTF-8");
const QString kFolderLabel = QStringLiteral("저장할 폴더");
const QString kBrowse = QStringLiteral("찾아보기...");
const QString kExport = QStringLiteral("내보내기");
const QString kCancel = QStringLiteral("취소");
const QString kClose = QStringLiteral("닫기");

const QString kVersionTitle = QStringLiteral("내보낼 역본파일 선택");
const QString kFolderTitle = QStringLiteral("내보낼 폴더 선택");
const QString kChoose = QStringLiteral("선택");
const QString kFolderKey = QStringLiteral("export");
// The file each format but the text files writes: the version's name and its extension.
const QString kImpExtension = QStringLiteral(".imp");
const QString kOsisExtension = QStringLiteral(".osis.xml");
const QString kZefaniaExtension = QStringLiteral(".xml");
const QString kVplExtension = QStringLiteral(".vpl");

const QString kNoVersion = QStringLiteral("내보낼 역본파일을 선택하여 주십시오 !");
const QString kNoFolder = QStringLiteral("내보낼 폴더를 선택하여 주십시오 !");
const QString kWritten = QStringLiteral("%1개 구절을 내보냈습니다.");
const QString kUseUtf8 = QStringLiteral("\r\n인코딩을 UTF-8로 바꾸어 내보내십시오.");
const QString kReplaceQuestion = QStringLiteral("\r\n바꾸어 쓰시겠습니까?");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kLineBreakOnce = QStringLiteral("\r\n");

// The width the window asks for at the first opening, in average characters of its font.
constexpr int kWidthInCharacters = 80;

using platform::named;

} // namespace

ExportDialog::ExportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("ExportDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

QSize ExportDialog::sizeHint() const
{
    // Room for a path of some length in the two fields.
    return platform::atLeastCharacters(QDialog::sizeHint(), *this, kWidthInCharacters);
}

void ExportDialog::createWidgets()
{
    m_versionLabel = named<QLabel>(this, "versionLabel");
    m_versionEdit = named<QLineEdit>(this, "versionEdit");
    m_versionBrowseButton = named<QPushButton>(this, "versionBrowseButton");
    m_formatLabel = named<QLabel>(this, "formatLabel");
    m_textFilesRadio = named<QRadioButton>(this, "textFilesRadio");
    m_impRadio = named<QRadioButton>(this, "impRadio");
    m_osisRadio = named<QRadioButton>(this, "osisRadio");
    m_zefaniaRadio = named<QRadioButton>(this, "zefaniaRadio");
    m_vplRadio = named<QRadioButton>(this, "vplRadio");
    m_textFilesRadio->setChecked(true);
    m_encodingLabel = named<QLabel>(this, "encodingLabel");
    m_encodingCombo = named<QComboBox>(this, "encodingCombo");
    m_encodingCombo->addItems({QString(), QString()});
    m_textEncoding = exchange::defaultTextEncoding() == TextEncoding::Cp949 ? 0 : 1;
    m_encodingCombo->setCurrentIndex(m_textEncoding);
    m_folderLabel = named<QLabel>(this, "folderLabel");
    m_folderEdit = named<QLineEdit>(this, "folderEdit");
    m_folderBrowseButton = named<QPushButton>(this, "folderBrowseButton");
    m_progressBar = named<QProgressBar>(this, "progressBar");
    m_cancelButton = named<QPushButton>(this, "cancelButton");
    platform::WindowRun::prepare(m_progressBar, m_cancelButton);
    m_buttons = named<QDialogButtonBox>(this, "buttons");
    m_exportButton = m_buttons->addButton(kExport, QDialogButtonBox::ActionRole);
    m_exportButton->setObjectName(QStringLiteral("exportButton"));
    m_exportButton->setDefault(true);
    m_closeButton = m_buttons->addButton(QDialogButtonBox::Close);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    m_versionLabel->setBuddy(m_versionEdit);
    m_formatLabel->setBuddy(m_textFilesRadio);
    m_encodingLabel->setBuddy(m_encodingCombo);
    m_folderLabel->setBuddy(m_folderEdit);

    connect(m_versionBrowseButton, &QPushButton::clicked, this, &ExportDialog::onVersionBrowseClicked);
    connect(m_folderBrowseButton, &QPushButton::clicked, this, &ExportDialog::onFolderBrowseClicked);
    connect(m_exportButton, &QPushButton::clicked, this, &ExportDialog::onExportClicked);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_textFilesRadio, &QRadioButton::toggled, this, &ExportDialog::onTextFilesToggled);
}

void ExportDialog::createLayout()
{
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(m_versionEdit, 1);
    versionRow->addWidget(m_versionBrowseButton);
    // The formats in two rows of three columns: the text files, IMP and OSIS, then Zefania and VPL.
    auto* formats = new QGridLayout;
    const QList<QRadioButton*> order = {m_textFilesRadio, m_impRadio, m_osisRadio, m_zefaniaRadio, m_vplRadio};
    for (int i = 0; i < order.size(); ++i) {
        formats->addWidget(order[i], i / 3, i % 3);
    }
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderEdit, 1);
    folderRow->addWidget(m_folderBrowseButton);

    auto* form = new QFormLayout;
    form->addRow(m_versionLabel, versionRow);
    form->addRow(m_formatLabel, formats);
    form->addRow(m_encodingLabel, m_encodingCombo);
    form->addRow(m_folderLabel, folderRow);

    auto* run = new QHBoxLayout;
    run->addWidget(m_progressBar, 1);
    run->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(run);
    layout->addWidget(m_buttons);
}

void ExportDialog::applyTexts()
{
    setWindowTitle(kWindowTitle);
    m_versionLabel->setText(kVersionLabel);
    m_versionBrowseButton->setText(kBrowse);
    m_formatLabel->setText(kFormatLabel);
    m_textFilesRadio->setText(kTextFiles);
    m_impRadio->setText(kImp);
    m_osisRadio->setText(kOsis);
    m_zefaniaRadio->setText(kZefania);
    m_vplRadio->setText(kVpl);
    m_encodingLabel->setText(kEncodingLabel);
    m_encodingCombo->setItemText(0, kCodePage949);
    m_encodingCombo->setItemText(1, kUtf8);
    // A combo box reads its current item; the screen reader names it after its label instead.
    m_encodingCombo->setAccessibleName(kEncodingLabel);
    m_folderLabel->setText(kFolderLabel);
    m_folderBrowseButton->setText(kBrowse);
    m_exportButton->setText(kExport);
    m_cancelButton->setText(kCancel);
    m_closeButton->setText(kClose);
}

void ExportDialog::setVersion(const QString& path)
{
    m_versionEdit->setText(path);
}

void ExportDialog::reject()
{
    if (!platform::WindowRun::running(this)) {
        QDialog::reject();
    }
}

void ExportDialog::onTextFilesToggled(bool textFiles)
{
    if (!textFiles) {
        m_textEncoding = m_encodingCombo->currentIndex();
        m_encodingCombo->setCurrentIndex(1);
    } else {
        m_encodingCombo->setCurrentIndex(m_textEncoding);
    }
    m_encodingCombo->setEnabled(textFiles);
}

void ExportDialog::onVersionBrowseClicked()
{
    chooseVersionInto(m_versionEdit, m_dialogs, m_programFolder, kVersionTitle);
}

void ExportDialog::onFolderBrowseClicked()
{
    platform::FileDialogRequest request;
    request.folder = m_folderEdit->text().isEmpty()
                         ? platform::lastFolder(kFolderKey, platform::installFolder(m_programFolder))
                         : m_folderEdit->text();
    request.title = kFolderTitle;
    request.acceptLabel = kChoose;
    const QString chosen = m_dialogs.chooseFolder(this, request);
    if (!chosen.isEmpty()) {
        m_folderEdit->setText(chosen);
        platform::setLastFolder(kFolderKey, chosen, true);
    }
}

void ExportDialog::onExportClicked()
{
    const QString version = m_versionEdit->text();
    const QString folder = m_folderEdit->text();
    if (version.isEmpty()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, kNoVersion);
        return;
    }
    if (folder.isEmpty()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, kNoFolder);
        return;
    }
    ExportRequest request;
    request.versionPath = version;
    request.destination = folder;
    request.encoding = m_encodingCombo->currentIndex() == 1 ? TextEncoding::Utf8 : TextEncoding::Cp949;
    const std::tuple<QRadioButton*, ExportFormat, const QString&> files[] = {
        {m_impRadio, ExportFormat::Imp, kImpExtension},
        {m_osisRadio, ExportFormat::Osis, kOsisExtension},
        {m_zefaniaRadio, ExportFormat::Zefania, kZefaniaExtension},
        {m_vplRadio, ExportFormat::Vpl, kVplExtension},
    };
    for (const auto& [radio, format, extension] : files) {
        if (radio->isChecked()) {
            request.format = format;
            request.destination =
                QDir(folder).filePath(QFileInfo(platform::GetFileName(version)).completeBaseName() + extension);
        }
    }

    if (const QStringList existing = existingExportPaths(request); !existing.isEmpty()) {
        if (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                              ExportMessages::existing(existing) + kReplaceQuestion) != platform::MessageAnswer::Yes) {
            return;
        }
        request.replace = true;
    }

    platform::RunControl control;
    request.control = &control;
    ExportOutcome outcome;
    {
        const platform::WindowRun run(this, m_progressBar, m_cancelButton, control);
        outcome = platform::runInBackground(control, m_progressBar, [request] { return exportVersion(request); });
    }

    const QString name = platform::GetFileName(version) + kLineBreaks;
    switch (outcome.result) {
    case ExportResult::Written:
        m_dialogs.inform(this, platform::MessageIcon::Information,
                         name + kWritten.arg(outcome.versesWritten) + kLineBreakOnce + outcome.destination +
                             ExportMessages::movedVerses(outcome));
        return;
    case ExportResult::EngineFailed:
        m_dialogs.inform(this, platform::MessageIcon::None, name + outcome.engineFailure.Description);
        return;
    case ExportResult::UnreadableReference:
    case ExportResult::LineBreak:
    case ExportResult::NotXmlText:
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, name + ExportMessages::refusal(outcome));
        return;
    case ExportResult::Unencodable:
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, name + ExportMessages::refusal(outcome) + kUseUtf8);
        return;
    case ExportResult::Cancelled:
        m_dialogs.inform(this, platform::MessageIcon::Information, name + ExportMessages::cancelled());
        return;
    case ExportResult::WouldReplace: // made meanwhile by someone else
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, name + ExportMessages::existing(outcome.existing));
        return;
    case ExportResult::WriteFailed:
        m_dialogs.inform(this, platform::MessageIcon::None,
                         outcome.fileFailure.path + kLineBreaks + outcome.fileFailure.description);
        return;
    }
}

} // namespace exchange
