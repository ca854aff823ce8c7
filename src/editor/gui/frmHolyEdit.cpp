#include "editor/gui/frmHolyEdit.h"

#include "editor/EditRules.h"
#include "editor/EditorMessages.h"
#include "editor/gui/frmFindReplace.h"
#include "editor/gui/frmHistory.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>

namespace editor {

namespace {

const QString kCaption = QStringLiteral("성경본문 편집");
const QString kLabel1 = QStringLiteral("① 편집할  ");
const QString kCommand9 = QStringLiteral("성경역본");
const QString kLabel9 = QStringLiteral("을 선택하세요.");
const QString kLabel2 = QStringLiteral("② 편집할 성경구절로 이동하세요.");
const QString kText1Tip = QStringLiteral("여기에 이동할 성경구절을 [책 장:절] 형식으로 입력하세요");
const QString kCommand2 = QStringLiteral("이동");
const QString kCommand2Tip = QStringLiteral("구절이동");
const QString kCommand3 = QStringLiteral("|◀");
const QString kCommand3Tip = QStringLiteral("처음구절로 이동");
const QString kCommand4 = QStringLiteral("◀");
const QString kCommand4Tip = QStringLiteral("현재구절에서 이전구절로 이동");
const QString kCommand5 = QStringLiteral("▶");
const QString kCommand5Tip = QStringLiteral("현재구절에서 다음절로 이동");
const QString kCommand6 = QStringLiteral("▶|");
const QString kCommand6Tip = QStringLiteral("마지막 구절로 이동");
const QString kFrame1 = QStringLiteral("참고사항");
const QString kLabel6 = QStringLiteral("성경구절 입력형식은 다음과 같습니다.");
const QString kLabel7 = QStringLiteral("창 1:1 or 요일 1:1 or 계 1:2 ...");
const QString kLabel11 = QStringLiteral("편집작업 완료후 역본파일 압축 작업을 한번 해주시면 용량과 속도가 개선됩니다.");
const QString kLabel8 =
    QStringLiteral("성경원분 이외에 사용자의 메모가 추가되면 성구검색의 신뢰도를 저해할 수 있습니다.");
const QString kLabel4 = QStringLiteral("성경구절");
const QString kLabel5 = QStringLiteral("성경본문");
const QString kLabel3 = QStringLiteral("③ 편집이 완료된 구절을 ");
const QString kCommand7 = QStringLiteral("저장(&S)");
const QString kLabel10 = QStringLiteral("하세요.");
const QString kCommand8 = QStringLiteral("성경본문 편집(글꼴/색상) 변경");
const QString kCommand10 = QStringLiteral("성경본문 Reload");
const QString kCommand1 = QStringLiteral("닫기");
const QString kCommand11 = QStringLiteral("되돌리기(&U)");
const QString kCommand11Tip = QStringLiteral("표시된 구절의 마지막 변경을 되돌립니다");
const QString kCommand12 = QStringLiteral("변경 이력(&H)");
const QString kCommand12Tip = QStringLiteral("표시된 구절의 이전 본문을 보고 복원합니다");
const QString kCommand13 = QStringLiteral("찾기·\n바꾸기");
const QString kCommand13Tip = QStringLiteral("역본 전체에서 찾고 바꿉니다 (Ctrl+F)");

const QString kNoVersion = QStringLiteral("①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !");
const QString kEnterWarning = QStringLiteral("구절은 반드시 한줄로만 구성되어야 합니다.\r\n"
                                             "줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 !\r\n"
                                             "화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 "
                                             "뿐입니다.");
// Asked before Save stores into a verse that the display box does not show.
const QString kSaveOtherVerse = QStringLiteral("위 구절은 지금 '성경구절'에 표시된 구절이 아닙니다.\r\n"
                                               "이 구절의 본문을 편집하신 본문으로 바꾸시겠습니까?");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kOpenTitle = QStringLiteral("편집할 성경역본 선택 - user.dat는 선택하지 마세요.");
const QString kOpenFilter = QStringLiteral("역본파일 (*.dat);;모든파일 (*.*)");

constexpr int kEnter = 13;

// Geometry in twips.
constexpr int kClientWidth = 10080;
constexpr int kClientHeight = 7500;

// The picture beside the text box: a quill over a page.
QPixmap quillPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    painter.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 1));
    painter.setBrush(QColor(0xFF, 0xFD, 0xF6));
    painter.drawRect(QRectF(w * 0.1, h * 0.2, w * 0.6, h * 0.75));
    painter.setPen(QPen(QColor(0xB0, 0xA0, 0x80), 1));
    for (int line = 1; line <= 5; ++line) {
        const double y = h * 0.2 + h * 0.75 * line / 6.0;
        painter.drawLine(QPointF(w * 0.18, y), QPointF(w * 0.62, y));
    }
    QPainterPath quill;
    quill.moveTo(w * 0.35, h * 0.75);
    quill.quadTo(w * 0.55, h * 0.2, w * 0.95, h * 0.05);
    quill.quadTo(w * 0.75, h * 0.45, w * 0.35, h * 0.75);
    painter.setPen(QPen(QColor(0x2F, 0x55, 0x8F), 1));
    painter.setBrush(QColor(0x7A, 0x8C, 0xA8));
    painter.drawPath(quill);
    return picture;
}

