// Every text a window shows, where each control sits, the tab order and the file dialogs the
// buttons open, as one table of window/object: property value | ..., checked against
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
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The lines of one shown window: its title, size and tab order, each named control's place and
// texts, then the file dialog each of the buttons named opens (cancelled at once).
QStringList linesOf(const QString& name, QWidget& window, testsupport::ScriptedDialogs& dialogs,
                    const QStringList& dialogButtons = {})
{
    window.show();
    QStringList lines;
    // One line of the object's properties that have a value, with line breaks and backslashes escaped.
    const auto add = [&lines, &name](const QString& object, const QList<std::pair<const char*, QString>>& values) {
        QStringList shown;
        for (auto [property, value] : values) {
            value.replace(u"\\"_s, u"\\\\"_s).replace(u"\r"_s, u"\\r"_s).replace(u"\n"_s, u"\\n"_s);
            if (!value.isEmpty()) {
                shown << QString::fromLatin1(property) + u" "_s + value;
            }
        }
        lines << u"%1/%2: %3"_s.arg(name, object, shown.join(u" | "_s));
    };
    const auto named = [](const QWidget* widget) {
        return !widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_"_s);
    };
    QStringList tabOrder;
    for (QWidget* next = window.nextInFocusChain(); next != &window; next = next->nextInFocusChain()) {
        if (named(next) && (next->focusPolicy() & Qt::TabFocus) != 0 &&
            qobject_cast<QTabBar*>(next->parentWidget()) == nullptr) {
            tabOrder << next->objectName();
        }
    }
    add(u"."_s, {{"title", window.windowTitle()},
                 {"size", u"%1x%2"_s.arg(window.width()).arg(window.height())},
                 {"tab order", tabOrder.join(u" "_s)}});
    QList<QWidget*> controls = window.findChildren<QWidget*>();
    std::stable_sort(controls.begin(), controls.end(),
                     [](const QWidget* a, const QWidget* b) { return a->objectName() < b->objectName(); });
    for (QWidget* control : controls) {
        if (!named(control)) {
            continue;
        }
        const QRect r = control->geometry();
        // Buttons and labels have a text, group boxes a title, text boxes their plain text.
        QString text = control->property("text").toString() + control->property("title").toString();
        if (!control->inherits("QLineEdit")) {
            text += control->property("plainText").toString();
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
            for (int i = 0; i < tabs->count(); ++i) {
                text += (i == 0 ? QString() : u" / "_s) + tabs->tabText(i);
            }
        }
        add(control->objectName(), {{"place", u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())},
                                    {"tooltip", control->toolTip()},
                                    {"text", text}});
    }
    for (const QString& button : dialogButtons) {
        dialogs.queueFiles({});
        testsupport::control<QAbstractButton>(window, button)->click();
        const platform::FileDialogRequest r = dialogs.fileRequests().value(dialogs.fileRequests().size() - 1);
        add(button + u" dialog"_s, {{"title", r.title},
                                    {"filter", r.filter},
                                    {"accept", r.acceptLabel},
                                    {"folder", r.folder},
                                    {"files", r.multiple ? u"several"_s : u"one"_s}});
    }
    window.hide();
    return lines;
}

QStringList allWindows()
{
    const QString folder = u"/nonexistent/manager"_s;
    testsupport::ScriptedDialogs dialogs;
    shell::frmMain main(dialogs, folder);
    QStringList lines = linesOf(u"frmMain"_s, main, dialogs, {u"Command5"_s, u"Command7"_s, u"Command8"_s});
    editor::frmHolyEdit edit(dialogs, folder, &main);
    lines << linesOf(u"frmHolyEdit"_s, edit, dialogs, {u"Command9"_s});
    exchange::frmExport exportWindow(dialogs, folder, &main);
    lines << linesOf(u"frmExport"_s, exportWindow, dialogs, {u"Command1"_s, u"Command2"_s});
    maintenance::frmBackup backup(dialogs, folder, &main);
    lines << linesOf(u"frmBackup"_s, backup, dialogs);
    maintenance::frmAbout about(dialogs, folder, &main);
    lines << linesOf(u"frmAbout"_s, about, dialogs);
    importer::frmAppend append(dialogs, folder, &main);
    lines << linesOf(u"frmAppend"_s, append, dialogs, {u"Command3"_s, u"Command8"_s});
    importer::frmAppendForm form(&append);
    lines << linesOf(u"frmAppendForm"_s, form, dialogs);
    for (const auto& shown : dialogs.messages()) {
        lines << u"message: "_s + shown.text;
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
        QFile file(testsupport::sourceFolder() + u"/tests/gui/texts/window-texts.txt"_s);
        const QStringList actual = allWindows();
        if (qEnvironmentVariableIsSet("BYEORISOL_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write((actual.join(u"\n"_s) + u"\n"_s).toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(u"\n"_s, Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i) {
            QCOMPARE(actual[i], expected[i]);
        }
        QCOMPARE(actual.size(), expected.size());
    }
};

QTEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
