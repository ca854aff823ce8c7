#include "shell/gui/frmMain.h"

#include "editor/gui/frmHolyEdit.h"
#include "exchange/gui/frmCompare.h"
#include "exchange/gui/frmExport.h"
#include "exchange/gui/frmInspect.h"
#include "import/gui/frmAppend.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
#include "maintenance/gui/frmAbout.h"
#include "maintenance/gui/frmBackup.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Skin.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <utility>

namespace shell {

namespace {

const QString kCaption = QStringLiteral("벼리솔 성경자료 관리기");

const QString kCommand3Caption = QStringLiteral("성경본문 편집");
const QString kCommand3Tip = QStringLiteral("설치된 성경역본의 본문을 편집(수정)합니다.");
const QString kCommand4Caption = QStringLiteral("개인보유 역본 추가");
const QString kCommand4Tip = QStringLiteral("개인이 워드나 텍스트 파일로 가지고 있는 역본을 벼리솔용으로 만듭니다.");
const QString kCommand5Caption = QStringLiteral("손상된 역본파일 치료");
const QString kCommand5Tip = QStringLiteral("불완전 종료에 따른 손상된 역본파일을 치료합니다.");
const QString kCommand7Caption = QStringLiteral("역본파일 최적화");
const QString kCommand7Tip = QStringLiteral("역본파일의 용량을 줄이고 실행속도를 높입니다.");
const QString kCommand6Caption = QStringLiteral("자료파일 백업방법");
const QString kCommand6Tip = QStringLiteral("백업설명");
const QString kCommand8Caption = QStringLiteral("개인 추가역본 삭제");
const QString kCommand8Tip = QStringLiteral("개인이 추가 사용하던 역본을 삭제합니다.");
const QString kCommand9Caption = QStringLiteral("역본파일 내보내기");
const QString kCommand9Tip = QStringLiteral("역본파일의 본문을 텍스트파일이나 IMP 파일로 내보냅니다.");
const QString kCommand10Caption = QStringLiteral("역본 비교");
const QString kCommand10Tip = QStringLiteral("두 역본파일의 본문을 비교하여 다른 구절을 보여 줍니다.");
const QString kCommand11Caption = QStringLiteral("본문 점검");
const QString kCommand11Tip =
    QStringLiteral("역본파일의 본문에서 빈 본문, 깨진 글자, 짝이 없는 괄호처럼 잘못된 듯한 곳을 찾아 보여 줍니다.");
const QString kCommand2Caption = QStringLiteral("&About");
const QString kCommand1Caption = QStringLiteral("종료");
const QString kMaker = QStringLiteral("Vantrel");
const QString kMakerAddress = QStringLiteral("byeorisol.example.org");

// The file dialog of the maintenance commands: title and action word of each command.
const QString kVersionFilter = QStringLiteral("역본파일 (*.dat)");
const QString kRepairTitle = QStringLiteral("치료할 파일선택");
const QString kRepairAction = QStringLiteral("치료");
const QString kCompactTitle = QStringLiteral("최적화시킬 파일선택");
const QString kCompactAction = QStringLiteral("최적화");
const QString kDeleteTitle = QStringLiteral("파일선택(개역.dat, kjv.dat, user.dat는 삭제할 수 없습니다!)");
const QString kDeleteAction = QStringLiteral("삭제");

// Geometry in twips.
constexpr int kClientWidth = 5700;
constexpr int kClientHeight = 4800;
constexpr int kColumnLeft = 3135;
constexpr int kColumnWidth = 2280;
constexpr int kColumnHeight = 345;
constexpr int kColumnTops[] = {390, 930, 1470, 2010, 2550, 3090, 3630};
constexpr int kRowTop = 4215;
constexpr int kRowWidth = 1080;
constexpr int kRowHeight = 315;
constexpr int kRowLefts[] = {3135, 4335};
// Buttons added beside the column, under the picture's frame.
constexpr int kBesideLeft = 420;
constexpr int kColumnStep = 540;

// The fixed picture beside the buttons: an open book.
QPixmap bookPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(QColor(0xF4, 0xEF, 0xE1));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(size.width() * 0.1, size.height() * 0.25, size.width() * 0.8, size.height() * 0.5);
    const QPointF spine(area.center().x(), area.top());
    painter.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 2));
    painter.setBrush(QColor(0xFF, 0xFD, 0xF6));
    for (int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(spine);
        page.quadTo(spine.x() + side * area.width() * 0.25, area.top() - area.height() * 0.08,
                    spine.x() + side * area.width() * 0.5, area.top());
        page.lineTo(spine.x() + side * area.width() * 0.5, area.bottom());
        page.quadTo(spine.x() + side * area.width() * 0.25, area.bottom() - area.height() * 0.08, spine.x(),
                    area.bottom());
        page.closeSubpath();
        painter.drawPath(page);
        painter.setPen(QPen(QColor(0xB0, 0xA0, 0x80), 1));
        for (int line = 1; line <= 6; ++line) {
            const double y = area.top() + area.height() * line / 8.0;
            painter.drawLine(QPointF(spine.x() + side * area.width() * 0.08, y),
                             QPointF(spine.x() + side * area.width() * 0.42, y));
        }
        painter.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 2));
    }
    painter.drawLine(spine, QPointF(spine.x(), area.bottom()));
    return picture;
}

} // namespace

