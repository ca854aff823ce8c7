#include "editor/gui/frmFindReplace.h"

#include "editor/EditorMessages.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <utility>

namespace editor {

namespace {

const QString kCaption = QStringLiteral("찾기·바꾸기");
const QString kLabel1 = QStringLiteral("찾을 말(&N)");
const QString kLabel2 = QStringLiteral("바꿀 말(&W)");
const QString kText2Tip = QStringLiteral("정규식에서는 \\1, \\2 ... 가 괄호로 묶은 부분이 찾은 내용입니다");
const QString kCheck1 = QStringLiteral("정규식(&R)");
const QString kCheck2 = QStringLiteral("영문 대소문자 무시(&I)");
const QString kCommand1 = QStringLiteral("찾기(&F)");
const QString kCommand2 = QStringLiteral("미리보기(&P)");
const QString kCommand3 = QStringLiteral("바꾸기(&A)");
const QString kCommand3Tip = QStringLiteral("체크한 구절을 모두 바꿉니다. 변경 하나로 되돌릴 수 있습니다");
const QString kCommand4 = QStringLiteral("닫기");
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

// Geometry in twips.
constexpr int kClientWidth = 9600;
constexpr int kClientHeight = 7200;
constexpr int kColumnWidths[] = {1200, 4000};

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

frmFindReplace::frmFindReplace(platform::Dialogs& dialogs, VerseEditor& version, QString displayName,
                               ShowVerse showVerse, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_version(version), m_displayName(std::move(displayName)),
      m_showVerse(std::move(showVerse))
{
    setObjectName(QStringLiteral("frmFindReplace"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmFindReplace::createControls()
{
    const auto make = [this]<typename T>(T*& member, const char* name) {
        member = new T(this);
        member->setObjectName(QString::fromLatin1(name));
    };
    // Created in tab order.
    make(Label1, "Label1");
    make(Text1, "Text1");
    make(Label2, "Label2");
    make(Text2, "Text2");
    make(Check1, "Check1");
    make(Check2, "Check2");
    make(Command1, "Command1");
    make(Command2, "Command2");
    make(Label3, "Label3");
    make(List1, "List1");
    make(Text3, "Text3");
    make(Progress1, "Progress1");
    make(Command3, "Command3");
    make(Command4, "Command4");
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    // Enter finds, wherever the focus is but on another button.
    Command1->setDefault(true);
    Command3->setEnabled(false);
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Text3->setReadOnly(true);
    Text3->setTabChangesFocus(true);
    Progress1->setVisible(false);
    clearList(kFindColumns);

    connect(Command1, &QPushButton::clicked, this, &frmFindReplace::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmFindReplace::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmFindReplace::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmFindReplace::Command4_Click);
    connect(List1, &QTreeWidget::currentItemChanged, this, &frmFindReplace::List1_Click);
}

void frmFindReplace::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1);
    Label2->setText(kLabel2);
    Text2->setToolTip(kText2Tip);
    Check1->setText(kCheck1);
    Check2->setText(kCheck2);
    Command1->setText(kCommand1);
    Command2->setText(kCommand2);
    Command3->setText(kCommand3);
    Command3->setToolTip(kCommand3Tip);
    Command4->setText(kCommand4);
}

void frmFindReplace::placeControls()
{
    Label1->setGeometry(twips(120, 180, 1200, 255));
    Text1->setGeometry(twips(1320, 120, 5400, 345));
    Label2->setGeometry(twips(120, 600, 1200, 255));
    Text2->setGeometry(twips(1320, 540, 5400, 345));
    Check1->setGeometry(twips(1320, 960, 1500, 300));
    Check2->setGeometry(twips(2940, 960, 3000, 300));
    Command1->setGeometry(twips(6960, 120, 1200, 420));
    Command2->setGeometry(twips(6960, 600, 1200, 420));
    Label3->setGeometry(twips(120, 1380, 9360, 255));
    List1->setGeometry(twips(120, 1680, 9360, 3240));
    for (int column = 0; column < int(std::size(kColumnWidths)); ++column) {
        List1->header()->resizeSection(column, platform::twipsToPixels(kColumnWidths[column], this));
    }
    Text3->setGeometry(twips(120, 5040, 9360, 1320));
    Progress1->setGeometry(twips(120, 6600, 5400, 300));
    Command3->setGeometry(twips(6960, 6540, 1200, 420));
    Command4->setGeometry(twips(8280, 6540, 1200, 420));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

void frmFindReplace::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    platform::CenterForm(this);
    Text1->setFocus();
}

SearchRequest frmFindReplace::request() const
{
    return {Text1->text(), Check1->isChecked(), Check2->isChecked()};
}

bool frmFindReplace::refused(const CompiledSearch& pattern, const std::optional<EngineFailure>& failure)
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
                         : EditorMessages::invalidPattern(Text1->text(), pattern.offset, pattern.error));
    Text1->setFocus();
    Text1->setCursorPosition(int(pattern.offset));
    return true;
}

SearchProgress frmFindReplace::progress()
{
    Progress1->setValue(0);
    Progress1->setVisible(true);
    return [this](qint64 done, qint64 total) {
        Progress1->setMaximum(int(total));
        Progress1->setValue(int(done));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

void frmFindReplace::endProgress()
{
    Progress1->setVisible(false);
}

void frmFindReplace::clearList(const QStringList& columns)
{
    List1->clear();
    List1->setHeaderLabels(columns);
    Text3->clear();
    Label3->clear();
    m_found.clear();
    m_preview = {};
    Command3->setEnabled(false);
}

void frmFindReplace::Command1_Click()
{
    clearList(kFindColumns);
    std::unique_ptr<VersionSearch> search = m_version.search();
    if (!search) {
        return;
    }
    platform::BusyPointer busy;
    FindOutcome outcome = search->find(request(), progress());
    endProgress();
    busy.restore();
    if (refused(outcome.pattern, outcome.failure)) {
        return;
    }
    m_found = std::move(outcome.verses);
    Label3->setText(outcome.matches == 0 ? EditorMessages::nothingFound()
                                         : kFound.arg(korean(qint64(m_found.size())), korean(outcome.matches)));
    for (const FoundVerse& verse : m_found) {
        List1->addTopLevelItem(new QTreeWidgetItem({verse.reference, verse.text}));
    }
    List1->setFocus();
}

void frmFindReplace::Command2_Click()
{
    clearList(kPreviewColumns);
    std::unique_ptr<VersionSearch> search = m_version.search();
    if (!search) {
        return;
    }
    platform::BusyPointer busy;
    ReplaceOutcome outcome = search->preview(request(), Text2->text(), progress());
    endProgress();
    busy.restore();
    if (refused(outcome.pattern, outcome.failure)) {
        return;
    }
    m_preview = std::move(outcome);
    m_previewed = request();
    m_replacement = Text2->text();
    Label3->setText(
        EditorMessages::replacePreviewed(qint64(m_preview.changed.size()), qint64(m_preview.refused.size())));
    for (const ReplacedVerse& verse : m_preview.changed) {
        auto* item = new QTreeWidgetItem({verse.reference, verse.before, verse.after});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        List1->addTopLevelItem(item);
    }
    for (const ReplacedVerse& verse : m_preview.refused) {
        List1->addTopLevelItem(
            new QTreeWidgetItem({verse.reference, verse.before,
                                 verse.kind == ReplacedKind::LeftEmpty ? EditorMessages::replaceLeftEmpty()
                                                                       : EditorMessages::replaceLineBreak()}));
    }
    Command3->setEnabled(!m_preview.changed.empty());
    List1->setFocus();
}

void frmFindReplace::Command3_Click()
{
    std::vector<ReplacedVerse> chosen;
    for (std::size_t i = 0; i < m_preview.changed.size(); ++i) {
        if (List1->topLevelItem(int(i))->checkState(0) == Qt::Checked) {
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
    platform::BusyPointer busy;
    const ApplyOutcome outcome = search->apply(chosen, VersionSearch::detailOf(m_previewed, m_replacement), progress());
    endProgress();
    busy.restore();
    if (refused({}, outcome.failure)) {
        return;
    }
    m_applied = m_applied || outcome.stored > 0;
    clearList(kPreviewColumns);
    m_dialogs.inform(this, platform::MessageIcon::Information,
                     m_displayName + kLineBreaks +
                         EditorMessages::replaceApplied(outcome.stored, outcome.change, qint64(outcome.stale.size())));
}

void frmFindReplace::Command4_Click()
{
    reject();
}

void frmFindReplace::List1_Click()
{
    const int index = List1->indexOfTopLevelItem(List1->currentItem());
    if (index < 0) {
        return;
    }
    const auto row = std::size_t(index);
    QString reference;
    if (!m_found.empty()) {
        reference = m_found[row].reference;
        Text3->setHtml(marked(m_found[row]));
    } else {
        const std::size_t changed = m_preview.changed.size();
        const ReplacedVerse& verse = row < changed ? m_preview.changed[row] : m_preview.refused[row - changed];
        reference = verse.reference;
        Text3->setHtml(kBefore.toHtmlEscaped() + verse.before.toHtmlEscaped() + QStringLiteral("<br>") +
                       kAfter.toHtmlEscaped() +
                       (row < changed ? verse.after : List1->currentItem()->text(2)).toHtmlEscaped());
    }
    if (m_showVerse) {
        m_showVerse(reference);
    }
}

} // namespace editor
