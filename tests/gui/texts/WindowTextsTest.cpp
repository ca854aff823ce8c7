// Every text a window shows, where each control sits, the tab order and the file dialogs the
// buttons open, as one table of window/object -> property: value, checked against
// window-texts.txt. Run with BYEORISOL_UPDATE_GOLDEN=1 to rewrite the table after a deliberate
// change and review the difference.

#include "editor/gui/frmHolyEdit.h"
#include "exchange/gui/frmExport.h"
#include "import/gui/frmAppend.h"
#include "import/gui/frmAppendForm.h"
#include "maintenance/gui/frmAbout.h"
#include "maintenance/gui/frmBackup.h"
#include "shell/gui/frmMain.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

namespace {

const QString kProgramFolder = QStringLiteral("/nonexistent/manager");

QString escaped(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

// The lines of one shown window: its title, size and tab order, each named control's place and
// texts, then the file dialog each of the buttons named opens (cancelled at once).
QStringList linesOf(const QString& name, QWidget& window, testsupport::ScriptedDialogs& dialogs,
                    const QStringList& dialogButtons = {})
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return {name + QStringLiteral(": not shown")};
    }
    QStringList lines;
    // One line of the object's properties that have a value.
    const auto add = [&lines, &name](const QString& object, const QList<std::pair<const char*, QString>>& values) {
        QStringList shown;
        for (const auto& [property, value] : values) {
            if (!value.isEmpty()) {
                shown << QString::fromLatin1(property) + QLatin1Char(' ') + escaped(value);
            }
        }
        lines << QStringLiteral("%1/%2: %3").arg(name, object, shown.join(QStringLiteral(" | ")));
    };
    const auto named = [](const QWidget* widget) {
        return !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"));
    };
    QStringList tabOrder;
    for (QWidget* next = window.nextInFocusChain(); next != &window; next = next->nextInFocusChain()) {
        if (named(next) && (next->focusPolicy() & Qt::TabFocus) != 0 &&
            qobject_cast<QTabBar*>(next->parentWidget()) == nullptr) {
            tabOrder << next->objectName();
        }
    }
    add(QStringLiteral("."), {{"title", window.windowTitle()},
                              {"size", QStringLiteral("%1x%2").arg(window.width()).arg(window.height())},
                              {"tab order", tabOrder.join(QLatin1Char(' '))}});
    QList<QWidget*> controls = window.findChildren<QWidget*>();
    std::stable_sort(controls.begin(), controls.end(),
                     [](const QWidget* a, const QWidget* b) { return a->objectName() < b->objectName(); });
    for (QWidget* control : controls) {
        if (!named(control)) {
            continue;
        }
        const QRect r = control->geometry();
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            text = group->title();
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
            text = plain->toPlainText();
        } else if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
            for (int i = 0; i < tabs->count(); ++i) {
                text += (i == 0 ? QString() : QStringLiteral(" / ")) + tabs->tabText(i);
            }
        }
        add(control->objectName(),
            {{"place", QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())},
             {"tooltip", control->toolTip()},
             {"text", text}});
    }
    for (const QString& button : dialogButtons) {
        dialogs.queueFiles({});
        testsupport::control<QAbstractButton>(window, button)->click();
        const platform::FileDialogRequest r = dialogs.fileRequests().value(dialogs.fileRequests().size() - 1);
        add(button + QStringLiteral(" dialog"), {{"title", r.title},
                                                 {"filter", r.filter},
                                                 {"accept", r.acceptLabel},
                                                 {"folder", r.folder},
                                                 {"files", r.multiple ? "several" : "one"}});
    }
    window.hide();
    return lines;
}

QStringList allWindows()
{
    testsupport::ScriptedDialogs dialogs;
    shell::frmMain main(dialogs, kProgramFolder);
    QStringList lines = linesOf(QStringLiteral("frmMain"), main, dialogs, {"Command5", "Command7", "Command8"});
    editor::frmHolyEdit edit(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmHolyEdit"), edit, dialogs, {"Command9"});
    exchange::frmExport exportWindow(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmExport"), exportWindow, dialogs, {"Command1", "Command2"});
    maintenance::frmBackup backup(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmBackup"), backup, dialogs);
    maintenance::frmAbout about(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmAbout"), about, dialogs);
    importer::frmAppend append(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmAppend"), append, dialogs, {"Command3", "Command8"});
    importer::frmAppendForm form(&append);
    lines << linesOf(QStringLiteral("frmAppendForm"), form, dialogs);
    for (const auto& shown : dialogs.messages()) {
        lines << QStringLiteral("message: ") + escaped(shown.text);
    }
    return lines;
}

} // namespace

class WindowTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowShowsTheTextsOfTheTable()
    {
        QFile file(testsupport::sourceFolder() + QStringLiteral("/tests/gui/texts/window-texts.txt"));
        const QStringList actual = allWindows();
        if (qEnvironmentVariableIsSet("BYEORISOL_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write((actual.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i) {
            QCOMPARE(actual[i], expected[i]);
        }
        QCOMPARE(actual.size(), expected.size());
    }
};

QTEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
