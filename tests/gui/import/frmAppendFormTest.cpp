#include "import/gui/frmAppendForm.h"

#include "import/ParseImportLine.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using importer::frmAppendForm;
using importer::LineOutcome;

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

template <typename T> T* control(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

QStringList lines(const QString& text)
{
    return text.split(kLineBreak);
}

// Every reference counts as present: only the form of a line is judged.
LineOutcome outcome(const QString& line)
{
    return importer::ParseImportLine(line, [](const QString&) { return true; }).outcome;
}

// The lines that follow each heading line, up to the next heading or empty line.
QStringList linesAfter(const QStringList& text, const QString& heading)
{
    QStringList found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != heading) {
            continue;
        }
        for (qsizetype j = i + 1; j < text.size(); ++j) {
            if (text[j].isEmpty() || text[j] == QStringLiteral("올바른(예)") || text[j] == QStringLiteral("나쁜(예)") ||
                !text[j].startsWith(QStringLiteral("창"))) {
                break;
            }
            found << text[j];
        }
    }
    return found;
}

} // namespace

class frmAppendFormTest : public QObject
{
    Q_OBJECT

private slots:
    void captionTabsAndButton()
    {
        frmAppendForm window;
        QCOMPARE(window.windowTitle(), QStringLiteral("텍스트 파일 형식에 대한 설명"));
        auto* tabs = control<QTabWidget>(window, "VideoSoftIndexTab1");
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("텍스트 파일 형식"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("유익한 정보 몇가지"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("올바른 편집형태 샘플(꼭! 보세요)"));
        QCOMPARE(control<QPushButton>(window, "Command3")->text(), QStringLiteral("확인"));
        QCOMPARE(tabs->widget(0), control<QPlainTextEdit>(window, "Text1"));
        QCOMPARE(tabs->widget(1), control<QPlainTextEdit>(window, "Text2"));
        QCOMPARE(tabs->widget(2), control<QPlainTextEdit>(window, "Text3"));
        tabs->setCurrentIndex(2);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void boxesHoldTheTexts()
    {
        frmAppendForm window;
        const auto shown = [&window](const char* name) { return control<QPlainTextEdit>(window, name)->toPlainText(); };
        QCOMPARE(shown("Text1"), lines(frmAppendForm::formatText()).join(QLatin1Char('\n')));
        QCOMPARE(shown("Text2"), lines(frmAppendForm::sourcesText()).join(QLatin1Char('\n')));
        QCOMPARE(shown("Text3"), lines(frmAppendForm::sampleText()).join(QLatin1Char('\n')));
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
        qsizetype last = 0;
        for (const QString& point : points) {
            const qsizetype at = text.indexOf(point);
            QVERIFY2(at > last, qPrintable(point));
            QCOMPARE(text.value(at - 1), QString());
            last = at;
        }
        const qsizetype five = text.indexOf(points[4]);
        QCOMPARE(text.value(five + 1),
                 QStringLiteral("   또한 내용중간에 다른 문자들이 추가되면 무조건 오류로 간주됩니다."));
        const qsizetype one = text.indexOf(points[0]);
        QCOMPARE(text.mid(one + 1, 7),
                 (QStringList{QStringLiteral("올바른(예)"),
                              QStringLiteral("창 1:1 In the beginning God created the heavens and the earth."),
                              QStringLiteral("나쁜(예)"), QStringLiteral("창 1:1 In the beginning God created the "),
                              QStringLiteral("heavens and the earth."),
                              QStringLiteral("(창 1:1절이 두줄로 편집되어 있음을 볼 수 있습니다)"),
                              QStringLiteral("※성경 이외에 다른 자료(주석,강해,절관주)일 경우에도 동일하게 "
                                             "적용됩니다.")}));
        const qsizetype three = text.indexOf(points[2]);
        QCOMPARE(text.value(three + 4),
                 QStringLiteral("창 1;1 In the beginning God created the heavens and the earth. 또는"));
        QCOMPARE(text.value(three + 5),
                 QStringLiteral("창 1-1 In the beginning God created the heavens and the earth. 또는"));
        QCOMPARE(text.value(three + 6),
                 QStringLiteral("창 1~1 In the beginning God created the heavens and the earth."));
        QCOMPARE(text.value(three + 7), QStringLiteral("..."));
        // Our own contacts under point 8, then the closing line of 70 hyphens.
        const qsizetype eight = text.indexOf(points[7]);
        QVERIFY(text.value(eight + 1).contains(QStringLiteral("전화")));
        QVERIFY(text.value(eight + 2).contains(QStringLiteral("@")));
        QVERIFY(text.value(eight + 3).contains(QStringLiteral("https://")));
        QCOMPARE(text.last(), QString(70, QLatin1Char('-')));
    }

    void examplesAreJudgedAsTheyAreLabelled()
    {
        const QStringList text = lines(frmAppendForm::formatText());
        const QStringList good = linesAfter(text, QStringLiteral("올바른(예)"));
        const QStringList bad = linesAfter(text, QStringLiteral("나쁜(예)"));
        QCOMPARE(good.size(), 3);
        QCOMPARE(bad.size(), 5);
        for (const QString& line : good) {
            QVERIFY2(outcome(line) == LineOutcome::Accepted, qPrintable(line));
        }
        // The broken verse's first line is accepted on its own; its second line is not.
        QCOMPARE(outcome(QStringLiteral("heavens and the earth.")), LineOutcome::MissingColon);
        for (const QString& line : bad.mid(1)) {
            QVERIFY2(outcome(line) != LineOutcome::Accepted, qPrintable(line));
        }
    }

    void sourcesTextHasThreeSections()
    {
        const QStringList text = lines(frmAppendForm::sourcesText());
        QCOMPARE(text.value(0), QString());
        qsizetype last = 0;
        for (const QString& heading :
             {QStringLiteral("1. 텍스트 파일로 변환하기"), QStringLiteral("2. 성경프로그램에서 ...."),
              QStringLiteral("3. 통신상에서 구하기")}) {
            const qsizetype at = text.indexOf(heading);
            QVERIFY2(at > last, qPrintable(heading));
            last = at;
        }
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
            const QString line = text[verse - 1];
            const auto parsed = importer::ParseImportLine(line, [](const QString&) { return true; });
            QCOMPARE(parsed.outcome, LineOutcome::Accepted);
            QCOMPARE(parsed.reference, QStringLiteral("창 1:%1").arg(verse));
            // Spaced as such files come: a space before the full stop.
            QVERIFY(line.endsWith(QStringLiteral(" .")));
        }
        QCOMPARE(text[11], QStringLiteral("......."));
        QCOMPARE(text[12], QString());
        QCOMPARE(text[13], QString());
        QCOMPARE(text[14],
                 QStringLiteral("<위와 같은 형식으로 편집하시면 오류 없이 쉽게 성경을 변환시킬 수 있습니다>"));
    }

    void boxesUseTheKoreanFont()
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
            QCOMPARE(control<QPlainTextEdit>(window, name)->font().family(), font.family());
            QCOMPARE(control<QPlainTextEdit>(window, name)->font().pointSizeF(), 9.75);
        }
    }

    void sampleScrollsSidewaysOthersWrap()
    {
        frmAppendForm window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* tabs = control<QTabWidget>(window, "VideoSoftIndexTab1");
        auto* text1 = control<QPlainTextEdit>(window, "Text1");
        auto* text3 = control<QPlainTextEdit>(window, "Text3");
        QCOMPARE(text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(control<QPlainTextEdit>(window, "Text2")->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(text3->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text3->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text1->horizontalScrollBar()->maximum(), 0);
        tabs->setCurrentIndex(2);
        QCoreApplication::processEvents();
        QVERIFY(text3->horizontalScrollBar()->maximum() > 0);
        // The boxes take typing; nothing of it outlives the window.
        QVERIFY(!text3->isReadOnly());
        QTest::keyClicks(text3, QStringLiteral("xyz"));
        QVERIFY(text3->toPlainText().contains(QStringLiteral("xyz")));
        frmAppendForm again;
        QVERIFY(!control<QPlainTextEdit>(again, "Text3")->toPlainText().contains(QStringLiteral("xyz")));
    }

    void okCloses()
    {
        frmAppendForm window;
        QTimer::singleShot(0, &window, [&] { control<QPushButton>(window, "Command3")->click(); });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
    }
};

int runFrmAppendFormTest(int argc, char* argv[])
{
    frmAppendFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmAppendFormTest.moc"
