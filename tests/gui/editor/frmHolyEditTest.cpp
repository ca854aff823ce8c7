#include "editor/gui/frmHolyEdit.h"

#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
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
#include <functional>

using editor::frmHolyEdit;
using platform::MessageAnswer;
using platform::MessageIcon;

using testsupport::click;
using testsupport::control;

namespace {

const QString kTitle = QStringLiteral("성경본문 편집");
const QString kNoVersion = QStringLiteral("①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !");
const QString kGoEmpty = QStringLiteral("이동할 성경구절을 입력하여 주십시오 !");
const QString kGoNotFound = QStringLiteral("구절입력 형식에 오류가 있습니다. 확인하고 다시 입력하여 주십시오 !");
const QString kLineBreak =
    QStringLiteral("라인분리(줄바꿈) 문자가 발견되어 저장할 수 없습니다. 줄바꿈 문자을 제거한후 저장하십시오!");
const QString kEnterWarning =
    QStringLiteral("구절은 반드시 한줄로만 구성되어야 합니다.\r\n줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 "
                   "!\r\n화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 뿐입니다.");
const QString kGenesis1 = QStringLiteral("태초에 하나님이 천지를 창조하시니라");
const QString kGenesis10 = QStringLiteral("하나님이 뭍을 땅이라 칭하시고");

} // namespace

