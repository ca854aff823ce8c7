#include "editor/gui/VerseEditorDialog.h"

#include "books/BookAbbreviations.h"
#include "books/KoreanBookNames.h"
#include "books/ReferenceParser.h"
#include "books/Versification.h"
#include "editor/EditRules.h"
#include "editor/EditorMessages.h"
#include "editor/gui/FindReplaceDialog.h"
#include "editor/gui/HistoryDialog.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/VersionFileDialog.h"
#include "platform/gui/WindowSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <utility>

namespace editor {

namespace {

const QString kCaption = QStringLiteral("성경본문 편집");
const QString kOpenStep = QStringLiteral("① 편집할  ");
const QString kOpenVersion = QStringLiteral("성경역본");
const QString kOpenStepEnd = QStringLiteral("을 선택하세요.");
const QString kGoStep = QStringLiteral("② 편집할 성경구절로 이동하세요.");
const QString kReferenceTip = QStringLiteral("여기에 이동할 성경구절을 [책 장:절] 형식으로 입력하세요");
const QString kBook = QStringLiteral("책");
const QString kChapter = QStringLiteral("장");
const QString kVerse = QStringLiteral("절");
const QString kGo = QStringLiteral("이동");
const QString kGoTip = QStringLiteral("구절이동");
const QString kFirst = QStringLiteral("|◀");
const QString kFirstTip = QStringLiteral("처음구절로 이동");
const QString kPrevious = QStringLiteral("◀");
const QString kPreviousTip = QStringLiteral("현재구절에서 이전구절로 이동");
const QString kNext = QStringLiteral("▶");
const QString kNextTip = QStringLiteral("현재구절에서 다음절로 이동");
const QString kLast = QStringLiteral("▶|");
const QString kLastTip = QStringLiteral("마지막 구절로 이동");
const QString kNotes = QStringLiteral("참고사항");
const QString kReferenceFormat = QStringLiteral("성경구절 입력형식은 다음과 같습니다.");
const QString kReferenceExample = QStringLiteral("창 1:1, 창세기 1:1, 창1:1, 요일 1:1, 계 1 ...");
const QString kCompactNote =
    QStringLiteral("편집작업 완료후 역본파일 최적화 작업을 한번 해주시면 용량과 속도가 개선됩니다.");
const QString kMemoNote =
    QStringLiteral("성경원분 이외에 사용자의 메모가 추가되면 성구검색의 신뢰도를 저해할 수 있습니다.");
const QString kShownReference = QStringLiteral("성경구절");
const QString kVerseText = QStringLiteral("성경본문");
const QString kSaveStep = QStringLiteral("③ 편집이 완료된 구절을 ");
const QString kSave = QStringLiteral("저장(&S)");
const QString kSaveStepEnd = QStringLiteral("하세요.");
const QString kFont = QStringLiteral("성경본문 편집(글꼴/색상) 변경");
const QString kReload = QStringLiteral("성경본문 다시 읽기");
const QString kClose = QStringLiteral("닫기");
const QString kUndo = QStringLiteral("되돌리기(&U)");
const QString kUndoTip = QStringLiteral("표시된 구절의 마지막 변경을 되돌립니다. 누를 때마다 하나씩 더 되돌립니다");
const QString kRedo = QStringLiteral("다시 실행(&Y)");
const QString kRedoTip = QStringLiteral("마지막으로 되돌린 변경을 다시 실행합니다");
const QString kUndoVersion = QStringLiteral("역본 전체 되돌리기");
const QString kUndoVersionTip = QStringLiteral("역본의 마지막 변경(만들기, 바꾸기 등)을 통째로 되돌립니다");
const QString kHistory = QStringLiteral("변경 이력(&H)");
const QString kHistoryTip = QStringLiteral("표시된 구절의 이전 본문을 보고 복원합니다");
const QString kFindReplace = QStringLiteral("찾기·\n바꾸기");
const QString kFindReplaceTip = QStringLiteral("역본 전체에서 찾고 바꿉니다 (Ctrl+F)");

const QString kNoVersion = QStringLiteral("①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !");
const QString kEnterWarning = QStringLiteral("구절은 반드시 한줄로만 구성되어야 합니다.\r\n"
                                             "줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 !\r\n"
                                             "화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 "
                                             "뿐입니다.");
// Asked before Save stores into a verse that the display box does not show.
const QString kSaveOtherVerse = QStringLiteral("위 구절은 지금 '성경구절'에 표시된 구절이 아닙니다.\r\n"
                                               "이 구절의 본문을 편집하신 본문으로 바꾸시겠습니까?");
// Asked before anything drops an edit of the verse shown that is not saved.
const QString kUnsavedEdit = QStringLiteral("편집한 본문을 저장하지 않았습니다.\r\n저장하시겠습니까?");
// Before the version's name in the title while the text shown differs from the stored one.
const QString kModifiedMark = QStringLiteral("* ");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kOpenTitle = QStringLiteral("편집할 성경역본 선택 - user.dat는 선택하지 마세요.");
const QString kOpenFilter = QStringLiteral("역본파일 (*.dat);;모든파일 (*.*)");

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

VerseEditorDialog::VerseEditorDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("VerseEditorDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

VerseEditorDialog::~VerseEditorDialog()
{
    closeVersion();
}

void VerseEditorDialog::createWidgets()
{
    const auto label = [this](QLabel*& member, const char* name) {
        member = new QLabel(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    const auto button = [this](QPushButton*& member, const char* name) {
        member = new QPushButton(this);
        member->setObjectName(QString::fromLatin1(name));
        // Enter clicks the button that has the focus and no other: the window has no default button.
        member->setAutoDefault(false);
    };

    label(m_openStepLabel, "openStepLabel");
    label(m_openStepEndLabel, "openStepEndLabel");
    label(m_goStepLabel, "goStepLabel");
    label(m_saveStepLabel, "saveStepLabel");
    label(m_saveStepEndLabel, "saveStepEndLabel");
    label(m_shownReferenceLabel, "shownReferenceLabel");
    label(m_verseTextLabel, "verseTextLabel");
    m_verseTextLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_notesGroup = new QGroupBox(this);
    m_notesGroup->setObjectName(QStringLiteral("notesGroup"));
    label(m_referenceFormatLabel, "referenceFormatLabel");
    label(m_referenceExampleLabel, "referenceExampleLabel");
    label(m_compactNoteLabel, "compactNoteLabel");
    label(m_memoNoteLabel, "memoNoteLabel");
    for (QLabel* note : {m_referenceFormatLabel, m_compactNoteLabel, m_memoNoteLabel}) {
        note->setWordWrap(true);
    }

    // Created in tab order.
    button(m_openVersionButton, "openVersionButton");
    m_referenceEdit = new QLineEdit(this);
    m_referenceEdit->setObjectName(QStringLiteral("referenceEdit"));
    button(m_goButton, "goButton");
    button(m_firstButton, "firstButton");
    button(m_previousButton, "previousButton");
    button(m_nextButton, "nextButton");
    button(m_lastButton, "lastButton");
    const auto combo = [this](QComboBox*& member, const char* name) {
        member = new QComboBox(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    combo(m_bookCombo, "bookCombo");
    combo(m_chapterCombo, "chapterCombo");
    combo(m_verseCombo, "verseCombo");
    for (int book = 1; book <= books::BookAbbreviations::kCount; ++book) {
        m_bookCombo->addItem(books::KoreanBookNames::at(book).toString(), book);
    }
    fillPicker(1, 1, 1);
    button(m_saveButton, "saveButton");
    // The program writes the display box and never reads it.
    m_shownReferenceEdit = new QLineEdit(this);
    m_shownReferenceEdit->setObjectName(QStringLiteral("shownReferenceEdit"));
    m_shownReferenceEdit->setReadOnly(true);
    m_verseTextEdit = new QPlainTextEdit(this);
    m_verseTextEdit->setObjectName(QStringLiteral("verseTextEdit"));
    m_verseTextEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_verseTextEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_verseTextEdit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_verseTextEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_verseTextEdit->setTabChangesFocus(true);
    button(m_findReplaceButton, "findReplaceButton");
    button(m_reloadButton, "reloadButton");
    button(m_fontButton, "fontButton");
    button(m_undoButton, "undoButton");
    button(m_redoButton, "redoButton");
    button(m_undoVersionButton, "undoVersionButton");
    button(m_historyButton, "historyButton");
    button(m_closeButton, "closeButton");

    // Screen readers name each box by the label beside it (the reference box by step ②).
    m_goStepLabel->setBuddy(m_referenceEdit);
    m_shownReferenceLabel->setBuddy(m_shownReferenceEdit);
    m_verseTextLabel->setBuddy(m_verseTextEdit);

    // The commands that need a version start disabled.
    setVersionControlsEnabled(false);

    m_verseTextEdit->installEventFilter(this);
    connect(m_openVersionButton, &QPushButton::clicked, this, &VerseEditorDialog::onOpenVersionClicked);
    connect(m_goButton, &QPushButton::clicked, this, &VerseEditorDialog::onGoClicked);
    // Enter in the reference box goes, whatever the modifier keys.
    connect(m_referenceEdit, &QLineEdit::returnPressed, this, &VerseEditorDialog::onGoClicked);
    connect(m_referenceEdit, &QLineEdit::textChanged, this, &VerseEditorDialog::onReferenceChanged);
    // A choice in the picker goes to its verse: a book to its first chapter, a chapter to its first verse.
    connect(m_bookCombo, &QComboBox::activated, this, [this] { pickVerse(1, 1); });
    connect(m_chapterCombo, &QComboBox::activated, this, [this] { pickVerse(m_chapterCombo->currentIndex() + 1, 1); });
    connect(m_verseCombo, &QComboBox::activated, this,
            [this] { pickVerse(m_chapterCombo->currentIndex() + 1, m_verseCombo->currentIndex() + 1); });
    connect(m_firstButton, &QPushButton::clicked, this, &VerseEditorDialog::onFirstClicked);
    connect(m_previousButton, &QPushButton::clicked, this, &VerseEditorDialog::onPreviousClicked);
    connect(m_nextButton, &QPushButton::clicked, this, &VerseEditorDialog::onNextClicked);
    connect(m_lastButton, &QPushButton::clicked, this, &VerseEditorDialog::onLastClicked);
    connect(m_saveButton, &QPushButton::clicked, this, &VerseEditorDialog::onSaveClicked);
    connect(m_reloadButton, &QPushButton::clicked, this, &VerseEditorDialog::onReloadClicked);
    connect(m_fontButton, &QPushButton::clicked, this, &VerseEditorDialog::onFontClicked);
    connect(m_verseTextEdit, &QPlainTextEdit::textChanged, this, &VerseEditorDialog::onVerseTextChanged);
    connect(m_closeButton, &QPushButton::clicked, this, &VerseEditorDialog::onCloseClicked);
    connect(m_undoButton, &QPushButton::clicked, this, &VerseEditorDialog::onUndoClicked);
    connect(m_redoButton, &QPushButton::clicked, this, &VerseEditorDialog::onRedoClicked);
    connect(m_undoVersionButton, &QPushButton::clicked, this, &VerseEditorDialog::onUndoVersionClicked);
    connect(m_historyButton, &QPushButton::clicked, this, &VerseEditorDialog::onHistoryClicked);
    connect(m_findReplaceButton, &QPushButton::clicked, this, &VerseEditorDialog::onFindReplaceClicked);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
            &VerseEditorDialog::onFindReplaceClicked);
}

void VerseEditorDialog::createLayout()
{
    // Steps ① to ③ on the left, the notes on the right.
    auto* openRow = new QHBoxLayout;
    openRow->addWidget(m_openStepLabel);
    openRow->addWidget(m_openVersionButton);
    openRow->addWidget(m_openStepEndLabel);
    openRow->addStretch();
    auto* goRow = new QHBoxLayout;
    goRow->addWidget(m_referenceEdit, 1);
    for (QPushButton* step : {m_goButton, m_firstButton, m_previousButton, m_nextButton, m_lastButton}) {
        goRow->addWidget(step);
    }
    auto* pickRow = new QHBoxLayout;
    pickRow->addWidget(m_bookCombo);
    pickRow->addWidget(m_chapterCombo);
    pickRow->addWidget(m_verseCombo);
    pickRow->addStretch();
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(m_saveStepLabel);
    saveRow->addWidget(m_saveButton);
    saveRow->addWidget(m_saveStepEndLabel);
    saveRow->addStretch();
    auto* steps = new QVBoxLayout;
    steps->addLayout(openRow);
    steps->addWidget(m_goStepLabel);
    steps->addLayout(goRow);
    steps->addLayout(pickRow);
    steps->addLayout(saveRow);
    steps->addStretch();

    auto* notes = new QVBoxLayout(m_notesGroup);
    for (QLabel* note : {m_referenceFormatLabel, m_referenceExampleLabel, m_compactNoteLabel, m_memoNoteLabel}) {
        notes->addWidget(note);
    }
    notes->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(steps);
    top->addWidget(m_notesGroup, 1);

    // The display box and the verse text box, each with its label on its left; the text box takes the room.
    auto* verse = new QGridLayout;
    verse->addWidget(m_shownReferenceLabel, 0, 0);
    verse->addWidget(m_shownReferenceEdit, 0, 1);
    verse->addWidget(m_verseTextLabel, 1, 0);
    verse->addWidget(m_verseTextEdit, 1, 1, 2, 1);
    verse->addWidget(m_findReplaceButton, 2, 0, Qt::AlignBottom);
    verse->setColumnStretch(1, 1);
    verse->setRowStretch(1, 1);

    // Reload and Font on the left, taking back and Close on the right.
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->addButton(m_undoButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_redoButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_undoVersionButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_historyButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_closeButton, QDialogButtonBox::RejectRole);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_reloadButton);
    bottom->addWidget(m_fontButton);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rule);
    layout->addLayout(verse, 1);
    layout->addLayout(bottom);

    const QList<QWidget*> order = {
        m_openVersionButton, m_referenceEdit,     m_goButton,     m_firstButton, m_previousButton, m_nextButton,
        m_lastButton,        m_bookCombo,         m_chapterCombo, m_verseCombo,  m_saveButton,     m_shownReferenceEdit,
        m_verseTextEdit,     m_findReplaceButton, m_reloadButton, m_fontButton,  m_undoButton,     m_redoButton,
        m_undoVersionButton, m_historyButton,     m_closeButton};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void VerseEditorDialog::applyTexts()
{
    setVersionName(kCaption);
    m_openStepLabel->setText(kOpenStep);
    m_openVersionButton->setText(kOpenVersion);
    m_openStepEndLabel->setText(kOpenStepEnd);
    m_goStepLabel->setText(kGoStep);
    m_referenceEdit->setToolTip(kReferenceTip);
    m_goButton->setText(kGo);
    m_bookCombo->setAccessibleName(kBook);
    m_chapterCombo->setAccessibleName(kChapter);
    m_verseCombo->setAccessibleName(kVerse);
    m_goButton->setToolTip(kGoTip);
    // The arrows are named by their tooltips.
    const std::pair<QPushButton*, std::pair<QString, QString>> arrows[] = {
        {m_firstButton, {kFirst, kFirstTip}},
        {m_previousButton, {kPrevious, kPreviousTip}},
        {m_nextButton, {kNext, kNextTip}},
        {m_lastButton, {kLast, kLastTip}},
    };
    for (const auto& [arrow, texts] : arrows) {
        arrow->setText(texts.first);
        arrow->setToolTip(texts.second);
        arrow->setAccessibleName(texts.second);
    }
    m_notesGroup->setTitle(kNotes);
    m_referenceFormatLabel->setText(kReferenceFormat);
    m_referenceExampleLabel->setText(kReferenceExample);
    m_compactNoteLabel->setText(kCompactNote);
    m_memoNoteLabel->setText(kMemoNote);
    m_shownReferenceLabel->setText(kShownReference);
    m_verseTextLabel->setText(kVerseText);
    m_saveStepLabel->setText(kSaveStep);
    m_saveButton->setText(kSave);
    m_saveStepEndLabel->setText(kSaveStepEnd);
    m_fontButton->setText(kFont);
    m_reloadButton->setText(kReload);
    m_closeButton->setText(kClose);
    m_undoButton->setText(kUndo);
    m_undoButton->setToolTip(kUndoTip);
    m_redoButton->setText(kRedo);
    m_redoButton->setToolTip(kRedoTip);
    m_undoVersionButton->setText(kUndoVersion);
    m_undoVersionButton->setToolTip(kUndoVersionTip);
    m_historyButton->setText(kHistory);
    m_historyButton->setToolTip(kHistoryTip);
    m_findReplaceButton->setText(kFindReplace);
    m_findReplaceButton->setToolTip(kFindReplaceTip);
}

void VerseEditorDialog::keyPressEvent(QKeyEvent* event)
{
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    if (focused != nullptr && isEnter(event) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        focused->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool VerseEditorDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_verseTextEdit && event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        onVerseTextEnterPressed();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void VerseEditorDialog::closeVersion()
{
    m_version.close();
}

void VerseEditorDialog::done(int result)
{
    closeVersion();
    QDialog::done(result);
}

void VerseEditorDialog::reject()
{
    // Escape and the close box come here.
    if (keepsEdit()) {
        return;
    }
    QDialog::reject();
}

bool VerseEditorDialog::isModified() const
{
    return m_version.isOpen() && !m_shownReferenceEdit->text().isEmpty() && verseText() != m_storedText;
}

void VerseEditorDialog::showModified()
{
    const bool modified = isModified();
    setWindowTitle(modified ? kModifiedMark + m_versionName : m_versionName);
    m_saveButton->setEnabled(modified);
}

bool VerseEditorDialog::keepsEdit()
{
    if (!isModified()) {
        return false;
    }
    switch (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::SaveDiscardCancel,
                              kUnsavedEdit)) {
    case platform::MessageAnswer::Save:
        // Into the verse shown, whatever the reference box names now; steps go on from it.
        return !showSaved(m_version.save(m_shownReferenceEdit->text(), verseText()), false);
    case platform::MessageAnswer::Discard:
        m_verseTextEdit->setPlainText(m_storedText);
        return false;
    default:
        return true;
    }
}

void VerseEditorDialog::setVersionName(const QString& name)
{
    m_versionName = name;
    showModified();
}

void VerseEditorDialog::setVersionControlsEnabled(bool enabled)
{
    for (QWidget* control : {static_cast<QWidget*>(m_referenceEdit), static_cast<QWidget*>(m_goButton),
                             static_cast<QWidget*>(m_firstButton), static_cast<QWidget*>(m_previousButton),
                             static_cast<QWidget*>(m_nextButton), static_cast<QWidget*>(m_lastButton),
                             static_cast<QWidget*>(m_bookCombo), static_cast<QWidget*>(m_chapterCombo),
                             static_cast<QWidget*>(m_verseCombo), static_cast<QWidget*>(m_verseTextEdit)}) {
        control->setEnabled(enabled);
    }
    showModified();
}

void VerseEditorDialog::showNoVersion()
{
    setVersionName(kCaption);
    // Emptying the reference box empties the display box and the text box.
    m_storedText.clear();
    m_referenceEdit->clear();
    m_shownReferenceEdit->clear();
    m_verseTextEdit->clear();
    setVersionControlsEnabled(false);
}

void VerseEditorDialog::warn(const QString& text)
{
    m_dialogs.inform(this, platform::MessageIcon::Exclamation, text);
}

void VerseEditorDialog::showEngineFailure(const EngineFailure& failure)
{
    // Texts of the database engine go without an icon.
    m_dialogs.inform(this, platform::MessageIcon::None,
                     EditorMessages::fileFailure(m_versionName, failure.description));
}

bool VerseEditorDialog::refusedWithoutVersion()
{
    if (m_version.isOpen()) {
        return false;
    }
    m_dialogs.inform(this, platform::MessageIcon::Critical, kNoVersion);
    return true;
}

QString VerseEditorDialog::verseText() const
{
    // The raw text keeps every character as typed or pasted; its paragraph
    // separators are the box's own line breaks.
    return m_verseTextEdit->document()->toRawText();
}

void VerseEditorDialog::onOpenVersionClicked()
{
    platform::FileDialogRequest request;
    request.title = kOpenTitle;
    request.filter = kOpenFilter;
    const QString path = platform::chooseVersionFile(m_dialogs, this, m_programFolder, request);
    if (path.isEmpty()) {
        // Cancelled: the version open so far stays open and shown.
        return;
    }
    if (keepsEdit()) {
        return;
    }
    closeVersion();
    if (m_version.open(path)) {
        // The open failed, without a message; nothing is open any more.
        showNoVersion();
        return;
    }
    m_storedText.clear();
    setVersionName(platform::GetFileName(path));
    m_referenceEdit->setText(firstReference());
    setVersionControlsEnabled(true);
    goToReference();
}

std::optional<EngineFailure> VerseEditorDialog::showVerse(const QString& path, const QString& reference)
{
    if (keepsEdit()) {
        return std::nullopt;
    }
    closeVersion();
    if (std::optional<EngineFailure> failure = m_version.open(path)) {
        showNoVersion();
        return failure;
    }
    m_storedText.clear();
    setVersionName(platform::GetFileName(path));
    m_referenceEdit->setText(reference.trimmed().isEmpty() ? firstReference() : reference);
    setVersionControlsEnabled(true);
    goToReference();
    return std::nullopt;
}

void VerseEditorDialog::onGoClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    goToReference();
}

void VerseEditorDialog::goToReference()
{
    if (refusedWithoutVersion()) {
        return;
    }
    const GoOutcome outcome = m_version.go(m_referenceEdit->text());
    m_referenceEdit->setText(outcome.reference);
    switch (outcome.result) {
    case GoResult::EmptyReference:
        warn(EditorMessages::goEmptyReference());
        m_referenceEdit->setFocus();
        return;
    case GoResult::NotFound:
        // The display box and the text box keep what they showed.
        warn(EditorMessages::referenceMistake(outcome.reference, EditorMessages::goReferenceNotFound()));
        m_referenceEdit->setFocus();
        m_referenceEdit->selectAll();
        return;
    case GoResult::Found:
        m_storedText = outcome.verse.text;
        m_shownReferenceEdit->setText(outcome.verse.reference);
        m_verseTextEdit->setPlainText(outcome.verse.text);
        showPicked(outcome.verse.reference);
        showModified();
        return;
    case GoResult::Failed:
        showEngineFailure(outcome.failure);
        return;
    }
}

void VerseEditorDialog::fillPicker(int book, int chapter, int verse)
{
    const auto fill = [](QComboBox* combo, int count, const QString& unit, int current) {
        if (combo->count() != count) {
            combo->clear();
            for (int n = 1; n <= count; ++n) {
                combo->addItem(QString::number(n) + unit);
            }
        }
        combo->setCurrentIndex(current - 1);
    };
    m_bookCombo->setCurrentIndex(book - 1);
    fill(m_chapterCombo, books::ReferenceParser::chapterCount(book), kChapter, chapter);
    fill(m_verseCombo, books::ReferenceParser::verseCount(book, chapter), kVerse, verse);
}

void VerseEditorDialog::showPicked(const QString& reference)
{
    // A verse outside the Korean numbering leaves the picker as it was.
    books::ReferenceParts parts;
    if (books::splitReference(reference, parts) &&
        parts.verse <= books::ReferenceParser::verseCount(parts.bookNumber, parts.chapter)) {
        fillPicker(parts.bookNumber, parts.chapter, parts.verse);
    }
}

void VerseEditorDialog::pickVerse(int chapter, int verse)
{
    const int book = m_bookCombo->currentIndex() + 1;
    if (refusedWithoutVersion() || keepsEdit()) {
        showPicked(m_shownReferenceEdit->text());
        return;
    }
    fillPicker(book, chapter, verse);
    m_referenceEdit->setText(books::canonicalReference(books::BookAbbreviations::at(book), chapter, verse));
    goToReference();
}

void VerseEditorDialog::onReferenceChanged()
{
    // An edit not saved stays, with the display box, when the user keeps it.
    if (m_referenceEdit->text().isEmpty() && !keepsEdit()) {
        m_storedText.clear();
        m_verseTextEdit->clear();
        m_shownReferenceEdit->clear();
        showModified();
    }
}

void VerseEditorDialog::onFirstClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    goFirst();
}

void VerseEditorDialog::goFirst()
{
    m_referenceEdit->setText(firstReference());
    goToReference();
}

void VerseEditorDialog::onPreviousClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    showStep(m_version.previous());
}

void VerseEditorDialog::onNextClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    showStep(m_version.next());
}

void VerseEditorDialog::showStep(const StepOutcome& outcome)
{
    switch (outcome.result) {
    case StepResult::RunFirst:
        goFirst();
        return;
    case StepResult::RunLast:
        goLast();
        return;
    case StepResult::Neighbour:
        m_referenceEdit->setText(outcome.reference);
        goToReference();
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

void VerseEditorDialog::onLastClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    goLast();
}

void VerseEditorDialog::goLast()
{
    const StepOutcome outcome = m_version.last();
    if (outcome.result != StepResult::Neighbour) {
        showEngineFailure(outcome.failure);
        return;
    }
    m_referenceEdit->setText(outcome.reference);
    goToReference();
}

void VerseEditorDialog::onSaveClicked()
{
    if (refusedWithoutVersion()) {
        return;
    }
    const auto confirmOtherVerse = [this](const QString& reference) {
        return m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                                 reference + QStringLiteral("\r\n\r\n") + kSaveOtherVerse) ==
               platform::MessageAnswer::Yes;
    };
    const std::optional<SaveOutcome> saved =
        m_version.save(m_referenceEdit->text(), verseText(), m_shownReferenceEdit->text(), confirmOtherVerse);
    if (!saved) {
        // The user kept the verse on display: nothing was stored and the boxes stay as they are.
        return;
    }
    static_cast<void>(showSaved(*saved, true));
}

bool VerseEditorDialog::showSaved(const SaveOutcome& outcome, bool intoReference)
{
    if (outcome.result == SaveResult::EmptyReference) {
        warn(EditorMessages::saveEmptyReference());
        m_referenceEdit->setFocus();
        return false;
    }
    // The trimmed text stays in the box.
    if (outcome.text && *outcome.text != verseText()) {
        m_verseTextEdit->setPlainText(*outcome.text);
    }
    if (outcome.result == SaveResult::EmptyText) {
        warn(EditorMessages::saveEmptyText());
        return false;
    }
    if (outcome.reference && intoReference) {
        // A reference of spaces only becomes empty here, which empties both boxes.
        m_referenceEdit->setText(*outcome.reference);
    }
    switch (outcome.result) {
    case SaveResult::ReferenceNotFound:
        warn(EditorMessages::referenceMistake(outcome.reference.value_or(QString()),
                                              EditorMessages::saveReferenceNotFound()));
        return false;
    case SaveResult::LineBreak: {
        warn(EditorMessages::saveLineBreak());
        m_verseTextEdit->setFocus();
        QTextCursor caret = m_verseTextEdit->textCursor();
        caret.setPosition(static_cast<int>(outcome.caret));
        m_verseTextEdit->setTextCursor(caret);
        return false;
    }
    case SaveResult::Stored:
        // Only 본문 changed; the boxes are not refreshed. What the box holds is stored now.
        m_storedText = verseText();
        showModified();
        return true;
    case SaveResult::Failed:
        showEngineFailure(outcome.failure);
        return false;
    case SaveResult::EmptyReference:
    case SaveResult::EmptyText:
        return false;
    }
    return false;
}

void VerseEditorDialog::onReloadClicked()
{
    // Shows the verse of the reference box again from the version, once an unsaved edit is saved or dropped.
    onGoClicked();
}

void VerseEditorDialog::onFontClicked()
{
    const platform::FontChoice current{m_verseTextEdit->font(),
                                       m_verseTextEdit->palette().color(QPalette::Active, QPalette::Text)};
    const std::optional<platform::FontChoice> chosen = m_dialogs.chooseFont(this, current);
    if (!chosen) {
        return;
    }
    // Name, size, bold, italic, underline and strike-out, and the colour: the text box's alone.
    QFont font = m_verseTextEdit->font();
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
    m_verseTextEdit->setFont(font);
    if (chosen->color.isValid()) {
        QPalette palette = m_verseTextEdit->palette();
        palette.setColor(QPalette::Active, QPalette::Text, chosen->color);
        palette.setColor(QPalette::Inactive, QPalette::Text, chosen->color);
        m_verseTextEdit->setPalette(palette);
    }
}

void VerseEditorDialog::onVerseTextChanged()
{
    showModified();
}

void VerseEditorDialog::onVerseTextEnterPressed()
{
    // No line break enters the verse.
    if (!m_enterWarningShown) {
        m_enterWarningShown = true;
        warn(kEnterWarning);
    }
}

void VerseEditorDialog::onCloseClicked()
{
    if (keepsEdit()) {
        return;
    }
    closeVersion();
    accept();
}

QString VerseEditorDialog::aboutVersion(const QString& text) const
{
    return m_versionName + kLineBreaks + text;
}

std::optional<QString> VerseEditorDialog::shownReference()
{
    if (refusedWithoutVersion()) {
        return std::nullopt;
    }
    if (m_shownReferenceEdit->text().isEmpty()) {
        warn(EditorMessages::stepWithoutVerse());
        return std::nullopt;
    }
    return m_shownReferenceEdit->text();
}

void VerseEditorDialog::showTakenBack(const QString& reference, const std::vector<versiondb::VerseChange>& restored)
{
    showAgain(reference);
    m_dialogs.inform(this, platform::MessageIcon::Information,
                     aboutVersion(EditorMessages::takenBack(restored.front().change)));
}

void VerseEditorDialog::showAgain(const QString& reference)
{
    if (!reference.isEmpty()) {
        m_referenceEdit->setText(reference);
        goToReference();
    }
}

void VerseEditorDialog::showTakeBack(const std::optional<TakeBackOutcome>& outcome, const QString& reference,
                                     const QString& nothing)
{
    if (!outcome) {
        warn(aboutVersion(EditorMessages::goReferenceNotFound()));
    } else if (outcome->failure) {
        showEngineFailure(*outcome->failure);
    } else if (outcome->restored.empty()) {
        warn(aboutVersion(nothing));
    } else if (outcome->redone != 0) {
        showAgain(reference);
        m_dialogs.inform(this, platform::MessageIcon::Information,
                         aboutVersion(EditorMessages::broughtBack(outcome->redone, outcome->restored.front().change)));
    } else {
        showTakenBack(reference, outcome->restored);
    }
}

void VerseEditorDialog::onUndoClicked()
{
    const std::optional<QString> reference = shownReference();
    if (!reference || keepsEdit()) {
        return;
    }
    platform::BusyPointer busy;
    const std::optional<TakeBackOutcome> outcome = m_version.undoLast(*reference);
    busy.restore();
    showTakeBack(outcome, *reference, EditorMessages::nothingToTakeBack());
}

void VerseEditorDialog::onRedoClicked()
{
    const std::optional<QString> reference = shownReference();
    if (!reference || keepsEdit()) {
        return;
    }
    // The last change taken back: the version's whole (a build, a replacement) or the verse's.
    platform::BusyPointer busy;
    const std::optional<TakeBackOutcome> outcome =
        m_version.redoesTheVersion(*reference) ? m_version.redoLast() : m_version.redoLast(*reference);
    busy.restore();
    showTakeBack(outcome, *reference, EditorMessages::nothingToRedo());
}

void VerseEditorDialog::onUndoVersionClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    platform::BusyPointer busy;
    const TakeBackOutcome outcome = m_version.undoLast();
    busy.restore();
    showTakeBack(outcome, m_shownReferenceEdit->text(), EditorMessages::nothingToTakeBack());
}

void VerseEditorDialog::onHistoryClicked()
{
    const std::optional<QString> reference = shownReference();
    if (!reference || keepsEdit()) {
        return;
    }
    HistoryDialog window(m_dialogs, m_version, *reference, m_versionName, this);
    if (window.load() && window.exec() == QDialog::Accepted && !window.restored().empty()) {
        showTakenBack(*reference, window.restored());
    }
}

void VerseEditorDialog::onFindReplaceClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    // The editor cannot be typed into while the window is open: the verses it shows leave no edit behind.
    FindReplaceDialog window(
        m_dialogs, m_version, m_versionName, [this](const QString& reference) { showAgain(reference); }, this);
    window.exec();
    if (window.applied()) {
        // The verse on display may be one the replacement changed.
        showAgain(m_shownReferenceEdit->text());
    }
}

} // namespace editor
