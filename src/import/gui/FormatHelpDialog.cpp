#include "import/gui/FormatHelpDialog.h"

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

const QString kCaption = QStringLiteral("텍스트 파일 형식에 대한 설명");
const QString kTabCaptions = QStringLiteral("텍스트 파일 형식|유익한 정보 몇가지|올바른 편집형태 샘플(꼭! 보세요)");
const QString kOk = QStringLiteral("확인");

const QString kExampleVerse = QStringLiteral("In the beginning God created the heavens and the earth.");

// Tab 1: the format rules.
const QStringList kFormatLines = {
    QString(),
    QStringLiteral("올바르게 역본을 추가하려면 아래와 같은 형식으로 텍스트파일을 편집해야 합니다."),
    QString(),
    QStringLiteral("//////공통적 형식//////"),
    QString(),
    QStringLiteral("1. 반드시 절은 한줄로만 구성되어야 합니다."),
    QStringLiteral("올바른(예)"),
    QStringLiteral("창 1:1 ") + kExampleVerse,
    QStringLiteral("나쁜(예)"),
    QStringLiteral("창 1:1 In the beginning God created the "),
    QStringLiteral("heavens and the earth."),
    QStringLiteral("(창 1:1절이 두줄로 편집되어 있음을 볼 수 있습니다)"),
    QStringLiteral("※성경 이외에 다른 자료(주석,강해,절관주)일 경우에도 동일하게 적용됩니다."),
    QString(),
    QStringLiteral("2. 성경책명은 반드시 약자으로 입력해야 합니다."),
    QStringLiteral("올바른(예)"),
    QStringLiteral("창 1:1 ") + kExampleVerse,
    QStringLiteral("나쁜(예)"),
    QStringLiteral("창세기 1:1 ") + kExampleVerse,
    QString(),
    QStringLiteral("3. 창과 절사이에 반드시 ':'기호가 추가되어야 합니다."),
    QStringLiteral("올바른(예)"),
    QStringLiteral("창 1:1 ") + kExampleVerse,
    QStringLiteral("나쁜(예)"),
    QStringLiteral("창 1;1 ") + kExampleVerse + QStringLiteral(" 또는"),
    QStringLiteral("창 1-1 ") + kExampleVerse + QStringLiteral(" 또는"),
    QStringLiteral("창 1~1 ") + kExampleVerse,
    QStringLiteral("..."),
    QString(),
    QStringLiteral("4. 성경구절명은 개역성경의 장,절과 비교하여 오류여부를 검사합니다."),
    QString(),
    QStringLiteral("5. 본문내용의 앞쪽과 뒤쪽에 공백줄이 없어야 합니다."),
    QStringLiteral("   또한 내용중간에 다른 문자들이 추가되면 무조건 오류로 간주됩니다."),
    QString(),
    QStringLiteral("6. 성경원문 이외에 다른 단어나 내용을 추가하시면 성구검색의 신뢰도를 저해할 수 있습니다."),
    QString(),
    QStringLiteral("7. 형식에 부적합한 성경구절은 무조건 제외되며 사용자의 설정에 따라 별도 로그파일을 생성하여 "
                   "문제의 테스트파일 수정에 참고할 수 있습니다."),
    QString(),
    QStringLiteral("8. 컴퓨터 초보자를 위하여 별도 기술지원을 해드리고 있습니다."),
    QStringLiteral("   전화: 따로 두지 않습니다 (전자우편이나 홈페이지로 문의하여 주십시오)"),
    QStringLiteral("   전자우편: support@byeorisol.example.org"),
    QStringLiteral("   홈페이지: https://byeorisol.example.org"),
    QString(),
    QString(70, QLatin1Char('-')),
};

// Tab 2: where text files come from, in general terms.
const QStringList kSourcesLines = {
    QString(),
    QStringLiteral("1. 텍스트 파일로 변환하기"),
    QStringLiteral("   워드프로세서(문서작성기)의 문서로 가지고 계신 성경본문은 그 프로그램의 '다른 이름으로 저장' "
                   "기능을 이용하여 텍스트 파일 형식으로 다시 저장하십시오. 저장할 때 코드를 묻는 경우에는 한글 "
                   "완성형(KS X 1001) 코드를 선택하십시오."),
    QStringLiteral("   이렇게 저장한 파일을 메모장과 같은 텍스트 편집기로 열어 '텍스트 파일 형식'에서 설명한 형식에 "
                   "맞게 편집하시면 됩니다."),
    QString(),
    QStringLiteral("2. 성경프로그램에서 ...."),
    QStringLiteral("   많은 성경프로그램은 내보내기 기능으로 성경본문을 텍스트 파일로 저장할 수 있습니다. 그런 기능이 "
                   "없는 프로그램에서는 본문을 직접 복사하여 텍스트 편집기에 붙여 넣어야 합니다."),
    QString(),
    QStringLiteral("3. 통신상에서 구하기"),
    QStringLiteral("   개인이 직접 입력한 성경본문을 통신망의 공개자료실이나 국내외의 웹사이트에서 구할 수 있습니다."),
};

