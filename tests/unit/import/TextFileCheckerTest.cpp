#include "import/TextFileChecker.h"

#include "ReferenceTable.h"
#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "support/InstallTreeTest.h"

#include <QFile>
#include <QStringDecoder>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <sys/stat.h>

using importer::CheckResult;
using Written = QList<std::pair<QString, QString>>;
using namespace Qt::StringLiterals;
using testsupport::inReferenceVersion;

namespace {

const QString kMissingColon = u"':'문자가 없어 '구절명'을 얻을 수 없음!"_s;
const QString kVerseNotNumeric = u"':'문 자 다음에 숫자로된 '절'이 나와야 합니다!"_s;

// A check run as the import runs it: delete the old log, check, write the log when there are errors.
class CheckRunTest : public testsupport::InstallTreeTest
{
protected:
    // A text file beside the install folder of these lines, given separated by LF.
    QString text(const QString& name, const QString& lines) { return textFile(name, lines.split(u'\n')); }

    // The entries go to the log as they are found, and to m_entries, until the entry numbered failAt
    // fails; accepted lines go to m_written.
    CheckResult run(const QStringList& files, qsizetype failAt = -1)
    {
        m_entries.clear();
        m_written.clear();
        EXPECT_FALSE(m_log.remove().has_value());
        const QDateTime now(QDate(2026, 12, 6), QTime(15, 4, 5), QTimeZone::utc());
        importer::ErrorLogWriter log(m_log, QLocale(QLocale::Korean), [now] { return now; });
        const CheckResult result = importer::checkTextFiles(
            files, inReferenceVersion,
            [this](const QString& reference, const QString& text) {
                m_written.append({reference, text});
            },
            [&](const QString& entry) -> std::optional<platform::FileFailure> {
                if (m_entries.size() == failAt) {
                    return platform::FileFailure{m_log.path(), u"디스크 공간이 부족합니다."_s};
                }
                m_entries << entry;
                EXPECT_FALSE(m_log.exists()) << "the log appears only when the run ends well";
                return log.append(entry);
            },
            [this] { ++m_hookCalls; });
        if (result.succeeded()) {
            EXPECT_FALSE(log.commit().has_value());
        }
        EXPECT_EQ(result.errorEntries, m_entries.size());
        return result;
    }

    // The log of these files' entries, each file's after its heading, every line ended by CR LF.
    static QString log(const QList<std::pair<QString, QStringList>>& files)
    {
        QStringList lines = {u"오후 3시 4분 5초 UTC 2026년 12월 6일 일요일 <편집오류 로그파일>"_s, {}};
        for (const auto& [file, entries] : files) {
            lines << u" "_s << file + u"파일에서..."_s << entries;
        }
        return lines.join(u"\r\n"_s) + u"\r\n"_s;
    }

    importer::ErrorLog m_log{programFolder()};
    QStringList m_entries;
    Written m_written;
    int m_hookCalls = 0;
};

} // namespace

// Every bad line is logged under a heading for its file, each time the file is listed, at its own line
// number; an IMP file as mod2imp writes it (UTF-8, LF line ends) has its headings skipped, its lines joined.
TEST_F(CheckRunTest, everyAcceptedLineGoesToTheWriterAndEveryBadOneToTheLogUnderItsFile)
{
    // Line 1 is blank, line 4 spaces only; the book of line 10 has no code page 949 code.
    const QString book =
        text(u"창세기.txt"_s, u"\n창 1 1 태초에\n창 1:1 태초에\n   \n창세기 1:2 땅이\n창 01:051 없는 절\n"
                              "창 1: 1 x\n창 1:1000 x\n창1:1 x\n가\U0001F600é 1:1"_s);
    const QString link = beside(u"링크.txt"_s);
    ASSERT_TRUE(QFile::link(text(u"나.txt"_s, u"창 1:2 b"_s), link));
    const QString other = text(u"다.txt"_s, u"y"_s);
    const QString imp =
        writeFile(u"kjv.imp"_s, u"$$$[ Module Heading ]\n\n$$$Genesis 0:0\nThe First Book\n$$$John 3:16\n"
                                "For God  \n\n  so loved…  \n$$$Psalms 3:0\nA Psalm\n$$$Genesis 1:5-6\n"
                                "$$$\nno key\n$$$Tobit 1:1\n$$$John 3:17\n"_s.toUtf8());
    ASSERT_TRUE(run({book, link, other, imp, other}).succeeded());
    const auto entry = [](int line, const QString& text) { return QString::number(line) + u"줄▶ "_s + text; };
    const QString unknownBook = u"')약자명을 가진 성경책은 없습니다! 편집상태 확인!"_s;
    EXPECT_EQ(
        QStringDecoder("windows-949").decode(testsupport::bytes(m_log.path())),
        log({{book,
              {entry(2, kMissingColon), entry(5, u"('창세기"_s + unknownBook),
               entry(6, u"('창 1:51') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"_s), entry(7, kVerseNotNumeric),
               entry(8, u"절이 4자가 넘습니다. 3자리가 넘은 절은 없기 때문에 편집오류 가능성이 높습니다!"_s),
               entry(9, u"'장'을 찾을 수 없습니다! 편집상태 확인!"_s), entry(10, u"('가?\?"_s + unknownBook)}},
             {other, {entry(1, kMissingColon)}},
             {imp, {entry(11, kVerseNotNumeric), entry(12, kMissingColon), entry(14, u"('Tobit"_s + unknownBook)}},
             {other, {entry(1, kMissingColon)}}}));
    EXPECT_EQ(m_written, (Written{{u"창 1:1"_s, u"태초에"_s},
                                  {u"창 1:2"_s, u"b"_s},
                                  {u"요 3:16"_s, u"For God so loved…"_s},
                                  {u"요 3:17"_s, {}}}));
    // Events are let through after blank, MissingColon and accepted lines and after every IMP entry:
    // lines 1 to 4 of the book, the linked file's line, 다's line twice and the eight entries.
    EXPECT_EQ(m_hookCalls, 15);
}

// A file that cannot be opened, or a log that cannot be written, stops the run where it happens.
TEST_F(CheckRunTest, aFailureStopsTheRunWithoutALog)
{
    const QString pipe = beside(u"파이프"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString first = text(u"가.txt"_s, u"창 1:1 a\nx"_s);
    const QString last = text(u"다.txt"_s, u"창 1:2 b"_s);
    const struct
    {
        QString path, description;
        qsizetype failAt = -1; // the entry the log fails at, at the heading of path
    } cases[] = {
        {beside(u"없음.txt"_s), u"파일을 찾을 수 없습니다."_s},
        {beside(u"없는폴더/없음.txt"_s), u"경로를 찾을 수 없습니다."_s},
        {pipe, u"텍스트파일이 아닌 폴더나 장치, 파이프는 읽을 수 없습니다."_s},
        {text(u"나.txt"_s, u"y\n창 1:3 c"_s), u"디스크 공간이 부족합니다."_s, 3},
    };
    for (const auto& c : cases) {
        const CheckResult result = run({first, c.path, last}, c.failAt);
        ASSERT_FALSE(result.succeeded());
        EXPECT_EQ(std::pair(result.failure->path, result.failure->description),
                  std::pair(c.failAt < 0 ? c.path : m_log.path(), c.description));
        EXPECT_EQ(m_entries.size(), 3) << "the first file's heading and entry went to the log as they were found";
        EXPECT_EQ(m_written, (Written{{u"창 1:1"_s, u"a"_s}})) << "nothing after the failure is read";
        EXPECT_EQ(programEntries(), QStringList{});
    }
}
