#include "import/gui/FormatHelpDialog.h"

#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowSettings.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

namespace importer {

namespace {

// Tab 1: the formats the import reads, each with an example.
const QStringList kFormatLines = {
    QString(),
    QStringLiteral("올바르게 역본을 추가하려면 아래와 같은 형식 가운데 하나로 파일을 만들어야 합니다."),
    QStringLiteral("파일은 UTF-8(바이트 순서 표시가 있든 없든)이나 UTF-16, 코드 페이지 949로 읽습니다."),
    QString(),
    QStringLiteral("//////텍스트 파일 (*.txt)//////"),
    QString(),
    QStringLiteral("1. 한 줄에 한 절을 [책 장:절 본문] 형식으로 적습니다."),
    QStringLiteral("올바른(예)"),
    QStringLiteral("창 1:1 태초에 하나님이 천지를 창조하시니라"),
    QStringLiteral("나쁜(예)"),
    QStringLiteral("창 1:1 태초에 하나님이"),
    QStringLiteral("천지를 창조하시니라"),
    QStringLiteral("(창 1:1절이 두줄로 편집되어 있음을 볼 수 있습니다)"),
    QStringLiteral("※성경 이외에 다른 자료(주석,강해,절관주)일 경우에도 동일하게 적용됩니다."),
    QString(),
    QStringLiteral("2. 성경책명은 반드시 약자로 입력해야 합니다."),
    QStringLiteral("올바른(예)"),
    QStringLiteral("창 1:1 태초에 하나님이 천지를 창조하시니라"),
    QStringLiteral("나쁜(예)"),
    QStringLiteral("창세기 1:1 태초에 하나님이 천지를 창조하시니라"),
    QString(),
    QStringLiteral("3. 장과 절 사이에 반드시 ':'기호가 있어야 합니다."),
    QStringLiteral("나쁜(예)"),
    QStringLiteral("창 1;1 태초에 하나님이 천지를 창조하시니라 또는"),
    QStringLiteral("창 1-1 태초에 하나님이 천지를 창조하시니라"),
    QString(),
    QStringLiteral("4. 성경구절명은 개역성경의 장,절과 비교하여 오류여부를 검사합니다."),
    QString(),
    QStringLiteral("5. 본문내용의 앞쪽과 뒤쪽에 공백줄이 없어야 합니다."),
    QString(),
    QStringLiteral("//////IMP 파일 (*.imp)//////"),
    QString(),
    QStringLiteral("구절마다 $$$ 다음에 영어 책이름과 장:절을 적은 줄, 그 아래에 본문을 적습니다."),
    QStringLiteral("$$$Gen 1:1"),
    QStringLiteral("태초에 하나님이 천지를 창조하시니라"),
    QString(),
    QStringLiteral("//////USFM 파일 (*.usfm, *.sfm)//////"),
    QString(),
    QStringLiteral("책마다 파일 하나로, \\id 다음에 책 코드, \\c 다음에 장, \\v 다음에 절과 본문을 적습니다."),
    QStringLiteral("\\id GEN"),
    QStringLiteral("\\c 1"),
    QStringLiteral("\\v 1 태초에 하나님이 천지를 창조하시니라"),
    QString(),
    QStringLiteral("//////OSIS XML 파일 (*.xml)//////"),
    QString(),
    QStringLiteral("<verse osisID=\"Gen.1.1\">태초에 하나님이 천지를 창조하시니라</verse>"),
    QString(),
    QStringLiteral("//////Zefania XML 파일 (*.xml)//////"),
    QString(),
    QStringLiteral("<BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\">"),
    QStringLiteral("<VERS vnumber=\"1\">태초에 하나님이 천지를 창조하시니라</VERS>"),
    QString(),
    QStringLiteral("//////VPL 파일 (*.vpl)//////"),
    QString(),
    QStringLiteral("한 줄에 한 구절씩, SWORD의 책 이름(또는 OSIS 책 코드)과 장:절 다음에 본문을 적습니다."),
    QStringLiteral("Genesis 1:1 태초에 하나님이 천지를 창조하시니라"),
    QString(),
    QStringLiteral("//////공통//////"),
    QString(),
    QStringLiteral("1. 성경원문 이외에 다른 단어나 내용을 추가하시면 성구검색의 신뢰도를 저해할 수 있습니다."),
    QString(),
    QStringLiteral(
        "2. 형식에 맞지 않는 구절은 제외되며, 그 줄과 까닭은 프로그램 폴더의 오류목록파일(err.txt)에 기록됩니다."),
    QString(),
    QStringLiteral("3. 도움이 필요하시면 전자우편이나 홈페이지로 문의하여 주십시오."),
    QStringLiteral("   전자우편: support@byeorisol.example.org"),
    QStringLiteral("   홈페이지: https://byeorisol.example.org"),
    QString(70, QLatin1Char('-')),
};

// Tab 2: where such files come from, in general terms.
const QStringList kSourcesLines = {
    QString(),
    QStringLiteral("1. 텍스트 파일로 변환하기"),
    QStringLiteral(
        "   워드프로세서(문서작성기)의 문서로 가지고 계신 성경본문은 그 프로그램의 '다른 이름으로 저장' 기능을 "
        "이용하여 텍스트 파일 형식으로 다시 저장하십시오. 인코딩을 묻는 경우에는 UTF-8을 선택하십시오."),
    QStringLiteral(
        "   이렇게 저장한 파일을 텍스트 편집기로 열어 '파일 형식'에서 설명한 형식에 맞게 편집하시면 됩니다."),
    QString(),
    QStringLiteral("2. 성경프로그램에서 ...."),
    QStringLiteral("   많은 성경프로그램은 내보내기 기능으로 성경본문을 텍스트 파일이나 IMP, USFM, OSIS, Zefania, VPL "
                   "파일로 저장할 수 있습니다. 그런 파일은 고치지 않고 그대로 추가할 수 있습니다."),
    QString(),
    QStringLiteral("3. 통신상에서 구하기"),
    QStringLiteral(
        "   개인이 직접 입력한 성경본문이나 공개된 USFM, OSIS, Zefania 파일을 국내외의 웹사이트에서 구할 수 있습니다."),
};

// Tab 3: the sample, 창 1:1 to 1:5 as a text file holds them.
const QStringList kSampleLines = {
    QStringLiteral("창 1:1 태초에 하나님이 천지를 창조하시니라"),
    QStringLiteral("창 1:2 땅이 혼돈하고 공허하며 흑암이 깊음 위에 있고 하나님의 신은 수면에 운행하시니라"),
    QStringLiteral("창 1:3 하나님이 가라사대 빛이 있으라 하시매 빛이 있었고"),
    QStringLiteral("창 1:4 그 빛이 하나님의 보시기에 좋았더라 하나님이 빛과 어두움을 나누사"),
    QStringLiteral("창 1:5 빛을 낮이라 칭하시고 어두움을 밤이라 칭하시니라 저녁이 되며 아침이 되니 이는 첫째 날이니라"),
    QStringLiteral("......."),
    QString(),
    QString(),
    QStringLiteral("<위와 같은 형식으로 편집하시면 오류 없이 쉽게 성경을 변환시킬 수 있습니다>"),
};

// The fonts tried for the boxes, in order, before any other Korean font.
const QStringList kFontFamilies = {
    QStringLiteral("굴림"),         QStringLiteral("Gulim"),         QStringLiteral("NanumGothic"),
    QStringLiteral("나눔고딕"),     QStringLiteral("Malgun Gothic"), QStringLiteral("Noto Sans CJK KR"),
    QStringLiteral("Noto Sans KR"), QStringLiteral("UnDotum"),       QStringLiteral("Baekmuk Gulim"),
};
// Names of Korean serif families, passed over by the fallback.
const QStringList kSerifMarks = {QStringLiteral("Myeongjo"), QStringLiteral("명조"),  QStringLiteral("Batang"),
                                 QStringLiteral("바탕"),     QStringLiteral("Serif"), QStringLiteral("Gungsuh"),
                                 QStringLiteral("Coding")};
constexpr qreal kFontPoints = 9.75;
// The lines of text the window shows at first.
constexpr int kSizeHintLines = 24;

// 굴림 at 9.75 point where that font exists, else a Korean sans-serif font.
QFont textFont()
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kFontPoints);
    const QStringList installed = QFontDatabase::families(QFontDatabase::Korean);
    for (const QString& family : kFontFamilies) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            font.setFamily(family);
            return font;
        }
    }
    for (const QString& family : installed) {
        if (std::ranges::none_of(
                kSerifMarks, [&family](const QString& mark) { return family.contains(mark, Qt::CaseInsensitive); })) {
            font.setFamily(family);
            return font;
        }
    }
    return font;
}

} // namespace

