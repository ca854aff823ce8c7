// Every text a window shows, its accessible names, the tab order and the file dialogs the buttons open, as one table
// of window/object: property value | ..., then every message text the windows and byeorisol-data share, checked
// against window-texts.txt. Run with BYEORISOL_UPDATE_GOLDEN=1 to rewrite the table after a deliberate change and
// review the difference. Then every window with a larger font (and, as the tests run it, at one and a half times the
// size): no text cut, and every control that Tab reaches named for a screen reader.

#include "cli/Usage.h"
#include "editor/EditorMessages.h"
#include "editor/HangulComposition.h"
#include "editor/gui/FindReplaceDialog.h"
#include "editor/gui/HistoryDialog.h"
#include "editor/gui/VerseEditorDialog.h"
#include "exchange/ExportMessages.h"
#include "exchange/VersionExport.h"
#include "exchange/gui/ExportDialog.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/gui/FormatHelpDialog.h"
#include "import/gui/ImportDialog.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
#include "maintenance/gui/AboutDialog.h"
#include "maintenance/gui/BackupGuideDialog.h"
#include "platform/FileErrorDescriptions.h"
#include "review/CompareMessages.h"
#include "review/InspectMessages.h"
#include "review/gui/CompareDialog.h"
#include "review/gui/InspectDialog.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/StartUp.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QStyleOptionHeader>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A path in a folder of the root, which the table writes as Linux does: /경로/name.
QString elsewhere(const QString& name)
{
    return QDir::rootPath() + u"경로/"_s + name;
}

QString escaped(QString text)
{
    return text.replace(u"\\"_s, u"\\\\"_s).replace(u"\r"_s, u"\\r"_s).replace(u"\n"_s, u"\\n"_s);
}

// The lines of one shown window: its title and tab order, each named control's texts and accessible name, each named
// action's text, tooltip and shortcut, then the file dialog each of the buttons named opens (cancelled at once).
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
        if (!shown.isEmpty()) {
            lines << u"%1/%2: %3"_s.arg(name, object, shown.join(u" | "_s));
        }
    };
    // The window's own controls and menus, not those of the windows over it nor the tab bars' scroll buttons.
    const auto named = [&window](const QWidget* widget) {
        const QWidget* owner = qobject_cast<const QMenu*>(widget) != nullptr ? widget->parentWidget() : widget;
        return !widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_"_s) && owner != nullptr &&
               owner->window() == &window && qobject_cast<QTabBar*>(widget->parentWidget()) == nullptr;
    };
    QStringList tabOrder;
    for (QWidget* next = window.nextInFocusChain(); next != &window; next = next->nextInFocusChain()) {
        if (named(next) && (next->focusPolicy() & Qt::TabFocus) != 0) {
            tabOrder << next->objectName();
        }
    }
    add(u"."_s, {{"title", window.windowTitle()}, {"tab order", tabOrder.join(u" "_s)}});
    QList<QWidget*> controls = window.findChildren<QWidget*>();
    std::ranges::stable_sort(controls, std::less{}, &QObject::objectName);
    controls.removeIf([&named](const QWidget* control) { return !named(control); });
    for (QWidget* control : controls) {
        // Buttons and labels have a text, group boxes a title, text boxes plain text; tabs and lists add their titles.
        QString text = control->property("text").toString() + control->property("title").toString() +
                       (control->inherits("QLineEdit") ? QString() : control->property("plainText").toString());
        QStringList titles;
        auto* tabs = qobject_cast<QTabWidget*>(control);
        for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
            titles << tabs->tabText(i);
        }
        auto* view = qobject_cast<QAbstractItemView*>(control);
        const bool columns = qobject_cast<QTableView*>(view) != nullptr || qobject_cast<QTreeWidget*>(view) != nullptr;
        for (int i = 0; columns && i < view->model()->columnCount(); ++i) {
            titles << view->model()->headerData(i, Qt::Horizontal).toString();
        }
        text += titles.join(u" / "_s);
        add(control->objectName(),
            {{"tooltip", control->toolTip()}, {"text", text}, {"accessible name", control->accessibleName()}});
    }
    QList<QAction*> actions = window.findChildren<QAction*>();
    std::ranges::stable_sort(actions, std::less{}, &QObject::objectName);
    actions.removeIf([&window](const QAction* action) {
        return action->objectName().isEmpty() || action->objectName().startsWith(u"qt_"_s) ||
               action->parent() != &window;
    });
    for (const QAction* action : actions) {
        add(action->objectName(),
            {{"text", action->text()}, {"tooltip", action->toolTip()}, {"shortcut", action->shortcut().toString()}});
    }
    for (const QString& button : dialogButtons) {
        dialogs.queueFiles({});
        testsupport::control<QAbstractButton>(window, button)->click();
        const platform::FileDialogRequest r = dialogs.fileRequests().value(dialogs.fileRequests().size() - 1);
        add(button + u" dialog"_s, {{"title", r.title},
                                    {"filter", r.filter},
                                    {"accept", r.acceptLabel},
                                    {"folder", QDir::fromNativeSeparators(r.folder)}, // as the table writes it
                                    {"files", r.multiple ? u"several"_s : u"one"_s}});
    }
    window.hide();
    return lines;
}

