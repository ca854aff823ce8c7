#include "exchange/gui/CompareDialog.h"

#include "exchange/CompareMessages.h"
#include "exchange/gui/VersionChooser.h"
#include "platform/gui/BackgroundRun.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowRun.h"
#include "platform/gui/WindowSettings.h"

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
#include <utility>

namespace exchange {

namespace {

const QString kWindowTitle = QStringLiteral("역본 비교");
const QString kVersionALabel = QStringLiteral("역본 &A");
const QString kVersionBLabel = QStringLiteral("역본 &B");
const QString kBrowse = QStringLiteral("찾아보기...");
const QString kCompare = QStringLiteral("비교(&C)");
const QString kCancel = QStringLiteral("취소");
const QString kClose = QStringLiteral("닫기");
// What a screen reader calls the list and the view, which have no label of their own.
const QString kVerseListName = QStringLiteral("다른 구절 목록");
const QString kDifferenceViewName = QStringLiteral("구절의 차이");

const QString kTitleA = QStringLiteral("비교할 역본파일 A 선택");
const QString kTitleB = QStringLiteral("비교할 역본파일 B 선택");

const QString kNoVersionA = QStringLiteral("비교할 역본파일 A를 선택하여 주십시오 !");
const QString kNoVersionB = QStringLiteral("비교할 역본파일 B를 선택하여 주십시오 !");

// The view of a verse: removed words struck through in red, added words underlined in green (the space after the
// removed words parts them from the added words that follow; HTML folds it into any other space).
const QString kVerseHeading = QStringLiteral("<p><b>%1</b> &nbsp; %2</p>");
const QString kRemoved = QStringLiteral("<span style=\"color:#b00000; text-decoration:line-through\">%1</span> ");
const QString kAdded = QStringLiteral("<span style=\"color:#006400; text-decoration:underline\">%1</span>");

QString differenceHtml(const DifferingVerse& verse)
{
    const QList<WordRun> words = verse.words();
    QString kind = CompareMessages::kind(verse.kind);
    if (verse.kind == VerseDifference::Changed && sameWords(words)) {
        kind = CompareMessages::spacingOnly();
    }
    const QString marked = markedWords(words, [](const WordRun& run) {
        const QString text = run.words.toHtmlEscaped();
        return run.kind == WordRun::Kind::Removed ? kRemoved.arg(text)
               : run.kind == WordRun::Kind::Added ? kAdded.arg(text)
                                                  : text;
    });
    return kVerseHeading.arg(verse.reference.toHtmlEscaped(), kind.toHtmlEscaped()) + QStringLiteral("<p>") + marked +
           QStringLiteral("</p>");
}

using platform::named;

} // namespace

CompareDialog::CompareDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("CompareDialog"));
    createWidgets();
    createLayout();
    applyTexts();
    platform::rememberGeometry(this);
}