FormatHelpDialog::FormatHelpDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormatHelpDialog"));
    const QString caption = QStringLiteral("파일 형식에 대한 설명");
    setWindowTitle(caption);
    auto* tabs = platform::named<QTabWidget>(this, "helpTabs");
    tabs->setAccessibleName(caption);
    const auto addBox = [tabs](const char* name, const QString& tab, const QStringList& lines, bool wrap) {
        auto* box = platform::named<QPlainTextEdit>(tabs, name);
        box->setAccessibleName(tab);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
        box->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        box->setFont(textFont());
        box->setPlainText(lines.join(QLatin1Char('\n')));
        // Each text is read from its start.
        box->moveCursor(QTextCursor::Start);
        tabs->addTab(box, tab);
        return box;
    };
    m_formatBox = addBox("formatBox", QStringLiteral("파일 형식"), kFormatLines, true);
    addBox("sourcesBox", QStringLiteral("유익한 정보 몇가지"), kSourcesLines, true);
    addBox("sampleBox", QStringLiteral("올바른 편집형태 샘플(꼭! 보세요)"), kSampleLines, false);

    auto* buttonBox = platform::named<QDialogButtonBox>(this, "buttonBox");
    auto* okButton = buttonBox->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttonBox);
    // The window opens with OK, not a text box, taking the keys.
    okButton->setFocus();
    platform::rememberGeometry(this);
}

QSize FormatHelpDialog::sizeHint() const
{
    // Room for the opening sentence of the format text on one line, and a screenful of lines.
    const QFontMetrics metrics(m_formatBox->font());
    const int chrome = 2 * (m_formatBox->frameWidth() + qCeil(m_formatBox->document()->documentMargin())) +
                       m_formatBox->verticalScrollBar()->sizeHint().width() + metrics.averageCharWidth() * 4;
    const QSize wanted(metrics.horizontalAdvance(kFormatLines.at(1)) + chrome,
                       metrics.lineSpacing() * kSizeHintLines + chrome);
    const QSize box = m_formatBox->sizeHint();
    return QDialog::sizeHint() + wanted.expandedTo(box) - box;
}

} // namespace importer