QFrame* decoration(QWidget* parent, const char* name, QFrame::Shape shape)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

frmHolyEdit::frmHolyEdit(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmHolyEdit"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

frmHolyEdit::~frmHolyEdit()
{
    CloseVersion();
}

void frmHolyEdit::createControls()
{
    const auto label = [](QLabel*& member, const char* name, QWidget* parent) {
        member = new QLabel(parent);
        member->setObjectName(QString::fromLatin1(name));
    };
    const auto button = [this](QPushButton*& member, const char* name) {
        member = new QPushButton(this);
        member->setObjectName(QString::fromLatin1(name));
        // Enter clicks the button that has the focus and no other: the window has no default button.
        member->setAutoDefault(false);
        member->installEventFilter(this);
    };

    Shape1 = decoration(this, "Shape1", QFrame::Box);
    Shape2 = decoration(this, "Shape2", QFrame::Box);
    Shape3 = decoration(this, "Shape3", QFrame::Box);
    Line1 = decoration(this, "Line1", QFrame::HLine);
    Line2 = decoration(this, "Line2", QFrame::HLine);
    label(Image1, "Image1", this);

    label(Label1, "Label1", this);
    label(Label9, "Label9", this);
    label(Label2, "Label2", this);
    label(Label3, "Label3", this);
    label(Label10, "Label10", this);
    label(Label4, "Label4", this);
    label(Label5, "Label5", this);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    label(Label6, "Label6", Frame1);
    label(Label7, "Label7", Frame1);
    label(Label11, "Label11", Frame1);
    label(Label8, "Label8", Frame1);
    for (QLabel* note : {Label11, Label8}) {
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    // Created in tab order.
    button(Command9, "Command9");
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    button(Command2, "Command2");
    button(Command3, "Command3");
    button(Command4, "Command4");
    button(Command5, "Command5");
    button(Command6, "Command6");
    button(Command7, "Command7");
    // The program writes the display box and never reads it.
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setReadOnly(true);
    Text3 = new QPlainTextEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text3->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text3->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Text3->setTabChangesFocus(true);
    button(Command10, "Command10");
    button(Command8, "Command8");
    button(Command11, "Command11");
    button(Command12, "Command12");
    button(Command1, "Command1");
    button(Command13, "Command13");

    const QList<QWidget*> order = {Command9, Text1, Command2,  Command3,  Command4, Command5,  Command6,  Command7,
                                   Text2,    Text3, Command13, Command10, Command8, Command11, Command12, Command1};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // The commands that need a version start disabled.
    setVersionControlsEnabled(false);

    Text1->installEventFilter(this);
    Text3->installEventFilter(this);
    connect(Command9, &QPushButton::clicked, this, &frmHolyEdit::Command9_Click);
    connect(Command2, &QPushButton::clicked, this, &frmHolyEdit::Command2_Click);
    connect(Text1, &QLineEdit::textChanged, this, &frmHolyEdit::Text1_Change);
    connect(Command3, &QPushButton::clicked, this, &frmHolyEdit::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmHolyEdit::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmHolyEdit::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmHolyEdit::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmHolyEdit::Command7_Click);
    connect(Command10, &QPushButton::clicked, this, &frmHolyEdit::Command10_Click);
    connect(Command8, &QPushButton::clicked, this, &frmHolyEdit::Command8_Click);
    connect(Text3, &QPlainTextEdit::textChanged, this, &frmHolyEdit::Text3_Change);
    connect(Command1, &QPushButton::clicked, this, &frmHolyEdit::Command1_Click);
    connect(Command11, &QPushButton::clicked, this, &frmHolyEdit::Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &frmHolyEdit::Command12_Click);
    connect(Command13, &QPushButton::clicked, this, &frmHolyEdit::Command13_Click);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, &frmHolyEdit::Command13_Click);
}

void frmHolyEdit::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1);
    Command9->setText(kCommand9);
    Label9->setText(kLabel9);
    Label2->setText(kLabel2);
    Text1->setToolTip(kText1Tip);
    Command2->setText(kCommand2);
    Command2->setToolTip(kCommand2Tip);
    Command3->setText(kCommand3);
    Command3->setToolTip(kCommand3Tip);
    Command4->setText(kCommand4);
    Command4->setToolTip(kCommand4Tip);
    Command5->setText(kCommand5);
    Command5->setToolTip(kCommand5Tip);
    Command6->setText(kCommand6);
    Command6->setToolTip(kCommand6Tip);
    Frame1->setTitle(kFrame1);
    Label6->setText(kLabel6);
    Label7->setText(kLabel7);
    Label11->setText(kLabel11);
    Label8->setText(kLabel8);
    Label4->setText(kLabel4);
    Label5->setText(kLabel5);
    Label3->setText(kLabel3);
    Command7->setText(kCommand7);
    Label10->setText(kLabel10);
    Command8->setText(kCommand8);
    Command10->setText(kCommand10);
    Command1->setText(kCommand1);
    Command11->setText(kCommand11);
    Command11->setToolTip(kCommand11Tip);
    Command12->setText(kCommand12);
    Command12->setToolTip(kCommand12Tip);
    Command13->setText(kCommand13);
    Command13->setToolTip(kCommand13Tip);
}

