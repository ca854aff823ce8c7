#include "maintenance/gui/frmBackup.h"

#include "platform/ProgramFolders.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ShellOpen.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

namespace maintenance {

namespace {

const QString kCaption = QStringLiteral("백업방법");
const QString kLabel1 = QStringLiteral("벼리솔의 파일 백업에 대한 설명입니다.");
const QString kGuide =
    QStringLiteral("\r\n"
                   "성경역본 자료 백업에 대한 설명입니다.\r\n"
                   "\r\n"
                   "1. 벼리솔의 역본파일 위치는 벼리솔이 설치되어 있는 폴더에 같이 존재합니다. 사용자가 별도 "
                   "설치경로를 변경하지 않았다면 C:\\Program Files\\반트렐\\벼리솔 1.0 for Windows 폴더에 존재할 "
                   "것입니다.\r\n"
                   "\r\n"
                   "2. 탐색기로 벼리솔 설치 경로로 이동하여 확장자가 *.dat파일을 찾아 봅니다. user.dat파일을 제외한 "
                   "모든 파일이 성경역본 파일입니다.\r\n"
                   "\r\n"
                   "3. 이 파일들을 선택하여 복사해 두시면 향후 벼리솔을 지우고 다시 설치해도 이전상태의 성경역본을 "
                   "그대로 불러볼 수 있게 됩니다. \r\n");
const QString kCommand3 = QStringLiteral("반드시 백업 해야할 파일목록을 살펴봅니다.");
const QString kCommand2 = QStringLiteral("벼리솔 설치폴더를 열어봅니다");
const QString kCommand1 = QStringLiteral("확인");
const QString kListHeading = QStringLiteral("☞ 백업파일 목록");
const QString kListRemark = QStringLiteral("(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 필요는 없습니다)");
const QString kLineBreak = QStringLiteral("\r\n");
const QString kPattern = QStringLiteral("*.dat");

// Geometry in twips.
constexpr int kClientWidth = 6600;
constexpr int kClientHeight = 6360;

// The picture beside the heading: a disk and a copy of it.
QPixmap diskPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    for (const auto& [offset, body] :
         {std::pair{0.0, QColor(0x7A, 0x8C, 0xA8)}, std::pair{0.22, QColor(0x2F, 0x55, 0x8F)}}) {
        const QRectF disk(w * offset, h * offset, w * 0.78, h * 0.78);
        painter.setPen(QPen(QColor(0x1E, 0x2A, 0x3A), 1));
        painter.setBrush(body);
        painter.drawRoundedRect(disk, 2, 2);
        painter.setBrush(QColor(0xF5, 0xF5, 0xF5));
        painter.drawRect(QRectF(disk.left() + disk.width() * 0.2, disk.top() + disk.height() * 0.52, disk.width() * 0.6,
                                disk.height() * 0.44));
        painter.setBrush(QColor(0xC8, 0xCE, 0xD6));
        painter.drawRect(
            QRectF(disk.left() + disk.width() * 0.28, disk.top(), disk.width() * 0.44, disk.height() * 0.3));
    }
    return picture;
}

QFrame* rule(QWidget* parent, const char* name, QFrame::Shape shape)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

frmBackup::frmBackup(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_shellOpen(platform::openWithShell),
      m_listFolder(listFolder(m_programFolder))
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmBackup::createControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);
    Line1 = rule(this, "Line1", QFrame::HLine);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    Shape1 = rule(this, "Shape1", QFrame::Box);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Enumerates the version files only; never shown.
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setVisible(false);

    Command3 = new QPushButton(this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Line2 = rule(this, "Line2", QFrame::HLine);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);

    setTabOrder(Text1, Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, Command1);
    connect(Command3, &QPushButton::clicked, this, &frmBackup::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &frmBackup::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmBackup::Command1_Click);
}

void frmBackup::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1);
    // The box shows lines; the guide's CR LF pairs are its line breaks.
    Text1->setPlainText(QString(kGuide).replace(kLineBreak, QStringLiteral("\n")));
    Label2->clear();
    Command3->setText(kCommand3);
    Command2->setText(kCommand2);
    Command1->setText(kCommand1);
}

void frmBackup::placeControls()
{
    Image1->setGeometry(twips(240, 180, 480, 480));
    Image1->setPixmap(diskPicture(Image1->size()));
    Label1->setGeometry(twips(900, 300, 5460, 300));
    Line1->setGeometry(twips(240, 780, 6120, 60));
    Text1->setGeometry(twips(240, 960, 6120, 3120));
    Shape1->setGeometry(twips(240, 4200, 6120, 1380));
    Label2->setGeometry(twips(360, 4260, 5880, 420));
    Command3->setGeometry(twips(360, 4680, 5880, 375));
    Command2->setGeometry(twips(360, 5100, 5880, 375));
    Line2->setGeometry(twips(240, 5700, 6120, 60));
    Command1->setGeometry(twips(5160, 5850, 1200, 375));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

QString frmBackup::listFolder(const QString& programFolder)
{
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir::fromNativeSeparators(platform::installFolder(programFolder))));
}

QStringList frmBackup::versionFileNames(const QString& folder)
{
    // QDir::Files without QDir::Hidden and QDir::System: normal files only.
    // Name filters match without regard to letter case.
    const QDir dir(folder);
    return dir.entryList({kPattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QString frmBackup::backupListText(const QString& folder, const QStringList& names)
{
    const QString prefix = folder.endsWith(platform::separator()) ? folder : folder + platform::separator();
    QString list;
    for (const QString& name : names) {
        list += prefix + name + kLineBreak;
    }
    return kListHeading + kLineBreak + kLineBreak + list + kLineBreak + kListRemark;
}

void frmBackup::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    // The list is filled once, here; files that come or go later show at the next opening.
    File1->clear();
    File1->addItems(versionFileNames(m_listFolder));
    Label2->setText(m_listFolder);
    Command2->setToolTip(m_listFolder);
    platform::CenterForm(this);
    // Enter closes the window, as in any message of its kind.
    Command1->setFocus();
}

void frmBackup::Command3_Click()
{
    QStringList names;
    for (int i = 0; i < File1->count(); ++i) {
        names << File1->item(i)->text();
    }
    m_dialogs.inform(this, platform::MessageIcon::Information, backupListText(m_listFolder, names));
}

void frmBackup::Command2_Click()
{
    platform::openForUser(m_dialogs, this, m_shellOpen, m_listFolder);
}

void frmBackup::Command1_Click()
{
    accept();
}

} // namespace maintenance
