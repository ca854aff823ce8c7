// byeorisol-data compare, run as a user runs it, against Python's difflib on the text files the two versions export.

#include "support/InstallTreeTest.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

using namespace Qt::StringLiterals;
using namespace testsupport;

namespace {

// The peer: the verses whose exported lines differ, in the order of book, chapter and verse, the words of
// difflib's opcodes marked as git's word diff marks them, then the counts. Exports leave Null verses out.
const char* const kPeer = R"(
import difflib, os, sys; sys.stdout.reconfigure(encoding='utf-8')
def read(folder):
    verses = {}
    for name in sorted(os.listdir(folder)):
        for line in open(os.path.join(folder, name), encoding='utf-8-sig').read().splitlines():
            book, place, text = line.split(' ', 2)
            verses[book + ' ' + place] = ((name, *map(int, place.split(':'))), text)
    return verses
a, b = read(sys.argv[1]), read(sys.argv[2])
kinds, counts = ['본문이 다름', 'A에 본문 없음', 'B에 본문 없음'], [0, 0, 0]
for ref in sorted(a.keys() | b.keys(), key=lambda r: (a.get(r) or b.get(r))[0]):
    ta, tb = a.get(ref, (0, None))[1], b.get(ref, (0, None))[1]
    if ta == tb: continue
    kind = 0 if None not in (ta, tb) else 1 if ta is None else 2; counts[kind] += 1
    wa, wb = (ta or '').split(), (tb or '').split()
    line = ref + (' (%s)' % kinds[kind] if kind else ' (띄어쓰기만 다름)' if wa == wb else '')
    for op, i1, i2, j1, j2 in difflib.SequenceMatcher(None, wa, wb, autojunk=False).get_opcodes():
        x, y = ' '.join(wa[i1:i2]), ' '.join(wb[j1:j2])
        line += {'equal': ' ' + x, 'delete': ' [-%s-]' % x, 'insert': ' {+%s+}' % y, 'replace': ' [-%s-]{+%s+}' % (x, y)}[op]
    print(line)
print('다른 구절 %d개 (%s)' % (sum(counts), ', '.join('%s %d' % kc for kc in zip(kinds, counts) if kc[1])))
)";

using CompareCommand = DataCommandTest;

// A version and its backup copy (one display name, so the messages give full paths), the copy's texts changed.
TEST_F(CompareCommand, agreesWithDifflibOnTheExportsAndSaysWhenItCannotCompare)
{
    if (lacks({u"python3"_s})) {
        GTEST_SKIP() << "python3 is missing";
    }
    ASSERT_EQ(run({u"build"_s, u"mine"_s, sample("genesis-1.txt"), sample("genesis-2.txt")}).exitCode, 0);
    const QString a = path(u"mine.DAT"_s), b = beside(u"mine.DAT"_s);
    ASSERT_TRUE(QFile::copy(a, b));
    // By 번호: the first word replaced, a word added after it, the first word removed, spaces doubled, the text gone.
    (void)sql(b, QString::fromUtf8(R"(
        UPDATE 본문 SET 본문 = CASE 번호 % 7 WHEN 0 THEN 'X' || 번호 || substr(본문, instr(본문, ' '))
            WHEN 1 THEN substr(본문, 1, instr(본문, ' ')) || 'new' || 번호 || substr(본문, instr(본문, ' '))
            WHEN 2 THEN substr(본문, instr(본문, ' ') + 1) WHEN 3 THEN replace(본문, ' ', '  ')
            WHEN 4 THEN NULL ELSE 본문 END;
        UPDATE 본문 SET 본문 = 'Now the serpent' WHERE 성경구절 = '창 3:1';)"));
    for (const QString& version : {a, b}) {
        ASSERT_EQ(run({u"export"_s, version, version + u".txt"_s, u"--encoding"_s, u"utf-8"_s}).exitCode, 0);
    }
    const QString expected = outputOf(u"python3"_s, {u"-c"_s, QString::fromUtf8(kPeer), a + u".txt"_s, b + u".txt"_s});
    const CommandResult compared = run({u"compare"_s, a, b});
    EXPECT_EQ(compared.out + QString::number(compared.exitCode), expected + u'1');
    EXPECT_EQ(expected.count(u'\n'), 42) << expected.toStdString();
    EXPECT_EQ(run({u"compare"_s, b, b}).exitCode, 0);
    const auto held = versiondb::VersionStore::openDatabase(b);
    expectRun({u"compare"_s, a, b}, 2, b + u"\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::FileInUse));
}

} // namespace
