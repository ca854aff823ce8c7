#include "exchange/gui/frmInspect.h"

#include "exchange/InspectMessages.h"
#include "exchange/gui/VersionChooser.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <type_traits>
#include <utility>

namespace exchange {

namespace {

const QString kCaption = QStringLiteral("본문 점검");
const QString kLabel1 = QStringLiteral("역본(&V)");
const QString kLabel2 = QStringLiteral("비교 역본(&O)");
const QString kBrowse = QStringLiteral("찾기...");
const QString kFrame1 = QStringLiteral("점검할 항목");
const QString kCommand3 = QStringLiteral("점검(&S)");
const QString kCommand4 = QStringLiteral("한글 조합(&H)");
const QString kCommand5 = QStringLiteral("구절 편집(&E)");
const QString kCommand6 = QStringLiteral("닫기");
const QString kHeading = QStringLiteral("%1 (%2)");

const QString kTitle1 = QStringLiteral("점검할 역본파일 선택");
const QString kTitle2 = QStringLiteral("길이를 견주어 볼 역본파일 선택");

const QString kNoVersion = QStringLiteral("점검할 역본파일을 선택하여 주십시오 !");
const QString kNoKind = QStringLiteral("점검할 항목을 하나 이상 선택하여 주십시오 !");

// The view of a finding: its reference and kind, then its excerpt.
const QString kFindingHtml = QStringLiteral("<p><b>%1</b> &nbsp; %2</p><p>%3</p><p>%4</p>");

// Geometry in twips.
constexpr int kClientWidth = 9600;
constexpr int kClientHeight = 7320;
constexpr int kCheckColumns = 3;

} // namespace

frmInspect::frmInspect(platform::Dialogs& dialogs, QString programFolder, ShowVerse showVerse, QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_showVerse(std::move(showVerse))
{
    setObjectName(QStringLiteral("frmInspect"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmInspect::createControls()
{
    const auto named = [this](auto*& member, const QString& name, QWidget* parent) {
        member = new std::remove_reference_t<decltype(*member)>(parent);
        member->setObjectName(name);
    };
    named(Label1, QStringLiteral("Label1"), this);
    named(Text1, QStringLiteral("Text1"), this);
    named(Command1, QStringLiteral("Command1"), this);
    named(Label2, QStringLiteral("Label2"), this);
    named(Text2, QStringLiteral("Text2"), this);
    named(Command2, QStringLiteral("Command2"), this);
    named(Frame1, QStringLiteral("Frame1"), this);
    for (int i = 0; i < kInspectionKinds; ++i) {
        named(Check[i], QStringLiteral("Check%1").arg(i + 1), Frame1);
        Check[i]->setChecked(true);
    }
    named(Command3, QStringLiteral("Command3"), this);
    named(ProgressBar1, QStringLiteral("ProgressBar1"), this);
    named(Label3, QStringLiteral("Label3"), this);
    named(List1, QStringLiteral("List1"), this);
    named(Text3, QStringLiteral("Text3"), this);
    named(Command5, QStringLiteral("Command5"), this);
    named(Command4, QStringLiteral("Command4"), this);
    named(Command6, QStringLiteral("Command6"), this);
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    Command3->setDefault(true);
    ProgressBar1->setVisible(false);
    List1->setHeaderHidden(true);
    List1->setRootIsDecorated(true);
    Text3->setOpenLinks(false);
    Command4->setEnabled(false);
    Command5->setEnabled(false);

    QList<QWidget*> order = {Text1, Command1, Text2, Command2};
    order.append(QList<QWidget*>(std::begin(Check), std::end(Check)));
    order << Command3 << List1 << Text3 << Command5 << Command4 << Command6;
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    connect(Command1, &QPushButton::clicked, this, &frmInspect::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmInspect::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmInspect::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmInspect::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmInspect::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmInspect::Command6_Click);
    connect(List1, &QTreeWidget::currentItemChanged, this, &frmInspect::List1_Click);
    // A double click on a finding, or Enter (see eventFilter): the verse in the verse editor.
    connect(List1, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (selectedFinding() != nullptr) {
            Command5_Click();
        }
    });
    List1->installEventFilter(this);
}

void frmInspect::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1);
    Label2->setText(kLabel2);
    Command1->setText(kBrowse);
    Command2->setText(kBrowse);
    Frame1->setTitle(kFrame1);
    for (int i = 0; i < kInspectionKinds; ++i) {
        Check[i]->setText(InspectMessages::kind(static_cast<InspectionKind>(i)));
    }
    Command3->setText(kCommand3);
    Command4->setText(kCommand4);
    Command5->setText(kCommand5);
    Command6->setText(kCommand6);
}

void frmInspect::placeControls()
{
    Label1->setGeometry(twips(240, 270, 1320, 255));
    Text1->setGeometry(twips(1560, 225, 6240, 330));
    Command1->setGeometry(twips(7920, 210, 1200, 360));
    Label2->setGeometry(twips(240, 750, 1320, 255));
    Text2->setGeometry(twips(1560, 705, 6240, 330));
    Command2->setGeometry(twips(7920, 690, 1200, 360));
    Frame1->setGeometry(twips(240, 1200, 9120, 1680));
    for (int i = 0; i < kInspectionKinds; ++i) {
        Check[i]->setGeometry(twips(180 + (i % kCheckColumns) * 3000, 300 + (i / kCheckColumns) * 330, 2880, 300));
    }
    ProgressBar1->setGeometry(twips(240, 3060, 7560, 300));
    Command3->setGeometry(twips(7920, 3000, 1200, 375));
    Label3->setGeometry(twips(240, 3480, 9120, 255));
    List1->setGeometry(twips(240, 3840, 4320, 2820));
    Text3->setGeometry(twips(4680, 3840, 4680, 2820));
    Command5->setGeometry(twips(240, 6840, 1560, 375));
    Command4->setGeometry(twips(1920, 6840, 1560, 375));
    Command6->setGeometry(twips(8280, 6840, 1080, 375));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

bool frmInspect::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a finding opens its verse, and goes no further: the dialog would take it for the default button.
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && selectedFinding() != nullptr) {
            Command5_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmInspect::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    platform::CenterForm(this);
}

void frmInspect::Command1_Click()
{
    chooseVersionInto(Text1, m_dialogs, m_programFolder, kTitle1);
}

void frmInspect::Command2_Click()
{
    chooseVersionInto(Text2, m_dialogs, m_programFolder, kTitle2);
}

void frmInspect::Command3_Click()
{
    InspectRequest request{Text1->text(), Text2->text(), {}, {}};
    for (int i = 0; i < kInspectionKinds; ++i) {
        request.skipped.set(std::size_t(i), !Check[i]->isChecked());
    }
    if (request.path.isEmpty() || request.skipped.all()) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation, request.path.isEmpty() ? kNoVersion : kNoKind);
        (request.path.isEmpty() ? static_cast<QWidget*>(Text1) : Check[0])->setFocus();
        return;
    }
    m_outcome = {};
    m_inspected = request.path;
    List1->clear();
    Text3->clear();
    Label3->clear();
    Command4->setEnabled(false);
    Command5->setEnabled(false);