// Every window of the program, each over the one that opens it, with the buttons of each that open a file dialog.
struct AllWindows
{
    const QString folder = QDir::rootPath() + u"nonexistent/manager"_s; // on Windows on the current drive
    testsupport::ScriptedDialogs dialogs;
    editor::VerseEditor noVersion;
    shell::MainWindow main{dialogs, folder};
    editor::VerseEditorDialog edit{dialogs, folder, &main};
    editor::HistoryDialog history{dialogs, noVersion, u"창 1:1"_s, u"kjv.dat"_s, &edit};
    editor::FindReplaceDialog findReplace{dialogs, noVersion, u"kjv.dat"_s, {}, &edit};
    exchange::ExportDialog exportWindow{dialogs, folder, &main};
    review::CompareDialog compareWindow{dialogs, folder, &main};
    review::InspectDialog inspectWindow{dialogs, folder, {}, &main};
    maintenance::BackupGuideDialog backup{dialogs, folder, &main};
    maintenance::AboutDialog about{dialogs, folder, &main};
    importer::ImportDialog import{dialogs, folder, &main};
    importer::FormatHelpDialog formatHelp{&import};

    [[nodiscard]] QList<std::tuple<QString, QWidget*, QStringList>> windows()
    {
        return {
            {u"MainWindow"_s, &main, {}},
            {u"VerseEditorDialog"_s, &edit, {u"openVersionButton"_s}},
            {u"HistoryDialog"_s, &history, {}},
            {u"FindReplaceDialog"_s, &findReplace, {}},
            {u"ExportDialog"_s, &exportWindow, {u"versionBrowseButton"_s, u"folderBrowseButton"_s}},
            {u"CompareDialog"_s, &compareWindow, {u"versionABrowseButton"_s, u"versionBBrowseButton"_s}},
            {u"InspectDialog"_s, &inspectWindow, {u"versionBrowseButton"_s, u"otherVersionBrowseButton"_s}},
            {u"BackupGuideDialog"_s, &backup, {}},
            {u"AboutDialog"_s, &about, {}},
            {u"ImportDialog"_s, &import, {u"addFilesButton"_s, u"openVersionButton"_s}},
            {u"FormatHelpDialog"_s, &formatHelp, {}},
        };
    }
};

// The controls of a shown window whose text does not fit them: labels, buttons and check boxes narrower (or, wrapped,
// lower) than their text needs, and column headers narrower than their title.
QStringList cutTexts(const QString& name, QWidget& window)
{
    QStringList cut;
    QList<QWidget*> shown = window.findChildren<QWidget*>();
    shown.removeIf(
        [&window](const QWidget* w) { return !w->isVisibleTo(&window) || w->objectName().startsWith(u"qt_"_s); });
    for (QWidget* w : shown) {
        const QString where = name + u"/"_s + w->objectName() + u" "_s;
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QAbstractButton*>(w);
        const QString text = label != nullptr ? label->text() : button != nullptr ? button->text() : QString();
        const bool fits = label != nullptr && label->wordWrap() ? w->height() >= w->heightForWidth(w->width())
                                                                : w->width() >= w->minimumSizeHint().width();
        if (!text.isEmpty() && !fits) {
            cut << where + text;
        }
        auto* header = qobject_cast<QHeaderView*>(w);
        for (int i = 0; header != nullptr && header->orientation() == Qt::Horizontal && i < header->count(); ++i) {
            QStyleOptionHeader option;
            option.initFrom(header);
            option.text = header->model()->headerData(i, Qt::Horizontal).toString();
            const QSize needed(header->fontMetrics().horizontalAdvance(option.text), header->fontMetrics().height());
            if (!header->isSectionHidden(i) &&
                header->sectionSize(i) <
                    header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, needed, header).width()) {
                cut << where + option.text;
            }
        }
    }
    return cut;
}

