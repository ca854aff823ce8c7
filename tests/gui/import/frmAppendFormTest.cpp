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
    void captionTabsBoxesAndButton()
    {
        frmAppendForm window;
        QCOMPARE(window.windowTitle(), QStringLiteral("텍스트 파일 형식에 대한 설명"));
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("VideoSoftIndexTab1"));
        QVERIFY(tabs != nullptr);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("텍스트 파일 형식"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("유익한 정보 몇가지"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("올바른 편집형태 샘플(꼭! 보세요)"));
        const QString texts[] = {frmAppendForm::formatText(), frmAppendForm::sourcesText(),
                                 frmAppendForm::sampleText()};
        const char* names[] = {"Text1", "Text2", "Text3"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tabs->widget(i), box(window, names[i]));
            QCOMPARE(box(window, names[i])->toPlainText(), lines(texts[i]).join(QLatin1Char('\n')));
        }
        auto* ok = window.findChild<QPushButton*>(QStringLiteral("Command3"));
        QCOMPARE(ok->text(), QStringLiteral("확인"));
        tabs->setCurrentIndex(2);
        int shownTab = -1;
        QTimer::singleShot(0, &window, [&] {
            shownTab = tabs->currentIndex();
            ok->click();
        });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QCOMPARE(shownTab, 0); // each opening starts on tab 1
        QVERIFY(!window.isVisible());
    }

    void formatTextLineForLine()
    {
        const QStringList text = lines(frmAppendForm::formatText());
        QCOMPARE(text.value(0), QString());
        QCOMPARE(text.value(1),
                 QStringLiteral("올바르게 역본을 추가하려면 아래와 같은 형식으로 텍스트파일을 편집해야 합니다."));
        QVERIFY(text.contains(QStringLiteral("//////공통적 형식//////")));
        // The eight points in order, each after an empty line.
        const QStringList points = {
            QStringLiteral("1. 반드시 절은 한줄로만 구성되어야 합니다."),
            QStringLiteral("2. 성경책명은 반드시 약자으로 입력해야 합니다."),
            QStringLiteral("3. 창과 절사이에 반드시 ':'기호가 추가되어야 합니다."),
            QStringLiteral("4. 성경구절명은 개역성경의 장,절과 비교하여 오류여부를 검사합니다."),
            QStringLiteral("5. 본문내용의 앞쪽과 뒤쪽에 공백줄이 없어야 합니다."),
            QStringLiteral("6. 성경원문 이외에 다른 단어나 내용을 추가하시면 성구검색의 신뢰도를 저해할 수 있습니다."),
            QStringLiteral("7. 형식에 부적합한 성경구절은 무조건 제외되며 사용자의 설정에 따라 별도 로그파일을 "
                           "생성하여 문제의 테스트파일 수정에 참고할 수 있습니다."),
            QStringLiteral("8. 컴퓨터 초보자를 위하여 별도 기술지원을 해드리고 있습니다."),
        };
        QList<qsizetype> at;
        for (const QString& point : points) {
            at << text.indexOf(point);
            QVERIFY2(at.last() > (at.size() > 1 ? at[at.size() - 2] : 0), qPrintable(point));
            QCOMPARE(text.value(at.last() - 1), QString());
        }
        // Each of points 1 to 3 shows the right form of 창 1:1, then the wrong one.
        const QString verse = QStringLiteral(" In the beginning God created the heavens and the earth.");
        const QStringList example = {QStringLiteral("올바른(예)"), QStringLiteral("창 1:1") + verse,
                                     QStringLiteral("나쁜(예)")};
        QCOMPARE(text.mid(at[0] + 1, 7),
                 (example + QStringList{QStringLiteral("창 1:1 In the beginning God created the "),
                                        QStringLiteral("heavens and the earth."),
                                        QStringLiteral("(창 1:1절이 두줄로 편집되어 있음을 볼 수 있습니다)"),
                                        QStringLiteral("※성경 이외에 다른 자료(주석,강해,절관주)일 경우에도 동일하게 "
                                                       "적용됩니다.")}));
        QCOMPARE(text.mid(at[1] + 1, 4), (example + QStringList{QStringLiteral("창세기 1:1") + verse}));
        QCOMPARE(text.mid(at[2] + 1, 7),
                 (example + QStringList{QStringLiteral("창 1;1") + verse + QStringLiteral(" 또는"),
                                        QStringLiteral("창 1-1") + verse + QStringLiteral(" 또는"),
                                        QStringLiteral("창 1~1") + verse, QStringLiteral("...")}));
        QCOMPARE(text.value(at[4] + 1),
                 QStringLiteral("   또한 내용중간에 다른 문자들이 추가되면 무조건 오류로 간주됩니다."));
        // Our own contacts under point 8, then the closing line of 70 hyphens.
        QVERIFY(text.value(at[7] + 1).contains(QStringLiteral("전화")));
        QVERIFY(text.value(at[7] + 2).contains(QStringLiteral("@")));
        QVERIFY(text.value(at[7] + 3).contains(QStringLiteral("https://")));
        QCOMPARE(text.last(), QString(70, QLatin1Char('-')));
    }

    void sourcesTextHasThreeSections()
    {
        const QStringList text = lines(frmAppendForm::sourcesText());
        QCOMPARE(text.value(0), QString());
        const qsizetype one = text.indexOf(QStringLiteral("1. 텍스트 파일로 변환하기"));
        const qsizetype two = text.indexOf(QStringLiteral("2. 성경프로그램에서 ...."));
        QVERIFY(0 < one && one < two && two < text.indexOf(QStringLiteral("3. 통신상에서 구하기")));
        QVERIFY(frmAppendForm::sourcesText().contains(QStringLiteral("완성형")));
    }

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