frmMain::frmMain(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmMain::createControls()
{
    const auto button = [this](QPushButton*& member, const char* name) {
        member = new QPushButton(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* label : {Label1, Label2}) {
        label->setAlignment(Qt::AlignCenter);
    }

    // Created in tab order: the column top to bottom, then "&About", then "종료".
    button(Command3, "Command3");
    button(Command4, "Command4");
    button(Command5, "Command5");
    button(Command7, "Command7");
    button(Command6, "Command6");
    button(Command8, "Command8");
    button(Command9, "Command9");
    button(Command10, "Command10");
    button(Command11, "Command11");
    button(Command2, "Command2");
    button(Command1, "Command1");
    const QList<QPushButton*> order = {Command3, Command4,  Command5,  Command7, Command6, Command8,
                                       Command9, Command10, Command11, Command2, Command1};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &frmMain::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &frmMain::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &frmMain::Command8_Click);
    connect(Command6, &QPushButton::clicked, this, &frmMain::Command6_Click);
    connect(Command9, &QPushButton::clicked, this, &frmMain::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &frmMain::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &frmMain::Command11_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
}

void frmMain::applyTexts()
{
    setWindowTitle(kCaption);
    Command3->setText(kCommand3Caption);
    Command3->setToolTip(kCommand3Tip);
    Command4->setText(kCommand4Caption);
    Command4->setToolTip(kCommand4Tip);
    Command5->setText(kCommand5Caption);
    Command5->setToolTip(kCommand5Tip);
    Command7->setText(kCommand7Caption);
    Command7->setToolTip(kCommand7Tip);
    Command6->setText(kCommand6Caption);
    Command6->setToolTip(kCommand6Tip);
    Command8->setText(kCommand8Caption);
    Command8->setToolTip(kCommand8Tip);
    Command9->setText(kCommand9Caption);
    Command9->setToolTip(kCommand9Tip);
    Command10->setText(kCommand10Caption);
    Command10->setToolTip(kCommand10Tip);
    Command11->setText(kCommand11Caption);
    Command11->setToolTip(kCommand11Tip);
    Command2->setText(kCommand2Caption);
    Command1->setText(kCommand1Caption);
    Label1->setText(kMaker);
    Label2->setText(kMakerAddress);
}

void frmMain::placeControls()
{
    const QList<QPushButton*> column = {Command3, Command4, Command5, Command7, Command6, Command8, Command9};
    for (qsizetype i = 0; i < column.size(); ++i) {
        column[i]->setGeometry(twips(kColumnLeft, kColumnTops[i], kColumnWidth, kColumnHeight));
    }
    Command10->setGeometry(twips(kBesideLeft, kColumnTops[6], kColumnWidth, kColumnHeight));
    Command11->setGeometry(twips(kBesideLeft, kColumnTops[6] + kColumnStep, kColumnWidth, kColumnHeight));
    Command2->setGeometry(twips(kRowLefts[0], kRowTop, kRowWidth, kRowHeight));
    Command1->setGeometry(twips(kRowLefts[1], kRowTop, kRowWidth, kRowHeight));
    Shape1->setGeometry(twips(180, 270, 2760, 3300));
    Picture1->setGeometry(twips(300, 390, 2520, 2400));
    Picture1->setPixmap(bookPicture(Picture1->size()));
    Label1->setGeometry(twips(300, 2940, 2520, 255));
    Label2->setGeometry(twips(300, 3240, 2520, 255));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

void frmMain::Form_Load()
{
    platform::CenterForm(this);
    platform::applySkin(this, m_programFolder);
}

void frmMain::Command1_Click()
{
    // Ends the program at once, without asking and without any window's unload handling.
    QCoreApplication::exit(0);
}

void frmMain::Command3_Click()
{
    editor::frmHolyEdit window(m_dialogs, m_programFolder, this);
    window.exec();
}

// The maintenance commands (repair, compaction, deletion), the backup guide and the About window.

void frmMain::ccrpFileDialogs1_CancelDialog()
{
    DialogCancelled = true;
}

QString frmMain::chooseMaintenanceFile(const QString& title, const QString& actionWord)
{
    DialogCancelled = false;
    platform::FileDialogRequest request;
    request.folder = platform::installFolder(m_programFolder);
    request.title = title;
    request.filter = kVersionFilter;
    request.acceptLabel = actionWord;
    const QStringList chosen = m_dialogs.chooseFiles(this, request);
    if (chosen.isEmpty()) {
        ccrpFileDialogs1_CancelDialog();
    }
    if (DialogCancelled) {
        return {};
    }
    return chosen.first();
}

void frmMain::showMessages(const QList<maintenance::Message>& messages)
{
    for (const maintenance::Message& message : messages) {
        m_dialogs.inform(this, message.icon, message.text);
    }
}

void frmMain::Command5_Click()
{
    const QString path = chooseMaintenanceFile(kRepairTitle, kRepairAction);
    if (DialogCancelled) {
        return;
    }
    const QString name = platform::GetFileName(path);
    if (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                          maintenance::MaintenanceMessages::repairConfirmation(name)) == platform::MessageAnswer::No) {
        return;
    }
    RepairVersion(path);
}

void frmMain::Command7_Click()
{
    const QString path = chooseMaintenanceFile(kCompactTitle, kCompactAction);
    if (DialogCancelled) {
        return;
    }
    const QString name = platform::GetFileName(path);
    if (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                          maintenance::MaintenanceMessages::compactConfirmation(name)) == platform::MessageAnswer::No) {
        return;
    }
    CompactVersion(path);
}

void frmMain::Command8_Click()
{
    const QString path = chooseMaintenanceFile(kDeleteTitle, kDeleteAction);
    if (DialogCancelled) {
        return;
    }
    const QString name = platform::GetFileName(path);
    if (maintenance::VersionMaintenance::isShipped(path)) {
        showMessages({maintenance::MaintenanceMessages::shippedFileRefused(name)});
        return;
    }
    if (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                          maintenance::MaintenanceMessages::deleteConfirmation(name)) == platform::MessageAnswer::No) {
        return;
    }
    DeleteVersion(path);
}

