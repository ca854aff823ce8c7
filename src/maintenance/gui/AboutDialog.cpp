#include "maintenance/gui/AboutDialog.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/ShellOpen.h"
#include "platform/gui/TextSize.h"
#include "platform/gui/WindowSettings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace maintenance {

namespace {

const QString kWindowTitle = QStringLiteral("벼리솔 성경자료 관리기");
const QString kProgramName = QStringLiteral("벼리솔 성경자료 관리기");
const QString kMaker = QStringLiteral("반트렐");
const QString kMakerTip = QStringLiteral("웹사이트");
const QString kVersionPrefix = QStringLiteral("버전 ");
const QString kDescription =
    QStringLiteral("※프로그램에 대한 설명※\r\n"
                   "\r\n"
                   "본 프로그램은 개인이 가지고 있는 텍스트, IMP, USFM, OSIS, Zefania 파일 형태의 역본자료를 "
                   "벼리솔에서 불러볼 수 있도록  "
                   "제작된 프로그램입니다.\r\n"
                   "\r\n"
                   "원어성경(히브리어,헬라어)은 현재 버전에서는 지원하지 않습니다. 기본적으로 영문/한글(한자포함)만 "
                   "지원됩니다.\r\n");
// What a screen reader calls the description, which has no label of its own.
const QString kDescriptionName = QStringLiteral("프로그램에 대한 설명");
const QString kOk = QStringLiteral("확인");
const QString kWebAddress = QStringLiteral("https://byeorisol.example.org");
const QString kLineBreak = QStringLiteral("\r\n");

constexpr int kIconSize = 48;

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

// The width the window asks for at the first opening, in average characters of its font.
constexpr int kWidthInCharacters = 66;

using platform::named;

} // namespace

// The web site opens with the desktop's own working folder: the program folder is not needed.
AboutDialog::AboutDialog(platform::Dialogs& dialogs, const QString& /*programFolder*/, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_shellOpen(platform::openWithShell)
{
    setObjectName(QStringLiteral("AboutDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
    // Enter closes the window, as in any message of its kind.
    m_okButton->setFocus();
}

QSize AboutDialog::sizeHint() const
{
    // Room for the description to read in lines of some length.
    return platform::atLeastCharacters(QDialog::sizeHint(), *this, kWidthInCharacters);
}

void AboutDialog::createWidgets()
{
    m_iconLabel = named<QLabel>(this, "iconLabel");
    m_iconLabel->setPixmap(programIcon(QSize(kIconSize, kIconSize)));
    m_iconLabel->setAlignment(Qt::AlignTop);

    m_nameLabel = named<QLabel>(this, "nameLabel");
    QFont name = m_nameLabel->font();
    name.setBold(true);
    name.setPointSizeF(name.pointSizeF() * 1.3);
    m_nameLabel->setFont(name);
    m_versionLabel = named<QLabel>(this, "versionLabel");

    // The maker's name reads as a link and works as a button: Tab reaches it, Space or Enter opens the site.
    m_websiteButton = named<QPushButton>(this, "websiteButton");
    m_websiteButton->setFlat(true);
    m_websiteButton->setCursor(Qt::PointingHandCursor);
    QFont link = m_websiteButton->font();
    link.setUnderline(true);
    m_websiteButton->setFont(link);
    QPalette colours = m_websiteButton->palette();
    colours.setColor(QPalette::ButtonText, QColor(0x1A, 0x4F, 0xA0));
    m_websiteButton->setPalette(colours);

    m_descriptionText = named<QPlainTextEdit>(this, "descriptionText");
    m_descriptionText->setReadOnly(true);
    m_descriptionText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_descriptionText->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    m_buttons = named<QDialogButtonBox>(this, "buttons");
    m_okButton = m_buttons->addButton(QDialogButtonBox::Ok);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);

    connect(m_websiteButton, &QPushButton::clicked, this, &AboutDialog::onWebsiteClicked);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void AboutDialog::createLayout()
{
    auto* heading = new QGridLayout;
    heading->addWidget(m_iconLabel, 0, 0, 2, 1);
    heading->addWidget(m_nameLabel, 0, 1, 1, 2);
    heading->addWidget(m_versionLabel, 1, 1);
    heading->addWidget(m_websiteButton, 1, 2, Qt::AlignRight);
    heading->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(m_descriptionText, 1);
    layout->addWidget(m_buttons);
}

void AboutDialog::applyTexts()
{
    setWindowTitle(kWindowTitle);
    m_nameLabel->setText(kProgramName);
    m_versionLabel->setText(versionLine(platform::fileVersion()));
    m_websiteButton->setText(kMaker);
    m_websiteButton->setToolTip(kMakerTip);
    m_descriptionText->setPlainText(QString(kDescription).replace(kLineBreak, QStringLiteral("\n")));
    m_descriptionText->setAccessibleName(kDescriptionName);
    m_okButton->setText(kOk);
}

QString AboutDialog::versionLine(const platform::FileVersion& version)
{
    return kVersionPrefix + QString::number(version.major) + QStringLiteral(".") + QString::number(version.minor) +
           QStringLiteral(".") + QString::number(version.revision);
}

QString AboutDialog::webAddress()
{
    return kWebAddress;
}

void AboutDialog::onWebsiteClicked()
{
    platform::openForUser(m_dialogs, this, m_shellOpen, kWebAddress);
}

} // namespace maintenance
