#include "editor/gui/frmHolyEdit.h"

#include "support/ScriptedDialogs.h"
#include "unit/editor/SmallVersions.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using editor::frmHolyEdit;
using platform::MessageAnswer;
using platform::MessageIcon;

namespace {

const QString kTitle = QStringLiteral("성경본문 편집");
const QString kNoVersion = QStringLiteral("①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !");
const QString kGoEmpty = QStringLiteral("이동할 성경구절을 입력하여 주십시오 !");
const QString kGoNotFound = QStringLiteral("구절입력 형식에 오류가 있습니다. 확인하고 다시 입력하여 주십시오 !");
const QString kSaveEmptyReference = QStringLiteral("저장할 성경구절이 비여 있습니다 !");
const QString kSaveEmptyText = QStringLiteral("저장할 성경본문이 없습니다 !");
const QString kSaveNotFound = QStringLiteral("성경구절명 표기가 잘못되어 있습니다. 확인하여 주십시오 !");
const QString kLineBreak =
    QStringLiteral("라인분리(줄바꿈) 문자가 발견되어 저장할 수 없습니다. 줄바꿈 문자을 제거한후 저장하십시오!");
const QString kGap = QStringLiteral("이 역본은 구절 번호가 1부터 빠짐없이 이어져 있지 않아 이전/다음 구절로 이동할 수 "
                                    "없습니다 !\r\n이동할 성경구절을 직접 입력하여 주십시오 !");
const QString kEnterWarning =
    QStringLiteral("구절은 반드시 한줄로만 구성되어야 합니다.\r\n줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 "
                   "!\r\n화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 뿐입니다.");
const QString kGenesis1 = QStringLiteral("태초에 하나님이 천지를 창조하시니라");

template <typename T> T* control(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

QPushButton* button(QWidget& window, const char* name)
{
    return control<QPushButton>(window, name);
}

QLineEdit* text1(QWidget& window)
{
    return control<QLineEdit>(window, "Text1");
}

QLineEdit* text2(QWidget& window)
{
    return control<QLineEdit>(window, "Text2");
}

QPlainTextEdit* text3(QWidget& window)
{
    return control<QPlainTextEdit>(window, "Text3");
}

// The names of the controls that take the focus, in tab order from the first.
QStringList tabOrder(QWidget& window, QWidget* first, int count)
{
    QStringList names;
    QWidget* current = first;
    while (current != nullptr && names.size() < count) {
        if ((current->focusPolicy() & Qt::TabFocus) != 0 && current->window() == &window &&
            !current->objectName().isEmpty()) {
            names << current->objectName();
        }
        current = current->nextInFocusChain();
        if (current == first) {
            break;
        }
    }
    return names;
}

// The window shown and active, so that focus and keys reach its controls.
void showActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) {
        qWarning("the window did not become active");
    }
}

// Dialogs that record the font and colour the font dialog was opened with.
class FontRecordingDialogs final : public platform::Dialogs
{
public:
    explicit FontRecordingDialogs(testsupport::ScriptedDialogs& script) : m_script(script) {}

    platform::MessageAnswer message(QWidget* parent, MessageIcon icon, platform::MessageButtons buttons,
                                    const QString& text) override
    {
        return m_script.message(parent, icon, buttons, text);
    }
    QStringList chooseFiles(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return m_script.chooseFiles(parent, request);
    }
    std::optional<platform::FontChoice> chooseFont(QWidget* parent, const platform::FontChoice& current) override
    {
        offered.append(current);
        return m_script.chooseFont(parent, current);
    }

    QList<platform::FontChoice> offered;

private:
    testsupport::ScriptedDialogs& m_script;
};

} // namespace

class frmHolyEditTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<editortest::VersionTree> m_tree;
    QString m_sample;
    testsupport::ScriptedDialogs m_dialogs;

    void openVersion(frmHolyEdit& window, const QString& path)
    {
        m_dialogs.queueFiles({path});
        QTest::mouseClick(button(window, "Command9"), Qt::LeftButton);
    }

    void goTo(frmHolyEdit& window, const QString& reference)
    {
        text1(window)->setText(reference);
        QTest::mouseClick(button(window, "Command2"), Qt::LeftButton);
    }

    // The one message shown since the last call, with its icon.
    void expectOneMessage(MessageIcon icon, const QString& text)
    {
        QCOMPARE(m_dialogs.messages().size(), 1);
        QCOMPARE(m_dialogs.messages().first().icon, icon);
        QCOMPARE(m_dialogs.messages().first().buttons, platform::MessageButtons::Ok);
        QCOMPARE(m_dialogs.messages().first().text, text);
        m_dialogs.clear();
    }

    void expectVersionControlsEnabled(frmHolyEdit& window, bool enabled)
    {
        for (const char* name : {"Text1", "Command2", "Command3", "Command4", "Command5", "Command6", "Text3"}) {
            QVERIFY2(control<QWidget>(window, name)->isEnabled() == enabled, name);
        }
    }

