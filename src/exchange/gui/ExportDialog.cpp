#include "exchange/gui/ExportDialog.h"

#include "exchange/ExportMessages.h"
#include "exchange/VersionExport.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
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

namespace exchange {

namespace {

// The formats that write one file, named after the version with the format's extension.
struct FileFormat
{
    const char* radio;
    const char* text;
    ExportFormat format;
    const char* extension;
};
constexpr FileFormat kFileFormats[] = {{"impRadio", "IMP", ExportFormat::Imp, ".imp"},
                                       {"osisRadio", "OSIS", ExportFormat::Osis, ".osis.xml"},
                                       {"zefaniaRadio", "Zefania", ExportFormat::Zefania, ".xml"},
                                       {"vplRadio", "VPL", ExportFormat::Vpl, ".vpl"}};

const QString kFolderKey = QStringLiteral("export");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");

using platform::named;

} // namespace

ExportDialog::ExportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : RunDialog(dialogs, std::move(programFolder), parent)
{
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(QStringLiteral("역본파일 내보내기"));
    auto* form = new QFormLayout;
    const auto addPathRow = [this, form](const char* name, const QString& label) {
        const PathField field = pathField(name, label);
        auto* row = new QHBoxLayout;
        row->addWidget(field.edit, 1);
        row->addWidget(field.browseButton);
        form->addRow(field.label, row);
        return field;
    };
    const PathField version = addPathRow("version", QStringLiteral("내보낼 역본파일"));
    m_versionEdit = version.edit;
    connect(version.browseButton, &QPushButton::clicked, this,
            [this] { chooseVersion(m_versionEdit, QStringLiteral("내보낼 역본파일 선택")); });

    // The formats in two rows of three columns: the text files, IMP and OSIS, then Zefania and VPL.
    auto* formats = new QGridLayout;
    auto* textFilesRadio = named<QRadioButton>(this, "textFilesRadio", QStringLiteral("텍스트 파일"));
    textFilesRadio->setChecked(true);
    formats->addWidget(textFilesRadio, 0, 0);
    for (int i = 0; i < int(m_fileRadios.size()); ++i) {
        m_fileRadios[i] = named<QRadioButton>(this, kFileFormats[i].radio, QString::fromLatin1(kFileFormats[i].text));
        formats->addWidget(m_fileRadios[i], (i + 1) / 3, (i + 1) % 3);
    }
    auto* formatLabel = named<QLabel>(this, "formatLabel", QStringLiteral("형식"));
    formatLabel->setBuddy(textFilesRadio);
    form->addRow(formatLabel, formats);
    connect(textFilesRadio, &QRadioButton::toggled, this, &ExportDialog::onTextFilesToggled);

    const QString encoding = QStringLiteral("인코딩");
    auto* encodingLabel = named<QLabel>(this, "encodingLabel", encoding);
    m_encodingCombo = named<QComboBox>(this, "encodingCombo");
    m_encodingCombo->addItems({QStringLiteral("코드 페이지 949"), QStringLiteral("UTF-8")});
    m_textEncoding = defaultTextEncoding() == TextEncoding::Cp949 ? 0 : 1;
    m_encodingCombo->setCurrentIndex(m_textEncoding);
    // A combo box reads its current item; the screen reader names it after its label instead.
    m_encodingCombo->setAccessibleName(encoding);
    encodingLabel->setBuddy(m_encodingCombo);
    form->addRow(encodingLabel, m_encodingCombo);

    const PathField folder = addPathRow("folder", QStringLiteral("저장할 폴더"));
    m_folderEdit = folder.edit;
    connect(folder.browseButton, &QPushButton::clicked, this, &ExportDialog::onFolderBrowseClicked);

    makeRunControls();
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(m_progressBar, 1);
    runRow->addWidget(m_cancelButton);

    QDialogButtonBox* buttons = makeCloseButtons();
    auto* exportButton = buttons->addButton(QStringLiteral("내보내기"), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    exportButton->setDefault(true);
    connect(exportButton, &QPushButton::clicked, this, &ExportDialog::onExportClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(runRow);
    layout->addWidget(buttons);

    // Room for a path of some length in the two fields.
    platform::rememberGeometry(this, 80);
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

void ExportDialog::onFolderBrowseClicked()
{
    platform::FileDialogRequest request;
    request.folder = m_folderEdit->text().isEmpty()
                         ? platform::lastFolder(kFolderKey, platform::installFolder(m_programFolder))
                         : m_folderEdit->text();
    request.title = QStringLiteral("내보낼 폴더 선택");
    request.acceptLabel = QStringLiteral("선택");
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
    if (version.isEmpty() || folder.isEmpty()) {
        m_dialogs.warn(this, version.isEmpty() ? QStringLiteral("내보낼 역본파일을 선택하여 주십시오 !")
                                               : QStringLiteral("내보낼 폴더를 선택하여 주십시오 !"));
        return;
    }
    ExportRequest request;
    request.versionPath = version;
    request.destination = folder;
    request.encoding = m_encodingCombo->currentIndex() == 1 ? TextEncoding::Utf8 : TextEncoding::Cp949;
    for (std::size_t i = 0; i < m_fileRadios.size(); ++i) {
        if (m_fileRadios[i]->isChecked()) {
            request.format = kFileFormats[i].format;
            request.destination = QDir(folder).filePath(QFileInfo(platform::getFileName(version)).completeBaseName() +
                                                        QLatin1String(kFileFormats[i].extension));
        }
    }

    if (const QStringList existing = existingExportPaths(request); !existing.isEmpty()) {
        if (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                              ExportMessages::existing(existing) + QStringLiteral("\r\n바꾸어 쓰시겠습니까?")) !=
            platform::MessageAnswer::Yes) {
            return;
        }
        request.replace = true;
    }

    const ExportOutcome outcome = run([&request](platform::RunControl* control) {
        request.control = control;
        return exportVersion(request);
    });

    const QString name = platform::getFileName(version) + kLineBreaks;
    switch (outcome.result) {
    case ExportResult::Written:
        m_dialogs.inform(this, platform::MessageIcon::Information,
                         name + QStringLiteral("%1개 구절을 내보냈습니다.\r\n").arg(outcome.versesWritten) +
                             outcome.destination + ExportMessages::movedVerses(outcome));
        return;
    case ExportResult::EngineFailed:
        m_dialogs.inform(this, platform::MessageIcon::None, name + outcome.failure.description);
        return;
    case ExportResult::UnreadableReference:
    case ExportResult::LineBreak:
    case ExportResult::NotXmlText:
    case ExportResult::WouldReplaceVersion:
        m_dialogs.warn(this, name + ExportMessages::refusal(outcome));
        return;
    case ExportResult::Unencodable:
        m_dialogs.warn(this, name + ExportMessages::refusal(outcome) +
                                 QStringLiteral("\r\n인코딩을 UTF-8로 바꾸어 내보내십시오."));
        return;
    case ExportResult::Cancelled:
        m_dialogs.inform(this, platform::MessageIcon::Information, name + ExportMessages::kCancelled);
        return;
    case ExportResult::WouldReplace: // made meanwhile by someone else
        m_dialogs.warn(this, name + ExportMessages::existing(outcome.existing));
        return;
    case ExportResult::WriteFailed:
        m_dialogs.inform(this, platform::MessageIcon::None,
                         outcome.fileFailure.path + kLineBreaks + outcome.fileFailure.description);
        return;
    }
}

} // namespace exchange
