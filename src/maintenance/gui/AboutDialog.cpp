#include "maintenance/gui/AboutDialog.h"

#include "platform/gui/NamedWidget.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace maintenance {

namespace {

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

using platform::named;

} // namespace

// The web site opens with the desktop's own working folder: the program folder is not needed.
AboutDialog::AboutDialog(platform::Dialogs& dialogs, const QString& /*programFolder*/, QWidget* parent)
    : NoticeDialog(dialogs, "AboutDialog", QStringLiteral("벼리솔 성경자료 관리기"), parent)
{
    auto* icon = named<QLabel>(this, "iconLabel");
    icon->setPixmap(programIcon(QSize(kIconSize, kIconSize)));
    icon->setAlignment(Qt::AlignTop);

    auto* name = named<QLabel>(this, "nameLabel", QStringLiteral("벼리솔 성경자료 관리기"));
    QFont large = name->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.3);
    name->setFont(large);

    // The maker's name reads as a link and works as a button: Tab reaches it, Space or Enter opens the site.
    auto* website = named<QPushButton>(this, "websiteButton", QStringLiteral("반트렐"), QStringLiteral("웹사이트"));
    website->setFlat(true);
    website->setCursor(Qt::PointingHandCursor);
    QFont link = website->font();
    link.setUnderline(true);
    website->setFont(link);
    QPalette colours = website->palette();
    colours.setColor(QPalette::ButtonText, QColor(0x1A, 0x4F, 0xA0));
    website->setPalette(colours);
    connect(website, &QPushButton::clicked, this,
            [this] { openForUser(QStringLiteral("https://byeorisol.example.org")); });

    auto* heading = new QGridLayout;
    heading->addWidget(icon, 0, 0, 2, 1);
    heading->addWidget(name, 0, 1, 1, 2);
    heading->addWidget(named<QLabel>(this, "versionLabel", versionLine(platform::fileVersion())), 1, 1);
    heading->addWidget(website, 1, 2, Qt::AlignRight);
    heading->setColumnStretch(1, 1);

    auto* description = textBox(
        this, "descriptionText",
        QStringLiteral("※프로그램에 대한 설명※\r\n"
                       "\r\n"
                       "본 프로그램은 개인이 가지고 있는 텍스트, IMP, USFM, OSIS, Zefania, VPL 파일 형태의 역본자료를 "
                       "벼리솔에서 불러볼 수 있도록  "
                       "제작된 프로그램입니다.\r\n"
                       "\r\n"
                       "원어성경(히브리어,헬라어)은 현재 버전에서는 지원하지 않습니다. 기본적으로 "
                       "영문/한글(한자포함)만 지원됩니다.\r\n"
                       "\r\n"
                       "이 프로그램은 자유 소프트웨어입니다. GNU 일반 공중 사용 허가서(GPL) 제2판 또는 (원하는 대로) "
                       "그 뒤의 판에 따라 다시 배포하거나 고칠 수 있습니다. 리눅스판은 설치된 SWORD 모듈을 CrossWire "
                       "성경 협회의 SWORD 라이브러리(GPL 제2판)로 읽습니다.\r\n"));
    description->setReadOnly(true);
    // The description has no label of its own to name it for a screen reader.
    description->setAccessibleName(QStringLiteral("프로그램에 대한 설명"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(description, 1);
    finishWithOkButton(layout, 66);
}

QString AboutDialog::versionLine(const platform::FileVersion& version)
{
    return QStringLiteral("버전 %1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

} // namespace maintenance