void frmHolyEdit::placeControls()
{
    // Step ① to ③ on the left, in a box.
    Shape1->setGeometry(twips(120, 120, 4800, 2280));
    Label1->setGeometry(twips(300, 330, 1080, 255));
    Command9->setGeometry(twips(1380, 240, 1200, 420));
    Label9->setGeometry(twips(2640, 330, 2160, 255));
    Label2->setGeometry(twips(300, 900, 4500, 255));
    Text1->setGeometry(twips(540, 1260, 1560, 345));
    Command2->setGeometry(twips(2160, 1260, 660, 345));
    Command3->setGeometry(twips(2880, 1260, 450, 345));
    Command4->setGeometry(twips(3360, 1260, 450, 345));
    Command5->setGeometry(twips(3840, 1260, 450, 345));
    Command6->setGeometry(twips(4320, 1260, 450, 345));
    Label3->setGeometry(twips(300, 1920, 2100, 255));
    Command7->setGeometry(twips(2400, 1830, 1080, 420));
    Label10->setGeometry(twips(3540, 1920, 1260, 255));

    // The notes to the right.
    Frame1->setGeometry(twips(5040, 120, 4920, 2280));
    Label6->setGeometry(twips(180, 300, 4560, 255));
    Label7->setGeometry(twips(180, 600, 4560, 255));
    Label11->setGeometry(twips(180, 1020, 4560, 540));
    Label8->setGeometry(twips(180, 1620, 4560, 540));

    // The display box and the text box across the window.
    Line1->setGeometry(twips(120, 2520, 9840, 30));
    Shape2->setGeometry(twips(120, 2640, 9840, 4020));
    Label4->setGeometry(twips(240, 2805, 1020, 255));
    Text2->setGeometry(twips(1320, 2760, 8520, 345));
    Label5->setGeometry(twips(240, 3285, 1020, 255));
    Text3->setGeometry(twips(1320, 3240, 8520, 3300));
    Image1->setGeometry(twips(360, 3720, 720, 720));
    Image1->setPixmap(quillPicture(Image1->size()));
    // Find and replace below the picture, in the column of the labels.
    Command13->setGeometry(twips(240, 5820, 1020, 660));

    // Reload and Font on the left, Close on the right, taking back between them.
    Line2->setGeometry(twips(120, 6780, 9840, 30));
    Shape3->setGeometry(twips(120, 6840, 5400, 540));
    Command10->setGeometry(twips(240, 6900, 1920, 420));
    Command8->setGeometry(twips(2280, 6900, 3120, 420));
    Command11->setGeometry(twips(5700, 6900, 1320, 420));
    Command12->setGeometry(twips(7140, 6900, 1320, 420));
    Command1->setGeometry(twips(8640, 6900, 1200, 420));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

bool frmHolyEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* pushButton = qobject_cast<QPushButton*>(watched);
        pushButton != nullptr && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            pushButton->click();
            return true;
        }
    }
    if ((watched == Text1 || watched == Text3) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter, whatever the modifier keys, is the character 13.
            int keyAscii = kEnter;
            if (watched == Text1) {
                Text1_KeyPress(keyAscii);
            } else {
                Text3_KeyPress(keyAscii);
            }
            return keyAscii == 0;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmHolyEdit::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    platform::CenterForm(this);
    EnterWarningShown = false;
}

