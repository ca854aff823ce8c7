#include "editor/gui/HistoryDialog.h"

#include "editor/gui/EditorWindows.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowSettings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace editor {

using platform::named;

HistoryDialog::HistoryDialog(platform::Dialogs& dialogs, VerseEditor& version, QString reference, QString displayName,
                             QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_version(version), m_reference(std::move(reference)),
      m_displayName(std::move(displayName))
{
    setObjectName(QStringLiteral("HistoryDialog"));
    setWindowTitle(QStringLiteral("변경 이력"));
    // Created in tab order.
    auto* summary = named<QLabel>(
        this, "summaryLabel", QStringLiteral("%1 구절의 변경 이력입니다. 최근 변경부터 보여 줍니다.").arg(m_reference));
    summary->setWordWrap(true);
    m_changeList = named<QTreeWidget>(this, "changeList");
    m_changeList->setAccessibleName(summary->text());
    m_changeList->setRootIsDecorated(false);
    m_changeList->setUniformRowHeights(true);
    setTextColumns(*m_changeList,
                   {QStringLiteral("변경"), QStringLiteral("시각"), QStringLiteral("출처"), QStringLiteral("이전 본문"),
                    QStringLiteral("이후 본문")},
                   3);
    auto* detailLabel = named<QLabel>(this, "detailLabel", QStringLiteral("선택한 변경의 이전 본문과 이후 본문"));
    detailLabel->setWordWrap(true);
    m_detailText = named<QPlainTextEdit>(this, "detailText");
    m_detailText->setReadOnly(true);
    m_detailText->setTabChangesFocus(true);
    detailLabel->setBuddy(m_detailText);
    m_restoreButton = named<QPushButton>(this, "restoreButton", QStringLiteral("복원(&R)"));
    // Enter restores the selection, wherever the focus is but on Close.
    m_restoreButton->setDefault(true);
    m_restoreButton->setEnabled(false);
    auto* closeButton = named<QPushButton>(this, "closeButton", QStringLiteral("닫기"));
    auto* buttons = named<QDialogButtonBox>(this, "buttonBox");
    buttons->addButton(m_restoreButton, QDialogButtonBox::ActionRole);
    buttons->addButton(closeButton, QDialogButtonBox::RejectRole);
    m_changeList->setFocus();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(m_changeList, 3);
    layout->addWidget(detailLabel);
    layout->addWidget(m_detailText, 2);
    layout->addWidget(buttons);

    // The selection's texts in full below the list.
    connect(m_changeList, &QTreeWidget::currentItemChanged, this, [this] {
        const int index = m_changeList->indexOfTopLevelItem(m_changeList->currentItem());
        if (index >= 0) {
            m_detailText->setPlainText(EditorMessages::verseChangeLines(m_changes[std::size_t(index)]));
        }
    });
    connect(m_restoreButton, &QPushButton::clicked, this, &HistoryDialog::onRestoreClicked);
    connect(closeButton, &QPushButton::clicked, this, &HistoryDialog::reject);
    // Room for the list's columns at first, whatever the font.
    platform::rememberGeometry(this, 90);
}

bool HistoryDialog::load()
{
    const std::optional<HistoryOutcome> outcome =
        platform::whileBusy([&] { return m_version.verseChanges(m_reference); });
    if (refusedOutcome(m_dialogs, this, m_displayName, outcome)) {
        return false;
    }
    m_changes = outcome->verseChanges;
    m_changeList->clear();
    for (const versiondb::VerseChange& change : m_changes) {
        m_changeList->addTopLevelItem(new QTreeWidgetItem(
            {QString::number(change.change.id), change.change.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             versiondb::History::sourceName(change.change.source), EditorMessages::textOf(change.before),
             EditorMessages::textOf(change.after)}));
    }
    m_restoreButton->setEnabled(!m_changes.empty());
    if (m_changes.empty()) {
        m_detailText->setPlainText(EditorMessages::kNoHistory);
    } else {
        m_changeList->setCurrentItem(m_changeList->topLevelItem(0));
    }
    return true;
}

void HistoryDialog::onRestoreClicked()
{
    const int index = m_changeList->indexOfTopLevelItem(m_changeList->currentItem());
    if (index < 0) {
        return;
    }
    const versiondb::VerseChange& chosen = m_changes[std::size_t(index)];
    const QString id = QString::number(chosen.change.id);
    if (!m_dialogs.confirm(this, QStringLiteral("%1\r\n\r\n이 구절의 본문을 변경 %2번 이전의 본문으로 "
                                                "되돌리시겠습니까?\r\n\r\n%3")
                                     .arg(m_reference, id, EditorMessages::textOf(chosen.before)))) {
        return;
    }
    const std::optional<TakeBackOutcome> outcome =
        platform::whileBusy([&] { return m_version.restore(m_reference, chosen.change.id); });
    if (refusedOutcome(m_dialogs, this, m_displayName, outcome)) {
        return;
    }
    if (outcome->restored.empty()) {
        m_dialogs.warn(this, EditorMessages::aboutVersion(
                                 m_displayName,
                                 QStringLiteral("이 구절의 본문이 이미 변경 %1번 이전의 본문과 같습니다 !").arg(id)));
        return;
    }
    m_restored = outcome->restored;
    accept();
}

} // namespace editor
