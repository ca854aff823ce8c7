#include "editor/gui/FindReplaceDialog.h"

#include "editor/gui/EditorWindows.h"
#include "platform/Thousands.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowRun.h"
#include "platform/gui/WindowSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace editor {

using platform::named;

namespace {

const QStringList kFindColumns = {QStringLiteral("성경구절"), QStringLiteral("성경본문")};
const QStringList kPreviewColumns = {QStringLiteral("성경구절"), QStringLiteral("이전 본문"),
                                     QStringLiteral("이후 본문")};

// A text as HTML with its matches marked.
QString marked(const FoundVerse& verse)
{
    QString html;
    qsizetype at = 0;
    for (const MatchSpan& span : verse.spans) {
        html += verse.text.mid(at, span.start - at).toHtmlEscaped();
        if (span.length > 0) {
            html += QStringLiteral("<span style=\"background-color:#FFE08A\">%1</span>")
                        .arg(verse.text.mid(span.start, span.length).toHtmlEscaped());
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
    setWindowTitle(QStringLiteral("찾기·바꾸기"));
    // Created in tab order.
    auto* patternLabel = named<QLabel>(this, "patternLabel", QStringLiteral("찾을 말(&N)"));
    m_patternEdit = named<QLineEdit>(this, "patternEdit");
    patternLabel->setBuddy(m_patternEdit);
    auto* replacementLabel = named<QLabel>(this, "replacementLabel", QStringLiteral("바꿀 말(&W)"));
    m_replacementEdit = named<QLineEdit>(this, "replacementEdit");
    m_replacementEdit->setToolTip(QStringLiteral("정규식에서는 \\1, \\2 ... 가 괄호로 묶은 부분이 찾은 내용입니다"));
    replacementLabel->setBuddy(m_replacementEdit);
    m_regularExpressionCheck = named<QCheckBox>(this, "regularExpressionCheck", QStringLiteral("정규식(&R)"));
    m_ignoreCaseCheck = named<QCheckBox>(this, "ignoreCaseCheck", QStringLiteral("영문 대소문자 무시(&I)"));
    auto* findButton = named<QPushButton>(this, "findButton", QStringLiteral("찾기(&F)"));
    // Enter finds, wherever the focus is but on another button.
    findButton->setDefault(true);
    auto* previewButton = named<QPushButton>(this, "previewButton", QStringLiteral("미리보기(&P)"));
    m_summaryLabel = named<QLabel>(this, "summaryLabel");
    m_summaryLabel->setWordWrap(true);
    m_verseList = named<QTreeWidget>(this, "verseList");
    m_verseList->setAccessibleName(QStringLiteral("찾은 구절"));
    m_verseList->setRootIsDecorated(false);
    m_verseList->setUniformRowHeights(true);
    m_verseView = named<QTextBrowser>(this, "verseView");
    m_verseView->setAccessibleName(QStringLiteral("성경본문"));
    m_verseView->setTabChangesFocus(true);
    m_progressBar = named<QProgressBar>(this, "progressBar");
    m_cancelButton = named<QPushButton>(this, "cancelButton", QStringLiteral("취소"));
    platform::WindowRun::prepare(m_progressBar, m_cancelButton);
    // The cancel button, too, shows only while a run goes, keeping its room meanwhile.
    QSizePolicy keepPlace = m_cancelButton->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_cancelButton->setSizePolicy(keepPlace);
    m_cancelButton->setVisible(false);
    m_applyButton = named<QPushButton>(this, "applyButton", QStringLiteral("바꾸기(&A)"),
                                       QStringLiteral("체크한 구절을 모두 바꿉니다. 변경 하나로 되돌릴 수 있습니다"));
    auto* closeButton = named<QPushButton>(this, "closeButton", QStringLiteral("닫기"));
    clearList(kFindColumns);
    m_patternEdit->setFocus();

    auto* checks = new QHBoxLayout;
    checks->addWidget(m_regularExpressionCheck);
    checks->addWidget(m_ignoreCaseCheck);
    checks->addStretch();
    auto* form = new QFormLayout;
    form->addRow(patternLabel, m_patternEdit);
    form->addRow(replacementLabel, m_replacementEdit);
    form->addRow(QString(), checks);
    auto* runs = new QVBoxLayout;
    runs->addWidget(findButton);
    runs->addWidget(previewButton);
    runs->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(runs);

    // The verses found above, the one chosen below.
    auto* panes = named<QSplitter>(this, "paneSplitter");
    panes->setOrientation(Qt::Vertical);
    panes->setChildrenCollapsible(false);
    panes->addWidget(m_verseList);
    panes->addWidget(m_verseView);
    panes->setStretchFactor(0, 3);
    panes->setStretchFactor(1, 1);

    auto* buttons = named<QDialogButtonBox>(this, "buttonBox");
    buttons->addButton(m_applyButton, QDialogButtonBox::ApplyRole);
    buttons->addButton(closeButton, QDialogButtonBox::RejectRole);
    // The box gives its buttons the tab order of its layout, which puts Close first.
    setTabOrder(m_applyButton, closeButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progressBar, 1);
    bottom->addWidget(m_cancelButton);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(panes, 1);
    layout->addLayout(bottom);

    connect(findButton, &QPushButton::clicked, this, &FindReplaceDialog::onFindClicked);
    connect(previewButton, &QPushButton::clicked, this, &FindReplaceDialog::onPreviewClicked);
    connect(m_applyButton, &QPushButton::clicked, this, &FindReplaceDialog::onApplyClicked);
    connect(closeButton, &QPushButton::clicked, this, &FindReplaceDialog::reject);
    connect(m_verseList, &QTreeWidget::currentItemChanged, this, &FindReplaceDialog::onVerseSelected);
    // Room for the list's columns at first, whatever the font.
    platform::rememberGeometry(this, 90);
}

SearchRequest FindReplaceDialog::request() const
{
    return {m_patternEdit->text(), m_regularExpressionCheck->isChecked(), m_ignoreCaseCheck->isChecked()};
}

bool FindReplaceDialog::refused(const CompiledSearch& pattern, const std::optional<versiondb::ErrorItem>& failure)
{
    if (failure) {
        m_dialogs.inform(this, EditorMessages::failure(m_displayName, *failure));
        return true;
    }
    if (pattern.fault == PatternFault::None) {
        return false;
    }
    m_dialogs.warn(this, pattern.fault == PatternFault::Empty
                             ? EditorMessages::kEmptyPattern
                             : EditorMessages::invalidPattern(m_patternEdit->text(), pattern.offset, pattern.error));
    m_patternEdit->setFocus();
    m_patternEdit->setCursorPosition(int(pattern.offset));
    return true;
}

template <typename Outcome> bool FindReplaceDialog::stopped(const std::optional<Outcome>& outcome)
{
    if (!outcome || refused(outcome->pattern, outcome->failure)) {
        return true;
    }
    if (outcome->cancelled) {
        m_summaryLabel->setText(EditorMessages::kSearchCancelled);
        m_patternEdit->setFocus();
    }
    return outcome->cancelled;
}

template <typename Work> auto FindReplaceDialog::runWithCancel(Work work)
{
    std::optional<decltype(work(std::declval<VersionSearch&>(), std::declval<platform::RunControl&>()))> outcome;
    const std::unique_ptr<VersionSearch> search = m_version.search();
    if (search) {
        platform::RunControl control;
        m_cancelButton->setVisible(true);
        const auto hideCancel = qScopeGuard([this] { m_cancelButton->setVisible(false); });
        const platform::WindowRun run(this, m_progressBar, m_cancelButton, control);
        outcome = platform::runInBackground(control, m_progressBar, [&] { return work(*search, control); });
    }
    return outcome;
}

void FindReplaceDialog::reject()
{
    if (!platform::WindowRun::running(this)) {
        QDialog::reject();
    }
}

void FindReplaceDialog::clearList(const QStringList& columns)
{
    m_verseList->clear();
    setTextColumns(*m_verseList, columns, 1);
    m_verseView->clear();
    m_summaryLabel->clear();
    m_found.clear();
    m_preview = {};
    m_applyButton->setEnabled(false);
}

void FindReplaceDialog::onFindClicked()
{
    clearList(kFindColumns);
    const SearchRequest wanted = request();
    std::optional<FindOutcome> outcome = runWithCancel(
        [&](VersionSearch& search, platform::RunControl& control) { return search.find(wanted, &control); });
    if (stopped(outcome)) {
        return;
    }
    m_found = std::move(outcome->verses);
    m_summaryLabel->setText(outcome->matches == 0 ? EditorMessages::kNothingFound
                                                  : QStringLiteral("%1개 구절에서 %2곳을 찾았습니다.")
                                                        .arg(platform::thousands(qint64(m_found.size())),
                                                             platform::thousands(outcome->matches)));
    for (const FoundVerse& verse : m_found) {
        m_verseList->addTopLevelItem(new QTreeWidgetItem({verse.reference, verse.text}));
    }
    m_verseList->setFocus();
}

void FindReplaceDialog::onPreviewClicked()
{
    clearList(kPreviewColumns);
    const SearchRequest wanted = request();
    const QString replacement = m_replacementEdit->text();
    std::optional<ReplaceOutcome> outcome = runWithCancel([&](VersionSearch& search, platform::RunControl& control) {
        return search.preview(wanted, replacement, &control);
    });
    if (stopped(outcome)) {
        return;
    }
    m_preview = std::move(*outcome);
    m_previewed = wanted;
    m_replacement = replacement;
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
                                 verse.kind == ReplacedKind::LeftEmpty ? EditorMessages::kReplaceLeftEmpty
                                                                       : EditorMessages::kReplaceLineBreak}));
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
        m_dialogs.warn(this, QStringLiteral("바꿀 구절을 체크하여 주십시오 !"));
        return;
    }
    if (!m_version.isOpen() ||
        !m_dialogs.confirm(this, QStringLiteral("체크한 %1개 구절의 본문을 바꾸시겠습니까?\r\n"
                                                "바꾼 구절은 모두 변경 하나로 기록되어 한 번에 되돌릴 수 있습니다.")
                                     .arg(platform::thousands(qint64(chosen.size()))))) {
        return;
    }
    const QString detail = VersionSearch::detailOf(m_previewed, m_replacement);
    const std::optional<ApplyOutcome> outcome = runWithCancel(
        [&](VersionSearch& search, platform::RunControl& control) { return search.apply(chosen, detail, &control); });
    if (!outcome || refused({}, outcome->failure)) {
        return;
    }
    if (outcome->cancelled) {
        // Nothing was stored: the preview stays, to apply again.
        m_dialogs.inform(this, platform::MessageIcon::Information,
                         EditorMessages::aboutVersion(m_displayName, EditorMessages::kReplaceCancelled));
        return;
    }
    m_applied = m_applied || outcome->stored > 0;
    clearList(kPreviewColumns);
    m_dialogs.inform(
        this, platform::MessageIcon::Information,
        EditorMessages::aboutVersion(m_displayName, EditorMessages::replaceApplied(outcome->stored, outcome->change,
                                                                                   qint64(outcome->stale.size()))));
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
        m_verseView->setHtml(QStringLiteral("이전: ") + verse.before.toHtmlEscaped() + QStringLiteral("<br>이후: ") +
                             (row < changed ? verse.after : m_verseList->currentItem()->text(2)).toHtmlEscaped());
    }
    if (m_showVerse) {
        m_showVerse(reference);
    }
}

} // namespace editor