    platform::BusyPointer busy;
    ProgressBar1->setRange(0, 0);
    ProgressBar1->setVisible(true);
    request.progress = [this](qint64 done, qint64 total) {
        ProgressBar1->setRange(0, int(std::max<qint64>(total, 1)));
        ProgressBar1->setValue(int(std::min(done, total)));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    InspectOutcome outcome = inspectVersion(request);
    ProgressBar1->setVisible(false);
    busy.restore();

    switch (outcome.result) {
    case InspectResult::Clean:
        Label3->setText(InspectMessages::clean(outcome));
        return;
    case InspectResult::Found:
        break;
    case InspectResult::EngineFailed:
        m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                         InspectMessages::failure(outcome, request.path, request.against));
        return;
    }
    m_outcome = std::move(outcome);
    Label3->setText(InspectMessages::counts(m_outcome));
    QTreeWidgetItem* heading = nullptr;
    for (qsizetype i = 0; i < m_outcome.findings.size(); ++i) {
        const Finding& finding = m_outcome.findings[i];
        if (heading == nullptr || heading->data(0, Qt::UserRole).toInt() != int(finding.kind)) {
            heading = new QTreeWidgetItem(
                List1, {kHeading.arg(InspectMessages::kind(finding.kind)).arg(m_outcome.counts[bit(finding.kind)])});
            heading->setData(0, Qt::UserRole, int(finding.kind));
            heading->setExpanded(true);
        }
        auto* item = new QTreeWidgetItem(heading, {finding.reference + QStringLiteral("  ") + finding.excerpt});
        item->setData(0, Qt::UserRole + 1, i);
    }
    Command4->setEnabled(m_outcome.counts[bit(InspectionKind::Decomposed)] > 0);
    List1->setCurrentItem(List1->topLevelItem(0)->child(0));
    List1->setFocus();
}

const Finding* frmInspect::selectedFinding() const
{
    const QTreeWidgetItem* item = List1->currentItem();
    if (item == nullptr || item->parent() == nullptr) {
        return nullptr;
    }
    const qsizetype i = item->data(0, Qt::UserRole + 1).toLongLong();
    return i >= 0 && i < m_outcome.findings.size() ? &m_outcome.findings[i] : nullptr;
}

void frmInspect::List1_Click()
{
    const Finding* finding = selectedFinding();
    Command5->setEnabled(finding != nullptr && m_showVerse);
    if (finding == nullptr) {
        Text3->clear();
        return;
    }
    Text3->setHtml(kFindingHtml.arg(finding->reference.toHtmlEscaped(),
                                    InspectMessages::kind(finding->kind).toHtmlEscaped(),
                                    finding->excerpt.toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;")),
                                    InspectMessages::detail(*finding).toHtmlEscaped()));
}

void frmInspect::Command4_Click()
{
    const int count = m_outcome.counts[bit(InspectionKind::Decomposed)];
    if (count == 0 || !m_dialogs.confirm(this, InspectMessages::composeQuestion(count))) {
        return;
    }
    platform::BusyPointer busy;
    const ComposeOutcome outcome = composeDecomposed(m_inspected);
    busy.restore();
    if (!outcome.done) {
        m_dialogs.inform(this, platform::MessageIcon::Exclamation,
                         InspectMessages::composeFailure(outcome, m_inspected));
        return;
    }
    m_dialogs.inform(this, platform::MessageIcon::Information, InspectMessages::composed(outcome));
    Text1->setText(m_inspected);
    Command3_Click();
}

void frmInspect::Command5_Click()
{
    if (const Finding* finding = selectedFinding(); finding != nullptr && m_showVerse) {
        const QString reference = finding->reference;
        m_showVerse(m_inspected, reference);
    }
}

void frmInspect::Command6_Click()
{
    accept();
}

} // namespace exchange
