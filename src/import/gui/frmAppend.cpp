#include "import/gui/frmAppend.h"

#include "import/BuildPipeline.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/VersionName.h"
#include "import/gui/frmAppendForm.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ShellOpen.h"
#include "platform/gui/Twips.h"
#include "versiondb/Names.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <utility>

namespace importer {

namespace {

const QString kCaption = QStringLiteral("개인역본 추가 - Import");
const QString kTabCaptions = QStringLiteral("1.텍스트파일 선택|2.역본명 설정|3.만들기 시작");

const QString kLabel10 = QStringLiteral("※");
const QString kLabel1 =
    QStringLiteral("성경원문이 담겨 있는 텍스트파일을 아래의 목록상자에 마우스로 끌어다 놓으십시오. "
                   "파일수는 관계 없지만 반드시 동일한 역본파일로만 구성하여 주십시오.");
const QString kLabel8 = QStringLiteral("(아래 쪽의 '파일추가' 단추를 이용하셔도 됩니다)");
// The format button stands over the gap of 13 spaces.
const QString kLabel2Before = QStringLiteral("※ 텍스트파일 형식은");
const QString kLabel2Gap = QString(13, QLatin1Char(' '));
const QString kLabel2 = kLabel2Before + kLabel2Gap + QStringLiteral("과 같이 만들어 주십시오.");
const QString kCommand5 = QStringLiteral("다음");
const QString kCommand3 = QStringLiteral("파일추가");
const QString kCommand4 = QStringLiteral("파일편집");
const QString kCommand4Tip = QStringLiteral("선택된 파일을 메모장이나 문서작성기로 열어 편집합니다.");
const QString kCommand2 = QStringLiteral("삭제");
const QString kCommand2Tip = QStringLiteral("선택된 파일을 목록에서 삭제합니다. ");
const QString kCommand6 = QStringLiteral("모두삭제");
const QString kCommand6Tip = QStringLiteral("목록에 추가된 모든  파일을 삭제합니다.");
const QString kCommand11 = QStringLiteral("※편집오류 잡아내기※");

const QString kLabel3 = QStringLiteral("※ 1번[탭]의 목록에 추가된 텍스트 파일들은 어떤 역본입니까? ");
const QString kLabel4 = QStringLiteral("역본명:");
const QString kCommand8Tip = QStringLiteral("열기");
const QString kLabel9 =
    QStringLiteral("이미 만들어진 역본파일을 선택하셨을 경우 똑같은 절이 나오면 자동 업데이트(덮어쓰게) 됩니다. ");
const QString kLabel11 = QStringLiteral("주의하실 것은 기본적으로 제공된 역본(개역,kjv)은 선택하지 마십시오.");

const QString kLabel5 = QStringLiteral("※ '만들기 시작' 단추를 누르면 작업이 시작됩니다.");
const QString kLabel6 = QStringLiteral("완료시간은 시스템 사양에 따라 가변적입니다.");
const QString kLabel7 =
    QStringLiteral("작업추천: 1번[탭]에서 지원하는 '편집오류 잡아내기'를 실행하고 만들기를 시작하십시오.");
const QString kCommand7 = QStringLiteral("※만들기 시작※");
const QString kLabel15 = QStringLiteral("1/2 작업중...");

const QString kCommand1 = QStringLiteral("닫기");

const QString kSelectToRemove = QStringLiteral("지울 파일을 목록에서 선택해야 합니다 !");
const QString kSelectToEdit = QStringLiteral("편집할 파일을 목록에서 선택해야 합니다 !");
const QString kShippedChosen = QStringLiteral("선택하신 파일은 기본 제공파일로 선택할 수 없습니다 !");
const QString kTwoLineBreaks = QStringLiteral("\r\n\r\n");

const QString kAddTitle = QStringLiteral("텍스트 파일 추가");
// Text files first; SWORD's IMP files (mod2imp) and USFM files are read as well.
const QString kAddFilter =
    QStringLiteral("텍스트 파일 (*.txt);;IMP 파일 (*.imp);;USFM 파일 (*.usfm *.sfm);;OSIS·Zefania XML 파일 (*.xml)");
const QString kOpenTitle = QStringLiteral("역본파일 선택");
const QString kOpenFilter = QStringLiteral("역본파일 (*.dat)");

// Geometry in twips.
constexpr int kClientWidth = 8880;
constexpr int kClientHeight = 6300;

// Pending window events are processed at most this often during a run.
constexpr qint64 kEventIntervalMs = 50;

// The picture beside the tabs: a sheet of text becoming a bound book.
QPixmap sheetsPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(QColor(0xF4, 0xEF, 0xE1));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const QColor ink(0x5A, 0x3E, 0x1B);