// The controls of a window that Tab reaches and a screen reader reads without a name.
QStringList namelessControls(const QString& name, QWidget& window)
{
    QStringList nameless;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            auto* widget = child != nullptr ? qobject_cast<QWidget*>(child->object()) : nullptr;
            if (widget != nullptr && widget->isVisibleTo(&window) && (widget->focusPolicy() & Qt::TabFocus) != 0 &&
                child->text(QAccessible::Name).trimmed().isEmpty()) {
                nameless << name + u"/"_s + widget->objectName() + u" ("_s +
                                QString::fromLatin1(widget->metaObject()->className()) + u")"_s;
            }
            child != nullptr ? walk(child) : void();
        }
    };
    walk(QAccessible::queryAccessibleInterface(&window));
    return nameless;
}

// The message texts of the cores and byeorisol-data's help and usage errors, each with sample values.
QStringList messageLines()
{
    namespace EditorMessages = editor::EditorMessages;
    namespace RunMessages = importer::RunMessages;
    namespace MaintenanceMessages = maintenance::MaintenanceMessages;
    const QString name = u"kjv.dat"_s;
    const platform::FileFailure noDataFolder{u"/usr/share/byeorisol"_s, u"경로를 찾을 수 없습니다."_s};
    exchange::ExportOutcome refused;
    std::tie(refused.verse.number, refused.verse.reference) = std::tuple(7, u"창 1:7"_s);
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
    incomplete.listPath = elsewhere(u"manager/repair.txt"_s);
    incomplete.keptOriginal = elsewhere(u"kjv.dat.damaged-20261207-103000"_s);
    const versiondb::Change undo{12, QDateTime(QDate(2026, 12, 7), QTime(10, 30)), versiondb::ChangeSource::Undo,
                                 u"11"_s, 1};
    const versiondb::VerseChange verseUndo{undo, 1, u"창 1:1"_s, u"태초에"_s, QVariant()};
    namespace CompareMessages = review::CompareMessages;
    namespace InspectMessages = review::InspectMessages;
    using review::CompareResult;
    review::CompareOutcome compared;
    compared.verses.resize(15);
    compared.counts = {1, 2, 3, 4, 5};
    // The message of a comparison of /경로/kjv.dat (A) with b that stopped so.
    const auto stopped = [&compared](CompareResult result, int file, const QString& reference, const QString& b) {
        std::tie(compared.result, compared.file, compared.reference, compared.numberA, compared.numberB) =
            std::tuple(result, file, reference, 7, 8);
        return CompareMessages::failure(compared, elsewhere(u"kjv.dat"_s), b).text;
    };
    const review::InspectOutcome inspected{.findings = QList<review::Finding>(1066),
                                           .counts = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1001},
                                           .verses = 31100,
                                           .failure = {0, u"설명"_s}};
    editor::ComposeOutcome composed{false, 0, 1234, {0, u"설명"_s}};
    const review::Finding longer{review::InspectionKind::Length, 1, u"창 1:1"_s, u"본문"_s, 1234, 56};
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
        {"phase1Failure", RunMessages::phase1Failure(u"설명"_s, elsewhere(u"개역.DAT"_s))},
        {"phase2Failure building", RunMessages::phase2Failure(u"설명"_s, true, elsewhere(u"a.txt"_s))},
        {"phase2Failure checking", RunMessages::phase2Failure(u"설명"_s, false)},
        {"testPartlyRead", RunMessages::testPartlyRead({{elsewhere(u"a.xml"_s), 2, 2}})},
        {"buildPartlyRead",
         RunMessages::buildPartlyRead(name, 31100,
                                      {{elsewhere(u"a.xml"_s), 2, 2}, {elsewhere(u"b.xml"_s), 1, 0, 3449, 1657}})},
        {"cancelled building", RunMessages::cancelled(true)},
        {"cancelled checking", RunMessages::cancelled(false)},
        {"stageStatus", RunMessages::stageStatus(1) + u" / "_s + RunMessages::stageStatus(2)},
        {"goEmptyReference", EditorMessages::kGoEmptyReference},
        {"goReferenceNotFound", EditorMessages::kGoReferenceNotFound},
        {"referenceMistake book", EditorMessages::referenceMistake(u"창셰기 1:1"_s, {})},
        {"referenceMistake chapter", EditorMessages::referenceMistake(u"시 151"_s, {})},
        {"referenceMistake verse", EditorMessages::referenceMistake(u"창 1:100"_s, {})},
        {"saveEmptyReference", EditorMessages::kSaveEmptyReference},
        {"saveEmptyText", EditorMessages::kSaveEmptyText},
        {"saveReferenceNotFound", EditorMessages::kSaveReferenceNotFound},
        {"saveLineBreak", EditorMessages::kSaveLineBreak},
        {"stepNumberingGap", EditorMessages::kStepNumberingGap},
        {"stepWithoutVerse", EditorMessages::kStepWithoutVerse},
        {"editor fileFailure", EditorMessages::aboutVersion(name, u"설명"_s)},
        {"nothingToTakeBack", EditorMessages::kNothingToTakeBack},
        {"noHistory", EditorMessages::kNoHistory},
        {"verseChangeLines", EditorMessages::verseChangeLines(verseUndo)},
        {"takenBack", EditorMessages::takenBack(undo)},
        {"nothingToRedo", EditorMessages::kNothingToRedo},
        {"broughtBack", EditorMessages::broughtBack(11, undo)},
        {"searchCancelled", EditorMessages::kSearchCancelled},
        {"replaceCancelled", EditorMessages::kReplaceCancelled},
        {"emptyPattern", EditorMessages::kEmptyPattern},
        {"invalidPattern", EditorMessages::invalidPattern(u"a(b)c)"_s, 5, u"설명"_s)},
        {"invalidPattern at the end", EditorMessages::invalidPattern(u"a(b"_s, 3, u"설명"_s)},
        {"nothingFound", EditorMessages::kNothingFound},
        {"replaceLeftEmpty", EditorMessages::kReplaceLeftEmpty},
        {"replaceLineBreak", EditorMessages::kReplaceLineBreak},
        {"replaceStale", EditorMessages::kReplaceStale},
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
        {"repairListHeading", MaintenanceMessages::repairListHeading(elsewhere(u"kjv.dat"_s), incomplete)},
        {"lostVersesHeading", MaintenanceMessages::lostVersesHeading(40)},
        {"damagedTextsHeading", MaintenanceMessages::damagedTextsHeading(1)},
        {"compactRefusedDamaged", shown(MaintenanceMessages::compactRefusedDamaged(name))},
        {"shippedFileRefused", shown(MaintenanceMessages::shippedFileRefused(u"개역.dat"_s))},
        {"deleted", shown(MaintenanceMessages::deleted(name))},
        {"deleteFailed", shown(MaintenanceMessages::deleteFailed(u"설명"_s))},
        {"fileNotFound", platform::FileErrorDescriptions::fileNotFound()},
        {"pathNotFound", platform::FileErrorDescriptions::pathNotFound()},
        {"permissionDenied", platform::FileErrorDescriptions::permissionDenied()},
        {"accessError", platform::FileErrorDescriptions::accessError()},
        {"repairCancelled", shown(MaintenanceMessages::repairCancelled(name))},
        {"compactCancelled", shown(MaintenanceMessages::compactCancelled(name))},
        {"export unreadableReference", refusal(exchange::ExportResult::UnreadableReference)},
        {"export lineBreak", refusal(exchange::ExportResult::LineBreak)},
        {"export unencodable", refusal(exchange::ExportResult::Unencodable)},
        {"export notXmlText", refusal(exchange::ExportResult::NotXmlText)},
        {"export movedVerses", exchange::ExportMessages::movedVerses(refused)},
        {"compare counts", CompareMessages::counts(compared) + u" / "_s + CompareMessages::kSpacingOnly},
        {"compare same", CompareMessages::kSame},
        {"compare duplicateReference",
         stopped(CompareResult::DuplicateReference, 0, u"창 1:7"_s, elsewhere(u"my.dat"_s))},
        {"compare numbersDiffer", stopped(CompareResult::DifferentSkeletons, 1, u"창 1:7"_s, u"/백업/KJV.DAT"_s)},
        {"compare nothingInCommon", stopped(CompareResult::DifferentSkeletons, 1, {}, elsewhere(u"my.dat"_s))},
        {"inspect counts", InspectMessages::counts(inspected)},
        {"inspect clean", InspectMessages::clean(inspected)},
        {"inspect detail", InspectMessages::detail(longer)},
        {"inspect failure", InspectMessages::failure(inspected, elsewhere(u"kjv.dat"_s), elsewhere(u"my.dat"_s)).text},
        {"inspect composeQuestion", editor::ComposeMessages::question(1234)},
        {"inspect composed", editor::ComposeMessages::composed(composed).text},
        {"inspect composeFailure", editor::ComposeMessages::failure(composed, elsewhere(u"my.dat"_s)).text},
        {"export existing", exchange::ExportMessages::existing({elsewhere(u"my.vpl"_s)}) + u" / "_s +
                                exchange::ExportMessages::existing({u"a"_s, u"b"_s})},
        {"export cancelled", exchange::ExportMessages::kCancelled},
        {"compare cancelled", CompareMessages::kCancelled},
        {"inspect cancelled", InspectMessages::kCancelled + u" / "_s + editor::ComposeMessages::cancelled().text},
        {"cli usageText", cli::usageText()},
        {"cli programFolderMissing", cli::UsageErrors::kProgramFolderMissing},
        {"cli programFolderNotFound", cli::UsageErrors::programFolderNotFound(u"/없는 폴더"_s)},
        {"cli noCommand", cli::UsageErrors::kNoCommand},
        {"cli unknownCommand", cli::UsageErrors::unknownCommand(u"frobnicate"_s)},
        {"cli buildNeedsName", cli::UsageErrors::kBuildNeedsName},
        {"cli showNeedsArguments", cli::UsageErrors::kShowNeedsArguments},
        {"cli saveNeedsArguments", cli::UsageErrors::kSaveNeedsArguments},
        {"cli needsOnePath", cli::UsageErrors::needsOnePath(u"repair"_s)},
        {"cli exportNeedsArguments", cli::UsageErrors::kExportNeedsArguments},
        {"cli exportFormatValues", cli::UsageErrors::kExportFormatValues},
        {"cli exportEncodingValues", cli::UsageErrors::kExportEncodingValues},
        {"cli exportFileIsUtf8", cli::UsageErrors::kExportFileIsUtf8},
        {"cli unknownOption", cli::UsageErrors::unknownOption(u"--quiet"_s)},
        {"cli compareNeedsArguments", cli::UsageErrors::kCompareNeedsArguments},
        {"cli shippedFilesFailure", cli::shippedFilesFailure(noDataFolder)},
        {"shippedFilesMessage", shell::shippedFilesMessage(noDataFolder)},
        {"previousInstanceMessage", shell::previousInstanceMessage()},
        {"viewerRunningMessage", shell::viewerRunningMessage()},
    };
    QStringList lines;
    for (const auto& [function, text] : texts) {
        lines << u"text %1: %2"_s.arg(QString::fromLatin1(function), escaped(text));
    }
    return lines;
}

