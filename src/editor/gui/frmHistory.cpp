#include "editor/gui/frmHistory.h"

#include "editor/EditorMessages.h"
#include "platform/gui/BusyPointer.h"
#include "platform/gui/CenterForm.h"
#include "platform/gui/Dialogs.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <iterator>
#include <utility>

namespace editor {

namespace {

const QString kCaption = QStringLiteral("변경 이력");
const QString kLabel1 = QStringLiteral("%1 구절의 변경 이력입니다. 최근 변경부터 보여 줍니다.");
const QStringList kColumns = {QStringLiteral("변경"), QStringLiteral("시각"), QStringLiteral("출처"),
                              QStringLiteral("이전 본문"), QStringLiteral("이후 본문")};
const QString kLabel2 = QStringLiteral("선택한 변경의 이전 본문과 이후 본문");
const QString kCommand1 = QStringLiteral("복원(&R)");
const QString kCommand2 = QStringLiteral("닫기");

const QString kRestoreQuestion = QStringLiteral("%1\r\n\r\n이 구절의 본문을 변경 %2번 이전의 본문으로 "
                                                "되돌리시겠습니까?\r\n\r\n%3");
const QString kAlreadyThatText = QStringLiteral("이 구절의 본문이 이미 변경 %1번 이전의 본문과 같습니다 !");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Geometry in twips.
constexpr int kClientWidth = 9000;
constexpr int kClientHeight = 6300;
constexpr int kColumnWidths[] = {720, 2100, 1080, 2400};

} // namespace

frmHistory::frmHistory(platform::Dialogs& dialogs, VerseEditor& version, QString reference, QString displayName,
                       QWidget* parent)
    : Form(parent), m_dialogs(dialogs), m_version(version), m_reference(std::move(reference)),
      m_displayName(std::move(displayName))
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    createControls();
    applyTexts();
    placeControls();
}

void frmHistory::createControls()
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = new QTreeWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setTabChangesFocus(true);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    // Enter restores the selection, wherever the focus is but on Close.
    Command1->setDefault(true);
    Command1->setEnabled(false);
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));

    setTabOrder(List1, Text1);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    connect(List1, &QTreeWidget::currentItemChanged, this, &frmHistory::List1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmHistory::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmHistory::Command2_Click);
}

void frmHistory::applyTexts()
{
    setWindowTitle(kCaption);
    Label1->setText(kLabel1.arg(m_reference));
    List1->setHeaderLabels(kColumns);
    Label2->setText(kLabel2);
    Command1->setText(kCommand1);
    Command2->setText(kCommand2);
}

void frmHistory::placeControls()
{
    Label1->setGeometry(twips(120, 150, 8760, 255));
    List1->setGeometry(twips(120, 480, 8760, 2760));
    for (int column = 0; column < int(std::size(kColumnWidths)); ++column) {
        List1->header()->resizeSection(column, platform::twipsToPixels(kColumnWidths[column], this));
    }
    Label2->setGeometry(twips(120, 3390, 8760, 255));
    Text1->setGeometry(twips(120, 3690, 8760, 1800));
    Command1->setGeometry(twips(6360, 5700, 1200, 420));
    Command2->setGeometry(twips(7680, 5700, 1200, 420));
    setFixedTwipsSize(kClientWidth, kClientHeight);
}

void frmHistory::Form_Load()
{
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    platform::CenterForm(this);
    List1->setFocus();
}

QString frmHistory::aboutVersion(const QString& text) const
{
    return m_displayName + kLineBreaks + text;
}

bool frmHistory::load()
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
    List1->clear();
    for (const versiondb::VerseChange& change : m_changes) {
        List1->addTopLevelItem(
            new QTreeWidgetItem({QString::number(change.change.id), change.change.time.toString(kTimeFormat),
                                 versiondb::History::sourceName(change.change.source),
                                 EditorMessages::textOf(change.before), EditorMessages::textOf(change.after)}));
    }
    Command1->setEnabled(!m_changes.empty());
    if (m_changes.empty()) {
        Text1->setPlainText(EditorMessages::noHistory());
    } else {
        List1->setCurrentItem(List1->topLevelItem(0));
    }
    return true;
}

void frmHistory::List1_Click()
{
    const int index = List1->indexOfTopLevelItem(List1->currentItem());
    if (index >= 0) {
        Text1->setPlainText(EditorMessages::verseChangeLines(m_changes[std::size_t(index)]));
    }
}

void frmHistory::Command1_Click()
{
    const int index = List1->indexOfTopLevelItem(List1->currentItem());
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

void frmHistory::Command2_Click()
{
    reject();
}

} // namespace editor