    // Two loose sheets with lines of text and a folded corner.
    for (const auto& [dx, dy] : {std::pair{0.16, 0.06}, std::pair{0.1, 0.1}}) {
        const QRectF sheet(w * dx, h * dy, w * 0.7, h * 0.36);
        const double fold = w * 0.14;
        QPainterPath outline;
        outline.moveTo(sheet.topLeft());
        outline.lineTo(sheet.right() - fold, sheet.top());
        outline.lineTo(sheet.right(), sheet.top() + fold);
        outline.lineTo(sheet.bottomRight());
        outline.lineTo(sheet.bottomLeft());
        outline.closeSubpath();
        painter.setPen(QPen(ink, 1.2));
        painter.setBrush(QColor(0xFF, 0xFD, 0xF6));
        painter.drawPath(outline);
        painter.drawLine(QPointF(sheet.right() - fold, sheet.top()), QPointF(sheet.right() - fold, sheet.top() + fold));
        painter.drawLine(QPointF(sheet.right() - fold, sheet.top() + fold), QPointF(sheet.right(), sheet.top() + fold));
        painter.setPen(QPen(QColor(0xB0, 0xA0, 0x80), 1));
        for (int line = 1; line <= 7; ++line) {
            const double y = sheet.top() + sheet.height() * line / 8.5 + fold * 0.3;
            const double end = line % 3 == 0 ? 0.55 : 0.85;
            painter.drawLine(QPointF(sheet.left() + sheet.width() * 0.1, y),
                             QPointF(sheet.left() + sheet.width() * end, y));
        }
    }

    // An arrow down to the book.
    painter.setPen(QPen(QColor(0x2F, 0x55, 0x8F), 2.5));
    const double arrowX = w * 0.5;
    painter.drawLine(QPointF(arrowX, h * 0.5), QPointF(arrowX, h * 0.64));
    painter.setBrush(QColor(0x2F, 0x55, 0x8F));
    QPolygonF head;
    head << QPointF(arrowX - w * 0.09, h * 0.62) << QPointF(arrowX + w * 0.09, h * 0.62) << QPointF(arrowX, h * 0.68);
    painter.drawPolygon(head);

