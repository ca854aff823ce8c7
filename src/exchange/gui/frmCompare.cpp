#include "exchange/gui/frmCompare.h"

#include "exchange/CompareMessages.h"
#include "exchange/gui/VersionChooser.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <type_traits>
#include <utility>

namespace exchange {

namespace {

const QString kCaption = QStringLiteral("역본 비교");
const QString kLabel1 = QStringLiteral("역본 &A");
const QString kLabel2 = QStringLiteral("역본 &B");
const QString kBrowse = QStringLiteral("찾기...");
const QString kCommand3 = QStringLiteral("비교(&C)");
const QString kCommand4 = QStringLiteral("닫기");

const QString kTitleA = QStringLiteral("비교할 역본파일 A 선택");
const QString kTitleB = QStringLiteral("비교할 역본파일 B 선택");

const QString kNoVersionA = QStringLiteral("비교할 역본파일 A를 선택하여 주십시오 !");
const QString kNoVersionB = QStringLiteral("비교할 역본파일 B를 선택하여 주십시오 !");

// The view of a verse: removed words struck through in red, added words underlined in green (the space after the
// removed words parts them from the added words that follow; HTML folds it into any other space).
const QString kVerseHeading = QStringLiteral("<p><b>%1</b> &nbsp; %2</p>");
const QString kRemoved = QStringLiteral("<span style=\"color:#b00000; text-decoration:line-through\">%1</span> ");
const QString kAdded = QStringLiteral("<span style=\"color:#006400; text-decoration:underline\">%1</span>");

// Geometry in twips.
constexpr int kClientWidth = 9000;
constexpr int kClientHeight = 6480;

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

} // namespace

frmCompare::frmCompare(platform::Dialogs& dialogs, QString programFolder, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmCompare::createControls()
{
    const auto named = [this](auto*& member, const char* name) {
        member = new std::remove_reference_t<decltype(*member)>(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    named(Label1, "Label1");
    named(Text1, "Text1");
    named(Command1, "Command1");
    named(Label2, "Label2");
    named(Text2, "Text2");
    named(Command2, "Command2");
    named(Command3, "Command3");
    named(Label3, "Label3");
    named(List1, "List1");
    named(Text3, "Text3");
    named(Command4, "Command4");
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    Command3->setDefault(true);
    Text3->setOpenLinks(false);

    const QList<QWidget*> order = {Text1, Command1, Text2, Command2, Command3, List1, Text3, Command4};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    connect(Command1, &QPushButton::clicked, this, &frmCompare::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmCompare::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmCompare::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmCompare::Command4_Click);
    connect(List1, &QListWidget::currentRowChanged, this, &frmCompare::List1_Click);
}

void frmCompare::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1);
    Label2->setText(kLabel2);
    Command1->setText(kBrowse);
    Command2->setText(kBrowse);
    Command3->setText(kCommand3);
    Command4->setText(kCommand4);
}

void frmCompare::placeControls()
{
    Label1->setGeometry(twips(240, 270, 900, 255));
    Text1->setGeometry(twips(1200, 225, 6240, 330));
    Command1->setGeometry(twips(7560, 210, 1200, 360));
    Label2->setGeometry(twips(240, 750, 900, 255));
    Text2->setGeometry(twips(1200, 705, 6240, 330));
    Command2->setGeometry(twips(7560, 690, 1200, 360));
    Label3->setGeometry(twips(240, 1260, 7200, 255));
    Command3->setGeometry(twips(7560, 1200, 1200, 375));
    List1->setGeometry(twips(240, 1680, 2760, 4080));
    Text3->setGeometry(twips(3120, 1680, 5640, 4080));
    Command4->setGeometry(twips(7680, 5940, 1080, 375));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

void frmCompare::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    platform::CenterForm(this);
}

void frmCompare::Command1_Click()
{
    chooseVersionInto(Text1, m_dialogs, m_programFolder, kTitleA);
}

void frmCompare::Command2_Click()
{
    chooseVersionInto(Text2, m_dialogs, m_programFolder, kTitleB);
}

void frmCompare::Command3_Click()
{
    const QString pathA = Text1->text();
    const QString pathB = Text2->text();
    if (pathA.isEmpty() || pathB.isEmpty()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, pathA.isEmpty() ? kNoVersionA : kNoVersionB);
        (pathA.isEmpty() ? Text1 : Text2)->setFocus();
        return;
    }
    m_outcome = {};
    List1->clear();
    Text3->clear();
    Label3->clear();

    platform::BusyPointer busy;
    CompareOutcome outcome = compareVersions(pathA, pathB);
    busy.restore();

    switch (outcome.result) {
    case CompareResult::Same:
        Label3->setText(CompareMessages::same());
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
    Label3->setText(CompareMessages::counts(m_outcome));
    for (const DifferingVerse& verse : m_outcome.verses) {
        List1->addItem(verse.reference + QStringLiteral("  ") + CompareMessages::kind(verse.kind));
    }
    List1->setCurrentRow(0);
    List1->setFocus();
}

void frmCompare::Command4_Click()
{
    accept();
}

void frmCompare::List1_Click()
{
    const int row = List1->currentRow();
    if (row < 0 || row >= m_outcome.verses.size()) {
        Text3->clear();
        return;
    }
    Text3->setHtml(differenceHtml(m_outcome.verses[row]));
}

} // namespace exchange
