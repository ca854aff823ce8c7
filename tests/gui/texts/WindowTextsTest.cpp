// Every text a window shows, where each control sits, the tab order and the file dialogs the
// buttons open, as one table of window/object: property value | ..., then every message text
// the windows and byeorisol-data share, checked against window-texts.txt. Run with BYEORISOL_UPDATE_GOLDEN=1 to rewrite
// the table after a deliberate change and review the difference.

#include "cli/Usage.h"
#include "editor/EditorMessages.h"
#include "editor/gui/frmFindReplace.h"
#include "editor/gui/frmHistory.h"
#include "editor/gui/frmHolyEdit.h"
#include "exchange/CompareMessages.h"
#include "exchange/ExportMessages.h"
#include "exchange/InspectMessages.h"
#include "exchange/VersionExport.h"
#include "exchange/gui/frmCompare.h"
#include "exchange/gui/frmExport.h"
#include "exchange/gui/frmInspect.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/gui/frmAppend.h"
#include "import/gui/frmAppendForm.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
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
#include <QTreeWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A text on one line: line breaks and backslashes escaped.
QString escaped(QString text)
{
    return text.replace(u"\\"_s, u"\\\\"_s).replace(u"\r"_s, u"\\r"_s).replace(u"\n"_s, u"\\n"_s);
}

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
        for (const auto& [property, value] : values) {
            if (!value.isEmpty()) {
                shown << QString::fromLatin1(property) + u" "_s + escaped(value);
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
        if (auto* list = qobject_cast<QTreeWidget*>(control)) {
            for (int i = 0; i < list->columnCount(); ++i) {
                text += (i == 0 ? QString() : u" / "_s) + list->headerItem()->text(i);
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
    editor::VerseEditor noVersion;
    editor::frmHistory history(dialogs, noVersion, u"창 1:1"_s, u"kjv.dat"_s, &edit);
    lines << linesOf(u"frmHistory"_s, history, dialogs);
    editor::frmFindReplace findReplace(dialogs, noVersion, u"kjv.dat"_s, {}, &edit);
    lines << linesOf(u"frmFindReplace"_s, findReplace, dialogs);
    exchange::frmExport exportWindow(dialogs, folder, &main);
    lines << linesOf(u"frmExport"_s, exportWindow, dialogs, {u"Command1"_s, u"Command2"_s});
    exchange::frmCompare compareWindow(dialogs, folder, &main);
    lines << linesOf(u"frmCompare"_s, compareWindow, dialogs, {u"Command1"_s, u"Command2"_s});
    exchange::frmInspect inspectWindow(dialogs, folder, {}, &main);
    lines << linesOf(u"frmInspect"_s, inspectWindow, dialogs, {u"Command1"_s, u"Command2"_s});
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

// The message texts of the cores and byeorisol-data's help and usage errors, each with sample values.
QStringList messageLines()
{
    using editor::EditorMessages;
    using importer::RunMessages;
    using maintenance::MaintenanceMessages;
    const QString name = u"kjv.dat"_s;
    exchange::ExportOutcome refused;
    refused.verse.number = 7;
    refused.verse.reference = u"창 1:7"_s;
    refused.moved = {{u"아 6:14"_s, u"아 6:13"_s}, {u"요삼 1:15"_s, u"요삼 1:14"_s}};
    const auto refusal = [&refused](exchange::ExportResult result) {
        refused.result = result;
        return exchange::ExportMessages::refusal(refused);
    };
    const auto shown = [](const maintenance::Message& m) { return u"icon %1 "_s.arg(int(m.icon)) + m.text; };
    using importer::buildRunRefusal, importer::checkRunRefusal, importer::inputFileRefusal;
    constexpr auto commandLine = importer::Asker::CommandLine;
    QString blank = u" "_s;
    const QStringList aFile{QCoreApplication::applicationFilePath()}; // a regular file, and no database
    maintenance::RepairOutcome incomplete;
    incomplete.repaired = true;
    incomplete.lostVerses = 40;
    incomplete.lostRanges = {u"창 1:4-31"_s, u"창 2:1-10"_s, u"출 1:1"_s};
    incomplete.damagedTexts = 1;
    incomplete.damagedRanges = {u"창 3:2"_s};
    incomplete.listPath = u"/경로/manager/repair.txt"_s;
    incomplete.keptOriginal = u"/경로/kjv.dat.damaged-20261207-103000"_s;
    const versiondb::Change undo{12, QDateTime(QDate(2026, 12, 7), QTime(10, 30)), versiondb::ChangeSource::Undo,
                                 u"11"_s, 1};
    const versiondb::VerseChange verseUndo{undo, 1, u"창 1:1"_s, u"태초에"_s, QVariant()};
    using exchange::CompareMessages, exchange::CompareResult;
    exchange::CompareOutcome compared;
    compared.verses.resize(15);
    compared.counts = {1, 2, 3, 4, 5};
    // The message of a comparison of /경로/kjv.dat (A) with b that stopped so.
    const auto stopped = [&compared](CompareResult result, int file, const QString& reference, const QString& b) {
        std::tie(compared.result, compared.file, compared.reference, compared.numberA, compared.numberB) =
            std::tuple(result, file, reference, 7, 8);
        return CompareMessages::failure(compared, u"/경로/kjv.dat"_s, b);
    };
    using exchange::InspectMessages;
    exchange::InspectOutcome inspected;
    inspected.findings.resize(1066);
    inspected.counts = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1001};
    inspected.verses = 31100;
    inspected.engineFailure.Description = u"설명"_s;
    exchange::ComposeOutcome composed{false, 0, 1234, {0, u"설명"_s}};
    const exchange::Finding longer{exchange::InspectionKind::Length, 1, u"창 1:1"_s, u"본문"_s, 1234, 56};
    const QList<std::pair<const char*, QString>> texts = {
        {"checkRunRefusal", *checkRunRefusal({})},
        {"checkRunRefusal command line", *checkRunRefusal({}, commandLine)},
        {"buildRunRefusal", *buildRunRefusal({}, blank)},
        {"buildRunRefusal command line", *buildRunRefusal({}, blank, commandLine)},
        {"buildRunRefusal unnamed", *buildRunRefusal(aFile, blank)},
        {"buildRunRefusal unnamed command line", *buildRunRefusal(aFile, blank, commandLine)},
        {"inputFileRefusal", *inputFileRefusal({u"/"_s})},
        {"inputFileRefusal command line", *inputFileRefusal({u"/"_s}, commandLine)},
        {"testFinishedWithErrors", RunMessages::testFinishedWithErrors()},
        {"testFinishedWithoutErrors", RunMessages::testFinishedWithoutErrors()},
        {"buildFinished", RunMessages::buildFinished(name)},
        {"buildFinishedWithErrors", RunMessages::buildFinishedWithErrors(name, 31100)},
        {"phase1Failure", RunMessages::phase1Failure(u"설명"_s, u"/경로/개역.DAT"_s)},
        {"phase2Failure building", RunMessages::phase2Failure(u"설명"_s, true, u"/경로/a.txt"_s)},
        {"phase2Failure checking", RunMessages::phase2Failure(u"설명"_s, false)},
        {"goEmptyReference", EditorMessages::goEmptyReference()},
        {"goReferenceNotFound", EditorMessages::goReferenceNotFound()},
        {"saveEmptyReference", EditorMessages::saveEmptyReference()},
        {"saveEmptyText", EditorMessages::saveEmptyText()},
        {"saveReferenceNotFound", EditorMessages::saveReferenceNotFound()},
        {"saveLineBreak", EditorMessages::saveLineBreak()},
        {"stepNumberingGap", EditorMessages::stepNumberingGap()},
        {"stepWithoutVerse", EditorMessages::stepWithoutVerse()},
        {"editor fileFailure", EditorMessages::fileFailure(name, u"설명"_s)},
        {"nothingToTakeBack", EditorMessages::nothingToTakeBack()},
        {"noHistory", EditorMessages::noHistory()},
        {"verseChangeLines", EditorMessages::verseChangeLines(verseUndo)},
        {"takenBack", EditorMessages::takenBack(undo)},
        {"emptyPattern", EditorMessages::emptyPattern()},
        {"invalidPattern", EditorMessages::invalidPattern(u"a(b)c)"_s, 5, u"설명"_s)},
        {"invalidPattern at the end", EditorMessages::invalidPattern(u"a(b"_s, 3, u"설명"_s)},
        {"nothingFound", EditorMessages::nothingFound()},
        {"replaceLeftEmpty", EditorMessages::replaceLeftEmpty()},
        {"replaceLineBreak", EditorMessages::replaceLineBreak()},
        {"replaceStale", EditorMessages::replaceStale()},
        {"replacePreviewed", EditorMessages::replacePreviewed(31100, 2)},
        {"replaceApplied", EditorMessages::replaceApplied(31100, 12, 2)},
        {"repairConfirmation", MaintenanceMessages::repairConfirmation(name)},
        {"compactConfirmation", MaintenanceMessages::compactConfirmation(name)},
        {"deleteConfirmation", MaintenanceMessages::deleteConfirmation(name)},
        {"repairSucceeded", shown(MaintenanceMessages::repairSucceeded(name))},
        {"repairFailed", shown(MaintenanceMessages::repairFailed(3049, u"설명"_s))},
        {"compactSucceeded", shown(MaintenanceMessages::compactSucceeded(name))},
        {"compactFailed", shown(MaintenanceMessages::compactFailed())},
        {"repairIncomplete", shown(MaintenanceMessages::repairIncomplete(name, incomplete, 2))},
        {"repairListHeading", MaintenanceMessages::repairListHeading(u"/경로/kjv.dat"_s, incomplete)},
        {"lostVersesHeading", MaintenanceMessages::lostVersesHeading(40)},
        {"damagedTextsHeading", MaintenanceMessages::damagedTextsHeading(1)},
        {"compactRefusedDamaged", shown(MaintenanceMessages::compactRefusedDamaged(name))},
        {"shippedFileRefused", shown(MaintenanceMessages::shippedFileRefused(u"개역.dat"_s))},
        {"deleted", shown(MaintenanceMessages::deleted(name))},
        {"deleteFailed", shown(MaintenanceMessages::deleteFailed(u"설명"_s))},
        {"fileNotFound", MaintenanceMessages::fileNotFound()},
        {"pathNotFound", MaintenanceMessages::pathNotFound()},
        {"permissionDenied", MaintenanceMessages::permissionDenied()},
        {"accessError", MaintenanceMessages::accessError()},
        {"export unreadableReference", refusal(exchange::ExportResult::UnreadableReference)},
        {"export lineBreak", refusal(exchange::ExportResult::LineBreak)},
        {"export unencodable", refusal(exchange::ExportResult::Unencodable)},
        {"export notXmlText", refusal(exchange::ExportResult::NotXmlText)},
        {"export movedVerses", exchange::ExportMessages::movedVerses(refused)},
        {"compare counts", CompareMessages::counts(compared) + u" / "_s + CompareMessages::spacingOnly()},
        {"compare same", CompareMessages::same()},
        {"compare duplicateReference", stopped(CompareResult::DuplicateReference, 0, u"창 1:7"_s, u"/경로/my.dat"_s)},
        {"compare numbersDiffer", stopped(CompareResult::DifferentSkeletons, 1, u"창 1:7"_s, u"/백업/KJV.DAT"_s)},
        {"compare nothingInCommon", stopped(CompareResult::DifferentSkeletons, 1, {}, u"/경로/my.dat"_s)},
        {"inspect counts", InspectMessages::counts(inspected)},
        {"inspect clean", InspectMessages::clean(inspected)},
        {"inspect detail", InspectMessages::detail(longer)},
        {"inspect failure", InspectMessages::failure(inspected, u"/경로/kjv.dat"_s, u"/경로/my.dat"_s)},
        {"inspect composeQuestion", InspectMessages::composeQuestion(1234)},
        {"inspect composed", InspectMessages::composed(composed)},
        {"inspect composeFailure", InspectMessages::composeFailure(composed, u"/경로/my.dat"_s)},
        {"usageText", cli::usageText()},
        {"programFolderMissing", cli::UsageErrors::programFolderMissing()},
        {"programFolderNotFound", cli::UsageErrors::programFolderNotFound(u"/없는 폴더"_s)},
        {"noCommand", cli::UsageErrors::noCommand()},
        {"unknownCommand", cli::UsageErrors::unknownCommand(u"frobnicate"_s)},
        {"buildNeedsName", cli::UsageErrors::buildNeedsName()},
        {"showNeedsArguments", cli::UsageErrors::showNeedsArguments()},
        {"saveNeedsArguments", cli::UsageErrors::saveNeedsArguments()},
        {"needsOnePath", cli::UsageErrors::needsOnePath(u"repair"_s)},
        {"exportNeedsArguments", cli::UsageErrors::exportNeedsArguments()},
        {"exportFormatValues", cli::UsageErrors::exportFormatValues()},
        {"exportEncodingValues", cli::UsageErrors::exportEncodingValues()},
        {"exportFileIsUtf8", cli::UsageErrors::exportFileIsUtf8()},
        {"unknownOption", cli::UsageErrors::unknownOption(u"--quiet"_s)},
        {"compareNeedsArguments", cli::UsageErrors::compareNeedsArguments()},
    };
    QStringList lines;
    for (const auto& [function, text] : texts) {
        lines << u"text %1: %2"_s.arg(QString::fromLatin1(function), escaped(text));
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
        const QStringList actual = allWindows() + messageLines();
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
