#include "review/gui/InspectDialog.h"

#include "editor/HangulComposition.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowSettings.h"
#include "review/InspectMessages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace review {

namespace {

// The check box of each kind, in the order of InspectionKind.
const char* const kKindCheckNames[kInspectionKinds] = {"emptyCheck",          "replacementCheck", "controlCheck",
                                                       "mojibakeCheck",       "decomposedCheck",  "edgeSpacesCheck",
                                                       "doubleSpacesCheck",   "bracketsCheck",    "repeatedWordCheck",
                                                       "sameAsPreviousCheck", "lengthCheck"};
constexpr int kCheckColumns = 3;
constexpr int kFindingRole = Qt::UserRole + 1; // the index of a finding's item in m_outcome.findings

using platform::named;

} // namespace

InspectDialog::InspectDialog(platform::Dialogs& dialogs, QString programFolder, OpenVerse openVerse, QWidget* parent)
    : RunDialog(dialogs, std::move(programFolder), parent), m_openVerse(std::move(openVerse))
{
    setObjectName(QStringLiteral("InspectDialog"));
    setWindowTitle(QStringLiteral("본문 점검"));
    auto* versions = new QGridLayout;
    m_versionEdit =
        addVersionRow(versions, 0, "version", QStringLiteral("역본(&V)"), QStringLiteral("점검할 역본파일 선택"));
    m_otherVersionEdit = addVersionRow(versions, 1, "otherVersion", QStringLiteral("비교 역본(&O)"),
                                       QStringLiteral("길이를 견주어 볼 역본파일 선택"));
    versions->setColumnStretch(1, 1);

    auto* kindsBox = named<QGroupBox>(this, "kindsBox");
    kindsBox->setTitle(QStringLiteral("점검할 항목"));
    auto* kinds = new QGridLayout(kindsBox);
    for (int i = 0; i < kInspectionKinds; ++i) {
        m_kindChecks[i] =
            named<QCheckBox>(kindsBox, kKindCheckNames[i], InspectMessages::kind(static_cast<InspectionKind>(i)));
        m_kindChecks[i]->setChecked(true);
        kinds->addWidget(m_kindChecks[i], i / kCheckColumns, i % kCheckColumns);
    }

    auto* inspectButton = named<QPushButton>(this, "inspectButton", QStringLiteral("점검(&S)"));
    inspectButton->setDefault(true);
    connect(inspectButton, &QPushButton::clicked, this, &InspectDialog::onInspectClicked);
    makeRunControls();
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(m_progressBar, 1);
    runRow->addWidget(inspectButton);
    runRow->addWidget(m_cancelButton);

    m_summaryLabel = named<QLabel>(this, "summaryLabel");
    m_summaryLabel->setWordWrap(true);

    // Neither the tree nor the view has a label: the screen reader names them.
    auto* splitter = named<QSplitter>(this, "splitter");
    splitter->setChildrenCollapsible(false);
    m_findingTree = named<QTreeWidget>(splitter, "findingTree");
    m_findingTree->setAccessibleName(QStringLiteral("찾은 곳 목록"));
    m_findingTree->setHeaderHidden(true);
    // Long excerpts scroll sideways instead of being cut.
    m_findingTree->header()->setStretchLastSection(false);
    m_findingTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(m_findingTree, &QTreeWidget::currentItemChanged, this, &InspectDialog::onFindingTreeCurrentItemChanged);
    // A double click on a finding, or Enter (see keyPressEvent): the verse in the verse editor.
    connect(m_findingTree, &QTreeWidget::itemDoubleClicked, this, &InspectDialog::onEditVerseClicked);
    m_findingView = named<QTextBrowser>(splitter, "findingView");
    m_findingView->setAccessibleName(QStringLiteral("찾은 곳 내용"));
    m_findingView->setOpenLinks(false);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    m_editVerseButton = named<QPushButton>(this, "editVerseButton", QStringLiteral("구절 편집(&E)"));
    m_editVerseButton->setEnabled(false);
    connect(m_editVerseButton, &QPushButton::clicked, this, &InspectDialog::onEditVerseClicked);
    m_composeButton = named<QPushButton>(this, "composeButton", QStringLiteral("한글 조합(&H)"));
    m_composeButton->setEnabled(false);
    connect(m_composeButton, &QPushButton::clicked, this, &InspectDialog::onComposeClicked);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_editVerseButton);
    bottom->addWidget(m_composeButton);
    bottom->addStretch(1);
    bottom->addWidget(makeCloseButtons());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(versions);
    layout->addWidget(kindsBox);
    layout->addLayout(runRow);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);

    platform::rememberGeometry(this);
}