// Tab 3: the sample, 창 1:1 to 1:11 of the King James Version, spaced as such
// files often come.
const QStringList kSampleLines = {
    QStringLiteral("창 1:1 In the beginning God created the heaven and the earth ."),
    QStringLiteral("창 1:2 And the earth  was  without form , and void ; and darkness  was upon the face  of the "
                   "deep . And the Spirit  of God  moved  upon  the face  of the waters ."),
    QStringLiteral("창 1:3 And God  said , Let there be light : and there was light ."),
    QStringLiteral("창 1:4 And God saw the light , that  it was  good : and God divided  the light from the "
                   "darkness ."),
    QStringLiteral("창 1:5 And God called the light Day , and the darkness he called Night . And the evening and "
                   "the morning were the first  day ."),
    QStringLiteral("창 1:6 And God said , Let there be a firmament in the midst  of the waters , and let it divide "
                   "the waters from the waters ."),
    QStringLiteral("창 1:7 And God made the firmament , and divided the waters which  were  under the firmament "
                   "from the waters which  were  above the firmament : and it was so ."),
    QStringLiteral("창 1:8 And God called the firmament Heaven . And the evening and the morning were the second  "
                   "day ."),
    QStringLiteral("창 1:9 And God said , Let the waters under the heaven be gathered together unto one place , "
                   "and let the dry  land  appear : and it was so ."),
    QStringLiteral("창 1:10 And God called the dry  land  Earth ; and the gathering together of the waters called "
                   "he Seas : and God saw that  it was  good ."),
    QStringLiteral("창 1:11 And God said , Let the earth bring forth grass , the herb yielding seed , and the fruit "
                   "tree yielding fruit after his kind , whose seed  is  in itself , upon the earth : and it was so ."),
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
        const bool serif = std::any_of(kSerifMarks.begin(), kSerifMarks.end(), [&family](const QString& mark) {
            return family.contains(mark, Qt::CaseInsensitive);
        });
        if (!serif) {
            font.setFamily(family);
            return font;
        }
    }
    return font;
}

QPlainTextEdit* textBox(const char* name, bool wrap)
{
    auto* box = new QPlainTextEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    box->setFont(textFont());
    return box;
}

} // namespace

FormatHelpDialog::FormatHelpDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormatHelpDialog"));
    createWidgets();
    createLayout();
    applyTexts();
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

void FormatHelpDialog::createWidgets()
{
    m_helpTabs = new QTabWidget;
    m_helpTabs->setObjectName(QStringLiteral("helpTabs"));
    m_formatBox = textBox("formatBox", true);
    m_sourcesBox = textBox("sourcesBox", true);
    m_sampleBox = textBox("sampleBox", false);
    for (QPlainTextEdit* box : {m_formatBox, m_sourcesBox, m_sampleBox}) {
        m_helpTabs->addTab(box, QString());
    }
    m_buttonBox = new QDialogButtonBox;
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_okButton = m_buttonBox->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void FormatHelpDialog::createLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_helpTabs, 1);
    layout->addWidget(m_buttonBox);
    // The window opens with OK, not a text box, taking the keys.
    m_okButton->setFocus();
}

void FormatHelpDialog::applyTexts()
{
    setWindowTitle(kCaption);
    m_helpTabs->setAccessibleName(kCaption);
    const QStringList tabs = kTabCaptions.split(QLatin1Char('|'));
    const QList<QPlainTextEdit*> boxes = {m_formatBox, m_sourcesBox, m_sampleBox};
    const QList<QStringList> texts = {kFormatLines, kSourcesLines, kSampleLines};
    for (int i = 0; i < boxes.size(); ++i) {
        m_helpTabs->setTabText(i, tabs.at(i));
        boxes[i]->setAccessibleName(tabs.at(i));
        boxes[i]->setPlainText(texts[i].join(QLatin1Char('\n')));
        // Each text is read from its start.
        boxes[i]->moveCursor(QTextCursor::Start);
    }
    m_okButton->setText(kOk);
}

} // namespace importer