private slots:
    void init()
    {
        m_tree = std::make_unique<editortest::VersionTree>();
        QVERIFY(m_tree->isValid());
        m_sample = m_tree->makeVersion(QStringLiteral("sample.dat"), editortest::sampleVerses());
        QVERIFY(!m_sample.isEmpty());
        m_dialogs.clear();
    }

    void cleanup()
    {
        QVERIFY2(m_dialogs.allAnswersUsed(), "answers were left unused");
        m_tree.reset();
    }

    void captionsAndTooltips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("Label1") << "Label1"
                                << "① 편집할  "
                                << "";
        QTest::newRow("Command9") << "Command9"
                                  << "성경역본"
                                  << "";
        QTest::newRow("Label9") << "Label9"
                                << "을 선택하세요."
                                << "";
        QTest::newRow("Label2") << "Label2"
                                << "② 편집할 성경구절로 이동하세요."
                                << "";
        QTest::newRow("Text1") << "Text1"
                               << ""
                               << "여기에 이동할 성경구절을 [책 장:절] 형식으로 입력하세요";
        QTest::newRow("Command2") << "Command2"
                                  << "이동"
                                  << "구절이동";
        QTest::newRow("Command3") << "Command3"
                                  << "|◀"
                                  << "처음구절로 이동";
        QTest::newRow("Command4") << "Command4"
                                  << "◀"
                                  << "현재구절에서 이전구절로 이동";
        QTest::newRow("Command5") << "Command5"
                                  << "▶"
                                  << "현재구절에서 다음절로 이동";
        QTest::newRow("Command6") << "Command6"
                                  << "▶|"
                                  << "마지막 구절로 이동";
        QTest::newRow("Label6") << "Label6"
                                << "성경구절 입력형식은 다음과 같습니다."
                                << "";
        QTest::newRow("Label7") << "Label7"
                                << "창 1:1 or 요일 1:1 or 계 1:2 ..."
                                << "";
        QTest::newRow("Label4") << "Label4"
                                << "성경구절"
                                << "";
        QTest::newRow("Text2") << "Text2"
                               << ""
                               << "";
        QTest::newRow("Label5") << "Label5"
                                << "성경본문"
                                << "";
        QTest::newRow("Label3") << "Label3"
                                << "③ 편집이 완료된 구절을 "
                                << "";
        QTest::newRow("Command7") << "Command7"
                                  << "저장(&S)"
                                  << "";
        QTest::newRow("Label10") << "Label10"
                                 << "하세요."
                                 << "";
        QTest::newRow("Command8") << "Command8"
                                  << "성경본문 편집(글꼴/색상) 변경"
                                  << "";
        QTest::newRow("Command10") << "Command10"
                                   << "성경본문 Reload"
                                   << "";
        QTest::newRow("Command1") << "Command1"
                                  << "닫기"
                                  << "";
        QTest::newRow("Label11") << "Label11"
                                 << "편집작업 완료후 역본파일 압축 작업을 한번 해주시면 용량과 속도가 개선됩니다."
                                 << "";
        QTest::newRow("Label8") << "Label8"
                                << "성경원분 이외에 사용자의 메모가 추가되면 성구검색의 신뢰도를 저해할 수 있습니다."
                                << "";
    }

    void captionsAndTooltips()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        QWidget* widget = control<QWidget>(window, name.toLatin1().constData());
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            shown = label->text();
        } else if (auto* pushButton = qobject_cast<QPushButton*>(widget)) {
            shown = pushButton->text();
        } else if (auto* lineEdit = qobject_cast<QLineEdit*>(widget)) {
            shown = lineEdit->text();
        }
        QCOMPARE(shown, text);
        QCOMPARE(widget->toolTip(), tooltip);
    }

    void atLoadNoVersionIsOpenAndItsCommandsAreDisabled()
    {
        QWidget main;
        main.setWindowIcon(QIcon(QPixmap(16, 16)));
        frmHolyEdit window(m_dialogs, m_tree->programFolder(), &main);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), kTitle);
        QCOMPARE(control<QGroupBox>(window, "Frame1")->title(), QStringLiteral("참고사항"));
        expectVersionControlsEnabled(window, false);
        QVERIFY(!button(window, "Command7")->isEnabled());
        for (const char* name : {"Command9", "Text2", "Command8", "Command10", "Command1"}) {
            QVERIFY2(control<QWidget>(window, name)->isEnabled(), name);
        }
        QVERIFY(!window.enterWarningShown());
        QVERIFY(!window.versionOpen());
        QCOMPARE(window.windowIcon().cacheKey(), main.windowIcon().cacheKey());
        QCOMPARE(text3(window)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text3(window)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!control<QLabel>(window, "Image1")->pixmap().isNull());
    }

    void tabOrderRunsThroughTheStepsThenTheBoxesThenTheBottomRow()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        const QStringList expected = {"Command9", "Text1", "Command2", "Command3",  "Command4", "Command5", "Command6",
                                      "Command7", "Text2", "Text3",    "Command10", "Command8", "Command1"};
        QCOMPARE(tabOrder(window, button(window, "Command9"), int(expected.size())), expected);
    }

    void arrangementStepsLeftNotesRightBoxesBelowButtonsAtTheBottom()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        const auto rect = [&window](const char* name) { return control<QWidget>(window, name)->geometry(); };
        // Step ① above step ② above the row above step ③.
        QVERIFY(rect("Command9").bottom() < rect("Label2").top());
        QVERIFY(rect("Label2").bottom() < rect("Text1").top());
        QVERIFY(rect("Text1").bottom() < rect("Command7").top());
        QVERIFY(rect("Label1").right() <= rect("Command9").left());
        QVERIFY(rect("Command9").right() <= rect("Label9").left());
        QVERIFY(rect("Label3").right() <= rect("Command7").left());
        QVERIFY(rect("Command7").right() <= rect("Label10").left());
        // The row from left to right.
        const char* row[] = {"Text1", "Command2", "Command3", "Command4", "Command5", "Command6"};
        for (int i = 1; i < 6; ++i) {
            QVERIFY2(rect(row[i - 1]).right() < rect(row[i]).left(), row[i]);
            QCOMPARE(rect(row[i]).top(), rect("Text1").top());
        }
        // The notes frame to the right, holding the hint and then the notes.
        QVERIFY(rect("Command6").right() < rect("Frame1").left());
        auto* frame = control<QGroupBox>(window, "Frame1");
        for (const char* name : {"Label6", "Label7", "Label11", "Label8"}) {
            QCOMPARE(control<QWidget>(window, name)->parentWidget(), frame);
        }
        QVERIFY(rect("Label6").bottom() < rect("Label7").top());
        QVERIFY(rect("Label7").bottom() < rect("Label11").top());
        QVERIFY(rect("Label11").bottom() < rect("Label8").top());
        // Below: the display box, and under it the text box, each with its label on its left.
        QVERIFY(rect("Frame1").bottom() < rect("Text2").top());
        QVERIFY(rect("Command7").bottom() < rect("Text2").top());
        QVERIFY(rect("Text2").bottom() < rect("Text3").top());
        QVERIFY(rect("Label4").right() < rect("Text2").left());
        QVERIFY(rect("Label5").right() < rect("Text3").left());
        QVERIFY(rect("Text3").height() > 4 * rect("Text2").height());
        // At the bottom: Reload and Font on the left, Close on the right.
        for (const char* name : {"Command10", "Command8", "Command1"}) {
            QVERIFY2(rect("Text3").bottom() < rect(name).top(), name);
        }
        QVERIFY(rect("Command10").right() < rect("Command8").left());
        QVERIFY(rect("Command8").right() < rect("Command1").left());
        QVERIFY(rect("Command1").right() > window.width() * 3 / 4);
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(window.rect().contains(child->geometry()), qPrintable(child->objectName()));
        }
    }

    void everyCommandThatNeedsAVersionRefusesWithoutOne()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        const QList<std::pair<const char*, void (frmHolyEdit::*)()>> commands = {
            {"go", &frmHolyEdit::Command2_Click},       {"first", &frmHolyEdit::Command3_Click},
            {"previous", &frmHolyEdit::Command4_Click}, {"next", &frmHolyEdit::Command5_Click},
            {"last", &frmHolyEdit::Command6_Click},     {"save", &frmHolyEdit::Command7_Click},
            {"reload", &frmHolyEdit::Command10_Click},
        };
        for (const auto& [name, command] : commands) {
            m_dialogs.queueAnswer(MessageAnswer::Ok);
            (window.*command)();
            QVERIFY2(m_dialogs.messages().size() == 1, name);
            expectOneMessage(MessageIcon::Critical, kNoVersion);
            QCOMPARE(window.windowTitle(), kTitle);
            QVERIFY(text1(window)->text().isEmpty());
        }
        // Reload is enabled without a version, and refuses.
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command10"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Critical, kNoVersion);
    }

    void openAsksForAVersionFileInTheInstallFolderAndShowsGenesisOneOne()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        window.show();
        openVersion(window, m_sample);
        QCOMPARE(m_dialogs.fileRequests().size(), 1);
        const platform::FileDialogRequest request = m_dialogs.fileRequests().first();
        QCOMPARE(request.title, QStringLiteral("편집할 성경역본 선택 - user.dat는 선택하지 마세요."));
        QCOMPARE(request.folder, m_tree->programFolder() + QDir::separator() + QStringLiteral(".."));
        QCOMPARE(request.filter, QStringLiteral("역본파일 (*.dat);;모든파일 (*.*)"));
        QVERIFY(!request.multiple);

        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("sample.dat"));
        QCOMPARE(text1(window)->text(), QStringLiteral("창 1:1"));
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:1"));
        QCOMPARE(text3(window)->toPlainText(), kGenesis1);
        expectVersionControlsEnabled(window, true);
        // Filling the text box enabled Save.
        QVERIFY(button(window, "Command7")->isEnabled());
        QVERIFY(!editortest::openable(m_sample));
        m_dialogs.clear();
    }

    void shippedNamesOpenLikeAnyVersion()
    {
        const QString user = m_tree->makeVersion(QStringLiteral("user.dat"), editortest::sampleVerses());
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, user);
        QCOMPARE(window.windowTitle(), QStringLiteral("user.dat"));
        QCOMPARE(text3(window)->toPlainText(), kGenesis1);
        m_dialogs.clear();
    }

    void aCancelledOpenLeavesTheOpenVersionAsItWas()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("창 1:10"));
        text3(window)->setPlainText(QStringLiteral("고치는 중"));
        m_dialogs.clear();

        m_dialogs.queueFiles({});
        QTest::mouseClick(button(window, "Command9"), Qt::LeftButton);
        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("sample.dat"));
        QCOMPARE(text1(window)->text(), QStringLiteral("창 1:10"));
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:10"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("고치는 중"));
        expectVersionControlsEnabled(window, true);
        QVERIFY(!editortest::openable(m_sample));
        // Still open: the commands work on it.
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("출 1:1"));
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void aCancelledFirstOpenLeavesTheWindowWithoutAVersion()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        m_dialogs.queueFiles({});
        QTest::mouseClick(button(window, "Command9"), Qt::LeftButton);
        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(window.windowTitle(), kTitle);
        expectVersionControlsEnabled(window, false);
        m_dialogs.clear();
    }

    void aFailedOpenAfterAVersionReturnsToTheNoVersionState_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << "text";
        QTest::newRow("missing") << "missing";
        QTest::newRow("held by another") << "held";
    }

    void aFailedOpenAfterAVersionReturnsToTheNoVersionState()
    {
        QFETCH(QString, kind);
        const QString held = m_tree->makeVersion(QStringLiteral("held.dat"), editortest::sampleVerses());
        QString path = held;
        if (kind == QStringLiteral("text")) {
            path = m_tree->writeFile(QStringLiteral("notes.dat"), "창 1:1 태초에\r\n");
        } else if (kind == QStringLiteral("missing")) {
            path = m_tree->pathOf(QStringLiteral("gone.dat"));
        }
        // Someone else holds held.dat.
        editor::VerseEditor other;
        QVERIFY(!other.open(held).has_value());

        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("창 1:3"));
        m_dialogs.clear();

        openVersion(window, path);
        // Silent, as every failed open is.
        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(window.windowTitle(), kTitle);
        QVERIFY(!window.versionOpen());
        expectVersionControlsEnabled(window, false);
        QVERIFY(!button(window, "Command7")->isEnabled());
        QVERIFY(text1(window)->text().isEmpty());
        QVERIFY(text2(window)->text().isEmpty());
        QVERIFY(text3(window)->toPlainText().isEmpty());
        // The version open before was closed, and no command works on it.
        QVERIFY(editortest::openable(m_sample));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        window.Command5_Click();
        expectOneMessage(MessageIcon::Critical, kNoVersion);
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        window.Command7_Click();
        expectOneMessage(MessageIcon::Critical, kNoVersion);
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("창 1:3")), QVariant(QStringLiteral("null")));

        // A good version opens afterwards.
        other.close();
        openVersion(window, m_sample);
        QCOMPARE(window.windowTitle(), QStringLiteral("sample.dat"));
        expectVersionControlsEnabled(window, true);
        m_dialogs.clear();
    }

    void goTrimsTheReferenceAndRefusesOtherSpellingsWithTheTextSelected()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("   창 1:10  "));
        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(text1(window)->text(), QStringLiteral("창 1:10"));
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:10"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("하나님이 뭍을 땅이라 칭하시고"));

        for (const QString& typed : {QStringLiteral("창1:1"), QStringLiteral("창 01:1"), QStringLiteral(" 창 1:01 ")}) {
            m_dialogs.queueAnswer(MessageAnswer::Ok);
            goTo(window, typed);
            expectOneMessage(MessageIcon::Exclamation, kGoNotFound);
            const QString trimmed = typed.trimmed();
            QCOMPARE(text1(window)->text(), trimmed);
            QCOMPARE(text1(window)->selectedText(), trimmed);
            QVERIFY(text1(window)->hasFocus());
            // The boxes keep what they showed.
            QCOMPARE(text2(window)->text(), QStringLiteral("창 1:10"));
            QCOMPARE(text3(window)->toPlainText(), QStringLiteral("하나님이 뭍을 땅이라 칭하시고"));
        }
    }

    void goWithSpacesOnlyEmptiesTheBoxesAndAsksForAReference()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        m_dialogs.clear();
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        goTo(window, QStringLiteral("    "));
        expectOneMessage(MessageIcon::Exclamation, kGoEmpty);
        QVERIFY(text1(window)->text().isEmpty());
        QVERIFY(text2(window)->text().isEmpty());
        QVERIFY(text3(window)->toPlainText().isEmpty());
        QVERIFY(text1(window)->hasFocus());
    }

    void enterInTheReferenceBoxGoesAndClosesNothing()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        text1(window)->setFocus();
        text1(window)->setText(QStringLiteral("출 1:1"));
        QTest::keyClick(text1(window), Qt::Key_Return);
        QCOMPARE(text2(window)->text(), QStringLiteral("출 1:1"));
        QTest::keyClick(text1(window), Qt::Key_A);
        QCOMPARE(text1(window)->text(), QStringLiteral("출 1:1a"));
        text1(window)->setText(QStringLiteral("계 22:21"));
        QTest::keyClick(text1(window), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(text2(window)->text(), QStringLiteral("계 22:21"));
        QVERIFY(window.isVisible());
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void enterOnAFocusedButtonClicksItAndElsewhereDoesNothing()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        button(window, "Command5")->setFocus();
        QTest::keyClick(button(window, "Command5"), Qt::Key_Return);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:2"));
        text2(window)->setFocus();
        QTest::keyClick(text2(window), Qt::Key_Return);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:2"));
        QVERIFY(window.isVisible());
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void emptyingTheReferenceBoxEmptiesTheTextAndDisplayBoxes()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        text1(window)->setText(QStringLiteral(" "));
        QCOMPARE(text3(window)->toPlainText(), kGenesis1);
        text1(window)->clear();
        QVERIFY(text2(window)->text().isEmpty());
        QVERIFY(text3(window)->toPlainText().isEmpty());
        m_dialogs.clear();
    }

    void stepsFollowTheNumbersAndStopAtBothEnds()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        const auto click = [&window](const char* name) { QTest::mouseClick(button(window, name), Qt::LeftButton); };
        const auto shown = [&window] { return std::pair{text1(window)->text(), text2(window)->text()}; };
        using Shown = std::pair<QString, QString>;

        click("Command4"); // previous on 번호 1
        QCOMPARE(shown(), Shown(QStringLiteral("창 1:1"), QStringLiteral("창 1:1")));
        const QStringList forward = {"창 1:2", "창 1:3", "창 1:10", "출 1:1", "계 22:21", "계 22:21"};
        for (const QString& reference : forward) {
            click("Command5");
            QCOMPARE(shown(), Shown(reference, reference));
        }
        click("Command4");
        QCOMPARE(shown(), Shown(QStringLiteral("출 1:1"), QStringLiteral("출 1:1")));
        click("Command3");
        QCOMPARE(shown(), Shown(QStringLiteral("창 1:1"), QStringLiteral("창 1:1")));
        QCOMPARE(text3(window)->toPlainText(), kGenesis1);
        click("Command6");
        QCOMPARE(shown(), Shown(QStringLiteral("계 22:21"), QStringLiteral("계 22:21")));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("주 예수의 은혜가 모든 자들에게 있을지어다 아멘"));
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void firstGoesToGenesisOneOneWhateverHoldsNumberOne()
    {
        const QString path =
            m_tree->makeVersion(QStringLiteral("shuffled.dat"), {{1, QStringLiteral("출 1:1"), QStringLiteral("a")},
                                                                 {2, QStringLiteral("창 1:1"), QStringLiteral("b")}});
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, path);
        QTest::mouseClick(button(window, "Command6"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:1"));
        QTest::mouseClick(button(window, "Command4"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("출 1:1"));
        // Previous on 번호 1 runs first, which goes to "창 1:1".
        QTest::mouseClick(button(window, "Command4"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:1"));
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void afterAGoThatFoundNothingStepsGoFromTheVerseLastShown()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("창 1:10"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        goTo(window, QStringLiteral("창 99:1"));
        expectOneMessage(MessageIcon::Exclamation, kGoNotFound);
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("출 1:1"));

        m_dialogs.queueAnswer(MessageAnswer::Ok);
        goTo(window, QStringLiteral("창1:1"));
        expectOneMessage(MessageIcon::Exclamation, kGoNotFound);
        QTest::mouseClick(button(window, "Command4"), Qt::LeftButton);
        QCOMPARE(text1(window)->text(), QStringLiteral("창 1:10"));
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:10"));
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void stepsInAVersionWithGapsRefuseWithAMessage()
    {
        const QString path =
            m_tree->makeVersion(QStringLiteral("gaps.dat"), {{1, QStringLiteral("창 1:1"), QStringLiteral("a")},
                                                             {2, QStringLiteral("창 1:2"), QStringLiteral("b")},
                                                             {4, QStringLiteral("창 1:3"), QStringLiteral("c")}});
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, path);
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:2"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kGap);
        // Nothing moved: the display, the boxes and the verse to step from stay.
        QCOMPARE(text1(window)->text(), QStringLiteral("창 1:2"));
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:2"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("b"));
        QTest::mouseClick(button(window, "Command4"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:1"));

        goTo(window, QStringLiteral("창 1:3"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command4"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kGap);
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kGap);
        // Last works by 번호 all the same.
        goTo(window, QStringLiteral("창 1:1"));
        QTest::mouseClick(button(window, "Command6"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:3"));
        QVERIFY(m_dialogs.messages().isEmpty());
    }

    void stepsBeforeAnyVerseWasShownAskForAVerseFirst()
    {
        const QString path =
            m_tree->makeVersion(QStringLiteral("exodus.dat"), {{1, QStringLiteral("출 1:1"), QStringLiteral("a")}});
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        openVersion(window, path);
        // The version opens; only its first go finds nothing.
        expectOneMessage(MessageIcon::Exclamation, kGoNotFound);
        QCOMPARE(window.windowTitle(), QStringLiteral("exodus.dat"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation,
                         QStringLiteral("②번 항목에서 먼저 편집할 성경구절로 이동하여 주십시오 !"));
        QTest::mouseClick(button(window, "Command6"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("출 1:1"));
        QVERIFY(m_dialogs.messages().isEmpty());
    }

    void engineFailuresAreShownWithTheFileNameAndNoIcon()
    {
        const QString path = m_tree->makeVersion(QStringLiteral("empty.dat"), {});
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        openVersion(window, path);
        expectOneMessage(MessageIcon::Exclamation, kGoNotFound);
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command6"), Qt::LeftButton);
        expectOneMessage(MessageIcon::None, QStringLiteral("empty.dat\r\n\r\n") +
                                                versiondb::errorDescription(versiondb::errorNumber::NoCurrentRecord));
        QCOMPARE(window.windowTitle(), QStringLiteral("empty.dat"));
        QVERIFY(window.versionOpen());
    }

    void nullVerseShowsTwoSpacesAndIsNotSavedUnchanged()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("창 1:2"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("  "));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kSaveEmptyText);
        QVERIFY(text3(window)->toPlainText().isEmpty());
        QVERIFY(button(window, "Command7")->isEnabled());
        goTo(window, QStringLiteral("창 1:3"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("null"));
        QVERIFY(m_dialogs.messages().isEmpty());
        window.reject();
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("창 1:2")), QVariant());
    }

    void saveStoresTheTrimmedTextAndDisablesSave()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("창 1:10"));
        text3(window)->setPlainText(QStringLiteral("   하나님이 뭍을 땅이라  "));
        text1(window)->setText(QStringLiteral("  창 1:10 "));
        QVERIFY(button(window, "Command7")->isEnabled());
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("하나님이 뭍을 땅이라"));
        QCOMPARE(text1(window)->text(), QStringLiteral("창 1:10"));
        QVERIFY(!button(window, "Command7")->isEnabled());
        // Typing enables Save again.
        text3(window)->moveCursor(QTextCursor::End);
        QTest::keyClicks(text3(window), QStringLiteral("."));
        QVERIFY(button(window, "Command7")->isEnabled());
        window.reject();
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("창 1:10")),
                 QVariant(QStringLiteral("하나님이 뭍을 땅이라")));
    }

    void saveRefusesAnEmptyReferenceAndSpacesOnly()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        text3(window)->setPlainText(QStringLiteral("새 본문"));
        text1(window)->clear();
        text3(window)->setPlainText(QStringLiteral("새 본문"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kSaveEmptyReference);
        QVERIFY(text1(window)->hasFocus());
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("새 본문"));

        // Spaces pass the emptiness test, then trim to nothing, which empties both boxes.
        goTo(window, QStringLiteral("창 1:1"));
        text3(window)->setPlainText(QStringLiteral("새 본문"));
        text1(window)->setText(QStringLiteral("   "));
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:1"));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kSaveNotFound);
        QVERIFY(text1(window)->text().isEmpty());
        QVERIFY(text2(window)->text().isEmpty());
        QVERIFY(text3(window)->toPlainText().isEmpty());
        window.reject();
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("창 1:1")), QVariant(kGenesis1));
    }

    void saveUnderAnUnknownReferenceIsRefused()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        text3(window)->setPlainText(QStringLiteral(" 새 본문 "));
        text1(window)->setText(QStringLiteral(" 창 01:1 "));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kSaveNotFound);
        QCOMPARE(text1(window)->text(), QStringLiteral("창 01:1"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("새 본문"));
        QVERIFY(button(window, "Command7")->isEnabled());
        window.reject();
        QCOMPARE(editortest::storedRecords(m_sample), editortest::storedRecords(m_tree->makeVersion(
                                                          QStringLiteral("fresh.dat"), editortest::sampleVerses())));
    }

    void aPastedLineBreakIsRefusedWithTheCaretAfterIt_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("caret");
        QTest::newRow("CR LF") << QStringLiteral("첫째 줄\r\n둘째 줄") << 5;
        QTest::newRow("LF") << QStringLiteral("첫째\n둘째 줄") << 3;
        QTest::newRow("CR") << QStringLiteral("첫\r둘째 줄") << 2;
        QTest::newRow("leading spaces are trimmed first") << QStringLiteral("   첫째\n둘째") << 3;
    }

    void aPastedLineBreakIsRefusedWithTheCaretAfterIt()
    {
        QFETCH(QString, pasted);
        QFETCH(int, caret);
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("출 1:1"));
        QApplication::clipboard()->setText(pasted);
        text3(window)->setFocus();
        text3(window)->selectAll();
        text3(window)->paste();
        QCOMPARE(text3(window)->blockCount(), 2);
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kLineBreak);
        QVERIFY(text3(window)->hasFocus());
        QCOMPARE(text3(window)->textCursor().position(), caret);
        QVERIFY(!text3(window)->textCursor().hasSelection());
        QVERIFY(button(window, "Command7")->isEnabled());
        window.reject();
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("출 1:1")),
                 QVariant(QStringLiteral("야곱과 함께 각기 권속을 데리고 애굽에 이른")));
    }

    void aLineSeparatorIsALineBreakToo()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        text3(window)->setPlainText(QStringLiteral("ab"));
        QTextCursor cursor = text3(window)->textCursor();
        cursor.setPosition(1);
        cursor.insertText(QString(QChar::LineSeparator));
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        expectOneMessage(MessageIcon::Exclamation, kLineBreak);
        QCOMPARE(text3(window)->textCursor().position(), 2);
    }

    void saveUnderATypedReferenceStoresThereAndLeavesTheDisplay()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        goTo(window, QStringLiteral("창 1:1"));
        text3(window)->setPlainText(QStringLiteral("애굽에 내려간 이스라엘 아들들의 이름은"));
        text1(window)->setText(QStringLiteral("출 1:1"));
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        QVERIFY(m_dialogs.messages().isEmpty());
        QCOMPARE(text2(window)->text(), QStringLiteral("창 1:1"));
        QCOMPARE(text3(window)->toPlainText(), QStringLiteral("애굽에 내려간 이스라엘 아들들의 이름은"));
        QVERIFY(!button(window, "Command7")->isEnabled());
        // Reload shows the verse of the reference box, from the version.
        QTest::mouseClick(button(window, "Command10"), Qt::LeftButton);
        QCOMPARE(text2(window)->text(), QStringLiteral("출 1:1"));
        window.reject();
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("출 1:1")),
                 QVariant(QStringLiteral("애굽에 내려간 이스라엘 아들들의 이름은")));
        QCOMPARE(editortest::storedText(m_sample, QStringLiteral("창 1:1")), QVariant(kGenesis1));
    }

    void reloadDropsUnsavedChanges()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        text3(window)->setPlainText(QStringLiteral("바뀐 본문"));
        QTest::mouseClick(button(window, "Command10"), Qt::LeftButton);
        QCOMPARE(text3(window)->toPlainText(), kGenesis1);
        QVERIFY(m_dialogs.messages().isEmpty());
        m_dialogs.clear();
    }

    void enterInTheTextBoxIsSwallowedAndWarnsOncePerShowing()
    {
        const QString second = m_tree->makeVersion(QStringLiteral("second.dat"), editortest::sampleVerses());
        {
            frmHolyEdit window(m_dialogs, m_tree->programFolder());
            showActive(window);
            openVersion(window, m_sample);
            text3(window)->setFocus();
            text3(window)->moveCursor(QTextCursor::End);
            m_dialogs.queueAnswer(MessageAnswer::Ok);
            QTest::keyClick(text3(window), Qt::Key_Return);
            expectOneMessage(MessageIcon::Exclamation, kEnterWarning);
            QVERIFY(window.enterWarningShown());
            for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
                QTest::keyClick(text3(window), Qt::Key_Return, modifier);
            }
            QTest::keyClick(text3(window), Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(text3(window)->toPlainText(), kGenesis1);
            QCOMPARE(text3(window)->blockCount(), 1);
            openVersion(window, second);
            text3(window)->setFocus();
            QTest::keyClick(text3(window), Qt::Key_Return);
            QVERIFY(m_dialogs.messages().isEmpty());
            QVERIFY(window.isVisible());
            QTest::keyClick(text3(window), Qt::Key_X);
            QCOMPARE(text3(window)->toPlainText(), QStringLiteral("x") + kGenesis1);
            m_dialogs.clear();
        }
        frmHolyEdit again(m_dialogs, m_tree->programFolder());
        showActive(again);
        QVERIFY(!again.enterWarningShown());
        openVersion(again, m_sample);
        text3(again)->setFocus();
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::keyClick(text3(again), Qt::Key_Return);
        expectOneMessage(MessageIcon::Exclamation, kEnterWarning);
    }

    void fontAndColourGoToTheTextBoxAloneAndLastUntilTheWindowCloses()
    {
        const QString second = m_tree->makeVersion(QStringLiteral("second.dat"), editortest::sampleVerses());
        FontRecordingDialogs dialogs(m_dialogs);
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSizeF(17.5);
        chosen.setBold(true);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        const QColor red(0xC0, 0x10, 0x20);
        QFont designed;
        {
            frmHolyEdit window(dialogs, m_tree->programFolder());
            designed = text3(window)->font();
            const QFont text1Font = text1(window)->font();
            const QColor text1Colour = text1(window)->palette().color(QPalette::Active, QPalette::Text);
            // Available without a version.
            m_dialogs.queueFont(platform::FontChoice{chosen, red});
            QTest::mouseClick(button(window, "Command8"), Qt::LeftButton);
            QCOMPARE(dialogs.offered.size(), 1);
            QCOMPARE(dialogs.offered[0].font, designed);
            openVersion(window, m_sample);
            QTest::mouseClick(button(window, "Command5"), Qt::LeftButton);
            openVersion(window, second);
            QTest::mouseClick(button(window, "Command6"), Qt::LeftButton);

            const QFont font = text3(window)->font();
            QCOMPARE(font.family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(font.pointSizeF(), 17.5);
            QVERIFY(font.bold() && font.italic() && font.underline() && font.strikeOut());
            QCOMPARE(text3(window)->palette().color(QPalette::Active, QPalette::Text), red);
            QCOMPARE(text1(window)->font(), text1Font);
            QCOMPARE(text2(window)->font(), text1Font);
            QCOMPARE(text1(window)->palette().color(QPalette::Active, QPalette::Text), text1Colour);

            // The dialog starts from the box's font and colour; a cancel changes nothing.
            m_dialogs.queueFont(std::nullopt);
            QTest::mouseClick(button(window, "Command8"), Qt::LeftButton);
            QCOMPARE(dialogs.offered.size(), 2);
            QCOMPARE(dialogs.offered[1].font.family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(dialogs.offered[1].color, red);
            QCOMPARE(text3(window)->font(), font);
            QVERIFY(m_dialogs.messages().isEmpty());
        }
        frmHolyEdit again(dialogs, m_tree->programFolder());
        QCOMPARE(text3(again)->font(), designed);
        QVERIFY(text3(again)->palette().color(QPalette::Active, QPalette::Text) != red);
        m_dialogs.clear();
    }

    void aNewFontIsNoChangeOfTheText()
    {
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        openVersion(window, m_sample);
        QTest::mouseClick(button(window, "Command7"), Qt::LeftButton);
        QVERIFY(!button(window, "Command7")->isEnabled());
        QFont big = text3(window)->font();
        big.setPointSize(30);
        m_dialogs.queueFont(platform::FontChoice{big, Qt::blue});
        QTest::mouseClick(button(window, "Command8"), Qt::LeftButton);
        QVERIFY(!button(window, "Command7")->isEnabled());
        QVERIFY(m_dialogs.messages().isEmpty());
    }

    void howeverTheWindowClosesTheVersionIsClosed_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close button") << "Command1";
        QTest::newRow("title bar") << "close";
        QTest::newRow("Escape") << "escape";
    }

    void howeverTheWindowClosesTheVersionIsClosed()
    {
        QFETCH(QString, how);
        frmHolyEdit window(m_dialogs, m_tree->programFolder());
        showActive(window);
        openVersion(window, m_sample);
        QVERIFY(!editortest::openable(m_sample));
        if (how == QStringLiteral("Command1")) {
            QTest::mouseClick(button(window, "Command1"), Qt::LeftButton);
        } else if (how == QStringLiteral("close")) {
            QVERIFY(window.close());
        } else {
            QTest::keyClick(&window, Qt::Key_Escape);
        }
        QVERIFY(!window.isVisible());
        QVERIFY(!window.versionOpen());
        QVERIFY(editortest::openable(m_sample));
        m_dialogs.clear();
    }
};

int runFrmHolyEditTest(int argc, char* argv[])
{
    frmHolyEditTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmHolyEditTest.moc"