// Every test starts with a window of its own over a sample version that no one holds.
class frmHolyEditTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testsupport::InstallTree> m_tree;
    QString m_sample;
    testsupport::ScriptedDialogs m_dialogs;
    std::unique_ptr<frmHolyEdit> m_window;

    void newWindow() { m_window = std::make_unique<frmHolyEdit>(m_dialogs, m_tree->programFolder()); }
    QPushButton* button(const char* name) { return control<QPushButton>(*m_window, name); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    QLineEdit* text1() { return control<QLineEdit>(*m_window, "Text1"); }
    QLineEdit* text2() { return control<QLineEdit>(*m_window, "Text2"); }
    QPlainTextEdit* text3() { return control<QPlainTextEdit>(*m_window, "Text3"); }
    QString text3Shown() { return text3()->toPlainText(); }
    QString version(const char* name, const QList<testsupport::Verse>& verses)
    {
        return m_tree->makeVersion(QString::fromLatin1(name), verses);
    }

    void open(const QString& path)
    {
        m_dialogs.queueFiles({path});
        click("Command9");
    }
    void cancelOpen()
    {
        m_dialogs.queueFiles({});
        click("Command9");
    }
    void goTo(const QString& reference)
    {
        text1()->setText(reference);
        click("Command2");
    }

    // The window shown and active, so that focus and keys reach its controls.
    void showActive()
    {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        if (!QTest::qWaitForWindowActive(m_window.get())) {
            qWarning("the window did not become active");
        }
    }

    // The action shows exactly this one message, with an OK button.
    void expectRefusal(const std::function<void()>& action, MessageIcon icon, const QString& text)
    {
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        action();
        QCOMPARE(m_dialogs.messages().size(), 1);
        QCOMPARE(m_dialogs.messages().first().icon, icon);
        QCOMPARE(m_dialogs.messages().first().buttons, platform::MessageButtons::Ok);
        QCOMPARE(m_dialogs.messages().first().text, text);
        m_dialogs.clear();
    }

    // The reference box and the display box.
    void expectShown(const QString& reference, const QString& display)
    {
        QCOMPARE(text1()->text(), reference);
        QCOMPARE(text2()->text(), display);
    }
    void expectShown(const QString& reference) { expectShown(reference, reference); }

    void expectVersionControlsEnabled(bool enabled)
    {
        for (const char* name : {"Text1", "Command2", "Command3", "Command4", "Command5", "Command6", "Text3"}) {
            QVERIFY2(control(*m_window, name)->isEnabled() == enabled, name);
        }
    }

    void expectNoVersionState()
    {
        QCOMPARE(m_window->windowTitle(), kTitle);
        QVERIFY(!m_window->versionOpen());
        expectVersionControlsEnabled(false);
        QVERIFY(!button("Command7")->isEnabled());
    }

private slots:
    void init()
    {
        m_tree = std::make_unique<testsupport::InstallTree>(QStringList{QStringLiteral("null.mdb")});
        QVERIFY(m_tree->isValid());
        m_sample = version("sample.dat", testsupport::sampleVerses());
        QVERIFY(!m_sample.isEmpty());
        m_dialogs.clear();
        newWindow();
    }

    void cleanup()
    {
        QVERIFY2(m_dialogs.allAnswersUsed(), "answers were left unused");
        QVERIFY2(m_dialogs.messages().isEmpty(), "a message was shown that no test expected");
        m_window.reset();
        m_tree.reset();
    }

    void atLoadNoVersionIsOpenAndEveryCommandThatNeedsOneRefuses()
    {
        m_window->show();
        expectNoVersionState();
        QCOMPARE(control<QGroupBox>(*m_window, "Frame1")->title(), QStringLiteral("참고사항"));
        for (const char* name : {"Command9", "Text2", "Command8", "Command10", "Command1"}) {
            QVERIFY2(control(*m_window, name)->isEnabled(), name);
        }
        QVERIFY(!m_window->enterWarningShown());
        QCOMPARE(text3()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!control<QLabel>(*m_window, "Image1")->pixmap().isNull());
        // Over another window it shows that window's icon.
        QWidget main;
        main.setWindowIcon(QIcon(QPixmap(16, 16)));
        frmHolyEdit over(m_dialogs, m_tree->programFolder(), &main);
        over.show();
        QCOMPARE(over.windowIcon().cacheKey(), main.windowIcon().cacheKey());
        for (auto command : {&frmHolyEdit::Command2_Click, &frmHolyEdit::Command3_Click, &frmHolyEdit::Command4_Click,
                             &frmHolyEdit::Command5_Click, &frmHolyEdit::Command6_Click, &frmHolyEdit::Command7_Click,
                             &frmHolyEdit::Command10_Click}) {
            expectRefusal([&] { (m_window.get()->*command)(); }, MessageIcon::Critical, kNoVersion);
            QCOMPARE(m_window->windowTitle(), kTitle);
            QVERIFY(text1()->text().isEmpty());
        }
    }

    void tabOrderRunsThroughTheStepsThenTheBoxesThenTheBottomRow()
    {
        const QStringList expected = {"Command9", "Text1", "Command2", "Command3",  "Command4", "Command5", "Command6",
                                      "Command7", "Text2", "Text3",    "Command10", "Command8", "Command1"};
        QStringList names;
        QWidget* current = button("Command9");
        do {
            if ((current->focusPolicy() & Qt::TabFocus) != 0 && !current->objectName().isEmpty()) {
                names << current->objectName();
            }
            current = current->nextInFocusChain();
        } while (current != button("Command9") && names.size() < expected.size());
        QCOMPARE(names, expected);
    }

    void openAsksForAVersionFileInTheInstallFolderAndShowsGenesisOneOne()
    {
        // A cancel before any version leaves the window as it loaded.
        cancelOpen();
        expectNoVersionState();
        open(m_sample);
        QCOMPARE(m_dialogs.fileRequests().size(), 2);
        const platform::FileDialogRequest request = m_dialogs.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("편집할 성경역본 선택 - user.dat는 선택하지 마세요."));
        QCOMPARE(request.folder, m_tree->programFolder() + QDir::separator() + QStringLiteral(".."));
        QCOMPARE(request.filter, QStringLiteral("역본파일 (*.dat);;모든파일 (*.*)"));
        QVERIFY(!request.multiple);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("sample.dat"));
        expectShown(QStringLiteral("창 1:1"));
        QCOMPARE(text3Shown(), kGenesis1);
        expectVersionControlsEnabled(true);
        QVERIFY(button("Command7")->isEnabled());
        QVERIFY(!testsupport::openable(m_sample));
    }

    void aCancelledOpenKeepsTheVersionAndANonDatabaseFileReturnsToTheNoVersionState()
    {
        open(m_sample);
        goTo(QStringLiteral("창 1:10"));
        text3()->setPlainText(QStringLiteral("고치는 중"));
        cancelOpen();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("sample.dat"));
        expectShown(QStringLiteral("창 1:10"));
        QCOMPARE(text3Shown(), QStringLiteral("고치는 중"));
        expectVersionControlsEnabled(true);
        // Still open: the commands work on it.
        click("Command5");
        QCOMPARE(text2()->text(), QStringLiteral("출 1:1"));

        // A failed open, silent as every one, closes the version and leaves the window as it loaded.
        open(m_tree->writeFile(QStringLiteral("notes.dat"), "창 1:1 태초에\r\n"));
        expectNoVersionState();
        expectShown(QString());
        QVERIFY(text3Shown().isEmpty());
        QVERIFY(testsupport::openable(m_sample));
        expectRefusal([&] { m_window->Command5_Click(); }, MessageIcon::Critical, kNoVersion);
        expectRefusal([&] { m_window->Command7_Click(); }, MessageIcon::Critical, kNoVersion);
        open(m_sample);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("sample.dat"));
        expectVersionControlsEnabled(true);
    }

    void goTrimsTheReferenceRefusesOtherSpellingsWithTheTextSelectedAndEnterGoes()
    {
        showActive();
        open(m_sample);
        goTo(QStringLiteral("   창 1:10  "));
        expectShown(QStringLiteral("창 1:10"));
        QCOMPARE(text3Shown(), kGenesis10);
        for (const QString& typed : {QStringLiteral("창1:1"), QStringLiteral("창 01:1"), QStringLiteral(" 창 1:01 ")}) {
            expectRefusal([&] { goTo(typed); }, MessageIcon::Exclamation, kGoNotFound);
            expectShown(typed.trimmed(), QStringLiteral("창 1:10"));
            QCOMPARE(text1()->selectedText(), typed.trimmed());
            QVERIFY(text1()->hasFocus());
            QCOMPARE(text3Shown(), kGenesis10);
        }
        // Spaces only empty the boxes and ask for a reference.
        expectRefusal([&] { goTo(QStringLiteral("    ")); }, MessageIcon::Exclamation, kGoEmpty);
        expectShown(QString());
        QVERIFY(text3Shown().isEmpty());
        QVERIFY(text1()->hasFocus());
        // Enter in the reference box goes; Enter elsewhere closes nothing.
        text1()->setFocus();
        text1()->setText(QStringLiteral("출 1:1"));
        QTest::keyClick(text1(), Qt::Key_Return);
        QCOMPARE(text2()->text(), QStringLiteral("출 1:1"));
        text1()->setText(QStringLiteral("창 1:1"));
        QTest::keyClick(text1(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(text2()->text(), QStringLiteral("창 1:1"));
        click("Command5");
        text2()->setFocus();
        QTest::keyClick(text2(), Qt::Key_Return);
        QVERIFY(m_window->isVisible());
        // A changed reference box keeps the boxes; an emptied one empties them.
        text1()->setText(QStringLiteral(" "));
        QCOMPARE(text3Shown(), QStringLiteral("  "));
        text1()->clear();
        expectShown(QString());
        QVERIFY(text3Shown().isEmpty());
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
        showActive();
        open(m_sample);
        goTo(QStringLiteral("출 1:1"));
        QApplication::clipboard()->setText(pasted);
        text3()->setFocus();
        text3()->selectAll();
        text3()->paste();
        QCOMPARE(text3()->blockCount(), 2);
        expectRefusal([&] { click("Command7"); }, MessageIcon::Exclamation, kLineBreak);
        QVERIFY(text3()->hasFocus());
        QCOMPARE(text3()->textCursor().position(), caret);
        QVERIFY(!text3()->textCursor().hasSelection());
        m_window->reject();
        QCOMPARE(testsupport::storedText(m_sample, QStringLiteral("출 1:1")),
                 QVariant(QStringLiteral("야곱과 함께 각기 권속을 데리고 애굽에 이른")));
    }

    void enterInTheTextBoxIsSwallowedAndWarnsOncePerShowing()
    {
        const QString second = version("second.dat", testsupport::sampleVerses());
        for (int showing = 0; showing < 2; ++showing) {
            newWindow();
            showActive();
            open(m_sample);
            text3()->setFocus();
            text3()->moveCursor(QTextCursor::End);
            expectRefusal([&] { QTest::keyClick(text3(), Qt::Key_Return); }, MessageIcon::Exclamation, kEnterWarning);
            QVERIFY(m_window->enterWarningShown());
            for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
                QTest::keyClick(text3(), Qt::Key_Return, modifier);
            }
            QTest::keyClick(text3(), Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(text3Shown(), kGenesis1);
            // Another version in the same showing: no warning again.
            open(second);
            QVERIFY(testsupport::openable(m_sample));
            text3()->setFocus();
            QTest::keyClick(text3(), Qt::Key_Return);
            QTest::keyClick(text3(), Qt::Key_X);
            QCOMPARE(text3Shown(), QStringLiteral("x") + kGenesis1);
            QVERIFY(m_window->isVisible());
        }
    }

    void fontAndColourGoToTheTextBoxAloneAndLastUntilTheWindowCloses()
    {
        const QString second = version("second.dat", testsupport::sampleVerses());
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSizeF(17.5);
        chosen.setBold(true);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        const QColor red(0xC0, 0x10, 0x20);
        const QFont designed = text3()->font();
        const QFont text1Font = text1()->font();
        const QColor text1Colour = text1()->palette().color(QPalette::Active, QPalette::Text);
        // Available without a version.
        m_dialogs.queueFont(platform::FontChoice{chosen, red});
        click("Command8");
        open(m_sample);
        click("Command5");
        open(second);
        click("Command6");
        const QFont font = text3()->font();
        QCOMPARE(font.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(font.pointSizeF(), 17.5);
        QVERIFY(font.bold() && font.italic() && font.underline() && font.strikeOut());
        QCOMPARE(text3()->palette().color(QPalette::Active, QPalette::Text), red);
        QCOMPARE(text1()->font(), text1Font);
        QCOMPARE(text2()->font(), text1Font);
        QCOMPARE(text1()->palette().color(QPalette::Active, QPalette::Text), text1Colour);
        // A cancel changes nothing.
        m_dialogs.queueFont(std::nullopt);
        click("Command8");
        QCOMPARE(text3()->font(), font);
        newWindow();
        QCOMPARE(text3()->font(), designed);
        QVERIFY(text3()->palette().color(QPalette::Active, QPalette::Text) != red);
    }

    void howeverTheWindowClosesTheVersionIsClosed()
    {
        const std::function<void()> ways[] = {
            [this] { click("Command1"); },
            [this] { QVERIFY(m_window->close()); },
            [this] { QTest::keyClick(m_window.get(), Qt::Key_Escape); },
        };
        for (const auto& close : ways) {
            newWindow();
            showActive();
            open(m_sample);
            QVERIFY(!testsupport::openable(m_sample));
            close();
            QVERIFY(!m_window->isVisible());
            QVERIFY(!m_window->versionOpen());
            QVERIFY(testsupport::openable(m_sample));
        }
    }
};

QTEST_MAIN(frmHolyEditTest)

#include "frmHolyEditTest.moc"
