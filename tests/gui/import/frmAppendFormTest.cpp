#include "import/gui/frmAppendForm.h"

#include "import/ParseImportLine.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using importer::frmAppendForm;
using importer::LineOutcome;

namespace {

QPlainTextEdit* box(QWidget& window, const char* name)
{
    return window.findChild<QPlainTextEdit*>(QString::fromLatin1(name));
}

QStringList lines(const QString& text)
{
    return text.split(QStringLiteral("\r\n"));
}

// Every reference counts as present: only the form of a line is judged.
importer::ParsedLine parse(const QString& line)
{
    return importer::ParseImportLine(line, [](const QString&) { return true; });
}

} // namespace

class frmAppendFormTest : public QObject
{
    Q_OBJECT

private slots:
    void sampleIsGenesisOneOneToEleven()
    {
        const QStringList text = lines(frmAppendForm::sampleText());
        QCOMPARE(text.size(), 15);
        QCOMPARE(text[0], QStringLiteral("창 1:1 In the beginning God created the heaven and the earth ."));
        QCOMPARE(text[1], QStringLiteral("창 1:2 And the earth  was  without form , and void ; and darkness  was upon "
                                         "the face  of the deep . And the Spirit  of God  moved  upon  the face  of "
                                         "the waters ."));
        for (int verse = 1; verse <= 11; ++verse) {
            const auto parsed = parse(text[verse - 1]);
            QCOMPARE(parsed.outcome, LineOutcome::Accepted);
            QCOMPARE(parsed.reference, QStringLiteral("창 1:%1").arg(verse));
            QVERIFY(text[verse - 1].endsWith(QStringLiteral(" ."))); // spaced as such files come
        }
        QCOMPARE(text.mid(11), (QStringList{QStringLiteral("......."), QString(), QString(),
                                            QStringLiteral("<위와 같은 형식으로 편집하시면 오류 없이 쉽게 성경을 "
                                                           "변환시킬 수 있습니다>")}));
    }

    void boxesUseTheKoreanFontAndOnlyTheSampleScrollsSideways()
    {
        const QFont font = frmAppendForm::textFont();
        QCOMPARE(font.pointSizeF(), 9.75);
        const QStringList korean = QFontDatabase::families(QFontDatabase::Korean);
        if (korean.contains(QStringLiteral("굴림"))) {
            QCOMPARE(font.family(), QStringLiteral("굴림"));
        } else if (!korean.isEmpty()) {
            QVERIFY2(korean.contains(font.family()), qPrintable(font.family()));
            QVERIFY(!font.family().contains(QStringLiteral("Myeongjo")));
        }
        frmAppendForm window;
        for (const char* name : {"Text1", "Text2", "Text3"}) {
            QCOMPARE(box(window, name)->font().family(), font.family());
            QCOMPARE(box(window, name)->font().pointSizeF(), 9.75);
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPlainTextEdit* text1 = box(window, "Text1");
        QPlainTextEdit* text3 = box(window, "Text3");
        QCOMPARE(text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box(window, "Text2")->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(text3->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text3->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text1->horizontalScrollBar()->maximum(), 0);
        window.findChild<QTabWidget*>()->setCurrentIndex(2);
        QCoreApplication::processEvents();
        QVERIFY(text3->horizontalScrollBar()->maximum() > 0);
        // The boxes take typing; nothing of it outlives the window.
        QTest::keyClicks(text3, QStringLiteral("xyz"));
        QVERIFY(text3->toPlainText().contains(QStringLiteral("xyz")));
        frmAppendForm again;
        QVERIFY(!box(again, "Text3")->toPlainText().contains(QStringLiteral("xyz")));
    }
};

int runFrmAppendFormTest(int argc, char* argv[])
{
    frmAppendFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmAppendFormTest.moc"
