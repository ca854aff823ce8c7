#include "exchange/gui/frmExport.h"

#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::click;
using testsupport::control;

namespace {

// The export window over an install tree holding the sample version; out is the folder to export into.
struct Session
{
    testsupport::InstallTree tree{{u"null.mdb"_s}};
    testsupport::ScriptedDialogs dialogs;
    exchange::frmExport window{dialogs, tree.programFolder()};
    QString out = tree.path(u"out"_s);
    QLineEdit* text1() { return control<QLineEdit>(window, "Text1"); }
    QLineEdit* text2() { return control<QLineEdit>(window, "Text2"); }
    QComboBox* encoding() { return control<QComboBox>(window, "Combo1"); }
    // The one message an export of the version into the folder shows.
    testsupport::ScriptedDialogs::Shown exportOf(const QString& version, const QString& folder)
    {
        text1()->setText(version);
        text2()->setText(folder);
        dialogs.clear();
        dialogs.queueAnswer(MessageAnswer::Ok);
        click(window, "Command3");
        return dialogs.messages().size() == 1 && !dialogs.messages()[0].busyPointer
                   ? dialogs.messages()[0]
                   : testsupport::ScriptedDialogs::Shown{};
    }
};

} // namespace

class frmExportTest : public QObject
{
    Q_OBJECT

private slots:
    // Text files in the encoding chosen; an IMP file is UTF-8 whatever was chosen, the choice for text files
    // coming back with them.
    void exportsTheChosenFormatAndSaysHowManyVersesWentWhere()
    {
        Session s;
        const QString version = s.tree.makeVersion(u"sample.dat"_s, testsupport::sampleVerses());
        const auto written = [&s](const QString& name) {
            QFile file(s.out + QDir::separator() + name);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QString exported = u"sample.dat\r\n\r\n5개 구절을 내보냈습니다.\r\n"_s;
        s.encoding()->setCurrentIndex(1);
        const auto shown = s.exportOf(version, s.out);
        QCOMPARE(shown.text, exported + s.out);
        QCOMPARE(shown.icon, MessageIcon::Information);
        QVERIFY(written(u"01-창.txt"_s).startsWith("\xEF\xBB\xBF\xEC\xB0\xBD 1:1 "));
        QCOMPARE(QDir(s.out).entryList(QDir::Files).size(), 66);
        s.encoding()->setCurrentIndex(0);
        control<QRadioButton>(s.window, "Option2")->setChecked(true);
        QVERIFY(!s.encoding()->isEnabled());
        QCOMPARE(s.encoding()->currentIndex(), 1);
        QCOMPARE(s.exportOf(version, s.out).text, exported + s.out + QDir::separator() + u"sample.imp"_s);
        QVERIFY(written(u"sample.imp"_s).startsWith("$$$Gen 1:1\n"));
        control<QRadioButton>(s.window, "Option1")->setChecked(true);
        QCOMPARE(s.encoding()->currentIndex(), 0);
    }

    void missingChoicesAndUnwritableTextsAreRefused()
    {
        Session s;
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        verses[3].text = u"빛이 있으라—"_s;
        const QString version = s.tree.makeVersion(u"dash.dat"_s, verses);
        QCOMPARE(s.exportOf(QString(), s.out).text, u"내보낼 역본파일을 선택하여 주십시오 !"_s);
        QCOMPARE(s.exportOf(version, QString()).text, u"내보낼 폴더를 선택하여 주십시오 !"_s);
        const auto unencodable = s.exportOf(version, s.out);
        QCOMPARE(unencodable.icon, MessageIcon::Exclamation);
        QVERIFY(unencodable.text.startsWith(u"dash.dat\r\n\r\n'창 1:10' "_s));
        QVERIFY(unencodable.text.endsWith(u"\r\n인코딩을 UTF-8로 바꾸어 내보내십시오."_s));
        // A file that is no version: the engine's own text, without an icon.
        const auto engine = s.exportOf(s.tree.writeFile(u"plain.dat"_s, "not a database"), s.out);
        QCOMPARE(engine.icon, MessageIcon::None);
        QVERIFY(engine.text.startsWith(u"plain.dat\r\n\r\n"_s) && engine.text.size() > 13);
        QVERIFY(!QFileInfo::exists(s.out));
    }
};

QTEST_MAIN(frmExportTest)
#include "frmExportTest.moc"
