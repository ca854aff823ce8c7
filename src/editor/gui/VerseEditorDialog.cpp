#include "editor/gui/VerseEditorDialog.h"

#include "books/BookAbbreviations.h"
#include "books/KoreanBookNames.h"
#include "books/ReferenceParser.h"
#include "books/Versification.h"
#include "editor/EditRules.h"
#include "editor/gui/EditorWindows.h"
#include "editor/gui/FindReplaceDialog.h"
#include "editor/gui/HistoryDialog.h"
#include "platform/FileNames.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/NamedWidget.h"
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

using platform::named;

namespace {

const QString kCaption = QStringLiteral("성경본문 편집");
const QString kChapter = QStringLiteral("장");
const QString kVerse = QStringLiteral("절");

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

VerseEditorDialog::VerseEditorDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("VerseEditorDialog"));
    const auto button = [this](const char* name, const QString& text, const QString& tip, auto onClick) {
        auto* made = named<QPushButton>(this, name, text, tip);
        // Enter clicks the button that has the focus and no other: the window has no default button.
        made->setAutoDefault(false);
        connect(made, &QPushButton::clicked, this, onClick);
        return made;
    };
    // The arrows are named by their tooltips.
    const auto arrow = [&button](const char* name, const QString& text, const QString& tip, auto onClick) {
        QPushButton* made = button(name, text, tip, onClick);
        made->setAccessibleName(tip);
        return made;
    };
    // A command that refuses without a version and does nothing when the user keeps an edit not saved.
    const auto guarded = [this](auto command) {
        return [this, command] {
            if (!refusedWithoutVersion() && !keepsEdit()) {
                command();
            }
        };
    };
    const auto go = guarded([this] { goToReference(); });

    // Steps ① to ③ on the left, the notes on the right; created in tab order.
    auto* openRow = new QHBoxLayout;
    openRow->addWidget(named<QLabel>(this, "openStepLabel", QStringLiteral("① 편집할  ")));
    openRow->addWidget(
        button("openVersionButton", QStringLiteral("성경역본"), {}, &VerseEditorDialog::onOpenVersionClicked));
    openRow->addWidget(named<QLabel>(this, "openStepEndLabel", QStringLiteral("을 선택하세요.")));
    openRow->addStretch();
    // Screen readers name each box by the label beside it (the reference box by step ②).
    auto* goStep = named<QLabel>(this, "goStepLabel", QStringLiteral("② 편집할 성경구절로 이동하세요."));
    m_referenceEdit = named<QLineEdit>(this, "referenceEdit");
    m_referenceEdit->setToolTip(QStringLiteral("여기에 이동할 성경구절을 [책 장:절] 형식으로 입력하세요"));
    goStep->setBuddy(m_referenceEdit);
    auto* goRow = new QHBoxLayout;
    goRow->addWidget(m_referenceEdit, 1);
    m_versionControls << m_referenceEdit;
    for (QPushButton* step :
         {button("goButton", QStringLiteral("이동"), QStringLiteral("구절이동"), go),
          arrow("firstButton", QStringLiteral("|◀"), QStringLiteral("처음구절로 이동"),
                guarded([this] { goTo(firstReference()); })),
          arrow("previousButton", QStringLiteral("◀"), QStringLiteral("현재구절에서 이전구절로 이동"),
                guarded([this] { showStep(m_version.previous()); })),
          arrow("nextButton", QStringLiteral("▶"), QStringLiteral("현재구절에서 다음절로 이동"),
                guarded([this] { showStep(m_version.next()); })),
          arrow("lastButton", QStringLiteral("▶|"), QStringLiteral("마지막 구절로 이동"),
                guarded([this] { showStep(m_version.last()); }))}) {
        goRow->addWidget(step);
        m_versionControls << step;
    }
    auto* pickRow = new QHBoxLayout;
    m_bookCombo = named<QComboBox>(this, "bookCombo");
    m_bookCombo->setAccessibleName(QStringLiteral("책"));
    for (int book = 1; book <= books::BookAbbreviations::kCount; ++book) {
        m_bookCombo->addItem(books::KoreanBookNames::at(book).toString(), book);
    }
    m_chapterCombo = named<QComboBox>(this, "chapterCombo");
    m_chapterCombo->setAccessibleName(kChapter);
    m_verseCombo = named<QComboBox>(this, "verseCombo");
    m_verseCombo->setAccessibleName(kVerse);
    fillPicker(1, 1, 1);
    for (QComboBox* combo : {m_bookCombo, m_chapterCombo, m_verseCombo}) {
        pickRow->addWidget(combo);
        m_versionControls << combo;
    }
    pickRow->addStretch();
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(named<QLabel>(this, "saveStepLabel", QStringLiteral("③ 편집이 완료된 구절을 ")));
    m_saveButton = button("saveButton", QStringLiteral("저장(&S)"), {}, &VerseEditorDialog::onSaveClicked);
    saveRow->addWidget(m_saveButton);
    saveRow->addWidget(named<QLabel>(this, "saveStepEndLabel", QStringLiteral("하세요.")));
    saveRow->addStretch();
    auto* steps = new QVBoxLayout;
    steps->addLayout(openRow);
    steps->addWidget(goStep);
    steps->addLayout(goRow);
    steps->addLayout(pickRow);
    steps->addLayout(saveRow);
    steps->addStretch();

    auto* notesGroup = named<QGroupBox>(this, "notesGroup");
    notesGroup->setTitle(QStringLiteral("참고사항"));
    const auto wrapped = [](QLabel* label) {
        label->setWordWrap(true);
        return label;
    };
    auto* notes = new QVBoxLayout(notesGroup);
    notes->addWidget(wrapped(
        named<QLabel>(notesGroup, "referenceFormatLabel", QStringLiteral("성경구절 입력형식은 다음과 같습니다."))));
    notes->addWidget(named<QLabel>(notesGroup, "referenceExampleLabel",
                                   QStringLiteral("창 1:1, 창세기 1:1, 창1:1, 요일 1:1, 계 1 ...")));
    notes->addWidget(wrapped(named<QLabel>(
        notesGroup, "compactNoteLabel",
        QStringLiteral("편집작업 완료후 역본파일 최적화 작업을 한번 해주시면 용량과 속도가 개선됩니다."))));
    notes->addWidget(wrapped(named<QLabel>(
        notesGroup, "memoNoteLabel",
        QStringLiteral("성경원분 이외에 사용자의 메모가 추가되면 성구검색의 신뢰도를 저해할 수 있습니다."))));
    notes->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(steps);
    top->addWidget(notesGroup, 1);

    // The display box and the verse text box, each with its label on its left; the text box takes the room.
    auto* shownLabel = named<QLabel>(this, "shownReferenceLabel", QStringLiteral("성경구절"));
    // The program writes the display box and never reads it.
    m_shownReferenceEdit = named<QLineEdit>(this, "shownReferenceEdit");
    m_shownReferenceEdit->setReadOnly(true);
    shownLabel->setBuddy(m_shownReferenceEdit);
    auto* verseLabel = named<QLabel>(this, "verseTextLabel", QStringLiteral("성경본문"));
    verseLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_verseTextEdit = named<QPlainTextEdit>(this, "verseTextEdit");
    m_verseTextEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_verseTextEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_verseTextEdit->setTabChangesFocus(true);
    m_verseTextEdit->installEventFilter(this);
    verseLabel->setBuddy(m_verseTextEdit);
    m_versionControls << m_verseTextEdit;
    auto* verse = new QGridLayout;
    verse->addWidget(shownLabel, 0, 0);
    verse->addWidget(m_shownReferenceEdit, 0, 1);
    verse->addWidget(verseLabel, 1, 0);
    verse->addWidget(m_verseTextEdit, 1, 1, 2, 1);
    verse->addWidget(button("findReplaceButton", QStringLiteral("찾기·\n바꾸기"),
                            QStringLiteral("역본 전체에서 찾고 바꿉니다 (Ctrl+F)"),
                            &VerseEditorDialog::onFindReplaceClicked),
                     2, 0, Qt::AlignBottom);
    verse->setColumnStretch(1, 1);
    verse->setRowStretch(1, 1);

    // Reload and Font on the left, taking back and Close on the right.
    auto* bottom = new QHBoxLayout;
    // Shows the verse of the reference box again from the version, once an unsaved edit is saved or dropped.
    bottom->addWidget(button("reloadButton", QStringLiteral("성경본문 다시 읽기"), {}, go));
    bottom->addWidget(
        button("fontButton", QStringLiteral("성경본문 편집(글꼴/색상) 변경"), {}, &VerseEditorDialog::onFontClicked));
    bottom->addStretch();
    auto* buttons = named<QDialogButtonBox>(this, "buttonBox");
    for (QPushButton* command :
         {button("undoButton", QStringLiteral("되돌리기(&U)"),
                 QStringLiteral("표시된 구절의 마지막 변경을 되돌립니다. 누를 때마다 하나씩 더 되돌립니다"),
                 [this] { takeBackShown(false); }),
          button("redoButton", QStringLiteral("다시 실행(&Y)"),
                 QStringLiteral("마지막으로 되돌린 변경을 다시 실행합니다"), [this] { takeBackShown(true); }),
          button("undoVersionButton", QStringLiteral("역본 전체 되돌리기"),
                 QStringLiteral("역본의 마지막 변경(만들기, 바꾸기 등)을 통째로 되돌립니다"),
                 &VerseEditorDialog::onUndoVersionClicked),
          button("historyButton", QStringLiteral("변경 이력(&H)"),
                 QStringLiteral("표시된 구절의 이전 본문을 보고 복원합니다"), &VerseEditorDialog::onHistoryClicked)}) {
        buttons->addButton(command, QDialogButtonBox::ActionRole);
    }
    buttons->addButton(button("closeButton", QStringLiteral("닫기"), {},
                              [this] {
                                  if (!keepsEdit()) {
                                      accept();
                                  }
                              }),
                       QDialogButtonBox::RejectRole);
    bottom->addWidget(buttons);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rule);
    layout->addLayout(verse, 1);
    layout->addLayout(bottom);

    // Enter in the reference box goes, whatever the modifier keys.
    connect(m_referenceEdit, &QLineEdit::returnPressed, this, go);
    connect(m_referenceEdit, &QLineEdit::textChanged, this, &VerseEditorDialog::onReferenceChanged);
    // A choice in the picker goes to its verse: a book to its first chapter, a chapter to its first verse.
    connect(m_bookCombo, &QComboBox::activated, this, [this] { pickVerse(1, 1); });
    connect(m_chapterCombo, &QComboBox::activated, this, [this] { pickVerse(m_chapterCombo->currentIndex() + 1, 1); });
    connect(m_verseCombo, &QComboBox::activated, this,
            [this] { pickVerse(m_chapterCombo->currentIndex() + 1, m_verseCombo->currentIndex() + 1); });
    connect(m_verseTextEdit, &QPlainTextEdit::textChanged, this, &VerseEditorDialog::showModified);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
            &VerseEditorDialog::onFindReplaceClicked);

    setVersion(kCaption, false);
    platform::rememberGeometry(this);
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
        // No line break enters the verse.
        if (!m_enterWarningShown) {
            m_enterWarningShown = true;
            m_dialogs.warn(
                this,
                QStringLiteral("구절은 반드시 한줄로만 구성되어야 합니다.\r\n"
                               "줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 !\r\n"
                               "화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 뿐입니다."));
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void VerseEditorDialog::done(int result)
{
    m_version.close();
    QDialog::done(result);
}

void VerseEditorDialog::reject()
{
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
    setWindowTitle(modified ? QStringLiteral("* ") + m_versionName : m_versionName);
    m_saveButton->setEnabled(modified);
}

bool VerseEditorDialog::keepsEdit()
{
    if (!isModified()) {
        return false;
    }
    switch (m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::SaveDiscardCancel,
                              QStringLiteral("편집한 본문을 저장하지 않았습니다.\r\n저장하시겠습니까?"))) {
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

void VerseEditorDialog::setVersion(const QString& name, bool open)
{
    m_versionName = name;
    for (QWidget* control : std::as_const(m_versionControls)) {
        control->setEnabled(open);
    }
    showModified();
}

bool VerseEditorDialog::refusedWithoutVersion()
{
    if (m_version.isOpen()) {
        return false;
    }
    m_dialogs.inform(this, platform::MessageIcon::Critical,
                     QStringLiteral("①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !"));
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
    request.title = QStringLiteral("편집할 성경역본 선택 - user.dat는 선택하지 마세요.");
    request.filter = QStringLiteral("역본파일 (*.dat);;모든파일 (*.*)");
    const QString path = platform::chooseVersionFile(m_dialogs, this, m_programFolder, request);
    // Cancelled, the version open so far stays open and shown; a failed open says nothing.
    if (!path.isEmpty() && !keepsEdit()) {
        static_cast<void>(openVersion(path, firstReference()));
    }
}

std::optional<versiondb::ErrorItem> VerseEditorDialog::showVerse(const QString& path, const QString& reference)
{
    if (keepsEdit()) {
        return std::nullopt;
    }
    return openVersion(path, reference.trimmed().isEmpty() ? firstReference() : reference);
}

std::optional<versiondb::ErrorItem> VerseEditorDialog::openVersion(const QString& path, const QString& reference)
{
    m_version.close();
    // Nothing of the version before stays in the boxes: its verse would count as an edit of this one.
    m_storedText.clear();
    m_shownReferenceEdit->clear();
    m_verseTextEdit->clear();
    if (std::optional<versiondb::ErrorItem> failure = m_version.open(path)) {
        // Back to the window as it loads: no version, its title, the commands disabled.
        m_referenceEdit->clear();
        setVersion(kCaption, false);
        return failure;
    }
    m_referenceEdit->setText(reference);
    setVersion(platform::getFileName(path), true);
    goToReference();
    return std::nullopt;
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
        m_dialogs.warn(this, EditorMessages::kGoEmptyReference);
        m_referenceEdit->setFocus();
        return;
    case GoResult::NotFound:
        // The display box and the text box keep what they showed.
        m_dialogs.warn(this, EditorMessages::referenceMistake(outcome.reference, EditorMessages::kGoReferenceNotFound));
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
        m_dialogs.inform(this, EditorMessages::failure(m_versionName, outcome.failure));
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
    goTo(books::canonicalReference(books::BookAbbreviations::at(book), chapter, verse));
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

void VerseEditorDialog::goTo(const QString& reference)
{
    m_referenceEdit->setText(reference);
    goToReference();
}

void VerseEditorDialog::showStep(const StepOutcome& outcome)
{
    switch (outcome.result) {
    case StepResult::RunFirst:
        goTo(firstReference());
        return;
    case StepResult::RunLast:
        showStep(m_version.last());
        return;
    case StepResult::Neighbour:
        goTo(outcome.reference);
        return;
    case StepResult::NumberingGap:
        m_dialogs.warn(this, EditorMessages::kStepNumberingGap);
        return;
    case StepResult::NoVerseShown:
        m_dialogs.warn(this, EditorMessages::kStepWithoutVerse);
        return;
    case StepResult::Failed:
        m_dialogs.inform(this, EditorMessages::failure(m_versionName, outcome.failure));
        return;
    }
}

void VerseEditorDialog::onSaveClicked()
{
    if (refusedWithoutVersion()) {
        return;
    }
    const auto confirmOtherVerse = [this](const QString& reference) {
        return m_dialogs.message(this, platform::MessageIcon::Question, platform::MessageButtons::YesNoDefaultNo,
                                 reference +
                                     QStringLiteral("\r\n\r\n위 구절은 지금 '성경구절'에 표시된 구절이 아닙니다.\r\n"
                                                    "이 구절의 본문을 편집하신 본문으로 바꾸시겠습니까?")) ==
               platform::MessageAnswer::Yes;
    };
    // Nothing when the user kept the verse on display: nothing was stored and the boxes stay as they are.
    if (const std::optional<SaveOutcome> saved =
            m_version.save(m_referenceEdit->text(), verseText(), m_shownReferenceEdit->text(), confirmOtherVerse)) {
        static_cast<void>(showSaved(*saved, true));
    }
}

bool VerseEditorDialog::showSaved(const SaveOutcome& outcome, bool intoReference)
{
    // The trimmed text stays in the box (none comes back for an empty reference, nor a reference for an empty text).
    if (outcome.text && *outcome.text != verseText()) {
        m_verseTextEdit->setPlainText(*outcome.text);
    }
    if (outcome.reference && intoReference) {
        // A reference of spaces only becomes empty here, which empties both boxes.
        m_referenceEdit->setText(*outcome.reference);
    }
    switch (outcome.result) {
    case SaveResult::EmptyReference:
        m_dialogs.warn(this, EditorMessages::kSaveEmptyReference);
        m_referenceEdit->setFocus();
        return false;
    case SaveResult::EmptyText:
        m_dialogs.warn(this, EditorMessages::kSaveEmptyText);
        return false;
    case SaveResult::ReferenceNotFound:
        m_dialogs.warn(this, EditorMessages::referenceMistake(outcome.reference.value_or(QString()),
                                                              EditorMessages::kSaveReferenceNotFound));
        return false;
    case SaveResult::LineBreak: {
        m_dialogs.warn(this, EditorMessages::kSaveLineBreak);
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
        m_dialogs.inform(this, EditorMessages::failure(m_versionName, outcome.failure));
        return false;
    }
    return false;
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

std::optional<QString> VerseEditorDialog::shownReference()
{
    if (refusedWithoutVersion()) {
        return std::nullopt;
    }
    if (m_shownReferenceEdit->text().isEmpty()) {
        m_dialogs.warn(this, EditorMessages::kStepWithoutVerse);
        return std::nullopt;
    }
    return m_shownReferenceEdit->text();
}

void VerseEditorDialog::showTakenBack(const QString& reference, const std::vector<versiondb::VerseChange>& restored,
                                      qint64 redone)
{
    showAgain(reference);
    const versiondb::Change& change = restored.front().change;
    m_dialogs.inform(this, platform::MessageIcon::Information,
                     EditorMessages::aboutVersion(m_versionName, redone != 0
                                                                     ? EditorMessages::broughtBack(redone, change)
                                                                     : EditorMessages::takenBack(change)));
}

void VerseEditorDialog::showAgain(const QString& reference)
{
    if (!reference.isEmpty()) {
        goTo(reference);
    }
}

void VerseEditorDialog::showTakeBack(const std::optional<TakeBackOutcome>& outcome, const QString& reference,
                                     const QString& nothing)
{
    if (refusedOutcome(m_dialogs, this, m_versionName, outcome)) {
        return;
    }
    if (outcome->restored.empty()) {
        m_dialogs.warn(this, EditorMessages::aboutVersion(m_versionName, nothing));
    } else {
        showTakenBack(reference, outcome->restored, outcome->redone);
    }
}

void VerseEditorDialog::takeBackShown(bool redo)
{
    const std::optional<QString> reference = shownReference();
    if (!reference || keepsEdit()) {
        return;
    }
    // A redo brings back the last change taken back: the version's whole (a build, a replacement) or the verse's.
    const std::optional<TakeBackOutcome> outcome = platform::whileBusy([&] {
        return !redo ? m_version.undoLast(*reference)
                     : (m_version.redoesTheVersion(*reference) ? m_version.redoLast() : m_version.redoLast(*reference));
    });
    showTakeBack(outcome, *reference, redo ? EditorMessages::kNothingToRedo : EditorMessages::kNothingToTakeBack);
}

void VerseEditorDialog::onUndoVersionClicked()
{
    if (refusedWithoutVersion() || keepsEdit()) {
        return;
    }
    const TakeBackOutcome outcome = platform::whileBusy([&] { return m_version.undoLast(); });
    showTakeBack(outcome, m_shownReferenceEdit->text(), EditorMessages::kNothingToTakeBack);
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