// The English words of a line of the table but format and proper names and words with a sign of a path, address,
// markup, key or mnemonic (the command line's texts spell its commands), and off Windows its Windows paths and advice.
QStringList foreignOrUntrue(QString line)
{
    static const QRegularExpression kNoText(uR"(^text cli .*|^[^:]*: |\S*[\\/.<>=$@&+*_:;0-9]\S*|(?<=: |\| )()"
                                            uR"((tab order|folder|files|shortcut) [^|]*|(title|tooltip|text|)"
                                            uR"(accessible name|filter|accept|icon \d) ))"_s);
    static const QRegularExpression kForeign(
        uR"((?<![A-Za-z])(?!(IMP|USFM|OSIS|Zefania|VPL|XML|SWORD|KJV|GEN|Genesis|GNU|GPL|CrossWire)(?![A-Za-z]))[A-Za-z]{2,})"_s);
    QStringList faults;
#ifndef Q_OS_WIN
    faults << QRegularExpression(uR"([A-Z]:\\|탐색기|메모장|윈도우)"_s).match(line).captured();
    faults.removeAll(QString());
#endif
    line.replace(u"\\r"_s, u" "_s).replace(u"\\n"_s, u" "_s).replace(kNoText, u" "_s);
    for (auto word = kForeign.globalMatch(line); word.hasNext();) {
        faults << word.next().captured();
    }
    return faults;
}

} // namespace

