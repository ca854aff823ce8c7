#include "maintenance/gui/frmAbout.h"

#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ShellOpen.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

namespace maintenance {

namespace {

const QString kCaption = QStringLiteral("벼리솔 성경자료 관리기");
const QString kLabel4 = QStringLiteral("벼리솔 성경자료 관리기");
const QString kLabel3 = QStringLiteral("반트렐");
const QString kLabel3Tip = QStringLiteral("웹사이트");
// Shown only until the window loads; the version line replaces it.
const QString kLabel1 = QStringLiteral("버전 1.0.11");
const QString kVersionPrefix = QStringLiteral("버전 ");
const QString kDescription =
    QStringLiteral("※프로그램에 대한 설명※\r\n"
                   "\r\n"
                   "본 프로그램은 개인이 가지고 있는 텍스트, 워드파일 형태의 역본자료를 벼리솔에서 불러볼 수 있도록  "
                   "제작된 프로그램입니다.\r\n"
                   "\r\n"
                   "원어성경(히브리어,헬라어)은 현재 버전에서는 지원하지 않습니다. 기본적으로 영문/한글(한자포함)만 "
                   "지원됩니다.\r\n"
                   "\r\n"
                   "이 프로그램은 아직 베타버전이며 벼리솔 2.0버전에 정식으로 포함될 예정입니다. 그러나 일반적 "
                   "사용에는 큰 불편함이 없습니다.\r\n");
const QString kCommand1 = QStringLiteral("확인");
const QString kWebAddress = QStringLiteral("https://byeorisol.example.org");
const QString kLineBreak = QStringLiteral("\r\n");

// Geometry in twips.
constexpr int kClientWidth = 6120;
constexpr int kClientHeight = 4560;

// Shift, Ctrl and Alt as a shift state: 1, 2 and 4.
int shiftState(Qt::KeyboardModifiers modifiers)
{
    return ((modifiers & Qt::ShiftModifier) != 0 ? 1 : 0) | ((modifiers & Qt::ControlModifier) != 0 ? 2 : 0) |
           ((modifiers & Qt::AltModifier) != 0 ? 4 : 0);
}

// The program's icon: an open book, drawn when the application has no icon of its own.
QPixmap programIcon(QSize size)
{
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
        return icon.pixmap(size);
    }
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(size.width() * 0.06, size.height() * 0.2, size.width() * 0.88, size.height() * 0.62);
    const QPointF spine(area.center().x(), area.top());
    painter.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 1.5));
    for (const int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(spine);
        page.quadTo(spine.x() + side * area.width() * 0.25, area.top() - area.height() * 0.12,
                    spine.x() + side * area.width() * 0.5, area.top());
        page.lineTo(spine.x() + side * area.width() * 0.5, area.bottom());
        page.quadTo(spine.x() + side * area.width() * 0.25, area.bottom() - area.height() * 0.12, spine.x(),
                    area.bottom());
        page.closeSubpath();
        painter.setBrush(QColor(0xFF, 0xFD, 0xF6));
        painter.drawPath(page);
    }
    painter.drawLine(spine, QPointF(spine.x(), area.bottom()));
    painter.setPen(QPen(QColor(0xB0, 0x30, 0x30), 2));
    painter.drawLine(QPointF(spine.x() + area.width() * 0.1, area.top()),
                     QPointF(spine.x() + area.width() * 0.1, area.bottom() + size.height() * 0.12));
    return picture;
}

QFrame* rule(QWidget* parent, const QString& name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

frmAbout::frmAbout(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_shellOpen(platform::openWithShell)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmAbout::createControls()
{
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->installEventFilter(this);

    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont name = Label4->font();
    name.setBold(true);
    name.setPointSizeF(name.pointSizeF() * 1.3);
    Label4->setFont(name);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont link = Label3->font();
    link.setUnderline(true);
    Label3->setFont(link);
    Label3->setStyleSheet(QStringLiteral("color: #1A4FA0;"));
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);

    for (int i = 0; i < 2; ++i) {
        Line2[i] = rule(this, QStringLiteral("Line2_%1").arg(i));
        Line3[i] = rule(this, QStringLiteral("Line3_%1").arg(i));
    }
}

void frmAbout::applyTexts()
{
    setWindowTitle(kCaption);
    Label4->setText(kLabel4);
    Label3->setText(kLabel3);
    Label3->setToolTip(kLabel3Tip);
    Label1->setText(kLabel1);
    Text1->setPlainText(QString(kDescription).replace(kLineBreak, QStringLiteral("\n")));
    Command1->setText(kCommand1);
}

void frmAbout::placeControls()
{
    picIcon->setGeometry(twips(240, 240, 720, 720));
    picIcon->setPixmap(programIcon(picIcon->size()));
    Label4->setGeometry(twips(1140, 240, 4740, 420));
    Label1->setGeometry(twips(1140, 690, 2400, 285));
    Label3->setGeometry(twips(4860, 690, 1020, 285));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Each rule is a pair: a dark line with a light one under it.
    Line2[0]->setGeometry(twips(240, 1110, 5640, 30));
    Line2[1]->setGeometry(twips(240, 1140, 5640, 30));
    Text1->setGeometry(twips(240, 1290, 5640, 2400));
    Line3[0]->setGeometry(twips(240, 3810, 5640, 30));
    Line3[1]->setGeometry(twips(240, 3840, 5640, 30));
    Command1->setGeometry(twips(4680, 3990, 1200, 375));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

QString frmAbout::versionLine(const platform::FileVersion& version)
{
    return kVersionPrefix + QString::number(version.major) + QStringLiteral(".") + QString::number(version.minor) +
           QStringLiteral(".") + QString::number(version.revision);
}

QString frmAbout::webAddress()
{
    return kWebAddress;
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label3->rect().contains(mouse->position().toPoint())) {
            Label3_Click();
            return true;
        }
    } else if (watched == picIcon && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        picIcon_MouseDown(mouse->button(), shiftState(mouse->modifiers()), at.x(), at.y());
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::Form_Load()
{
    platform::CenterForm(this);
    Label1->setText(versionLine(platform::fileVersion()));
    // Enter closes the window, as in any message of its kind.
    Command1->setFocus();
}

void frmAbout::Label3_Click()
{
    platform::openForUser(m_dialogs, this, m_shellOpen, kWebAddress);
}

void frmAbout::Command1_Click()
{
    accept();
}

void frmAbout::picIcon_MouseDown(Qt::MouseButton, int, int, int)
{
    // With Shift, Ctrl and Alt held (shift state 7) this press once asked for a
    // further window; no such window belongs to this program, so no press does anything.
}

} // namespace maintenance