void frmHolyEdit::CloseVersion()
{
    m_version.close();
}

void frmHolyEdit::done(int result)
{
    CloseVersion();
    QDialog::done(result);
}

void frmHolyEdit::setVersionControlsEnabled(bool enabled)
{
    for (QWidget* control :
         {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3),
          static_cast<QWidget*>(Command4), static_cast<QWidget*>(Command5), static_cast<QWidget*>(Command6),
          static_cast<QWidget*>(Text3)}) {
        control->setEnabled(enabled);
    }
    if (!enabled) {
        Command7->setEnabled(false);
    }
}

void frmHolyEdit::showNoVersion()
{
    setWindowTitle(kCaption);
    // Emptying the reference box empties the display box and the text box.
    Text1->clear();
    Text2->clear();
    Text3->clear();
    setVersionControlsEnabled(false);
}

void frmHolyEdit::warn(const QString& text)
{
    m_dialogs.inform(this, platform::MessageIcon::Exclamation, text);
}

void frmHolyEdit::showEngineFailure(const EngineFailure& failure)
{
    // Texts of the database engine go without an icon.
    m_dialogs.inform(this, platform::MessageIcon::None,
                     EditorMessages::fileFailure(windowTitle(), failure.description));
}

bool frmHolyEdit::refusedWithoutVersion()
{
    if (m_version.isOpen()) {
        return false;
    }
    m_dialogs.inform(this, platform::MessageIcon::Critical, kNoVersion);
    return true;
}

QString frmHolyEdit::text3() const
{
    // The raw text keeps every character as typed or pasted; its paragraph
    // separators are the box's own line breaks.
    return Text3->document()->toRawText();
}

void frmHolyEdit::Command9_Click()
{
    platform::FileDialogRequest request;
    request.title = kOpenTitle;
    request.folder = platform::installFolder(m_programFolder);
    request.filter = kOpenFilter;
    request.multiple = false;
    const QStringList chosen = m_dialogs.chooseFiles(this, request);
    if (chosen.isEmpty()) {
        // Cancelled: the version open so far stays open and shown.
        return;
    }
    const QString path = chosen.first();
    CloseVersion();
    if (m_version.open(path)) {
        // The open failed, without a message; nothing is open any more.
        showNoVersion();
        return;
    }
    setWindowTitle(platform::GetFileName(path));
    Text1->setText(firstReference());
    setVersionControlsEnabled(true);
    Command2_Click();
}

std::optional<EngineFailure> frmHolyEdit::showVerse(const QString& path, const QString& reference)
{
    CloseVersion();
    if (std::optional<EngineFailure> failure = m_version.open(path)) {
        showNoVersion();
        return failure;
    }
    setWindowTitle(platform::GetFileName(path));
    Text1->setText(reference);
    setVersionControlsEnabled(true);
    Command2_Click();
    return std::nullopt;
}

