#include "exchange/gui/ExportDialog.h"
#include "platform/ProgramFolders.h"
#include "review/gui/CompareDialog.h"
#include "review/gui/InspectDialog.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::control;

class ExchangeDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // Missing choices, a non-version, unencodable texts are refused; text files take the encoding chosen, others UTF-8.
    void exportWritesTheChosenFormatOrSaysWhyNot()
    {
        testsupport::InstallTree tree({u"null.mdb"_s});
        testsupport::ScriptedDialogs dialogs;
        exchange::ExportDialog window(dialogs, tree.programFolder());
        const QString out = tree.path(u"out"_s);
        auto* encoding = control<QComboBox>(window, u"encodingCombo"_s);
        encoding->setCurrentIndex(0);
        // The one message an export shows, the busy pointer gone.
        const auto exportOf = [&](const QString& version, const QString& folder) {
            window.setVersion(version);
            control<QLineEdit>(window, u"folderEdit"_s)->setText(folder);
            dialogs.clear();
            dialogs.queueAnswer(MessageAnswer::Ok);
            testsupport::click(window, u"exportButton"_s);
            return dialogs.messages().size() == 1 && !dialogs.messages()[0].busyPointer
                       ? dialogs.messages()[0]
                       : testsupport::ScriptedDialogs::Shown{};
        };
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        const QString version = tree.makeVersion(u"sample.dat"_s, verses);
        QCOMPARE(exportOf(QString(), out).text, u"내보낼 역본파일을 선택하여 주십시오 !"_s);
        QCOMPARE(exportOf(version, QString()).text, u"내보낼 폴더를 선택하여 주십시오 !"_s);
        const auto engine = exportOf(tree.writeFile(u"plain.dat"_s, "not a database"), out);
        QVERIFY(engine.icon == MessageIcon::None && engine.text.startsWith(u"plain.dat\r\n\r\n"_s) &&
                engine.text.size() > 13);
        verses[3].text = u"빛이 있으라—"_s;
        const auto unencodable = exportOf(tree.makeVersion(u"dash.dat"_s, verses), out);
        QVERIFY(unencodable.icon == MessageIcon::Exclamation &&
                unencodable.text.startsWith(u"dash.dat\r\n\r\n'창 1:10' "_s));
        QVERIFY(!QFileInfo::exists(out));
        const QString exported = u"sample.dat\r\n\r\n5개 구절을 내보냈습니다.\r\n"_s;
        encoding->setCurrentIndex(1);
        const auto shown = exportOf(version, out);
        QVERIFY(shown.icon == MessageIcon::Information && shown.text == exported + out);
        QVERIFY(testsupport::bytes(out + u"/01-창.txt"_s).startsWith("\xEF\xBB\xBF\xEC\xB0\xBD 1:1 "));
        encoding->setCurrentIndex(0);
        // Each format but the text files: a file named after the version, in UTF-8 whatever was chosen.
        const char* const files[][3] = {{"impRadio", "sample.imp", "$$$Gen 1:1\n"},
                                        {"osisRadio", "sample.osis.xml", "<?xml "},
                                        {"zefaniaRadio", "sample.xml", "<?xml "},
                                        {"vplRadio", "sample.vpl", "Gen 1:1 "}};
        for (const auto& [radio, file, start] : files) {
            control<QRadioButton>(window, QString::fromLatin1(radio))->setChecked(true);
            QVERIFY(!encoding->isEnabled() && encoding->currentIndex() == 1);
            QCOMPARE(exportOf(version, out).text, exported + out + QDir::separator() + QString::fromLatin1(file));
            QVERIFY(testsupport::bytes(out + u'/' + QString::fromLatin1(file)).startsWith(start));
        }
        control<QRadioButton>(window, u"textFilesRadio"_s)->setChecked(true);
        QCOMPARE(encoding->currentIndex(), 0);
    }

    // Both files are asked for; the differing verses are listed and each one's words shown, struck out or underlined.
    void compareListsTheDifferingVersesAndShowsTheWordsOfTheOneSelected()
    {
        testsupport::InstallTree tree;
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        const QString a = tree.makeVersion(u"a.dat"_s, verses);
        verses[0].text = u"태초에 하느님이 천지를 창조하시니라"_s;
        verses[4].text = QVariant();
        const QString b = tree.makeVersion(u"b.dat"_s, verses);
        testsupport::ScriptedDialogs dialogs;
        review::CompareDialog window(dialogs, tree.programFolder());
        window.show();
        auto* list = control<QListWidget>(window, u"verseList"_s);
        auto* view = control<QTextBrowser>(window, u"differenceView"_s);
        const auto label = [&] { return control<QLabel>(window, u"summaryLabel"_s)->text(); };
        // The words the view shows struck through (-) or underlined (+).
        const auto marked = [view] {
            QStringList words;
            for (const auto& m :
                 QRegularExpression(u"(line-through|underline)[^>]*>([^<]*)<"_s).globalMatch(view->toHtml())) {
                words << (m.captured(1) == u"underline"_s ? u"+"_s : u"-"_s) + m.captured(2);
            }
            return words;
        };
        dialogs.queueAnswer(MessageAnswer::Ok);
        testsupport::click(window, u"compareButton"_s);
        dialogs.queueFiles({tree.path(u"none.dat"_s)});
        testsupport::click(window, u"versionABrowseButton"_s);
        dialogs.queueFiles({b});
        testsupport::click(window, u"versionBBrowseButton"_s);
        // The first dialog starts in the install folder, the next in the folder of the version chosen before.
        QCOMPARE(dialogs.fileRequests().value(0).folder + u'|' + dialogs.fileRequests().value(1).folder,
                 platform::installFolder(tree.programFolder()) + u'|' + tree.installFolder());
        dialogs.queueAnswer(MessageAnswer::Ok);
        testsupport::click(window, u"compareButton"_s);
        window.setVersion(a);
        testsupport::click(window, u"compareButton"_s);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(label(), u"다른 구절 2개 (본문이 다름 1, B에 본문 없음 1)"_s);
        QCOMPARE(list->item(1)->text(), u"출 1:1  B에 본문 없음"_s);
        QVERIFY(view->toPlainText().startsWith(u"창 1:1"_s));
        QCOMPARE(marked(), (QStringList{u"-하나님이"_s, u"+하느님이"_s}));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(marked(), QStringList{u"-야곱과 함께 각기 권속을 데리고 애굽에 이른"_s});
        control<QLineEdit>(window, u"versionBEdit"_s)->setText(a);
        testsupport::click(window, u"compareButton"_s);
        QCOMPARE(label(), u"두 역본의 본문이 같습니다."_s);
        QCOMPARE(list->count() + view->toPlainText().size(), 0);
        QCOMPARE(dialogs.messages().value(0).text + u'|' + dialogs.messages().value(1).text,
                 u"비교할 역본파일 A를 선택하여 주십시오 !|none.dat\r\n\r\n"_s +
                     versiondb::errorDescription(versiondb::errorNumber::FileNotFound));
        QVERIFY(!dialogs.busyAtAnyMessage() && dialogs.allAnswersUsed() && dialogs.messages().size() == 2);
    }

    // The findings are listed by kind; decomposed text is composed after the question; Enter opens the verse editor.
    void inspectListsFindingsComposesAndOpensTheVerse()
    {
        testsupport::InstallTree tree;
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        verses[1].text = u"\u1112\u1161\u11AB\u1100\u1173\u11AF  \uBCF8\uBB38"_s; // decomposed, doubled space
        verses[2].text = u"빛이 있으라"_s;
        const QString file = tree.makeVersion(u"a.dat"_s, verses);
        testsupport::ScriptedDialogs dialogs;
        QStringList opened;
        review::InspectDialog window(dialogs, tree.programFolder(),
                                     [&](const QString& path, const QString& verse) { opened << path + u' ' + verse; });
        window.show();
        auto* list = control<QTreeWidget>(window, u"findingTree"_s);
        const auto state = [&] {
            QStringList lines = {control<QLabel>(window, u"summaryLabel"_s)->text()};
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                lines << list->topLevelItem(i)->text(0) + u": "_s + list->topLevelItem(i)->child(0)->text(0);
            }
            lines << control<QTextBrowser>(window, u"findingView"_s)->toPlainText().section(u'\n', 0, 0).simplified();
            return lines.join(u" | "_s) +
                   (control<QPushButton>(window, u"composeButton"_s)->isEnabled() ? u" +"_s : u""_s);
        };
        QStringList seen;
        dialogs.queueAnswer(MessageAnswer::Ok);
        testsupport::click(window, u"inspectButton"_s);
        dialogs.queueFiles({file});
        testsupport::click(window, u"versionBrowseButton"_s);
        testsupport::click(window, u"inspectButton"_s);
        seen << state();
        dialogs.queueAnswers({MessageAnswer::Yes, MessageAnswer::Ok});
        testsupport::click(window, u"composeButton"_s);
        QTest::keyClick(list, Qt::Key_Return);
        seen << state();
        QCOMPARE(seen, (QStringList{
                           u"찾은 곳 2군데 (풀어쓴 한글(자모) 1, 겹친 공백 1) | 풀어쓴 한글(자모) (1): 창 1:2  "
                           u"\u1112\u1161\u11AB\u1100\u1173\u11AF  \uBCF8\uBB38 | 겹친 공백 (1): 창 1:2  "
                           u"\u1112\u1161\u11AB\u1100\u1173\u11AF  \uBCF8\uBB38 | 창 1:2 풀어쓴 한글(자모) +"_s,
                           u"찾은 곳 1군데 (겹친 공백 1) | 겹친 공백 (1): 창 1:2  한글  본문 | 창 1:2 겹친 공백"_s}));
        QCOMPARE(opened, QStringList{file + u" 창 1:2"_s});
        QCOMPARE(dialogs.messages().value(1).text,
                 u"풀어쓴 한글(자모)이 있는 본문 1개를 완성형 한글로 조합하여 저장하시겠습니까?\r\n"
                 u"한 번의 변경으로 기록되므로 한꺼번에 되돌릴 수 있습니다."_s);
        QVERIFY(!dialogs.busyAtAnyMessage() && dialogs.allAnswersUsed() && dialogs.messages().size() == 3);
    }

    // An export asks before replacing a file; each window's run leaves only its cancel button usable, which stops it.
    void runsAskBeforeReplacingAndStopAtCancel()
    {
        testsupport::InstallTree tree;
        const QString version = tree.makeVersion(u"whole.dat"_s, testsupport::wholeBible());
        testsupport::ScriptedDialogs dialogs;
        exchange::ExportDialog exporter(dialogs, tree.programFolder());
        review::CompareDialog comparer(dialogs, tree.programFolder());
        review::InspectDialog inspector(dialogs, tree.programFolder(), {});
        for (platform::RunDialog* window :
             std::initializer_list<platform::RunDialog*>{&exporter, &comparer, &inspector}) {
            window->show();
            window->setVersion(version);
        }
        // Starts the run; once it can be cancelled, tries to close the window, notes what is usable and cancels.
        QStringList usable;
        const auto runAndCancel = [&usable](QDialog& window, const QString& start) {
            const testsupport::WhenUsable cancel(control<QPushButton>(window, u"cancelButton"_s), [&usable, &window] {
                window.reject();
                for (auto* button : window.findChildren<QPushButton*>()) {
                    if (button->isEnabled() && button->isVisibleTo(&window)) {
                        usable << button->objectName();
                    }
                }
                testsupport::click(window, u"cancelButton"_s);
            });
            testsupport::click(window, start);
        };
        const QString out = tree.beside(u"out"_s);
        const QString file = QDir::toNativeSeparators(out + u"/whole.vpl"_s);
        control<QLineEdit>(exporter, u"folderEdit"_s)->setText(out);
        control<QRadioButton>(exporter, u"vplRadio"_s)->setChecked(true);
        QVERIFY(QDir().mkpath(out));
        testsupport::write(file, "earlier");
        dialogs.queueAnswer(MessageAnswer::No);
        testsupport::click(exporter, u"exportButton"_s);
        dialogs.queueAnswers({MessageAnswer::Yes, MessageAnswer::Ok});
        runAndCancel(exporter, u"exportButton"_s);
        QCOMPARE(testsupport::bytes(file), QByteArray("earlier"));
        QVERIFY(dialogs.messages().size() == 3 &&
                dialogs.messages()[0].buttons == platform::MessageButtons::YesNoDefaultNo);
        QCOMPARE(dialogs.messages()[0].text, u"'"_s + file + u"' 파일이 이미 있습니다.\r\n바꾸어 쓰시겠습니까?"_s);
        QCOMPARE(dialogs.messages()[2].text,
                 u"whole.dat\r\n\r\n내보내기를 취소했습니다. 아무 파일도 쓰거나 바꾸지 않았습니다."_s);

        control<QLineEdit>(comparer, u"versionBEdit"_s)->setText(version);
        runAndCancel(comparer, u"compareButton"_s);
        runAndCancel(inspector, u"inspectButton"_s);
        QCOMPARE(control<QLabel>(comparer, u"summaryLabel"_s)->text() + u'|' +
                     control<QLabel>(inspector, u"summaryLabel"_s)->text(),
                 u"비교를 취소했습니다.|점검을 취소했습니다."_s);
        QCOMPARE(usable, (QStringList{u"cancelButton"_s, u"cancelButton"_s, u"cancelButton"_s}));
        QVERIFY(exporter.isVisible() && comparer.isVisible() && inspector.isVisible());
        QVERIFY(control<QPushButton>(inspector, u"inspectButton"_s)->isEnabled() && dialogs.allAnswersUsed());
    }
};

QTEST_MAIN(ExchangeDialogsTest)
#include "ExchangeDialogsTest.moc"
