#include "maintenance/gui/BackupGuideDialog.h"

#include "platform/ProgramFolders.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace maintenance {

namespace {

// The list of version files, as the list button shows it.
QString backupListText(const QString& folder, const QStringList& names)
{
    const QString lineBreak = QStringLiteral("\r\n");
    const QString prefix = folder.endsWith(platform::separator()) ? folder : folder + platform::separator();
    QString list;
    for (const QString& name : names) {
        list += prefix + name + lineBreak;
    }
    return QStringLiteral("☞ 백업파일 목록") + lineBreak + lineBreak + list + lineBreak +
           QStringLiteral("(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 필요는 없습니다)");
}

using platform::named;

} // namespace

BackupGuideDialog::BackupGuideDialog(platform::Dialogs& dialogs, const QString& programFolder, QWidget* parent)
    : NoticeDialog(dialogs, "BackupGuideDialog", QStringLiteral("백업방법"), parent)
{
    // The install folder as the file list reports it: its parent-folder step resolved.
    const QString folder =
        QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(platform::installFolder(programFolder))));
    // The normal files matching *.dat in any letter case, in name order, read once as the window is made: files that
    // come or go later show at the next opening.
    const QStringList versionFiles = QDir(folder).entryList(
        {QStringLiteral("*.dat")}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    auto* heading = named<QLabel>(this, "headingLabel", QStringLiteral("벼리솔의 파일 백업에 대한 설명입니다."));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setWordWrap(true);
    auto* guide = textBox(
        this, "guideText",
        QStringLiteral("\r\n"
                       "성경역본 자료 백업에 대한 설명입니다.\r\n"
                       "\r\n"
                       "1. 벼리솔의 역본파일은 벼리솔의 설치 폴더에 있습니다. 그 폴더는 이 창의 위쪽에 적혀 있고, "
                       "'벼리솔 설치폴더를 열어봅니다' 단추로 열 수 있습니다.\r\n"
                       "\r\n"
                       "2. 파일 관리자로 벼리솔 설치 폴더로 이동하여 확장자가 .dat인 파일을 찾아 봅니다. user.dat "
                       "파일을 제외한 모든 파일이 성경역본 파일입니다.\r\n"
                       "\r\n"
                       "3. 이 파일들을 선택하여 복사해 두시면 향후 벼리솔을 지우고 다시 설치해도 이전상태의 성경역본을 "
                       "그대로 불러볼 수 있게 됩니다. \r\n"));
    heading->setBuddy(guide);

    // The install folder and what can be done with it, in a panel of their own.
    auto* folderPanel = named<QFrame>(this, "folderPanel");
    folderPanel->setFrameShape(QFrame::StyledPanel);
    auto* folderLabel = named<QLabel>(folderPanel, "folderLabel", folder);
    folderLabel->setWordWrap(true);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* backupList = named<QPushButton>(folderPanel, "backupListButton",
                                          QStringLiteral("반드시 백업 해야할 파일목록을 살펴봅니다."));
    connect(backupList, &QPushButton::clicked, this, [this, folder, versionFiles] {
        m_dialogs.inform(this, platform::MessageIcon::Information, backupListText(folder, versionFiles));
    });
    auto* openFolder =
        named<QPushButton>(folderPanel, "openFolderButton", QStringLiteral("벼리솔 설치폴더를 열어봅니다"), folder);
    connect(openFolder, &QPushButton::clicked, this, [this, folder] { openForUser(folder); });
    auto* folderColumn = new QVBoxLayout(folderPanel);
    folderColumn->addWidget(folderLabel);
    folderColumn->addWidget(backupList);
    folderColumn->addWidget(openFolder);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(guide, 1);
    layout->addWidget(folderPanel);
    finishWithOkButton(layout, 72);
}

} // namespace maintenance
