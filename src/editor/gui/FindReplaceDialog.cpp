#include "editor/gui/FindReplaceDialog.h"

#include "editor/EditorMessages.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/TextSize.h"
#include "platform/gui/WindowSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace editor {

namespace {

const QString kCaption = QStringLiteral("찾기·바꾸기");
const QString kPattern = QStringLiteral("찾을 말(&N)");
const QString kReplacement = QStringLiteral("바꿀 말(&W)");
const QString kReplacementTip = QStringLiteral("정규식에서는 \\1, \\2 ... 가 괄호로 묶은 부분이 찾은 내용입니다");
const QString kRegularExpression = QStringLiteral("정규식(&R)");
const QString kIgnoreCase = QStringLiteral("영문 대소문자 무시(&I)");
const QString kFind = QStringLiteral("찾기(&F)");
const QString kPreview = QStringLiteral("미리보기(&P)");
const QString kApply = QStringLiteral("바꾸기(&A)");
const QString kApplyTip = QStringLiteral("체크한 구절을 모두 바꿉니다. 변경 하나로 되돌릴 수 있습니다");
const QString kClose = QStringLiteral("닫기");
const QString kCancel = QStringLiteral("취소");
// The names a screen reader gives the list of verses and the verse below it.
const QString kVerseListName = QStringLiteral("찾은 구절");
const QString kVerseViewName = QStringLiteral("성경본문");
const QStringList kFindColumns = {QStringLiteral("성경구절"), QStringLiteral("성경본문")};
const QStringList kPreviewColumns = {QStringLiteral("성경구절"), QStringLiteral("이전 본문"),
                                     QStringLiteral("이후 본문")};
const QString kFound = QStringLiteral("%1개 구절에서 %2곳을 찾았습니다.");
const QString kBefore = QStringLiteral("이전: ");
const QString kAfter = QStringLiteral("이후: ");
const QString kApplyQuestion = QStringLiteral("체크한 %1개 구절의 본문을 바꾸시겠습니까?\r\n"
                                              "바꾼 구절은 모두 변경 하나로 기록되어 한 번에 되돌릴 수 있습니다.");
const QString kNothingTicked = QStringLiteral("바꿀 구절을 체크하여 주십시오 !");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kMark = QStringLiteral("<span style=\"background-color:#FFE08A\">%1</span>");

// The column of the text before, in characters; the text after takes the rest.
constexpr int kTextColumnChars = 30;
// The window's width at first, in characters.
constexpr int kWidthChars = 90;

QString korean(qint64 number)
{
    return QLocale(QLocale::Korean).toString(number);
}

// A text as HTML with its matches marked.
QString marked(const FoundVerse& verse)
{
    QString html;
    qsizetype at = 0;
    for (const MatchSpan& span : verse.spans) {
        html += verse.text.mid(at, span.start - at).toHtmlEscaped();
        if (span.length > 0) {
            html += kMark.arg(verse.text.mid(span.start, span.length).toHtmlEscaped());
        }
        at = span.start + span.length;
    }
    return html + verse.text.mid(at).toHtmlEscaped();
}

} // namespace

