#include "cli/Usage.h"

#include "cli/ExitCode.h"

#include <QStringList>
#include <algorithm>

namespace cli {

namespace {

const QString kProgram = QStringLiteral("byeorisol-data");

struct UsageLine
{
    const char16_t* form;
    const char16_t* what;
};

// One line per command, in the order of the help; a new command is one more line here.
constexpr UsageLine kCommands[] = {
    {u"check 파일...",
     u"파일(텍스트, IMP, USFM, OSIS, Zefania, VPL)을 검사하고, 잘못된 줄은 프로그램 폴더의 err.txt에 기록합니다."},
    {u"build 역본명 파일...", u"파일을 검사하고, 그 본문으로 설치 폴더에 역본파일을 만듭니다."},
    {u"build 역본명 --sword 모듈",
     u"이 컴퓨터에 설치된 SWORD 성경 모듈(예: engKJV2006eb)의 본문으로 역본파일을 만듭니다. check도 모듈을 읽습니다."},
    {u"show 역본파일 구절", u"역본파일에서 한 구절의 구절명과 본문을 보여 줍니다."},
    {u"save 역본파일 구절 본문", u"역본파일의 한 구절에 본문을 저장합니다."},
    {u"history 역본파일 [구절]", u"역본파일(또는 한 구절)의 변경 이력을 최근 것부터 보여 줍니다."},
    {u"undo 역본파일 [구절]",
     u"역본파일(또는 한 구절)의 마지막 변경을 되돌리고, 되돌린 본문을 보여 줍니다. 할 때마다 하나씩 더 되돌립니다."},
    {u"redo 역본파일 [구절]", u"마지막으로 되돌린 변경을 다시 실행하고, 그 본문을 보여 줍니다."},
    {u"compact 역본파일", u"역본파일을 최적화합니다. 묻지 않고 바로 시작합니다."},
    {u"repair 역본파일", u"손상된 역본파일을 치료합니다."},
    {u"delete 역본파일", u"역본파일을 묻지 않고 바로 삭제합니다. 기본 제공파일은 삭제하지 않습니다."},
    {u"export 역본파일 폴더", u"역본파일을 책마다 텍스트 파일 하나(01-창.txt ... 66-계.txt)로 폴더에 내보냅니다."},
    {u"export 역본파일 파일.imp --format imp", u"역본파일을 SWORD의 imp2vs가 읽는 IMP 파일로 내보냅니다."},
    {u"export 역본파일 파일.osis.xml --format osis", u"역본파일을 SWORD의 osis2mod가 읽는 OSIS XML 파일로 내보냅니다."},
    {u"export 역본파일 파일.xml --format zefania",
     u"역본파일을 Zefania XML 파일로 내보냅니다. 절 구분은 역본 그대로입니다."},
    {u"export 역본파일 파일.vpl --format vpl",
     u"역본파일을 SWORD의 vpl2mod가 읽는 VPL 파일(한 줄에 한 구절)로 내보냅니다."},
    {u"report 역본파일", u"레코드와 본문 수를 세고, 본문이 없는 구절을 범위로 보여 줍니다."},
    {u"compare 역본파일 역본파일", u"두 역본파일(A, B)의 본문을 비교하여 다른 구절과 바뀐 낱말을 보여 줍니다."},
    {u"find 역본파일 찾을말", u"본문에 찾을말이 있는 구절을 한 줄에 하나씩(구절 본문) 번호 순서로 보여 줍니다."},
    {u"replace 역본파일 찾을말 바꿀말",
     u"찾을말을 바꿀말로 바꾸고 바뀐 구절의 이전·이후 본문을 보여 줍니다(undo로 되돌림)."},
    {u"inspect 역본파일",
     u"역본파일의 본문에서 잘못된 듯한 곳(빈 본문, 깨진 글자, 짝이 없는 괄호 ...)을 종류별로 보여 줍니다."},
};

constexpr UsageLine kOptions[] = {
#ifdef Q_OS_WIN
    {u"--program-folder 폴더", u"관리기의 프로그램 폴더입니다. 없으면 byeorisol-data가 있는 폴더, "
                               u"설치 프로그램으로 설치했으면 %LOCALAPPDATA%\\byeorisol\\manager입니다."},
    {u"--encoding cp949|utf-8",
     u"check와 build가 쓰는 err.txt와 export가 쓰는 텍스트 파일의 인코딩입니다. "
     u"없으면 시스템 코드 페이지가 949일 때 cp949(줄 끝 CR LF), 아니면 utf-8(줄 끝 LF)입니다."},
#else
    {u"--program-folder 폴더",
     u"관리기의 프로그램 폴더입니다. 없으면 byeorisol-data가 있는 폴더, "
     u"패키지로 설치했으면 $XDG_DATA_HOME/byeorisol/manager(보통 ~/.local/share/byeorisol/manager)입니다."},
    {u"--encoding cp949|utf-8",
     u"check와 build가 쓰는 err.txt와 export가 쓰는 텍스트 파일의 인코딩입니다. 없으면 utf-8(줄 끝 LF)입니다."},
#endif
    {u"--format text|imp|osis|zefania|vpl", u"export가 쓰는 형식입니다. 없으면 text입니다."},
    {u"--force", u"export가 같은 이름의 파일이 있어도 바꾸어 씁니다. 없으면 내보내지 않습니다."},
    {u"--regex", u"find와 replace가 찾을말을 정규식으로 읽습니다. 바꿀말의 \\1, \\2는 묶음이 찾은 내용입니다."},
    {u"--ignore-case", u"find와 replace가 영문 대소문자를 가리지 않습니다."},
    {u"--dry-run", u"replace가 바꿀 구절을 보여 주기만 하고 바꾸지 않습니다."},
    {u"--against 역본파일", u"inspect가 같은 구절의 길이를 견주어 볼 다른 역본파일입니다."},
    {u"--skip 종류,...",
     u"inspect가 건너뛸 종류입니다: empty, replacement, control, mojibake, decomposed, edge-spaces, "
     u"double-spaces, brackets, repeated-word, same-as-previous, length."},
    {u"--help", u"이 도움말을 보여 줍니다."},
};

// Columns a text takes on a terminal: Korean letters and other wide characters take two.
int columns(const QString& text)
{
    int width = 0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        const bool wide = (unit >= 0x1100 && unit <= 0x115F) || (unit >= 0x2E80 && unit <= 0xA4CF) ||
                          (unit >= 0xAC00 && unit <= 0xD7A3) || (unit >= 0xF900 && unit <= 0xFAFF) ||
                          (unit >= 0xFF00 && unit <= 0xFF60);
        width += wide ? 2 : 1;
    }
    return width;
}

template <std::size_t N> void appendTable(QStringList& lines, const QString& heading, const UsageLine (&table)[N])
{
    constexpr int kFormColumns = 26;
    lines << heading;
    for (const UsageLine& line : table) {
        const QString form = QString::fromUtf16(line.form);
        const int pad = std::max(1, kFormColumns - columns(form));
        lines << QStringLiteral("  ") + form + QString(pad, QLatin1Char(' ')) + QString::fromUtf16(line.what);
    }
}

} // namespace

QString usageText()
{
    QStringList lines = {QStringLiteral("사용법: byeorisol-data [--program-folder 폴더] 명령 ...")};
    appendTable(lines, QStringLiteral("명령:"), kCommands);
    appendTable(lines, QStringLiteral("선택사항:"), kOptions);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void printUsage(std::FILE* out)
{
    std::fputs(usageText().toUtf8().constData(), out);
    std::fflush(out);
}

int usageError(const QString& why)
{
    std::fprintf(stderr, "%s: %s\n", kProgram.toUtf8().constData(), why.toUtf8().constData());
    printUsage(stderr);
    return kFailure;
}

QString shippedFilesFailure(const platform::FileFailure& failure)
{
    return QStringLiteral("기본 제공파일을 사용자 폴더에 준비하지 못했습니다.\n") + failure.description +
           QStringLiteral("\n") + failure.path +
           QStringLiteral("\n--program-folder로 다른 프로그램 폴더를 적을 수 있습니다.");
}

int programFolderFailure(const platform::FileFailure& failure)
{
    std::fprintf(stderr, "%s: %s\n", kProgram.toUtf8().constData(), shippedFilesFailure(failure).toUtf8().constData());
    return kFailure;
}

} // namespace cli