void InspectDialog::keyPressEvent(QKeyEvent* event)
{
    // The tree leaves Enter to the window, which would take it for the default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == m_findingTree && selectedFinding() != nullptr) {
        onEditVerseClicked();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void InspectDialog::onInspectClicked()
{
    InspectRequest request{m_versionEdit->text(), m_otherVersionEdit->text(), {}, nullptr};
    for (int i = 0; i < kInspectionKinds; ++i) {
        request.skipped.set(std::size_t(i), !m_kindChecks[i]->isChecked());
    }
    if (request.path.isEmpty() || request.skipped.all()) {
        m_dialogs.warn(this, request.path.isEmpty() ? QStringLiteral("점검할 역본파일을 선택하여 주십시오 !")
                                                    : QStringLiteral("점검할 항목을 하나 이상 선택하여 주십시오 !"));
        (request.path.isEmpty() ? static_cast<QWidget*>(m_versionEdit) : m_kindChecks[0])->setFocus();
        return;
    }
    m_outcome = {};
    m_inspected = request.path;
    m_findingTree->clear();
    m_findingView->clear();
    m_summaryLabel->clear();
    m_composeButton->setEnabled(false);
    m_editVerseButton->setEnabled(false);

    InspectOutcome outcome = run([&request](platform::RunControl* control) {
        request.control = control;
        return inspectVersion(request);
    });
    switch (outcome.result) {
    case InspectResult::Clean:
        m_summaryLabel->setText(InspectMessages::clean(outcome));
        return;
    case InspectResult::Cancelled:
        m_summaryLabel->setText(InspectMessages::kCancelled);
        return;
    case InspectResult::Found:
        break;
    case InspectResult::EngineFailed:
        m_dialogs.inform(this, InspectMessages::failure(outcome, request.path, request.against));
        return;
    }
    m_outcome = std::move(outcome);
    m_summaryLabel->setText(InspectMessages::counts(m_outcome));
    QTreeWidgetItem* heading = nullptr;
    for (qsizetype i = 0; i < m_outcome.findings.size(); ++i) {
        const Finding& finding = m_outcome.findings[i];
        if (i == 0 || m_outcome.findings[i - 1].kind != finding.kind) {
            heading = new QTreeWidgetItem(m_findingTree, {QStringLiteral("%1 (%2)")
                                                              .arg(InspectMessages::kind(finding.kind))
                                                              .arg(m_outcome.counts[bit(finding.kind)])});
            heading->setExpanded(true);
        }
        auto* item = new QTreeWidgetItem(heading, {finding.reference + QStringLiteral("  ") + finding.excerpt});
        item->setData(0, kFindingRole, i);
    }
    m_composeButton->setEnabled(m_outcome.counts[bit(InspectionKind::Decomposed)] > 0);
    m_findingTree->setCurrentItem(m_findingTree->topLevelItem(0)->child(0));
    m_findingTree->setFocus();
}

const Finding* InspectDialog::selectedFinding() const
{
    const QTreeWidgetItem* item = m_findingTree->currentItem();
    if (item == nullptr || item->parent() == nullptr) {
        return nullptr;
    }
    const qsizetype i = item->data(0, kFindingRole).toLongLong();
    return i >= 0 && i < m_outcome.findings.size() ? &m_outcome.findings[i] : nullptr;
}

void InspectDialog::onFindingTreeCurrentItemChanged()
{
    const Finding* finding = selectedFinding();
    m_editVerseButton->setEnabled(finding != nullptr && m_openVerse);
    if (finding == nullptr) {
        m_findingView->clear();
        return;
    }
    // Its reference and kind, then its excerpt.
    m_findingView->setHtml(QStringLiteral("<p><b>%1</b> &nbsp; %2</p><p>%3</p><p>%4</p>")
                               .arg(finding->reference.toHtmlEscaped(),
                                    InspectMessages::kind(finding->kind).toHtmlEscaped(),
                                    finding->excerpt.toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;")),
                                    InspectMessages::detail(*finding).toHtmlEscaped()));
}

void InspectDialog::onComposeClicked()
{
    const int count = m_outcome.counts[bit(InspectionKind::Decomposed)];
    if (count == 0 || !m_dialogs.confirm(this, editor::ComposeMessages::question(count))) {
        return;
    }
    const editor::ComposeOutcome outcome =
        run([path = m_inspected](platform::RunControl* control) { return editor::composeDecomposed(path, control); });
    if (outcome.cancelled) {
        m_dialogs.inform(this, editor::ComposeMessages::cancelled());
        return;
    }
    if (!outcome.done) {
        m_dialogs.inform(this, editor::ComposeMessages::failure(outcome, m_inspected));
        return;
    }
    m_dialogs.inform(this, editor::ComposeMessages::composed(outcome));
    m_versionEdit->setText(m_inspected);
    onInspectClicked();
}

void InspectDialog::onEditVerseClicked()
{
    if (const Finding* finding = selectedFinding(); finding != nullptr && m_openVerse) {
        const QString reference = finding->reference;
        m_openVerse(m_inspected, reference);
    }
}

} // namespace review