void frmHolyEdit::Command2_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    const GoOutcome outcome = m_version.go(Text1->text());
    Text1->setText(outcome.reference);
    switch (outcome.result) {
    case GoResult::EmptyReference:
        warn(EditorMessages::goEmptyReference());
        Text1->setFocus();
        return;
    case GoResult::NotFound:
        // The display box and the text box keep what they showed.
        warn(EditorMessages::goReferenceNotFound());
        Text1->setFocus();
        Text1->selectAll();
        return;
    case GoResult::Found:
        Text2->setText(outcome.verse.reference);
        Text3->setPlainText(outcome.verse.text);
        return;
    case GoResult::Failed:
        showEngineFailure(outcome.failure);
        return;
    }
}

void frmHolyEdit::Text1_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kEnter) {
        KeyAscii = 0;
        Command2_Click();
    }
}

void frmHolyEdit::Text1_Change()
{
    if (Text1->text().isEmpty()) {
        Text3->clear();
        Text2->clear();
    }
}

void frmHolyEdit::Command3_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    Text1->setText(firstReference());
    Command2_Click();
}

void frmHolyEdit::Command4_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    showStep(m_version.previous());
}

void frmHolyEdit::Command5_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    showStep(m_version.next());
}

void frmHolyEdit::showStep(const StepOutcome& outcome)
{
    switch (outcome.result) {
    case StepResult::RunFirst:
        Command3_Click();
        return;
    case StepResult::RunLast:
        Command6_Click();
        return;
    case StepResult::Neighbour:
        Text1->setText(outcome.reference);
        Command2_Click();
        return;
    case StepResult::NumberingGap:
        warn(EditorMessages::stepNumberingGap());
        return;
    case StepResult::NoVerseShown:
        warn(EditorMessages::stepWithoutVerse());
        return;
    case StepResult::Failed:
        showEngineFailure(outcome.failure);
        return;
    }
}

void frmHolyEdit::Command6_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    const StepOutcome outcome = m_version.last();
    if (outcome.result != StepResult::Neighbour) {
        showEngineFailure(outcome.failure);
        return;
    }
    Text1->setText(outcome.reference);
    Command2_Click();
}

void frmHolyEdit::Command7_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    const auto confirmOtherVerse = [this](const QString& reference) {
        return m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                                 reference + QStringLiteral("\r\n\r\n") + kSaveOtherVerse) ==
               platform::MessageAnswer::Yes;
    };
    const std::optional<SaveOutcome> saved = m_version.save(Text1->text(), text3(), Text2->text(), confirmOtherVerse);
    if (!saved) {
        // The user kept the verse on display: nothing was stored and the boxes stay as they are.
        return;
    }
    const SaveOutcome& outcome = *saved;
    if (outcome.result == SaveResult::EmptyReference) {
        warn(EditorMessages::saveEmptyReference());
        Text1->setFocus();
        return;
    }
    // The trimmed text stays in the box; a box that changes enables Save.
    if (outcome.text && *outcome.text != text3()) {
        Text3->setPlainText(*outcome.text);
    }
    if (outcome.result == SaveResult::EmptyText) {
        warn(EditorMessages::saveEmptyText());
        return;
    }
    if (outcome.reference) {
        // A reference of spaces only becomes empty here, which empties both boxes.
        Text1->setText(*outcome.reference);
    }
    switch (outcome.result) {
    case SaveResult::ReferenceNotFound:
        warn(EditorMessages::saveReferenceNotFound());
        return;
    case SaveResult::LineBreak: {
        warn(EditorMessages::saveLineBreak());
        Text3->setFocus();
        QTextCursor caret = Text3->textCursor();
        caret.setPosition(static_cast<int>(outcome.caret));
        Text3->setTextCursor(caret);
        return;
    }
    case SaveResult::Stored:
        // Only 본문 changed; the boxes are not refreshed.
        Command7->setEnabled(false);
        return;
    case SaveResult::Failed:
        showEngineFailure(outcome.failure);
        return;
    case SaveResult::EmptyReference:
    case SaveResult::EmptyText:
        return;
    }
}

void frmHolyEdit::Command10_Click()
{
    // Shows the verse of the reference box again from the version; unsaved changes go.
    Command2_Click();
}