FindReplaceDialog::FindReplaceDialog(platform::Dialogs& dialogs, VerseEditor& version, QString displayName,
                                     ShowVerse showVerse, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_version(version), m_displayName(std::move(displayName)),
      m_showVerse(std::move(showVerse))
{
    setObjectName(QStringLiteral("FindReplaceDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

void FindReplaceDialog::createWidgets()
{
    const auto make = [this]<typename T>(T*& member, const char* name) {
        member = new T(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    // Created in tab order.
    make(m_patternLabel, "patternLabel");
    make(m_patternEdit, "patternEdit");
    make(m_replacementLabel, "replacementLabel");
    make(m_replacementEdit, "replacementEdit");
    make(m_regularExpressionCheck, "regularExpressionCheck");
    make(m_ignoreCaseCheck, "ignoreCaseCheck");
    make(m_findButton, "findButton");
    make(m_previewButton, "previewButton");
    make(m_summaryLabel, "summaryLabel");
    make(m_verseList, "verseList");
    make(m_verseView, "verseView");
    make(m_progressBar, "progressBar");
    make(m_cancelButton, "cancelButton");
    make(m_applyButton, "applyButton");
    make(m_closeButton, "closeButton");
    m_patternLabel->setBuddy(m_patternEdit);
    m_replacementLabel->setBuddy(m_replacementEdit);
    m_summaryLabel->setWordWrap(true);
    // Enter finds, wherever the focus is but on another button.
    m_findButton->setDefault(true);
    m_applyButton->setEnabled(false);
    m_verseList->setRootIsDecorated(false);
    m_verseList->setUniformRowHeights(true);
    m_verseList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_verseView->setReadOnly(true);
    m_verseView->setTabChangesFocus(true);
    // The progress bar and the cancel button show while a run goes and keep their room while hidden, so that the
    // window does not jump when a run starts.
    for (QWidget* running : {static_cast<QWidget*>(m_progressBar), static_cast<QWidget*>(m_cancelButton)}) {
        running->setVisible(false);
        QSizePolicy policy = running->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        running->setSizePolicy(policy);
    }
    m_cancelButton->setAutoDefault(false);
    clearList(kFindColumns);
    m_patternEdit->setFocus();

    connect(m_findButton, &QPushButton::clicked, this, &FindReplaceDialog::onFindClicked);
    connect(m_previewButton, &QPushButton::clicked, this, &FindReplaceDialog::onPreviewClicked);
    connect(m_applyButton, &QPushButton::clicked, this, &FindReplaceDialog::onApplyClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &FindReplaceDialog::reject);
    connect(m_cancelButton, &QPushButton::clicked, this, &FindReplaceDialog::onCancelClicked);
    connect(m_verseList, &QTreeWidget::currentItemChanged, this, &FindReplaceDialog::onVerseSelected);
}

void FindReplaceDialog::createLayout()
{
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_regularExpressionCheck);
    checks->addWidget(m_ignoreCaseCheck);
    checks->addStretch();
    auto* form = new QFormLayout;
    form->addRow(m_patternLabel, m_patternEdit);
    form->addRow(m_replacementLabel, m_replacementEdit);
    form->addRow(QString(), checks);
    auto* runs = new QVBoxLayout;
    runs->addWidget(m_findButton);
    runs->addWidget(m_previewButton);
    runs->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(runs);

    // The verses found above, the one chosen below.
    auto* panes = new QSplitter(Qt::Vertical, this);
    panes->setObjectName(QStringLiteral("paneSplitter"));
    panes->setChildrenCollapsible(false);
    panes->addWidget(m_verseList);
    panes->addWidget(m_verseView);
    panes->setStretchFactor(0, 3);
    panes->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->addButton(m_applyButton, QDialogButtonBox::ApplyRole);
    buttons->addButton(m_closeButton, QDialogButtonBox::RejectRole);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progressBar, 1);
    bottom->addWidget(m_cancelButton);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(panes, 1);
    layout->addLayout(bottom);

    const QList<QWidget*> order = {
        m_patternEdit, m_replacementEdit, m_regularExpressionCheck, m_ignoreCaseCheck, m_findButton, m_previewButton,
        m_verseList,   m_verseView,       m_cancelButton,           m_applyButton,     m_closeButton};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

QSize FindReplaceDialog::sizeHint() const
{
    return platform::atLeastCharacters(QDialog::sizeHint(), *this, kWidthChars);
}

void FindReplaceDialog::applyTexts()
{
    setWindowTitle(kCaption);
    m_patternLabel->setText(kPattern);
    m_replacementLabel->setText(kReplacement);
    m_replacementEdit->setToolTip(kReplacementTip);
    m_regularExpressionCheck->setText(kRegularExpression);
    m_ignoreCaseCheck->setText(kIgnoreCase);
    m_findButton->setText(kFind);
    m_previewButton->setText(kPreview);
    m_applyButton->setText(kApply);
    m_applyButton->setToolTip(kApplyTip);
    m_closeButton->setText(kClose);
    m_cancelButton->setText(kCancel);
    m_verseList->setAccessibleName(kVerseListName);
    m_verseView->setAccessibleName(kVerseViewName);
}

SearchRequest FindReplaceDialog::request() const
{
    return {m_patternEdit->text(), m_regularExpressionCheck->isChecked(), m_ignoreCaseCheck->isChecked()};
}

bool FindReplaceDialog::refused(const CompiledSearch& pattern, const std::optional<EngineFailure>& failure)
{
    if (pattern.fault == PatternFault::None && !failure) {
        return false;
    }
    if (failure) {
        // Texts of the database engine go without an icon.
        m_dialogs.inform(this, platform::MessageIcon::None,
                         EditorMessages::fileFailure(m_displayName, failure->description));
        return true;
    }
    m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                     pattern.fault == PatternFault::Empty
                         ? EditorMessages::emptyPattern()
                         : EditorMessages::invalidPattern(m_patternEdit->text(), pattern.offset, pattern.error));
    m_patternEdit->setFocus();
    m_patternEdit->setCursorPosition(int(pattern.offset));
    return true;
}

template <typename Work> auto FindReplaceDialog::runWithCancel(Work work)
{
    platform::RunControl control;
    m_running = &control;
    const QList<QWidget*> controls = {m_patternEdit,     m_replacementEdit, m_regularExpressionCheck,
                                      m_ignoreCaseCheck, m_findButton,      m_previewButton,
                                      m_verseList,       m_applyButton,     m_closeButton};
    QList<bool> enabled;
    for (QWidget* widget : controls) {
        enabled << widget->isEnabled();
        widget->setEnabled(false);
    }
    m_progressBar->setRange(0, 0);
    m_progressBar->setVisible(true);
    m_cancelButton->setVisible(true);
    m_cancelButton->setFocus();
    const auto outcome = platform::runInBackground(control, m_progressBar, [&work, &control] { return work(control); });
    m_cancelButton->setVisible(false);
    m_progressBar->setVisible(false);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        controls[i]->setEnabled(enabled[i]);
    }
    m_running = nullptr;
    return outcome;
}

void FindReplaceDialog::onCancelClicked()
{
    if (m_running != nullptr) {
        m_running->cancel();
    }
}

void FindReplaceDialog::reject()
{
    if (m_running == nullptr) {
        QDialog::reject();
    }
}

void FindReplaceDialog::clearList(const QStringList& columns)
{
    m_verseList->clear();
    // A find after a preview has two columns again, not a third one left over.
    m_verseList->setColumnCount(int(columns.size()));
    m_verseList->setHeaderLabels(columns);
    // The reference fits its contents, a text before a readable width, the last text the rest; no heading is ever
    // narrower than its text.
    QHeaderView* header = m_verseList->header();
    int widest = 0;
    for (int column = 0; column < columns.size(); ++column) {
        widest = std::max(widest, header->sectionSizeHint(column));
    }
    header->setMinimumSectionSize(widest);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (int column = 1; column + 1 < columns.size(); ++column) {
        header->resizeSection(column, std::max(widest, fontMetrics().averageCharWidth() * kTextColumnChars));
    }
    m_verseView->clear();
    m_summaryLabel->clear();
    m_found.clear();
    m_preview = {};
    m_applyButton->setEnabled(false);
}

void FindReplaceDialog::onFindClicked()
{
    clearList(kFindColumns);
    std::unique_ptr<VersionSearch> search = m_version.search();
    if (!search) {
        return;
    }
    const SearchRequest wanted = request();
    FindOutcome outcome = runWithCancel([&](platform::RunControl& control) { return search->find(wanted, &control); });
    if (refused(outcome.pattern, outcome.failure)) {
        return;
    }
    if (outcome.cancelled) {
        m_summaryLabel->setText(EditorMessages::searchCancelled());
        m_patternEdit->setFocus();
        return;
    }
    m_found = std::move(outcome.verses);
    m_summaryLabel->setText(outcome.matches == 0 ? EditorMessages::nothingFound()
                                                 : kFound.arg(korean(qint64(m_found.size())), korean(outcome.matches)));
    for (const FoundVerse& verse : m_found) {
        m_verseList->addTopLevelItem(new QTreeWidgetItem({verse.reference, verse.text}));
    }
    m_verseList->setFocus();
}

void FindReplaceDialog::onPreviewClicked()
{
    clearList(kPreviewColumns);
    std::unique_ptr<VersionSearch> search = m_version.search();
    if (!search) {
        return;
    }
    const SearchRequest wanted = request();
    const QString replacement = m_replacementEdit->text();
    ReplaceOutcome outcome =
        runWithCancel([&](platform::RunControl& control) { return search->preview(wanted, replacement, &control); });
    if (refused(outcome.pattern, outcome.failure)) {
        return;
    }
    if (outcome.cancelled) {
        m_summaryLabel->setText(EditorMessages::searchCancelled());
        m_patternEdit->setFocus();
        return;
    }
    m_preview = std::move(outcome);
    m_previewed = request();
    m_replacement = m_replacementEdit->text();
    m_summaryLabel->setText(
        EditorMessages::replacePreviewed(qint64(m_preview.changed.size()), qint64(m_preview.refused.size())));
    for (const ReplacedVerse& verse : m_preview.changed) {
        auto* item = new QTreeWidgetItem({verse.reference, verse.before, verse.after});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        m_verseList->addTopLevelItem(item);
    }
    for (const ReplacedVerse& verse : m_preview.refused) {
        m_verseList->addTopLevelItem(
            new QTreeWidgetItem({verse.reference, verse.before,
                                 verse.kind == ReplacedKind::LeftEmpty ? EditorMessages::replaceLeftEmpty()
                                                                       : EditorMessages::replaceLineBreak()}));
    }
    m_applyButton->setEnabled(!m_preview.changed.empty());
    m_verseList->setFocus();
}

void FindReplaceDialog::onApplyClicked()
{
    std::vector<ReplacedVerse> chosen;
    for (std::size_t i = 0; i < m_preview.changed.size(); ++i) {
        if (m_verseList->topLevelItem(int(i))->checkState(0) == Qt::Checked) {
            chosen.push_back(m_preview.changed[i]);
        }
    }
    if (chosen.empty()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, kNothingTicked);
        return;
    }
    std::unique_ptr<VersionSearch> search = m_version.search();
    if (!search || !m_dialogs.confirm(this, kApplyQuestion.arg(korean(qint64(chosen.size()))))) {
        return;
    }
    const QString detail = VersionSearch::detailOf(m_previewed, m_replacement);
    const ApplyOutcome outcome =
        runWithCancel([&](platform::RunControl& control) { return search->apply(chosen, detail, &control); });
    if (refused({}, outcome.failure)) {
        return;
    }
    if (outcome.cancelled) {
        // Nothing was stored: the preview stays, to apply again.
        m_dialogs.inform(this, platform::MessageIcon::Information,
                         m_displayName + kLineBreaks + EditorMessages::replaceCancelled());
        return;
    }
    m_applied = m_applied || outcome.stored > 0;
    clearList(kPreviewColumns);
    m_dialogs.inform(this, platform::MessageIcon::Information,
                     m_displayName + kLineBreaks +
                         EditorMessages::replaceApplied(outcome.stored, outcome.change, qint64(outcome.stale.size())));
}

void FindReplaceDialog::onVerseSelected()
{
    const int index = m_verseList->indexOfTopLevelItem(m_verseList->currentItem());
    if (index < 0) {
        return;
    }
    const auto row = std::size_t(index);
    QString reference;
    if (!m_found.empty()) {
        reference = m_found[row].reference;
        m_verseView->setHtml(marked(m_found[row]));
    } else {
        const std::size_t changed = m_preview.changed.size();
        const ReplacedVerse& verse = row < changed ? m_preview.changed[row] : m_preview.refused[row - changed];
        reference = verse.reference;
        m_verseView->setHtml(kBefore.toHtmlEscaped() + verse.before.toHtmlEscaped() + QStringLiteral("<br>") +
                             kAfter.toHtmlEscaped() +
                             (row < changed ? verse.after : m_verseList->currentItem()->text(2)).toHtmlEscaped());
    }
    if (m_showVerse) {
        m_showVerse(reference);
    }
}

} // namespace editor
