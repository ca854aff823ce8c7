#include "shell/gui/frmMain.h"

#include "exchange/gui/frmCompare.h"
#include "exchange/gui/frmExport.h"
#include "import/gui/frmAppend.h"
#include "maintenance/MaintenanceMessages.h"
#include "maintenance/gui/frmAbout.h"
#include "maintenance/gui/frmBackup.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;
using maintenance::Message;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::control;

namespace {

// A shown window with scripted dialogs and a desktop that refuses every "Open" it records.
template <typename Window> struct Shown
{
    testsupport::ScriptedDialogs dialogs;
    Window window;
    QStringList opened;
    explicit Shown(const QString& programFolder) : window(dialogs, programFolder)
    {
        window.setShellOpen([this](const QString& path) {
            opened << path;
            return false;
        });
        window.show();
    }
    QString messageOf(const QString& name)
    {
        dialogs.queueAnswer(MessageAnswer::Ok);
        QTest::mouseClick(testsupport::control(window, name), Qt::LeftButton);
        return dialogs.allAnswersUsed() ? dialogs.messages().last().text : QString();
    }
};

} // namespace

class frmMainTest : public QObject
{
    Q_OBJECT

private slots:
    // Each button opens its window modally over the window clicked, with the main window's icon, until the
    // window's own close button closes it. The text format help opens from the import window.
    void eachButtonOpensItsWindowModally()
    {
        const QString folder = u"/nonexistent/manager"_s;
        const char* const cases[][3] = {
            {"Command3", "frmHolyEdit", "Command1"}, {"Command4", "frmAppend", "Command1"},
            {"Command6", "frmBackup", "Command1"},   {"Command9", "frmExport", "Command4"},
            {"Command2", "frmAbout", "Command1"},    {"Command5", "frmAppendForm", "Command3"},
            {"Command10", "frmCompare", "Command4"}, {"Command11", "frmInspect", "Command6"}};
        for (const auto& [button, window, closeButton] : cases) {
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain main(dialogs, folder);
            QPixmap red(16, 16);
            red.fill(Qt::red);
            main.setWindowIcon(QIcon(red));
            std::unique_ptr<importer::frmAppend> import;
            if (QByteArray(window) == "frmAppendForm") {
                import = std::make_unique<importer::frmAppend>(dialogs, folder, &main);
            }
            QWidget& opener = import ? *import : static_cast<QWidget&>(main);
            opener.show();
            QString seen;
            const QString close = QString::fromLatin1(closeButton);
            QTimer::singleShot(0, &main, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    seen = QString::fromLatin1(modal->metaObject()->className()).section(u"::"_s, -1);
                    seen += modal->parentWidget() == &opener ? u" over its opener"_s : QString();
                    const QRgb icon = modal->windowIcon().pixmap(16, 16).toImage().pixel(8, 8);
                    seen += icon == QColor(Qt::red).rgb() ? u" with the icon"_s : QString();
                    testsupport::click(*modal, close);
                    seen += modal->isVisible() ? u", not closed by its button"_s : QString();
                    modal->close();
                }
            });
            testsupport::click(opener, QString::fromLatin1(button));
            QCOMPARE(seen, QString::fromLatin1(window) + u" over its opener with the icon"_s);
            QVERIFY(opener.findChildren<QDialog*>().isEmpty());
            QVERIFY(dialogs.messages().isEmpty());
        }
    }

    void exitEndsTheEventLoop()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, u"/nonexistent/manager"_s);
        window.show();
        QTimer::singleShot(0, &window, [&] { testsupport::click(window, u"Command1"_s); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // Each command on a version, a damaged one or none: the boxes it shows (the busy pointer gone), and whether
    // the file is still there as it was. A compaction removes an old scratch database.
    void eachMaintenanceCommandShowsItsOutcome()
    {
        using M = maintenance::MaintenanceMessages;
        const auto failed = [](int number) { return M::repairFailed(number, versiondb::errorDescription(number)); };
        const QString my = u"my.dat"_s;
        const Message askRepair{platform::MessageIcon::Question, M::repairConfirmation(my)};
        const Message askCompact{platform::MessageIcon::Question, M::compactConfirmation(my)};
        const Message askDelete{platform::MessageIcon::Question, M::deleteConfirmation(my)};
        using enum MessageAnswer;
        // The command; the file chosen (none: the dialog is cancelled), a version ('v'), damaged ('d') or missing
        // ('-'); the answer to the question; the boxes shown; whether the file is kept.
        const std::tuple<QString, QString, char, MessageAnswer, QList<Message>, bool> cases[] = {
            // clang-format off
            {u"Command5"_s, QString(), 'v', Yes, {}, true},
            {u"Command5"_s, my, 'v', No, {askRepair}, true},
            {u"Command5"_s, my, 'd', Yes, {askRepair, failed(versiondb::errorNumber::UnrecognizedFormat),
                                           failed(versiondb::errorNumber::DatabaseDamaged)}, true},
            {u"Command7"_s, my, 'v', Yes, {askCompact, M::compactSucceeded(my)}, true},
            {u"Command7"_s, my, 'd', Yes, {askCompact, M::compactFailed()}, true},
            {u"Command8"_s, my, 'v', No, {askDelete}, true},
            {u"Command8"_s, my, 'd', Yes, {askDelete, M::deleted(my)}, false},
            {u"Command8"_s, u"KJV.DAT"_s, 'v', Yes, {M::shippedFileRefused(u"KJV.DAT"_s)}, true},
            {u"Command8"_s, my, '-', Yes, {askDelete, M::deleteFailed(M::fileNotFound())}, false},
            // clang-format on
        };
        for (const auto& [command, chosen, kind, answer, boxes, kept] : cases) {
            testsupport::InstallTree tree;
            const QString name = chosen.isEmpty() ? my : chosen;
            const QString file = tree.path(name);
            if (kind == 'v') {
                tree.makeVersion(name, 400, testsupport::Texts::Most);
                testsupport::churn(file);
            } else if (kind == 'd') {
                testsupport::write(file, QByteArray("창 1:1 태초에\r\n").repeated(300));
            }
            const auto records = kind == 'v' ? testsupport::storedRecords(file) : QList<testsupport::StoredRecord>();
            const QByteArray bytes = testsupport::bytes(file);
            testsupport::write(tree.scratchPath(), "old");
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain window(dialogs, tree.programFolder());
            dialogs.queueFiles(chosen.isEmpty() ? QStringList() : QStringList{file});
            for (MessageAnswer queued : {answer, Ok, Ok, Ok}) {
                dialogs.queueAnswer(queued);
            }
            testsupport::click(window, command);
            QList<Message> shown;
            for (const auto& box : dialogs.messages()) {
                shown << Message{box.icon, box.text};
            }
            QCOMPARE(shown, boxes);
            QCOMPARE(window.dialogCancelled(), chosen.isEmpty());
            QVERIFY(!dialogs.busyAtMessages().contains(true));
            QCOMPARE(QApplication::overrideCursor(), nullptr);
            QCOMPARE(tree.installEntries(), kept ? QStringList{name} : QStringList());
            QVERIFY(!kept ||
                    (kind == 'v' ? testsupport::storedRecords(file) == records : testsupport::bytes(file) == bytes));
            QCOMPARE(tree.programEntries().isEmpty(), command == u"Command7"_s);
        }
    }

    // The backup list names the normal .dat files of the install folder in name order, as read at loading.
    void backupListsTheVersionFilesAndOpensTheirFolder()
    {
        testsupport::InstallTree tree;
        for (const char* name : {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "b.dat.bak"}) {
            tree.writeFile(QString::fromUtf8(name), {});
        }
        QDir(tree.installFolder()).mkdir(u"x.dat"_s);
        Shown<maintenance::frmBackup> shown(tree.programFolder());
        tree.writeFile(u"new.dat"_s, {});
        const QString sep = tree.installFolder() + QDir::separator();
        QCOMPARE(shown.messageOf(u"Command3"_s), u"☞ 백업파일 목록\r\n\r\n"_s + sep + "KJV.DAT\r\n" + sep +
                                                     "user.dat\r\n" + sep + "Zeta.Dat\r\n" + sep +
                                                     u"개역.DAT\r\n\r\n(만약 개역.dat, kjv.dat 역본을 수정하지 "
                                                     u"않았다면 백업할 필요는 없습니다)"_s);
        QCOMPARE(shown.dialogs.messages().last().icon, platform::MessageIcon::Information);
        QCOMPARE(shown.messageOf(u"Command2"_s), platform::notOpenedMessage(tree.installFolder()));
        QCOMPARE(shown.opened, QStringList{tree.installFolder()});
        QVERIFY(Shown<maintenance::frmBackup>(tree.programFolder()).messageOf(u"Command3"_s).contains(u"new.dat"_s));
    }

    // The third number shown is the version's fourth field.
    void aboutShowsTheFourthVersionFieldThirdAndOpensTheWebSite()
    {
        QCOMPARE(maintenance::frmAbout::versionLine({2, 5, 7, 9}), u"버전 2.5.9"_s);
        Shown<maintenance::frmAbout> shown(u"/nonexistent/manager"_s);
        const QString address = u"https://byeorisol.example.org"_s;
        QCOMPARE(shown.messageOf(u"Label3"_s), platform::notOpenedMessage(address));
        QCOMPARE(shown.opened, QStringList{address});
    }

    // Missing choices, a file that is no version (the engine's own text, without an icon) and texts the encoding
    // cannot hold are refused. Text files go in the encoding chosen; an IMP, OSIS, Zefania or VPL file is UTF-8
    // whatever was chosen, the choice for text files coming back with them.
    void exportWritesTheChosenFormatOrSaysWhyNot()
    {
        testsupport::InstallTree tree({u"null.mdb"_s});
        testsupport::ScriptedDialogs dialogs;
        exchange::frmExport window(dialogs, tree.programFolder());
        const QString out = tree.path(u"out"_s);
        auto* encoding = control<QComboBox>(window, u"Combo1"_s);
        // The one message an export shows, the busy pointer gone.
        const auto exportOf = [&](const QString& version, const QString& folder) {
            control<QLineEdit>(window, u"Text1"_s)->setText(version);
            control<QLineEdit>(window, u"Text2"_s)->setText(folder);
            dialogs.clear();
            dialogs.queueAnswer(MessageAnswer::Ok);
            testsupport::click(window, u"Command3"_s);
            return dialogs.messages().size() == 1 && !dialogs.messages()[0].busyPointer
                       ? dialogs.messages()[0]
                       : testsupport::ScriptedDialogs::Shown{};
        };
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        const QString version = tree.makeVersion(u"sample.dat"_s, verses);
        QCOMPARE(exportOf(QString(), out).text, u"내보낼 역본파일을 선택하여 주십시오 !"_s);
        QCOMPARE(exportOf(version, QString()).text, u"내보낼 폴더를 선택하여 주십시오 !"_s);
        const auto engine = exportOf(tree.writeFile(u"plain.dat"_s, "not a database"), out);
        QCOMPARE(engine.icon, MessageIcon::None);
        QVERIFY(engine.text.startsWith(u"plain.dat\r\n\r\n"_s) && engine.text.size() > 13);
        verses[3].text = u"빛이 있으라—"_s;
        const auto unencodable = exportOf(tree.makeVersion(u"dash.dat"_s, verses), out);
        QCOMPARE(unencodable.icon, MessageIcon::Exclamation);
        QVERIFY(unencodable.text.startsWith(u"dash.dat\r\n\r\n'창 1:10' "_s));
        QVERIFY(!QFileInfo::exists(out));
        const QString exported = u"sample.dat\r\n\r\n5개 구절을 내보냈습니다.\r\n"_s;
        encoding->setCurrentIndex(1);
        const auto shown = exportOf(version, out);
        QCOMPARE(shown.text, exported + out);
        QCOMPARE(shown.icon, MessageIcon::Information);
        QVERIFY(testsupport::bytes(out + u"/01-창.txt"_s).startsWith("\xEF\xBB\xBF\xEC\xB0\xBD 1:1 "));
        encoding->setCurrentIndex(0);
        // Each format but the text files: a file named after the version, in UTF-8 whatever was chosen.
        const char* const files[][3] = {{"Option2", "sample.imp", "$$$Gen 1:1\n"},
                                        {"Option3", "sample.osis.xml", "<?xml "},
                                        {"Option4", "sample.xml", "<?xml "},
                                        {"Option5", "sample.vpl", "Gen 1:1 "}};
        for (const auto& [option, file, start] : files) {
            control<QRadioButton>(window, QString::fromLatin1(option))->setChecked(true);
            QVERIFY(!encoding->isEnabled() && encoding->currentIndex() == 1);
            QCOMPARE(exportOf(version, out).text, exported + out + QDir::separator() + QString::fromLatin1(file));
            QVERIFY(testsupport::bytes(out + u'/' + QString::fromLatin1(file)).startsWith(start));
        }
        control<QRadioButton>(window, u"Option1"_s)->setChecked(true);
        QCOMPARE(encoding->currentIndex(), 0);
    }

    // Both files are asked for and one that is missing is named. The differing verses are listed with their counts,
    // the first selected; the arrow keys show each one's words, removed ones struck through, added ones underlined.
    void compareListsTheDifferingVersesAndShowsTheWordsOfTheOneSelected()
    {
        testsupport::InstallTree tree;
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        const QString a = tree.makeVersion(u"a.dat"_s, verses);
        verses[0].text = u"태초에 하느님이 천지를 창조하시니라"_s;
        verses[4].text = QVariant();
        const QString b = tree.makeVersion(u"b.dat"_s, verses);
        testsupport::ScriptedDialogs dialogs;
        exchange::frmCompare window(dialogs, tree.programFolder());
        window.show();
        auto* list = control<QListWidget>(window, u"List1"_s);
        auto* view = control<QTextBrowser>(window, u"Text3"_s);
        const auto label = [&] { return control<QLabel>(window, u"Label3"_s)->text(); };
        // The words the view shows struck through (-) or underlined (+).
        const auto marked = [view] {
            QStringList words;
            for (const auto& m :
                 QRegularExpression(u"(line-through|underline)[^>]*>([^<]*)<"_s).globalMatch(view->toHtml())) {
                words << (m.captured(1) == u"underline"_s ? u"+"_s : u"-"_s) + m.captured(2);
            }
            return words;
        };
        const auto choose = [&](const char* button, const QString& file) {
            dialogs.queueFiles({file});
            testsupport::click(window, QString::fromLatin1(button));
        };
        dialogs.queueAnswer(MessageAnswer::Ok);
        testsupport::click(window, u"Command3"_s);
        choose("Command1", tree.path(u"none.dat"_s));
        choose("Command2", b);
        dialogs.queueAnswer(MessageAnswer::Ok);
        testsupport::click(window, u"Command3"_s);
        choose("Command1", a);
        testsupport::click(window, u"Command3"_s);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(label(), u"다른 구절 2개 (본문이 다름 1, B에 본문 없음 1)"_s);
        QCOMPARE(list->item(1)->text(), u"출 1:1  B에 본문 없음"_s);
        QVERIFY(view->toPlainText().startsWith(u"창 1:1"_s));
        QCOMPARE(marked(), (QStringList{u"-하나님이"_s, u"+하느님이"_s}));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(marked(), QStringList{u"-야곱과 함께 각기 권속을 데리고 애굽에 이른"_s});
        control<QLineEdit>(window, u"Text2"_s)->setText(a);
        testsupport::click(window, u"Command3"_s);
        QCOMPARE(label(), u"두 역본의 본문이 같습니다."_s);
        QCOMPARE(list->count() + view->toPlainText().size(), 0);
        QCOMPARE(dialogs.messages().value(0).text + u'|' + dialogs.messages().value(1).text,
                 u"비교할 역본파일 A를 선택하여 주십시오 !|none.dat\r\n\r\n"_s +
                     versiondb::errorDescription(versiondb::errorNumber::FileNotFound));
        QVERIFY(!dialogs.busyAtMessages().contains(true) && dialogs.allAnswersUsed() && dialogs.messages().size() == 2);
    }

    // From the main window: no version is refused; the findings by kind with their counts, the first selected and its
    // excerpt shown; the decomposed text composed after the question, inspected again; Enter on a finding opens the
    // verse editor on that version at that verse.
    void inspectListsFindingsComposesAndOpensTheVerseInTheEditor()
    {
        testsupport::InstallTree tree;
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        verses[1].text = u"\u1112\u1161\u11AB\u1100\u1173\u11AF  \uBCF8\uBB38"_s; // decomposed, doubled space
        verses[2].text = u"빛이 있으라"_s;
        const QString file = tree.makeVersion(u"a.dat"_s, verses);
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain main(dialogs, tree.programFolder());
        main.show();
        QStringList seen;
        QTimer::singleShot(0, &main, [&] {
            QWidget& window = *QApplication::activeModalWidget();
            auto* list = control<QTreeWidget>(window, u"List1"_s);
            const auto state = [&] {
                QStringList lines = {control<QLabel>(window, u"Label3"_s)->text()};
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    lines << list->topLevelItem(i)->text(0) + u": "_s + list->topLevelItem(i)->child(0)->text(0);
                }
                lines << control<QTextBrowser>(window, u"Text3"_s)->toPlainText().section(u'\n', 0, 0).simplified();
                return lines.join(u" | "_s) +
                       (control<QPushButton>(window, u"Command4"_s)->isEnabled() ? u" +"_s : u""_s);
            };
            dialogs.queueAnswer(MessageAnswer::Ok);
            testsupport::click(window, u"Command3"_s);
            dialogs.queueFiles({file});
            testsupport::click(window, u"Command1"_s);
            testsupport::click(window, u"Command3"_s);
            seen << state();
            dialogs.queueAnswer(MessageAnswer::Yes);
            dialogs.queueAnswer(MessageAnswer::Ok);
            testsupport::click(window, u"Command4"_s);
            seen << state();
            QTimer::singleShot(0, &main, [&] {
                QWidget* editor = QApplication::activeModalWidget();
                seen << QString::fromLatin1(editor->metaObject()->className()) + u' ' + editor->windowTitle() + u' ' +
                            control<QLineEdit>(*editor, u"Text2"_s)->text();
                editor->close();
            });
            QTest::keyClick(list, Qt::Key_Return);
            seen << state();
            window.close();
        });
        testsupport::click(main, u"Command11"_s);
        QCOMPARE(seen, (QStringList{
                           u"찾은 곳 2군데 (풀어쓴 한글(자모) 1, 겹친 공백 1) | 풀어쓴 한글(자모) (1): 창 1:2  "
                           u"\u1112\u1161\u11AB\u1100\u1173\u11AF  \uBCF8\uBB38 | 겹친 공백 (1): 창 1:2  "
                           u"\u1112\u1161\u11AB\u1100\u1173\u11AF  \uBCF8\uBB38 | 창 1:2 풀어쓴 한글(자모) +"_s,
                           u"찾은 곳 1군데 (겹친 공백 1) | 겹친 공백 (1): 창 1:2  한글  본문 | 창 1:2 겹친 공백"_s,
                           u"editor::frmHolyEdit a.dat 창 1:2"_s,
                           u"찾은 곳 1군데 (겹친 공백 1) | 겹친 공백 (1): 창 1:2  한글  본문 | 창 1:2 겹친 공백"_s}));
        QCOMPARE(dialogs.messages().size(), 3);
        QCOMPARE(dialogs.messages()[1].text,
                 u"풀어쓴 한글(자모)이 있는 본문 1개를 완성형 한글로 조합하여 저장하시겠습니까?\r\n"
                 u"한 번의 변경으로 기록되므로 한꺼번에 되돌릴 수 있습니다."_s);
        QVERIFY(!dialogs.busyAtMessages().contains(true) && dialogs.allAnswersUsed());
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
