#include "review/gui/CompareDialog.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowSettings.h"
#include "review/CompareMessages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace review {

namespace {

// The view of a verse: removed words struck through in red, added words underlined in green (the space after the
// removed words parts them from the added words that follow; HTML folds it into any other space).
QString differenceHtml(const DifferingVerse& verse)
{
    const QList<WordRun> words = verse.words();
    const QString kind = verse.kind == VerseDifference::Changed && sameWords(words) ? CompareMessages::kSpacingOnly
                                                                                    : CompareMessages::kind(verse.kind);
    const QString marked = markedWords(words, [](const WordRun& run) {
        const QString text = run.words.toHtmlEscaped();
        return run.kind == WordRun::Kind::Removed
                   ? QStringLiteral("<span style=\"color:#b00000; text-decoration:line-through\">%1</span> ").arg(text)
               : run.kind == WordRun::Kind::Added
                   ? QStringLiteral("<span style=\"color:#006400; text-decoration:underline\">%1</span>").arg(text)
                   : text;
    });
    return QStringLiteral("<p><b>%1</b> &nbsp; %2</p><p>").arg(verse.reference.toHtmlEscaped(), kind.toHtmlEscaped()) +
           marked + QStringLiteral("</p>");
}

using platform::named;

} // namespace

CompareDialog::CompareDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : RunDialog(dialogs, std::move(programFolder), parent)
{
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(QStringLiteral("역본 비교"));
    auto* grid = new QGridLayout;
    m_versionEdit =
        addVersionRow(grid, 0, "versionA", QStringLiteral("역본 &A"), QStringLiteral("비교할 역본파일 A 선택"));
    m_versionBEdit =
        addVersionRow(grid, 1, "versionB", QStringLiteral("역본 &B"), QStringLiteral("비교할 역본파일 B 선택"));
    m_summaryLabel = named<QLabel>(this, "summaryLabel");
    m_summaryLabel->setWordWrap(true);
    grid->addWidget(m_summaryLabel, 2, 0, 1, 2);
    auto* compareButton = named<QPushButton>(this, "compareButton", QStringLiteral("비교(&C)"));
    compareButton->setDefault(true);
    connect(compareButton, &QPushButton::clicked, this, &CompareDialog::onCompareClicked);
    grid->addWidget(compareButton, 2, 2);
    makeRunControls();
    grid->addWidget(m_progressBar, 3, 0, 1, 2);
    grid->addWidget(m_cancelButton, 3, 2);
    grid->setColumnStretch(1, 1);

    // The list takes a third of the width, the words of the verse the rest. Neither has a label: the screen reader
    // names them.
    auto* splitter = named<QSplitter>(this, "splitter");
    splitter->setChildrenCollapsible(false);
    m_verseList = named<QListWidget>(splitter, "verseList");
    m_verseList->setAccessibleName(QStringLiteral("다른 구절 목록"));
    connect(m_verseList, &QListWidget::currentRowChanged, this, &CompareDialog::onVerseListCurrentRowChanged);
    m_differenceView = named<QTextBrowser>(splitter, "differenceView");
    m_differenceView->setAccessibleName(QStringLiteral("구절의 차이"));
    m_differenceView->setOpenLinks(false);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(splitter, 1);
    layout->addWidget(makeCloseButtons());

    platform::rememberGeometry(this);
}

void CompareDialog::onCompareClicked()
{
    const QString pathA = m_versionEdit->text();
    const QString pathB = m_versionBEdit->text();
    if (pathA.isEmpty() || pathB.isEmpty()) {
        m_dialogs.warn(this, pathA.isEmpty() ? QStringLiteral("비교할 역본파일 A를 선택하여 주십시오 !")
                                             : QStringLiteral("비교할 역본파일 B를 선택하여 주십시오 !"));
        (pathA.isEmpty() ? m_versionEdit : m_versionBEdit)->setFocus();
        return;
    }
    m_outcome = {};
    m_verseList->clear();
    m_differenceView->clear();
    m_summaryLabel->clear();

    CompareOutcome outcome =
        run([&pathA, &pathB](platform::RunControl* control) { return compareVersions(pathA, pathB, control); });
    switch (outcome.result) {
    case CompareResult::Same:
        m_summaryLabel->setText(CompareMessages::kSame);
        return;
    case CompareResult::Cancelled:
        m_summaryLabel->setText(CompareMessages::kCancelled);
        return;
    case CompareResult::Different:
        break;
    case CompareResult::EngineFailed:
    case CompareResult::DuplicateReference:
    case CompareResult::DifferentSkeletons:
        m_dialogs.inform(this, CompareMessages::failure(outcome, pathA, pathB));
        return;
    }
    m_outcome = std::move(outcome);
    m_summaryLabel->setText(CompareMessages::counts(m_outcome));
    for (const DifferingVerse& verse : m_outcome.verses) {
        m_verseList->addItem(verse.reference + QStringLiteral("  ") + CompareMessages::kind(verse.kind));
    }
    m_verseList->setCurrentRow(0);
    m_verseList->setFocus();
}

void CompareDialog::onVerseListCurrentRowChanged()
{
    const int row = m_verseList->currentRow();
    if (row < 0 || row >= m_outcome.verses.size()) {
        m_differenceView->clear();
        return;
    }
    m_differenceView->setHtml(differenceHtml(m_outcome.verses[row]));
}

} // namespace review
