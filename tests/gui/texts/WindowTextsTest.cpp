// Every text a window shows, and where each control sits, as one table of
// window/object -> property: value, checked against window-texts.txt. Run with
// BYEORISOL_UPDATE_GOLDEN=1 to rewrite the table after a deliberate change and
// review the difference.

#include "editor/gui/frmHolyEdit.h"
#include "exchange/gui/frmExport.h"
#include "import/gui/frmAppend.h"
#include "import/gui/frmAppendForm.h"
#include "maintenance/gui/frmAbout.h"
#include "maintenance/gui/frmBackup.h"
#include "shell/gui/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <algorithm>

namespace {

const QString kProgramFolder = QStringLiteral("/nonexistent/manager");

QString escaped(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

// The lines of one shown window: its title and size, then each named control's place and texts.
QStringList linesOf(const QString& name, QWidget& window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return {name + QStringLiteral(": not shown")};
    }
    QStringList lines;
    const auto add = [&lines, &name](const QString& object, const char* property, const QString& value) {
        if (!value.isEmpty()) {
            lines << QStringLiteral("%1/%2 %3: %4").arg(name, object, QString::fromLatin1(property), escaped(value));
        }
    };
    add(QStringLiteral("."), "title", window.windowTitle());
    add(QStringLiteral("."), "size", QStringLiteral("%1x%2").arg(window.width()).arg(window.height()));
    QList<QWidget*> controls = window.findChildren<QWidget*>();
    std::stable_sort(controls.begin(), controls.end(),
                     [](const QWidget* a, const QWidget* b) { return a->objectName() < b->objectName(); });
    for (QWidget* control : controls) {
        const QString object = control->objectName();
        if (object.isEmpty() || object.startsWith(QLatin1String("qt_"))) {
            continue;
        }
        const QRect r = control->geometry();
        add(object, "place", QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
        add(object, "tooltip", control->toolTip());
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            add(object, "text", button->text());
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            add(object, "text", label->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            add(object, "text", group->title());
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
            add(object, "text", plain->toPlainText());
        } else if (auto* rich = qobject_cast<QTextEdit*>(control)) {
            add(object, "text", rich->toPlainText());
        } else if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(object, "tab", tabs->tabText(i));
            }
        }
    }
    window.hide();
    return lines;
}

QStringList allWindows()
{
    testsupport::ScriptedDialogs dialogs;
    shell::frmMain main(dialogs, kProgramFolder);
    QStringList lines = linesOf(QStringLiteral("frmMain"), main);
    editor::frmHolyEdit edit(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmHolyEdit"), edit);
    exchange::frmExport exportWindow(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmExport"), exportWindow);
    maintenance::frmBackup backup(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmBackup"), backup);
    maintenance::frmAbout about(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmAbout"), about);
    importer::frmAppend append(dialogs, kProgramFolder, &main);
    lines << linesOf(QStringLiteral("frmAppend"), append);
    importer::frmAppendForm form(&append);
    lines << linesOf(QStringLiteral("frmAppendForm"), form);
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
        const QString golden = testsupport::sourceFolder() + QStringLiteral("/tests/gui/texts/window-texts.txt");
        const QStringList actual = allWindows();
        QFile file(golden);
        if (qEnvironmentVariableIsSet("BYEORISOL_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write((actual.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(golden));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i) {
            QCOMPARE(actual[i], expected[i]);
        }
        QCOMPARE(actual.size(), expected.size());
    }
};

QTEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
