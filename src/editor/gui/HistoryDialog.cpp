#include "editor/gui/HistoryDialog.h"

#include "editor/EditorMessages.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/TextSize.h"
#include "platform/gui/WindowSettings.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace editor {

namespace {

const QString kCaption = QStringLiteral("변경 이력");
const QString kSummary = QStringLiteral("%1 구절의 변경 이력입니다. 최근 변경부터 보여 줍니다.");
const QStringList kColumns = {QStringLiteral("변경"), QStringLiteral("시각"), QStringLiteral("출처"),
                              QStringLiteral("이전 본문"), QStringLiteral("이후 본문")};
const QString kDetail = QStringLiteral("선택한 변경의 이전 본문과 이후 본문");
const QString kRestore = QStringLiteral("복원(&R)");
const QString kClose = QStringLiteral("닫기");

const QString kRestoreQuestion = QStringLiteral("%1\r\n\r\n이 구절의 본문을 변경 %2번 이전의 본문으로 "
                                                "되돌리시겠습니까?\r\n\r\n%3");
const QString kAlreadyThatText = QStringLiteral("이 구절의 본문이 이미 변경 %1번 이전의 본문과 같습니다 !");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The column of the text before, in characters; the text after takes the rest.
constexpr int kTextColumnChars = 30;
constexpr int kBeforeColumn = 3;

// The window's width at first, in characters.
constexpr int kWidthChars = 90;

} // namespace

HistoryDialog::HistoryDialog(platform::Dialogs& dialogs, VerseEditor& version, QString reference, QString displayName,
                             QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_version(version), m_reference(std::move(reference)),
      m_displayName(std::move(displayName))
{
    setObjectName(QStringLiteral("HistoryDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

void HistoryDialog::createWidgets()
{
    m_summaryLabel = new QLabel(this);
    m_summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    m_summaryLabel->setWordWrap(true);
    m_changeList = new QTreeWidget(this);
    m_changeList->setObjectName(QStringLiteral("changeList"));
    m_changeList->setRootIsDecorated(false);
    m_changeList->setUniformRowHeights(true);
    m_changeList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_detailLabel = new QLabel(this);
    m_detailLabel->setObjectName(QStringLiteral("detailLabel"));
    m_detailLabel->setWordWrap(true);
    m_detailText = new QPlainTextEdit(this);
    m_detailText->setObjectName(QStringLiteral("detailText"));
    m_detailText->setReadOnly(true);
    m_detailText->setTabChangesFocus(true);
    m_detailLabel->setBuddy(m_detailText);
    m_restoreButton = new QPushButton(this);
    m_restoreButton->setObjectName(QStringLiteral("restoreButton"));
    // Enter restores the selection, wherever the focus is but on Close.
    m_restoreButton->setDefault(true);
    m_restoreButton->setEnabled(false);
    m_closeButton = new QPushButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_changeList->setFocus();

    connect(m_changeList, &QTreeWidget::currentItemChanged, this, &HistoryDialog::onChangeSelected);
    connect(m_restoreButton, &QPushButton::clicked, this, &HistoryDialog::onRestoreClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &HistoryDialog::reject);
}

void HistoryDialog::createLayout()
{
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->addButton(m_restoreButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_closeButton, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(m_changeList, 3);
    layout->addWidget(m_detailLabel);
    layout->addWidget(m_detailText, 2);
    layout->addWidget(buttons);

    setTabOrder(m_changeList, m_detailText);
    setTabOrder(m_detailText, m_restoreButton);
    setTabOrder(m_restoreButton, m_closeButton);
}

QSize HistoryDialog::sizeHint() const
{
    return platform::atLeastCharacters(QDialog::sizeHint(), *this, kWidthChars);
}

void HistoryDialog::applyTexts()
{
    setWindowTitle(kCaption);
    m_summaryLabel->setText(kSummary.arg(m_reference));
    m_changeList->setAccessibleName(m_summaryLabel->text());
    m_changeList->setHeaderLabels(kColumns);
    m_detailLabel->setText(kDetail);
    m_restoreButton->setText(kRestore);
    m_closeButton->setText(kClose);

    // The short columns fit their contents, the text before a readable width, the text after the rest; no
    // heading is ever narrower than its text.
    QHeaderView* header = m_changeList->header();
    int widest = 0;
    for (int column = 0; column < kColumns.size(); ++column) {
        widest = std::max(widest, header->sectionSizeHint(column));
        if (column < kBeforeColumn) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    header->setMinimumSectionSize(widest);
    header->resizeSection(kBeforeColumn, std::max(widest, fontMetrics().averageCharWidth() * kTextColumnChars));
}

QString HistoryDialog::aboutVersion(const QString& text) const
{
    return m_displayName + kLineBreaks + text;
}

bool HistoryDialog::load()
{
    platform::BusyPointer busy;
    const std::optional<HistoryOutcome> outcome = m_version.verseChanges(m_reference);
    busy.restore();
    if (!outcome) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, aboutVersion(EditorMessages::goReferenceNotFound()));
        return false;
    }
    if (outcome->failure) {
        // Texts of the database engine go without an icon.
        m_dialogs.inform(this, platform::MessageIcon::None,
                         EditorMessages::fileFailure(m_displayName, outcome->failure->description));
        return false;
    }
    m_changes = outcome->verseChanges;
    m_changeList->clear();
    for (const versiondb::VerseChange& change : m_changes) {
        m_changeList->addTopLevelItem(
            new QTreeWidgetItem({QString::number(change.change.id), change.change.time.toString(kTimeFormat),
                                 versiondb::History::sourceName(change.change.source),
                                 EditorMessages::textOf(change.before), EditorMessages::textOf(change.after)}));
    }
    m_restoreButton->setEnabled(!m_changes.empty());
    if (m_changes.empty()) {
        m_detailText->setPlainText(EditorMessages::noHistory());
    } else {
        m_changeList->setCurrentItem(m_changeList->topLevelItem(0));
    }
    return true;
}

void HistoryDialog::onChangeSelected()
{
    const int index = m_changeList->indexOfTopLevelItem(m_changeList->currentItem());
    if (index >= 0) {
        m_detailText->setPlainText(EditorMessages::verseChangeLines(m_changes[std::size_t(index)]));
    }
}

void HistoryDialog::onRestoreClicked()
{
    const int index = m_changeList->indexOfTopLevelItem(m_changeList->currentItem());
    if (index < 0) {
        return;
    }
    const versiondb::VerseChange& chosen = m_changes[std::size_t(index)];
    const QString id = QString::number(chosen.change.id);
    if (!m_dialogs.confirm(this, kRestoreQuestion.arg(m_reference, id, EditorMessages::textOf(chosen.before)))) {
        return;
    }
    platform::BusyPointer busy;
    const std::optional<TakeBackOutcome> outcome = m_version.restore(m_reference, chosen.change.id);
    busy.restore();
    if (!outcome) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, aboutVersion(EditorMessages::goReferenceNotFound()));
        return;
    }
    if (outcome->failure) {
        m_dialogs.inform(this, platform::MessageIcon::None,
                         EditorMessages::fileFailure(m_displayName, outcome->failure->description));
        return;
    }
    if (outcome->restored.empty()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, aboutVersion(kAlreadyThatText.arg(id)));
        return;
    }
    m_restored = outcome->restored;
    accept();
}

} // namespace editor