void frmMain::RepairVersion(const QString& path)
{
    platform::BusyPointer busy;
    maintenance::VersionMaintenance maintenance(m_programFolder);
    const maintenance::RepairOutcome outcome = maintenance.RepairVersion(path);
    busy.restore();
    showMessages(maintenance::MaintenanceMessages::forOutcome(platform::GetFileName(path), outcome));
}

void frmMain::CompactVersion(const QString& path)
{
    platform::BusyPointer busy;
    maintenance::VersionMaintenance maintenance(m_programFolder);
    const maintenance::CompactOutcome outcome = maintenance.CompactVersion(path);
    busy.restore();
    showMessages(maintenance::MaintenanceMessages::forOutcome(platform::GetFileName(path), outcome));
}

void frmMain::DeleteVersion(const QString& path)
{
    maintenance::VersionMaintenance maintenance(m_programFolder);
    const maintenance::DeleteOutcome outcome = maintenance.DeleteVersion(path);
    showMessages(maintenance::MaintenanceMessages::forOutcome(platform::GetFileName(path), outcome));
}

void frmMain::Command6_Click()
{
    maintenance::frmBackup window(m_dialogs, m_programFolder, this);
    window.exec();
}

void frmMain::Command2_Click()
{
    maintenance::frmAbout window(m_dialogs, m_programFolder, this);
    window.exec();
}

void frmMain::Command9_Click()
{
    exchange::frmExport window(m_dialogs, m_programFolder, this);
    window.exec();
}

void frmMain::Command10_Click()
{
    exchange::frmCompare window(m_dialogs, m_programFolder, this);
    window.exec();
}

void frmMain::Command11_Click()
{
    // A finding chosen there opens the verse editor over it, on that version at that verse.
    exchange::frmInspect window(
        m_dialogs, m_programFolder,
        [this, &window](const QString& path, const QString& reference) {
            editor::frmHolyEdit editorWindow(m_dialogs, m_programFolder, &window);
            if (const auto failure = editorWindow.showVerse(path, reference)) {
                m_dialogs.inform(&window, platform::MessageIcon::Exclamation,
                                 platform::GetFileName(path) + QStringLiteral("\r\n\r\n") + failure->description);
                return;
            }
            editorWindow.exec();
        },
        this);
    window.exec();
}

void frmMain::Command4_Click()
{
    // The import window, modal over the main window until it is closed.
    importer::frmAppend window(m_dialogs, m_programFolder, this);
    window.exec();
}

} // namespace shell