class WindowTextsTest : public QObject
{
    Q_OBJECT

private slots:
    // No window opens at a size kept by an earlier run.
    void initTestCase()
    {
        QSettings().clear();
        // The import window lists SWORD's modules through the plugin beside the built programs.
        QCoreApplication::addLibraryPath(testsupport::builtProgramFolder());
    }

    void everyWindowShowsTheTextsOfTheTable()
    {
        QFile file(testsupport::sourceFolder() + u"/tests/gui/texts/window-texts.txt"_s);
        AllWindows all;
        QStringList actual;
        for (const auto& [name, window, dialogButtons] : all.windows()) {
            actual << linesOf(name, *window, all.dialogs, dialogButtons);
        }
        for (const auto& shown : all.dialogs.messages()) {
            actual << u"message: "_s + shown.text;
        }
        actual << messageLines();
        const QString root = QDir::rootPath(); // the table writes the folders as Linux does
        for (QString& line : actual) {
            line.replace(escaped(QDir::toNativeSeparators(root)), u"/"_s).replace(root, u"/"_s);
        }
        if (qEnvironmentVariableIsSet("BYEORISOL_UPDATE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write((actual.join(u"\n"_s) + u"\n"_s).toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QStringList expected = QString::fromUtf8(file.readAll()).split(u"\n"_s, Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
        // Each line of the Windows table stands for the line of the same name (the words before its colon).
        QFile windowsFile(testsupport::sourceFolder() + u"/tests/gui/texts/window-texts-windows.txt"_s);
        QVERIFY(windowsFile.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(windowsFile.readAll()).split(u"\n"_s, Qt::SkipEmptyParts)) {
            const QString name = line.section(u": "_s, 0, 0) + u": "_s;
            const auto same = std::ranges::find_if(expected, [&](const QString& e) { return e.startsWith(name); });
            QVERIFY2(line.startsWith(u'#') || same != expected.end(), qPrintable(name));
            if (!line.startsWith(u'#')) {
                *same = line;
            }
        }
#endif
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i) {
            QCOMPARE(actual[i], expected[i]);
        }
        QCOMPARE(actual.size(), expected.size());
        for (const QString& line : actual) { // no English and, off Windows, no Windows path or Windows-only advice
            const QStringList foreign = foreignOrUntrue(line);
            QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(u" "_s) + u": "_s + line));
        }
    }

    // Each window as it first opens, and on each page of its tabs, with a font a quarter larger than the desktop's.
    void everyWindowFitsItsTextsAndNamesItsControls()
    {
        const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
        QFont larger = QApplication::font();
        larger.setPointSizeF(larger.pointSizeF() * 1.25);
        QApplication::setFont(larger);
        QStringList cut, nameless;
        AllWindows all; // closed before the font is restored
        for (const auto& [name, window, dialogButtons] : all.windows()) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            auto* tabs = window->findChild<QTabWidget*>();
            for (int page = 0; page < (tabs != nullptr ? tabs->count() : 1); ++page) {
                tabs != nullptr ? tabs->setCurrentIndex(page) : void();
                QTest::qWait(20); // the layout's requests, posted as the page shows
                cut << cutTexts(name, *window);
                nameless << namelessControls(name, *window);
            }
            window->hide();
        }
        cut.removeDuplicates();
        nameless.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u"\n"_s)));
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u"\n"_s)));
    }
};

QTEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