void CompareDialog::createWidgets()
{
    m_versionALabel = named<QLabel>(this, "versionALabel");
    m_versionAEdit = named<QLineEdit>(this, "versionAEdit");
    m_versionABrowseButton = named<QPushButton>(this, "versionABrowseButton");
    m_versionBLabel = named<QLabel>(this, "versionBLabel");
    m_versionBEdit = named<QLineEdit>(this, "versionBEdit");
    m_versionBBrowseButton = named<QPushButton>(this, "versionBBrowseButton");
    m_summaryLabel = named<QLabel>(this, "summaryLabel");
    m_summaryLabel->setWordWrap(true);
    m_compareButton = named<QPushButton>(this, "compareButton");
    m_compareButton->setDefault(true);
    m_progressBar = named<QProgressBar>(this, "progressBar");
    m_cancelButton = named<QPushButton>(this, "cancelButton");
    platform::WindowRun::prepare(m_progressBar, m_cancelButton);
    m_splitter = named<QSplitter>(this, "splitter");
    m_splitter->setChildrenCollapsible(false);
    m_verseList = named<QListWidget>(m_splitter, "verseList");
    m_differenceView = named<QTextBrowser>(m_splitter, "differenceView");
    m_differenceView->setOpenLinks(false);
    m_buttons = named<QDialogButtonBox>(this, "buttons");
    m_closeButton = m_buttons->addButton(QDialogButtonBox::Close);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_versionALabel->setBuddy(m_versionAEdit);
    m_versionBLabel->setBuddy(m_versionBEdit);

    connect(m_versionABrowseButton, &QPushButton::clicked, this, &CompareDialog::onVersionABrowseClicked);
    connect(m_versionBBrowseButton, &QPushButton::clicked, this, &CompareDialog::onVersionBBrowseClicked);
    connect(m_compareButton, &QPushButton::clicked, this, &CompareDialog::onCompareClicked);
    connect(m_verseList, &QListWidget::currentRowChanged, this, &CompareDialog::onVerseListCurrentRowChanged);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CompareDialog::createLayout()
{
    auto* grid = new QGridLayout;
    grid->addWidget(m_versionALabel, 0, 0);
    grid->addWidget(m_versionAEdit, 0, 1);
    grid->addWidget(m_versionABrowseButton, 0, 2);
    grid->addWidget(m_versionBLabel, 1, 0);
    grid->addWidget(m_versionBEdit, 1, 1);
    grid->addWidget(m_versionBBrowseButton, 1, 2);
    grid->addWidget(m_summaryLabel, 2, 0, 1, 2);
    grid->addWidget(m_compareButton, 2, 2);
    grid->addWidget(m_progressBar, 3, 0, 1, 2);
    grid->addWidget(m_cancelButton, 3, 2);
    grid->setColumnStretch(1, 1);

    // The list takes a third of the width, the words of the verse the rest.
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_buttons);
}

void CompareDialog::applyTexts()
{
    setWindowTitle(kWindowTitle);
    m_versionALabel->setText(kVersionALabel);
    m_versionBLabel->setText(kVersionBLabel);
    m_versionABrowseButton->setText(kBrowse);
    m_versionBBrowseButton->setText(kBrowse);
    m_compareButton->setText(kCompare);
    m_cancelButton->setText(kCancel);
    m_closeButton->setText(kClose);
    m_verseList->setAccessibleName(kVerseListName);
    m_differenceView->setAccessibleName(kDifferenceViewName);
}

void CompareDialog::setVersion(const QString& path)
{
    m_versionAEdit->setText(path);
}

void CompareDialog::reject()
{
    if (!platform::WindowRun::running(this)) {
        QDialog::reject();
    }
}

void CompareDialog::onVersionABrowseClicked()
{
    chooseVersionInto(m_versionAEdit, m_dialogs, m_programFolder, kTitleA);
}

void CompareDialog::onVersionBBrowseClicked()
{
    chooseVersionInto(m_versionBEdit, m_dialogs, m_programFolder, kTitleB);
}

void CompareDialog::onCompareClicked()
{
    const QString pathA = m_versionAEdit->text();
    const QString pathB = m_versionBEdit->text();
    if (pathA.isEmpty() || pathB.isEmpty()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, pathA.isEmpty() ? kNoVersionA : kNoVersionB);
        (pathA.isEmpty() ? m_versionAEdit : m_versionBEdit)->setFocus();
        return;
    }
    m_outcome = {};
    m_verseList->clear();
    m_differenceView->clear();
    m_summaryLabel->clear();

    platform::RunControl control;
    CompareOutcome outcome;
    {
        const platform::WindowRun run(this, m_progressBar, m_cancelButton, control);
        outcome = platform::runInBackground(
            control, m_progressBar, [pathA, pathB, &control] { return compareVersions(pathA, pathB, &control); });
    }

    switch (outcome.result) {
    case CompareResult::Same:
        m_summaryLabel->setText(CompareMessages::same());
        return;
    case CompareResult::Cancelled:
        m_summaryLabel->setText(CompareMessages::cancelled());
        return;
    case CompareResult::Different:
        break;
    case CompareResult::EngineFailed:
        m_dialogs.inform(this, platform::MessageIcon::None, CompareMessages::failure(outcome, pathA, pathB));
        return;
    case CompareResult::DuplicateReference:
    case CompareResult::DifferentSkeletons:
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, CompareMessages::failure(outcome, pathA, pathB));
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

} // namespace exchange
