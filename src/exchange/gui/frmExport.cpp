#include "exchange/gui/frmExport.h"

#include "exchange/ExportMessages.h"
#include "exchange/VersionExport.h"
#include "exchange/gui/VersionChooser.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <tuple>
#include <utility>

namespace exchange {

namespace {

const QString kCaption = QStringLiteral("역본파일 내보내기");
const QString kLabel1 = QStringLiteral("내보낼 역본파일");
const QString kLabel2 = QStringLiteral("형식");
const QString kOption1 = QStringLiteral("텍스트파일");
const QString kOption2 = QStringLiteral("IMP");
const QString kOption3 = QStringLiteral("OSIS");
const QString kOption4 = QStringLiteral("Zefania");
const QString kOption5 = QStringLiteral("VPL");
const QString kLabel3 = QStringLiteral("인코딩");
const QString kCodePage949 = QStringLiteral("코드 페이지 949");
const QString kUtf8 = QStringLiteral("UTF-8");
const QString kLabel4 = QStringLiteral("저장할 폴더");
const QString kBrowse = QStringLiteral("찾기...");
const QString kCommand3 = QStringLiteral("내보내기");
const QString kCommand4 = QStringLiteral("닫기");

const QString kVersionTitle = QStringLiteral("내보낼 역본파일 선택");
const QString kFolderTitle = QStringLiteral("내보낼 폴더 선택");
const QString kChoose = QStringLiteral("선택");
// The file each format but the text files writes: the version's name and its extension.
const QString kImpExtension = QStringLiteral(".imp");
const QString kOsisExtension = QStringLiteral(".osis.xml");
const QString kZefaniaExtension = QStringLiteral(".xml");
const QString kVplExtension = QStringLiteral(".vpl");

const QString kNoVersion = QStringLiteral("내보낼 역본파일을 선택하여 주십시오 !");
const QString kNoFolder = QStringLiteral("내보낼 폴더를 선택하여 주십시오 !");
const QString kWritten = QStringLiteral("%1개 구절을 내보냈습니다.");
const QString kUseUtf8 = QStringLiteral("\r\n인코딩을 UTF-8로 바꾸어 내보내십시오.");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kLineBreakOnce = QStringLiteral("\r\n");

// Geometry in twips.
constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 4080;

} // namespace

frmExport::frmExport(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmExport::createControls()
{
    const auto label = [this](QLabel*& member, const char* name) {
        member = new QLabel(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    const auto button = [this](QPushButton*& member, const char* name) {
        member = new QPushButton(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    label(Label1, "Label1");
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    button(Command1, "Command1");
    label(Label2, "Label2");
    Option1 = new QRadioButton(this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setChecked(true);
    for (const auto& [member, name] : {std::pair{&Option2, "Option2"}, std::pair{&Option3, "Option3"},
                                       std::pair{&Option4, "Option4"}, std::pair{&Option5, "Option5"}}) {
        *member = new QRadioButton(this);
        (*member)->setObjectName(QString::fromLatin1(name));
    }
    label(Label3, "Label3");
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    label(Label4, "Label4");
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    button(Command2, "Command2");
    button(Command3, "Command3");
    button(Command4, "Command4");
    Command3->setDefault(true);

    const QList<QWidget*> order = {Text1,   Command1, Option1, Option2,  Option3,  Option4,
                                   Option5, Combo1,   Text2,   Command2, Command3, Command4};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    connect(Command1, &QPushButton::clicked, this, &frmExport::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmExport::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmExport::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmExport::Command4_Click);
    connect(Option1, &QRadioButton::toggled, this, &frmExport::Option1_Click);
}

void frmExport::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1);
    Command1->setText(kBrowse);
    Label2->setText(kLabel2);
    Option1->setText(kOption1);
    Option2->setText(kOption2);
    Option3->setText(kOption3);
    Option4->setText(kOption4);
    Option5->setText(kOption5);
    Label3->setText(kLabel3);
    Combo1->addItems({kCodePage949, kUtf8});
    Label4->setText(kLabel4);
    Command2->setText(kBrowse);
    Command3->setText(kCommand3);
    Command4->setText(kCommand4);
}

void frmExport::placeControls()
{
    Label1->setGeometry(twips(240, 240, 3840, 255));
    Text1->setGeometry(twips(240, 510, 3840, 330));
    Command1->setGeometry(twips(4200, 495, 960, 360));
    Label2->setGeometry(twips(240, 1020, 3840, 255));
    // The formats in two rows of three columns: the text files, IMP and OSIS, then Zefania and VPL.
    Option1->setGeometry(twips(240, 1290, 1560, 300));
    Option2->setGeometry(twips(1920, 1290, 1560, 300));
    Option3->setGeometry(twips(3600, 1290, 1560, 300));
    Option4->setGeometry(twips(240, 1590, 1560, 300));
    Option5->setGeometry(twips(1920, 1590, 1560, 300));
    Label3->setGeometry(twips(240, 2040, 3840, 255));
    Combo1->setGeometry(twips(240, 2310, 2400, 330));
    Label4->setGeometry(twips(240, 2790, 3840, 255));
    Text2->setGeometry(twips(240, 3060, 3840, 330));
    Command2->setGeometry(twips(4200, 3045, 960, 360));
    Command3->setGeometry(twips(2880, 3570, 1080, 375));
    Command4->setGeometry(twips(4080, 3570, 1080, 375));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

void frmExport::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    platform::CenterForm(this);
}

void frmExport::Option1_Click()
{
    const bool textFiles = Option1->isChecked();
    if (!textFiles) {
        m_textEncoding = Combo1->currentIndex();
        Combo1->setCurrentIndex(1);
    } else {
        Combo1->setCurrentIndex(m_textEncoding);
    }
    Combo1->setEnabled(textFiles);
}

void frmExport::Command1_Click()
{
    chooseVersionInto(Text1, m_dialogs, m_programFolder, kVersionTitle);
}

void frmExport::Command2_Click()
{
    platform::FileDialogRequest request;
    request.folder = Text2->text().isEmpty() ? platform::installFolder(m_programFolder) : Text2->text();
    request.title = kFolderTitle;
    request.acceptLabel = kChoose;
    const QString chosen = m_dialogs.chooseFolder(this, request);
    if (!chosen.isEmpty()) {
        Text2->setText(chosen);
    }
}

void frmExport::Command3_Click()
{
    const QString version = Text1->text();
    const QString folder = Text2->text();
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
    request.encoding = Combo1->currentIndex() == 1 ? TextEncoding::Utf8 : TextEncoding::Cp949;
    const std::tuple<QRadioButton*, ExportFormat, const QString&> files[] = {
        {Option2, ExportFormat::Imp, kImpExtension},
        {Option3, ExportFormat::Osis, kOsisExtension},
        {Option4, ExportFormat::Zefania, kZefaniaExtension},
        {Option5, ExportFormat::Vpl, kVplExtension},
    };
    for (const auto& [option, format, extension] : files) {
        if (option->isChecked()) {
            request.format = format;
            request.destination =
                QDir(folder).filePath(QFileInfo(platform::GetFileName(version)).completeBaseName() + extension);
        }
    }

    platform::BusyPointer busy;
    const ExportOutcome outcome = exportVersion(request);
    busy.restore();

    const QString name = platform::GetFileName(version) + kLineBreaks;
    switch (outcome.result) {
    case ExportResult::Written: {
        m_dialogs.inform(this, platform::MessageIcon::Information,
                         name + kWritten.arg(outcome.versesWritten) + kLineBreakOnce + outcome.destination +
                             ExportMessages::movedVerses(outcome));
        return;
    }
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
    case ExportResult::WriteFailed:
        m_dialogs.inform(this, platform::MessageIcon::None,
                         outcome.fileFailure.path + kLineBreaks + outcome.fileFailure.description);
        return;
    }
}

void frmExport::Command4_Click()
{
    accept();
}

} // namespace exchange