void frmHolyEdit::Command8_Click()
{
    const platform::FontChoice current{Text3->font(), Text3->palette().color(QPalette::Active, QPalette::Text)};
    const std::optional<platform::FontChoice> chosen = m_dialogs.chooseFont(this, current);
    if (!chosen) {
        return;
    }
    // Name, size, bold, italic, underline and strike-out, and the colour: the text box's alone.
    QFont font = Text3->font();
    font.setFamilies(chosen->font.families());
    if (chosen->font.pointSizeF() > 0) {
        font.setPointSizeF(chosen->font.pointSizeF());
    } else if (chosen->font.pixelSize() > 0) {
        font.setPixelSize(chosen->font.pixelSize());
    }
    font.setBold(chosen->font.bold());
    font.setItalic(chosen->font.italic());
    font.setUnderline(chosen->font.underline());
    font.setStrikeOut(chosen->font.strikeOut());
    Text3->setFont(font);
    if (chosen->color.isValid()) {
        QPalette palette = Text3->palette();
        palette.setColor(QPalette::Active, QPalette::Text, chosen->color);
        palette.setColor(QPalette::Inactive, QPalette::Text, chosen->color);
        Text3->setPalette(palette);
    }
}

void frmHolyEdit::Text3_Change()
{
    // Only a change of the text counts: a new font or colour is none.
    const QString text = text3();
    if (text == m_lastText3) {
        return;
    }
    m_lastText3 = text;
    Command7->setEnabled(true);
}

void frmHolyEdit::Text3_KeyPress(int& KeyAscii)
{
    if (KeyAscii != kEnter) {
        return;
    }
    // No line break enters the verse.
    KeyAscii = 0;
    if (!EnterWarningShown) {
        EnterWarningShown = true;
        warn(kEnterWarning);
    }
}

void frmHolyEdit::Command1_Click()
{
    CloseVersion();
    accept();
}

QString frmHolyEdit::aboutVersion(const QString& text) const
{
    return windowTitle() + kLineBreaks + text;
}

std::optional<QString> frmHolyEdit::shownReference()
{
    if (refusedWithoutVersion()) {
        return std::nullopt;
    }
    if (Text2->text().isEmpty()) {
        warn(EditorMessages::stepWithoutVerse());
        return std::nullopt;
    }
    return Text2->text();
}

void frmHolyEdit::showTakenBack(const QString& reference, const std::vector<versiondb::VerseChange>& restored)
{
    Text1->setText(reference);
    Command2_Click();
    m_dialogs.inform(this, platform::MessageIcon::Information,
                     aboutVersion(EditorMessages::takenBack(restored.front().change)));
}

void frmHolyEdit::Command11_Click()
{
    const std::optional<QString> reference = shownReference();
    if (!reference) {
        return;
    }
    platform::BusyPointer busy;
    const std::optional<TakeBackOutcome> outcome = m_version.undoLast(*reference);
    busy.restore();
    if (!outcome) {
        warn(aboutVersion(EditorMessages::goReferenceNotFound()));
    } else if (outcome->failure) {
        showEngineFailure(*outcome->failure);
    } else if (outcome->restored.empty()) {
        warn(aboutVersion(EditorMessages::nothingToTakeBack()));
    } else {
        showTakenBack(*reference, outcome->restored);
    }
}

void frmHolyEdit::Command12_Click()
{
    const std::optional<QString> reference = shownReference();
    if (!reference) {
        return;
    }
    frmHistory window(m_dialogs, m_version, *reference, windowTitle(), this);
    if (window.load() && window.exec() == QDialog::Accepted && !window.restored().empty()) {
        showTakenBack(*reference, window.restored());
    }
}

void frmHolyEdit::Command13_Click()
{
    if (refusedWithoutVersion()) {
        return;
    }
    frmFindReplace window(
        m_dialogs, m_version, windowTitle(),
        [this](const QString& reference) {
            Text1->setText(reference);
            Command2_Click();
        },
        this);
    window.exec();
    if (window.applied() && !Text2->text().isEmpty()) {
        // The verse on display may be one the replacement changed.
        Text1->setText(Text2->text());
        Command2_Click();
    }
}

} // namespace editor
