#include "maintenance/gui/BackupGuideDialog.h"

#include "platform/ProgramFolders.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/ShellOpen.h"
#include "platform/gui/TextSize.h"
#include "platform/gui/WindowSettings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace maintenance {

namespace {

const QString kWindowTitle = QStringLiteral("백업방법");
const QString kHeading = QStringLiteral("벼리솔의 파일 백업에 대한 설명입니다.");
const QString kGuide = QStringLiteral(
    "\r\n"
    "성경역본 자료 백업에 대한 설명입니다.\r\n"
    "\r\n"
    "1. 벼리솔의 역본파일은 벼리솔의 설치 폴더에 있습니다. 그 폴더는 이 창의 위쪽에 적혀 있고, "
    "'벼리솔 설치폴더를 열어봅니다' 단추로 열 수 있습니다.\r\n"
    "\r\n"
    "2. 파일 관리자로 벼리솔 설치 폴더로 이동하여 확장자가 .dat인 파일을 찾아 봅니다. user.dat 파일을 제외한 "
    "모든 파일이 성경역본 파일입니다.\r\n"
    "\r\n"
    "3. 이 파일들을 선택하여 복사해 두시면 향후 벼리솔을 지우고 다시 설치해도 이전상태의 성경역본을 "
    "그대로 불러볼 수 있게 됩니다. \r\n");
const QString kBackupList = QStringLiteral("반드시 백업 해야할 파일목록을 살펴봅니다.");
const QString kOpenFolder = QStringLiteral("벼리솔 설치폴더를 열어봅니다");
const QString kOk = QStringLiteral("확인");
const QString kListHeading = QStringLiteral("☞ 백업파일 목록");
const QString kListRemark = QStringLiteral("(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 필요는 없습니다)");
const QString kLineBreak = QStringLiteral("\r\n");
const QString kPattern = QStringLiteral("*.dat");

// The width the window asks for at the first opening, in average characters of its font.
constexpr int kWidthInCharacters = 72;

using platform::named;

} // namespace

BackupGuideDialog::BackupGuideDialog(platform::Dialogs& dialogs, const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_shellOpen(platform::openWithShell),
      m_listFolder(listFolder(programFolder)), m_versionFiles(versionFileNames(m_listFolder))
{
    setObjectName(QStringLiteral("BackupGuideDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
    // Enter closes the window, as in any message of its kind.
    m_okButton->setFocus();
}

QSize BackupGuideDialog::sizeHint() const
{
    // Room for the guide to read in lines of some length.
    return platform::atLeastCharacters(QDialog::sizeHint(), *this, kWidthInCharacters);
}

void BackupGuideDialog::createWidgets()
{
    m_headingLabel = named<QLabel>(this, "headingLabel");
    QFont heading = m_headingLabel->font();
    heading.setBold(true);
    m_headingLabel->setFont(heading);
    m_headingLabel->setWordWrap(true);

    m_guideText = named<QPlainTextEdit>(this, "guideText");
    m_guideText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_guideText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_headingLabel->setBuddy(m_guideText);

    m_folderLabel = named<QLabel>(this, "folderLabel");
    m_folderLabel->setWordWrap(true);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_backupListButton = named<QPushButton>(this, "backupListButton");
    m_openFolderButton = named<QPushButton>(this, "openFolderButton");

    m_buttons = named<QDialogButtonBox>(this, "buttons");
    m_okButton = m_buttons->addButton(QDialogButtonBox::Ok);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);

    connect(m_backupListButton, &QPushButton::clicked, this, &BackupGuideDialog::onBackupListClicked);
    connect(m_openFolderButton, &QPushButton::clicked, this, &BackupGuideDialog::onOpenFolderClicked);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void BackupGuideDialog::createLayout()
{
    // The install folder and what can be done with it, in a panel of their own.
    auto* folderPanel = named<QFrame>(this, "folderPanel");
    folderPanel->setFrameShape(QFrame::StyledPanel);
    auto* folder = new QVBoxLayout(folderPanel);
    folder->addWidget(m_folderLabel);
    folder->addWidget(m_backupListButton);
    folder->addWidget(m_openFolderButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_headingLabel);
    layout->addWidget(m_guideText, 1);
    layout->addWidget(folderPanel);
    layout->addWidget(m_buttons);
}

void BackupGuideDialog::applyTexts()
{
    setWindowTitle(kWindowTitle);
    m_headingLabel->setText(kHeading);
    // The box shows lines; the guide's CR LF pairs are its line breaks.
    m_guideText->setPlainText(QString(kGuide).replace(kLineBreak, QStringLiteral("\n")));
    m_folderLabel->setText(m_listFolder);
    m_backupListButton->setText(kBackupList);
    m_openFolderButton->setText(kOpenFolder);
    m_openFolderButton->setToolTip(m_listFolder);
    m_okButton->setText(kOk);
}

QString BackupGuideDialog::listFolder(const QString& programFolder)
{
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir::fromNativeSeparators(platform::installFolder(programFolder))));
}

QStringList BackupGuideDialog::versionFileNames(const QString& folder)
{
    // QDir::Files without QDir::Hidden and QDir::System: normal files only.
    // Name filters match without regard to letter case.
    const QDir dir(folder);
    return dir.entryList({kPattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString BackupGuideDialog::backupListText(const QString& folder, const QStringList& names)
{
    const QString prefix = folder.endsWith(platform::separator()) ? folder : folder + platform::separator();
    QString list;
    for (const QString& name : names) {
        list += prefix + name + kLineBreak;
    }
    return kListHeading + kLineBreak + kLineBreak + list + kLineBreak + kListRemark;
}

void BackupGuideDialog::onBackupListClicked()
{
    m_dialogs.inform(this, platform::MessageIcon::Information, backupListText(m_listFolder, m_versionFiles));
}

void BackupGuideDialog::onOpenFolderClicked()
{
    platform::openForUser(m_dialogs, this, m_shellOpen, m_listFolder);
}

} // namespace maintenance
