#include "shell/gui/MainWindow.h"

#include "maintenance/MaintenanceMessages.h"
#include "platform/FileErrorDescriptions.h"
#include "shell/gui/VersionListModel.h"
#include "support/Controls.h"
#include "support/DataCommand.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/VersionStore.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;
using maintenance::Message;
using platform::MessageAnswer;
using shell::VersionListModel;

namespace {

// The list's rows as "name: verses | kind".
QStringList rowsOf(const VersionListModel& versions)
{
    QStringList rows;
    for (int row = 0; row < versions.rowCount(); ++row) {
        const auto cell = [&](int column) { return versions.index(row, column).data().toString(); };
        rows << cell(VersionListModel::NameColumn) + u": "_s + cell(VersionListModel::VersesColumn) + u" | "_s +
                    cell(VersionListModel::KindColumn);
    }
    return rows;
}

bool sameFile(const QString& a, const QString& b)
{
    return !a.isEmpty() && QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

QAction* action(shell::MainWindow& window, const char* name)
{
    return testsupport::control<QAction>(window, QString::fromLatin1(name));
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // The list shows each version's counts and follows outside changes; each action opens its window on the version.
    void theListFollowsTheInstallFolderAndTheActionsOpenTheirWindowsOnTheVersionSelected()
    {
        testsupport::InstallTree tree({u"null.mdb"_s});
        tree.makeVersion(u"개역.DAT"_s, testsupport::smallReferenceVerses());
        tree.makeVersion(u"my.dat"_s, 5, testsupport::Texts::Most);
        tree.writeFile(u"broken.dat"_s, "not a version");
        tree.writeFile(u"notes.txt"_s, "x");
        tree.writeFile(u".hidden.dat"_s, "x");
        testsupport::ScriptedDialogs dialogs;
        shell::MainWindow window(dialogs, tree.programFolder());
        window.show();
        const VersionListModel& versions = window.versions();
        QTRY_VERIFY(!versions.isReading());
        QCOMPARE(rowsOf(versions), (QStringList{u"broken.dat: 읽을 수 없음 | 개인 역본"_s,
                                                u"my.dat: 4 / 5 | 개인 역본"_s, u"개역.DAT: 0 / 4 | 기본 제공"_s}));
        const auto enabled = [&](const char* name) { return action(window, name)->isEnabled(); };
        QVERIFY(!enabled("repairAction") && !enabled("deleteAction"));
        QVERIFY(window.selectVersion(u"개역.DAT"_s));
        QVERIFY(enabled("repairAction") && enabled("compactAction") && !enabled("deleteAction"));
        QVERIFY(window.selectVersion(u"my.dat"_s));
        QVERIFY(enabled("deleteAction"));
        const QString my = tree.path(u"my.dat"_s);
        const QString text = tree.textFile(u"a.txt"_s, {u"창 1:1 태초에"_s, u"출 1:1 이스라엘"_s});
        // Each action opens its window modally over the main window, on the version selected if it works on one.
        const std::pair<const char*, QString> cases[] = {
            {"editAction", u"VerseEditorDialog over the main window"_s},
            {"importAction", u"ImportDialog over the main window"_s},
            {"exportAction", u"ExportDialog over the main window, on the version"_s},
            {"compareAction", u"CompareDialog over the main window, on the version"_s},
            {"inspectAction", u"InspectDialog over the main window, on the version"_s},
            {"backupGuideAction", u"BackupGuideDialog over the main window"_s},
            {"aboutAction", u"AboutDialog over the main window"_s},
        };
        for (const auto& [name, expected] : cases) {
            QString seen;
            QTimer::singleShot(0, &window, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    seen = QString::fromLatin1(modal->metaObject()->className()).section(u"::"_s, -1);
                    seen += modal->parentWidget() == &window ? u" over the main window"_s : QString();
                    const QList<QLineEdit*> edits = modal->findChildren<QLineEdit*>(); // one on the version's path
                    seen += std::ranges::any_of(edits, [&](auto* edit) { return sameFile(edit->text(), my); })
                                ? u", on the version"_s
                                : QString();
                    modal->close();
                }
            });
            action(window, name)->trigger();
            QCOMPARE(seen, expected);
            QVERIFY(window.findChildren<QDialog*>().isEmpty());
        }
        // Files dropped on the window open the import window with them listed, but for a version file among them.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(text), QUrl::fromLocalFile(my)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(QCoreApplication::sendEvent(&window, &enter) && enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(QCoreApplication::sendEvent(&window, &drop) && drop.isAccepted());
        QStringList listed;
        // With files listed, the import window asks before it closes.
        dialogs.queueAnswer(platform::MessageAnswer::Yes);
        QTimer::singleShot(0, &window, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* list = testsupport::control<QListWidget>(*modal, u"fileList"_s);
                for (int i = 0; i < list->count(); ++i) {
                    listed << list->item(i)->text();
                }
                modal->close();
            }
        });
        QTRY_COMPARE(listed, QStringList{QDir::toNativeSeparators(text)});
        // Versions built, changed and deleted by byeorisol-data meanwhile.
        const auto data = [&](const QStringList& args) {
            return testsupport::runDataCommand(tree.programFolder(), args).exitCode;
        };
        QCOMPARE(data({u"build"_s, u"new"_s, text}), 0);
        QTRY_COMPARE(versions.rowOf(u"new.DAT"_s), 2);
        QTRY_COMPARE(versions.index(2, VersionListModel::VersesColumn).data().toString(), u"2 / 4"_s);
        QVERIFY(sameFile(window.selectedVersion(), my));
        QCOMPARE(data({u"save"_s, my, u"창 1:5"_s, u"다섯"_s}), 0);
        QTRY_COMPARE(versions.index(1, VersionListModel::VersesColumn).data().toString(), u"5 / 5"_s);
        {
            const auto held = versiondb::VersionStore::openDatabase(tree.path(u"new.DAT"_s));
            held->setText(*held->seek(u"창 1:2"_s), u"둘째"_s);
            QTRY_COMPARE(versions.index(2, VersionListModel::VersesColumn).data().toString(), u"사용 중"_s);
        }
        QCOMPARE(data({u"delete"_s, my}), 0);
        QTRY_COMPARE(versions.rowOf(u"my.dat"_s), -1);
        window.versions().refresh(); // what the list does when a window closes
        QTRY_COMPARE(rowsOf(versions),
                     (QStringList{u"broken.dat: 읽을 수 없음 | 개인 역본"_s, u"new.DAT: 3 / 4 | 개인 역본"_s,
                                  u"개역.DAT: 0 / 4 | 기본 제공"_s}));
        QTimer::singleShot(0, &window, [&] { action(window, "exitAction")->trigger(); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // Each command on a version, a damaged or a missing one: the boxes shown, whether the file is kept, the status bar.
    void eachMaintenanceCommandShowsItsOutcome()
    {
        namespace M = maintenance::MaintenanceMessages;
        const auto failed = [](int number) { return M::repairFailed(number, versiondb::errorDescription(number)); };
        const QString my = u"my.dat"_s;
        const Message askRepair{platform::MessageIcon::Question, M::repairConfirmation(my)};
        const Message askCompact{platform::MessageIcon::Question, M::compactConfirmation(my)};
        const Message askDelete{platform::MessageIcon::Question, M::deleteConfirmation(my)};
        using enum MessageAnswer;
        // The command; the file, a version ('v'), damaged ('d') or gone once selected ('-'); the answer; boxes; kept.
        const std::tuple<QString, QString, char, MessageAnswer, QList<Message>, bool> cases[] = {
            // clang-format off
            {u"onRepairTriggered"_s, my, 'v', No, {askRepair}, true},
            {u"onRepairTriggered"_s, my, 'd', Yes, {askRepair, failed(versiondb::errorNumber::UnrecognizedFormat),
                                                    failed(versiondb::errorNumber::DatabaseDamaged)}, true},
            {u"onCompactTriggered"_s, my, 'v', Yes, {askCompact, M::compactSucceeded(my)}, true},
            {u"onCompactTriggered"_s, my, 'd', Yes, {askCompact, M::compactFailed()}, true},
            {u"onDeleteTriggered"_s, my, 'v', No, {askDelete}, true},
            {u"onDeleteTriggered"_s, my, 'd', Yes, {askDelete, M::deleted(my)}, false},
            {u"onDeleteTriggered"_s, u"KJV.DAT"_s, 'v', Yes, {M::shippedFileRefused(u"KJV.DAT"_s)}, true},
            {u"onDeleteTriggered"_s, my, '-', Yes, {askDelete, M::deleteFailed(platform::FileErrorDescriptions::fileNotFound())}, false},
            // clang-format on
        };
        for (const auto& [command, name, kind, answer, boxes, kept] : cases) {
            testsupport::InstallTree tree;
            const QString file = tree.path(name);
            if (kind == 'd') {
                testsupport::write(file, QByteArray("창 1:1 태초에\r\n").repeated(300));
            } else {
                tree.makeVersion(name, 400, testsupport::Texts::Most);
                testsupport::churn(file);
            }
            const auto records = kind == 'v' ? testsupport::storedRecords(file) : QList<testsupport::StoredRecord>();
            const QByteArray bytes = testsupport::bytes(file);
            testsupport::write(tree.scratchPath(), "old");
            testsupport::ScriptedDialogs dialogs;
            shell::MainWindow window(dialogs, tree.programFolder());
            QVERIFY(window.selectVersion(name));
            QTRY_VERIFY(!window.versions().isReading()); // (Windows removes no file the list holds)
            QVERIFY(kind != '-' || QFile::remove(file));
            dialogs.queueAnswers({answer, Ok, Ok, Ok});
            QVERIFY(QMetaObject::invokeMethod(&window, command.toLatin1().constData()));
            QTRY_VERIFY(!window.versions().isReading()); // the list holds each version for a moment as it reads it
            QList<Message> shown;
            std::ranges::transform(dialogs.messages(), std::back_inserter(shown), [](const auto& box) {
                return Message{box.icon, box.text};
            });
            QCOMPARE(shown, boxes);
            // Only the question before a deletion, which cannot be taken back, answers 아니요 to Enter.
            QCOMPARE(dialogs.messages().first().buttons == platform::MessageButtons::YesNoDefaultNo,
                     boxes.first() == askDelete);
            QVERIFY(!dialogs.busyAtAnyMessage());
            QCOMPARE(QApplication::overrideCursor(), nullptr);
            QCOMPARE(tree.installEntries(), kept ? QStringList{name} : QStringList());
            QVERIFY(!kept ||
                    (kind == 'v' ? testsupport::storedRecords(file) == records : testsupport::bytes(file) == bytes));
            QCOMPARE(tree.programEntries().isEmpty(), command == u"onCompactTriggered"_s);
            const QString last = boxes.size() > 1 ? boxes.last().text : QString();
            QCOMPARE(window.statusBar()->currentMessage(), QString(last).replace(u"\r\n"_s, u" "_s));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
