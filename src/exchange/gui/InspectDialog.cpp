#include "exchange/gui/InspectDialog.h"

#include "exchange/InspectMessages.h"
#include "exchange/gui/VersionChooser.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowRun.h"
#include "platform/gui/WindowSettings.h"

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
#include <utility>

namespace exchange {

namespace {

const QString kWindowTitle = QStringLiteral("본문 점검");
const QString kVersionLabel = QStringLiteral("역본(&V)");
const QString kOtherVersionLabel = QStringLiteral("비교 역본(&O)");
const QString kBrowse = QStringLiteral("찾아보기...");
const QString kKinds = QStringLiteral("점검할 항목");
const QString kInspect = QStringLiteral("점검(&S)");
const QString kCompose = QStringLiteral("한글 조합(&H)");
const QString kEditVerse = QStringLiteral("구절 편집(&E)");
const QString kCancel = QStringLiteral("취소");
const QString kClose = QStringLiteral("닫기");
const QString kHeading = QStringLiteral("%1 (%2)");
// What a screen reader calls the list and the view, which have no label of their own.
const QString kFindingTreeName = QStringLiteral("찾은 곳 목록");
const QString kFindingViewName = QStringLiteral("찾은 곳 내용");

const QString kVersionTitle = QStringLiteral("점검할 역본파일 선택");
const QString kOtherVersionTitle = QStringLiteral("길이를 견주어 볼 역본파일 선택");

const QString kNoVersion = QStringLiteral("점검할 역본파일을 선택하여 주십시오 !");
const QString kNoKind = QStringLiteral("점검할 항목을 하나 이상 선택하여 주십시오 !");

// The view of a finding: its reference and kind, then its excerpt.
const QString kFindingHtml = QStringLiteral("<p><b>%1</b> &nbsp; %2</p><p>%3</p><p>%4</p>");

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
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_openVerse(std::move(openVerse))
{
    setObjectName(QStringLiteral("InspectDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

void InspectDialog::createWidgets()
{
    m_versionLabel = named<QLabel>(this, "versionLabel");
    m_versionEdit = named<QLineEdit>(this, "versionEdit");
    m_versionBrowseButton = named<QPushButton>(this, "versionBrowseButton");
    m_otherVersionLabel = named<QLabel>(this, "otherVersionLabel");
    m_otherVersionEdit = named<QLineEdit>(this, "otherVersionEdit");
    m_otherVersionBrowseButton = named<QPushButton>(this, "otherVersionBrowseButton");
    m_kindsBox = named<QGroupBox>(this, "kindsBox");
    for (int i = 0; i < kInspectionKinds; ++i) {
        m_kindChecks[i] = named<QCheckBox>(m_kindsBox, kKindCheckNames[i]);
        m_kindChecks[i]->setChecked(true);
    }
    m_progressBar = named<QProgressBar>(this, "progressBar");
    m_inspectButton = named<QPushButton>(this, "inspectButton");
    m_inspectButton->setDefault(true);
    m_cancelButton = named<QPushButton>(this, "cancelButton");
    platform::WindowRun::prepare(m_progressBar, m_cancelButton);
    m_summaryLabel = named<QLabel>(this, "summaryLabel");
    m_summaryLabel->setWordWrap(true);
    m_splitter = named<QSplitter>(this, "splitter");
    m_splitter->setChildrenCollapsible(false);
    m_findingTree = named<QTreeWidget>(m_splitter, "findingTree");
    m_findingTree->setHeaderHidden(true);
    m_findingTree->setRootIsDecorated(true);
    // Long excerpts scroll sideways instead of being cut.
    m_findingTree->header()->setStretchLastSection(false);
    m_findingTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_findingView = named<QTextBrowser>(m_splitter, "findingView");
    m_findingView->setOpenLinks(false);
    m_editVerseButton = named<QPushButton>(this, "editVerseButton");
    m_editVerseButton->setEnabled(false);
    m_composeButton = named<QPushButton>(this, "composeButton");
    m_composeButton->setEnabled(false);
    m_buttons = named<QDialogButtonBox>(this, "buttons");
    m_closeButton = m_buttons->addButton(QDialogButtonBox::Close);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_versionLabel->setBuddy(m_versionEdit);
    m_otherVersionLabel->setBuddy(m_otherVersionEdit);

    connect(m_versionBrowseButton, &QPushButton::clicked, this, &InspectDialog::onVersionBrowseClicked);
    connect(m_otherVersionBrowseButton, &QPushButton::clicked, this, &InspectDialog::onOtherVersionBrowseClicked);
    connect(m_inspectButton, &QPushButton::clicked, this, &InspectDialog::onInspectClicked);
    connect(m_composeButton, &QPushButton::clicked, this, &InspectDialog::onComposeClicked);
    connect(m_editVerseButton, &QPushButton::clicked, this, &InspectDialog::onEditVerseClicked);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_findingTree, &QTreeWidget::currentItemChanged, this, &InspectDialog::onFindingTreeCurrentItemChanged);
    // A double click on a finding, or Enter (see keyPressEvent): the verse in the verse editor.
    connect(m_findingTree, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (selectedFinding() != nullptr) {
            onEditVerseClicked();
        }
    });
}

void InspectDialog::createLayout()
{
    auto* versions = new QGridLayout;
    versions->addWidget(m_versionLabel, 0, 0);
    versions->addWidget(m_versionEdit, 0, 1);
    versions->addWidget(m_versionBrowseButton, 0, 2);
    versions->addWidget(m_otherVersionLabel, 1, 0);
    versions->addWidget(m_otherVersionEdit, 1, 1);
    versions->addWidget(m_otherVersionBrowseButton, 1, 2);
    versions->setColumnStretch(1, 1);

    auto* kinds = new QGridLayout(m_kindsBox);
    for (int i = 0; i < kInspectionKinds; ++i) {
        kinds->addWidget(m_kindChecks[i], i / kCheckColumns, i % kCheckColumns);
    }

    auto* run = new QHBoxLayout;
    run->addWidget(m_progressBar, 1);
    run->addWidget(m_inspectButton);
    run->addWidget(m_cancelButton);

    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_editVerseButton);
    bottom->addWidget(m_composeButton);
    bottom->addStretch(1);
    bottom->addWidget(m_buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(versions);
    layout->addWidget(m_kindsBox);
    layout->addLayout(run);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(m_splitter, 1);
    layout->addLayout(bottom);
}

void InspectDialog::applyTexts()
{
    setWindowTitle(kWindowTitle);
    m_versionLabel->setText(kVersionLabel);
    m_otherVersionLabel->setText(kOtherVersionLabel);
    m_versionBrowseButton->setText(kBrowse);
    m_otherVersionBrowseButton->setText(kBrowse);
    m_kindsBox->setTitle(kKinds);
    for (int i = 0; i < kInspectionKinds; ++i) {
        m_kindChecks[i]->setText(InspectMessages::kind(static_cast<InspectionKind>(i)));
    }
    m_inspectButton->setText(kInspect);
    m_cancelButton->setText(kCancel);
    m_composeButton->setText(kCompose);
    m_editVerseButton->setText(kEditVerse);
    m_closeButton->setText(kClose);
    m_findingTree->setAccessibleName(kFindingTreeName);
    m_findingView->setAccessibleName(kFindingViewName);
}

void InspectDialog::setVersion(const QString& path)
{
    m_versionEdit->setText(path);
}

void InspectDialog::reject()
{
    if (!platform::WindowRun::running(this)) {
        QDialog::reject();
    }
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

void InspectDialog::onVersionBrowseClicked()
{
    chooseVersionInto(m_versionEdit, m_dialogs, m_programFolder, kVersionTitle);
}

void InspectDialog::onOtherVersionBrowseClicked()
{
    chooseVersionInto(m_otherVersionEdit, m_dialogs, m_programFolder, kOtherVersionTitle);
}

void InspectDialog::onInspectClicked()
{
    InspectRequest request{m_versionEdit->text(), m_otherVersionEdit->text(), {}, nullptr};
    for (int i = 0; i < kInspectionKinds; ++i) {
        request.skipped.set(std::size_t(i), !m_kindChecks[i]->isChecked());
    }
    if (request.path.isEmpty() || request.skipped.all()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, request.path.isEmpty() ? kNoVersion : kNoKind);
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

    platform::RunControl control;
    request.control = &control;
    InspectOutcome outcome;
    {
        const platform::WindowRun run(this, m_progressBar, m_cancelButton, control);
        outcome = platform::runInBackground(control, m_progressBar, [request] { return inspectVersion(request); });
    }

    switch (outcome.result) {
    case InspectResult::Clean:
        m_summaryLabel->setText(InspectMessages::clean(outcome));
        return;
    case InspectResult::Cancelled:
        m_summaryLabel->setText(InspectMessages::cancelled());
        return;
    case InspectResult::Found:
        break;
    case InspectResult::EngineFailed:
        m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                         InspectMessages::failure(outcome, request.path, request.against));
        return;
    }
    m_outcome = std::move(outcome);
    m_summaryLabel->setText(InspectMessages::counts(m_outcome));
    QTreeWidgetItem* heading = nullptr;
    for (qsizetype i = 0; i < m_outcome.findings.size(); ++i) {
        const Finding& finding = m_outcome.findings[i];
        if (heading == nullptr || heading->data(0, Qt::UserRole).toInt() != int(finding.kind)) {
            heading = new QTreeWidgetItem(
                m_findingTree,
                {kHeading.arg(InspectMessages::kind(finding.kind)).arg(m_outcome.counts[bit(finding.kind)])});
            heading->setData(0, Qt::UserRole, int(finding.kind));
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
    m_findingView->setHtml(kFindingHtml.arg(finding->reference.toHtmlEscaped(),
                                            InspectMessages::kind(finding->kind).toHtmlEscaped(),
                                            finding->excerpt.toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;")),
                                            InspectMessages::detail(*finding).toHtmlEscaped()));
}

void InspectDialog::onComposeClicked()
{
    const int count = m_outcome.counts[bit(InspectionKind::Decomposed)];
    if (count == 0 || !m_dialogs.confirm(this, InspectMessages::composeQuestion(count))) {
        return;
    }
    platform::RunControl control;
    ComposeOutcome outcome;
    {
        const platform::WindowRun run(this, m_progressBar, m_cancelButton, control);
        outcome = platform::runInBackground(
            control, m_progressBar, [path = m_inspected, &control] { return composeDecomposed(path, &control); });
    }
    if (outcome.cancelled) {
        m_dialogs.inform(this, platform::MessageIcon::Information, InspectMessages::composeCancelled());
        return;
    }
    if (!outcome.done) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                         InspectMessages::composeFailure(outcome, m_inspected));
        return;
    }
    m_dialogs.inform(this, platform::MessageIcon::Information, InspectMessages::composed(outcome));
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

} // namespace exchange