    // The bound book.
    const QRectF book(w * 0.14, h * 0.71, w * 0.72, h * 0.24);
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(QColor(0x7A, 0x2E, 0x22));
    painter.drawRoundedRect(book, 3, 3);
    painter.setBrush(QColor(0xFF, 0xFD, 0xF6));
    painter.drawRect(QRectF(book.right() - w * 0.06, book.top() + h * 0.015, w * 0.04, book.height() - h * 0.03));
    painter.setPen(QPen(QColor(0xE0, 0xC0, 0x60), 2));
    const QPointF centre(book.center().x() - w * 0.03, book.center().y());
    painter.drawLine(centre - QPointF(0, book.height() * 0.3), centre + QPointF(0, book.height() * 0.3));
    painter.drawLine(centre - QPointF(w * 0.08, book.height() * 0.1), centre + QPointF(w * 0.08, -book.height() * 0.1));
    return picture;
}

QLabel* label(QWidget* parent, const char* name, bool wrap = false)
{
    auto* created = new QLabel(parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setTextFormat(Qt::PlainText);
    created->setWordWrap(wrap);
    return created;
}

QPushButton* button(QWidget* parent, const char* name)
{
    auto* created = new QPushButton(parent);
    created->setObjectName(QString::fromLatin1(name));
    // Enter in the name box must not press a button by surprise.
    created->setAutoDefault(false);
    return created;
}

bool isDragEvent(const QEvent* event)
{
    return event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop;
}

bool carriesFiles(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

} // namespace

frmAppend::frmAppend(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_shellOpen(platform::openWithShell)
{
    setObjectName(QStringLiteral("frmAppend"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

frmAppend::~frmAppend() = default;

void frmAppend::createControls()
{
    Image1 = label(this, "Image1");

    VideoSoftIndexTab1 = new QTabWidget(this);
    VideoSoftIndexTab1->setObjectName(QStringLiteral("VideoSoftIndexTab1"));
    VideoSoftElastic1 = new QWidget;
    VideoSoftElastic1->setObjectName(QStringLiteral("VideoSoftElastic1"));
    VideoSoftElastic2 = new QWidget;
    VideoSoftElastic2->setObjectName(QStringLiteral("VideoSoftElastic2"));
    VideoSoftElastic3 = new QWidget;
    VideoSoftElastic3->setObjectName(QStringLiteral("VideoSoftElastic3"));
    for (QWidget* page : {VideoSoftElastic1, VideoSoftElastic2, VideoSoftElastic3}) {
        VideoSoftIndexTab1->addTab(page, QString());
    }

    // Tab 1: the file list.
    Label10 = label(VideoSoftElastic1, "Label10");
    Label1 = label(VideoSoftElastic1, "Label1", true);
    Label8 = label(VideoSoftElastic1, "Label8");
    Label2 = label(VideoSoftElastic1, "Label2");
    List1 = new QListWidget(VideoSoftElastic1);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setDragEnabled(false);
    List1->setAcceptDrops(true);
    List1->viewport()->setAcceptDrops(true);
    List1->viewport()->installEventFilter(this);
    // Created after the list so that it stays over Label2's gap.
    Command5 = button(VideoSoftElastic1, "Command5");
    Command3 = button(VideoSoftElastic1, "Command3");
    Command4 = button(VideoSoftElastic1, "Command4");
    Command2 = button(VideoSoftElastic1, "Command2");
    Command6 = button(VideoSoftElastic1, "Command6");
    Command11 = button(VideoSoftElastic1, "Command11");

    // Tab 2: the version name.
    Label3 = label(VideoSoftElastic2, "Label3");
    Label4 = label(VideoSoftElastic2, "Label4");
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = new QComboBox(VideoSoftElastic2);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // Its list part stays empty: Enter must not add the typed name to it.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Command8 = button(VideoSoftElastic2, "Command8");
    Command8->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    Label9 = label(VideoSoftElastic2, "Label9", true);
    Label11 = label(VideoSoftElastic2, "Label11", true);
    Label11->setStyleSheet(QStringLiteral("color: #A01C1C;"));

    // Tab 3: the start of a build and its progress.
    Label5 = label(VideoSoftElastic3, "Label5");
    Label6 = label(VideoSoftElastic3, "Label6");
    Label7 = label(VideoSoftElastic3, "Label7", true);
    Command7 = button(VideoSoftElastic3, "Command7");
    QFont strong = Command7->font();
    strong.setBold(true);
    Command7->setFont(strong);
    Label15 = label(VideoSoftElastic3, "Label15");
    Label15->setVisible(false);
    ProgressBar1 = new QProgressBar(VideoSoftElastic3);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 0);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(false);

    // On the window: the work animation, the close button, and a list that is
    // never shown (the pipeline keeps the error list itself).
    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setVisible(false);
    Command1 = button(this, "Command1");

    setTabOrder(List1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command2);
    setTabOrder(Command2, Command6);
    setTabOrder(Command6, Command11);

    connect(Command3, &QPushButton::clicked, this, &frmAppend::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &frmAppend::Command2_Click);
    connect(Command6, &QPushButton::clicked, this, &frmAppend::Command6_Click);
    connect(Command4, &QPushButton::clicked, this, &frmAppend::Command4_Click);
    connect(Command8, &QPushButton::clicked, this, &frmAppend::Command8_Click);
    connect(Command11, &QPushButton::clicked, this, &frmAppend::Command11_Click);
    connect(Command7, &QPushButton::clicked, this, &frmAppend::Command7_Click);
    connect(Command5, &QPushButton::clicked, this, &frmAppend::Command5_Click);
    connect(Command1, &QPushButton::clicked, this, &frmAppend::Command1_Click);
}

void frmAppend::applyTexts()
{
    setWindowTitle(kCaption);
    const QStringList tabs = kTabCaptions.split(QLatin1Char('|'));
    for (int i = 0; i < VideoSoftIndexTab1->count() && i < tabs.size(); ++i) {
        VideoSoftIndexTab1->setTabText(i, tabs.at(i));
    }
    Label10->setText(kLabel10);
    Label1->setText(kLabel1);
    Label8->setText(kLabel8);
    Label2->setText(kLabel2);
    Command5->setText(kCommand5);
    Command3->setText(kCommand3);
    Command4->setText(kCommand4);
    Command4->setToolTip(kCommand4Tip);
    Command2->setText(kCommand2);
    Command2->setToolTip(kCommand2Tip);
    Command6->setText(kCommand6);
    Command6->setToolTip(kCommand6Tip);
    Command11->setText(kCommand11);

    Label3->setText(kLabel3);
    Label4->setText(kLabel4);
    Command8->setToolTip(kCommand8Tip);
    Label9->setText(kLabel9);
    Label11->setText(kLabel11);

    Label5->setText(kLabel5);
    Label6->setText(kLabel6);
    Label7->setText(kLabel7);
    Command7->setText(kCommand7);
    Label15->setText(kLabel15);

    Command1->setText(kCommand1);
}

void frmAppend::placeControls()
{
    Image1->setGeometry(twips(120, 180, 1560, 3900));
    Image1->setPixmap(sheetsPicture(Image1->size()));
    VideoSoftIndexTab1->setGeometry(twips(1800, 120, 6960, 5460));
    Command1->setGeometry(twips(7560, 5760, 1200, 375));
    List2->setGeometry(twips(120, 5760, 1200, 375));

    Label10->setGeometry(twips(120, 180, 240, 285));
    Label1->setGeometry(twips(360, 180, 6360, 600));
    Label8->setGeometry(twips(360, 840, 6360, 285));
    Label2->setGeometry(twips(120, 1260, 6600, 345));
    List1->setGeometry(twips(120, 1740, 6600, 2580));
    Command3->setGeometry(twips(120, 4440, 1140, 375));
    Command4->setGeometry(twips(1320, 4440, 1140, 375));
    Command2->setGeometry(twips(2520, 4440, 900, 375));
    Command6->setGeometry(twips(3480, 4440, 1140, 375));
    Command11->setGeometry(twips(4680, 4440, 2040, 375));
    placeFormatButton();

    Label3->setGeometry(twips(240, 360, 6480, 285));
    Label4->setGeometry(twips(240, 1080, 1020, 345));
    Combo1->setGeometry(twips(1380, 1080, 4200, 345));
    Command8->setGeometry(twips(5700, 1080, 480, 345));
    Label9->setGeometry(twips(360, 1860, 6360, 600));
    Label11->setGeometry(twips(360, 2640, 6360, 600));

    Label5->setGeometry(twips(240, 360, 6480, 285));
    Label6->setGeometry(twips(240, 720, 6480, 285));
    Label7->setGeometry(twips(240, 1080, 6480, 600));
    Command7->setGeometry(twips(2040, 2040, 2880, 495));
    Label15->setGeometry(twips(240, 3000, 6480, 285));
    ProgressBar1->setGeometry(twips(240, 3360, 6480, 330));

    setFixedTwipsSize(kClientWidth, kClientHeight);
}

// The format button covers Label2's gap of 13 spaces, as wide as the gap
// allows and never narrower than its caption.
void frmAppend::placeFormatButton()
{
    const QFontMetrics metrics(Label2->font());
    const int start = metrics.horizontalAdvance(kLabel2Before);
    const int end = metrics.horizontalAdvance(kLabel2Before + kLabel2Gap);
    const int caption = QFontMetrics(Command5->font()).horizontalAdvance(kCommand5) + 8;
    const int width = std::max(end - start - 2, caption);
    const int height = platform::twipsToPixels(330, this);
    const int left = Label2->x() + Label2->contentsMargins().left() + (start + end - width) / 2;
    Command5->setGeometry(left, Label2->y() + (Label2->height() - height) / 2, width, height);
}

void frmAppend::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    VideoSoftIndexTab1->setCurrentIndex(0);
    platform::CenterForm(this);
}

QStringList frmAppend::fileList() const
{
    QStringList files;
    files.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i) {
        files << List1->item(i)->text();
    }
    return files;
}

void frmAppend::warn(const QString& text)
{
    m_dialogs.inform(this, platform::MessageIcon::Exclamation, text);
}

void frmAppend::Command3_Click()
{
    if (m_running) {
        return;
    }
    platform::FileDialogRequest request;
    request.title = kAddTitle;
    request.folder = platform::installFolder(m_programFolder);
    request.filter = kAddFilter;
    request.multiple = true;
    // Each chosen file as its full native path; a cancel adds nothing.
    for (const QString& file : m_dialogs.chooseFiles(this, request)) {
        List1->addItem(QDir::toNativeSeparators(file));
    }
}

void frmAppend::List1_OLEDragDrop(const QMimeData* dropped)
{
    if (m_running || dropped == nullptr || !dropped->hasUrls()) {
        return;
    }
    // Files of any type and folders, in the order dropped; anything that is
    // not a local file is passed over.
    for (const QUrl& url : dropped->urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString path = url.toLocalFile();
        if (!path.isEmpty()) {
            List1->addItem(QDir::toNativeSeparators(path));
        }
    }
}

bool frmAppend::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport() && isDragEvent(event)) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (m_running || !List1->isEnabled() || !carriesFiles(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        // Always a copy: the file manager must never take a move as done and
        // remove the dropped files.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop) {
            List1_OLEDragDrop(drop->mimeData());
        }
        return true;
    }
    // A double click anywhere on the list edits its current entry; the
    // click before it has made the entry under the pointer current.
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        List1_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAppend::Command2_Click()
{
    if (m_running || List1->count() == 0) {
        return;
    }
    if (List1->currentItem() == nullptr) {
        warn(kSelectToRemove);
        return;
    }
    for (int i = List1->count() - 1; i >= 0; --i) {
        if (List1->item(i)->isSelected()) {
            delete List1->takeItem(i);
        }
    }
}

void frmAppend::Command6_Click()
{
    if (m_running) {
        return;
    }
    List1->clear();
}

void frmAppend::Command4_Click()
{
    if (m_running || List1->count() == 0) {
        return;
    }
    const QListWidgetItem* current = List1->currentItem();
    if (current == nullptr) {
        warn(kSelectToEdit);
        return;
    }
    platform::openForUser(m_dialogs, this, m_shellOpen, current->text());
}

void frmAppend::List1_DblClick()
{
    Command4_Click();
}

void frmAppend::Command8_Click()
{
    if (m_running) {
        return;
    }
    platform::FileDialogRequest request;
    request.title = kOpenTitle;
    request.folder = platform::installFolder(m_programFolder);
    request.filter = kOpenFilter;
    request.multiple = false;
    const QStringList chosen = m_dialogs.chooseFiles(this, request);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = QDir::toNativeSeparators(chosen.front());
    const QString name = platform::GetFileName(path);
    if (name.isEmpty()) {
        return;
    }
    if (versiondb::isShippedName(path)) {
        warn(name + kTwoLineBreaks + kShippedChosen);
        return;
    }
    // Only the name counts: the build works on the file of that name in the install folder.
    Combo1->setEditText(name);
}

void frmAppend::Command11_Click()
{
    if (m_running) {
        return;
    }
    if (const auto refusal = checkRunRefusal(fileList())) {
        warn(*refusal);
        return;
    }
    if (!m_dialogs.confirm(this, checkRunQuestion())) {
        return;
    }
    run(std::nullopt);
}

void frmAppend::Command7_Click()
{
    if (m_running) {
        return;
    }
    const QStringList files = fileList();
    QString name = Combo1->currentText();
    const auto refusal = buildRunRefusal(files, name);
    // The name is trimmed back into the box once the list has passed.
    if (!files.isEmpty()) {
        Combo1->setEditText(name);
    }
    if (refusal) {
        warn(*refusal);
        return;
    }
    // A name that cannot be a file in the install folder is refused before the question.
    if (const auto problem = versionNameProblem(name)) {
        warn(*problem);
        return;
    }
    if (!m_dialogs.confirm(this, buildRunQuestion())) {
        return;
    }
    run(name);
}

void frmAppend::run(std::optional<QString> versionName)
{
    const QStringList files = fileList();
    m_running = true;
    setCommandsEnabled(false);
    m_sinceEvents.invalidate();
    BuildPipeline pipeline(m_programFolder, static_cast<RunObserver&>(*this));
    try {
        if (versionName) {
            QString name = *versionName;
            static_cast<void>(pipeline.runBuild(name, files));
            Combo1->setEditText(name);
        } else {
            static_cast<void>(pipeline.runCheck(files));
        }
    } catch (const std::exception& error) {
        // The pipeline reports its own failures; anything else still ends the run
        // through the same failure message, with the work controls put away first.
        resetWorkControls();
        m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                         RunMessages::phase2Failure(QString::fromLocal8Bit(error.what()), versionName.has_value()));
    }
    resetWorkControls();
    m_running = false;
    setCommandsEnabled(true);
}

void frmAppend::setCommandsEnabled(bool enabled)
{
    for (QWidget* command : std::initializer_list<QWidget*>{Command1, Command2, Command3, Command4, Command5, Command6,
                                                            Command7, Command8, Command11, List1, Combo1}) {
        command->setEnabled(enabled);
    }
}

void frmAppend::resetWorkControls()
{
    m_busy.reset();
    Label15->setVisible(false);
    ProgressBar1->setVisible(false);
    ProgressBar1->setMinimum(0);
    ProgressBar1->setValue(0);
}

void frmAppend::Command5_Click()
{
    if (m_running) {
        return;
    }
    frmAppendForm help(this);
    help.exec();
}

void frmAppend::Command1_Click()
{
    if (m_running) {
        return;
    }
    accept();
}

void frmAppend::reject()
{
    if (m_running) {
        return;
    }
    QDialog::reject();
}

void frmAppend::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmAppend::showStatus(const QString& text)
{
    Label15->setText(text);
    Label15->setVisible(true);
    repaintSoon();
}

void frmAppend::hideStatus()
{
    Label15->setVisible(false);
}

void frmAppend::showProgress(int minimum, int maximum)
{
    ProgressBar1->setRange(minimum, std::max(minimum, maximum));
    ProgressBar1->setValue(minimum);
    ProgressBar1->setVisible(true);
    repaintSoon();
}

void frmAppend::setProgressValue(int value)
{
    ProgressBar1->setValue(std::clamp(value, ProgressBar1->minimum(), ProgressBar1->maximum()));
}

void frmAppend::hideProgress()
{
    ProgressBar1->setVisible(false);
    ProgressBar1->setMinimum(0);
    ProgressBar1->setValue(0);
}

void frmAppend::setBusy(bool busy)
{
    if (busy && !m_busy) {
        m_busy = std::make_unique<platform::BusyPointer>();
    } else if (!busy) {
        m_busy.reset();
    }
}

void frmAppend::processEvents()
{
    // Often enough to repaint and move the progress, seldom enough not to slow the run.
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventIntervalMs) {
        return;
    }
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void frmAppend::repaintSoon()
{
    // A control that has just appeared is shown at the run's next chance.
    m_sinceEvents.invalidate();
}

void frmAppend::versionNameCompleted(const QString& name)
{
    Combo1->setEditText(name);
}

void frmAppend::showMessage(platform::MessageIcon icon, const QString& text)
{
    m_dialogs.inform(this, icon, text);
}

void frmAppend::openErrorLog(const QString& path)
{
    platform::openForUser(m_dialogs, this, m_shellOpen, path);
}

} // namespace importer
