// byeorisol-data compare, run as a user runs it, against Python's difflib on the text files the two versions export.

#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// The peer: the verses whose exported lines differ, in the order of book, chapter and verse, the words of
// difflib's opcodes marked as git's word diff marks them, then the counts. Exports leave Null verses out.
const char* const kPeer = R"(
import difflib, os, sys
sys.stdout.reconfigure(encoding='utf-8')
def read(folder):
    verses = {}
    for name in sorted(os.listdir(folder)):
        for line in open(os.path.join(folder, name), encoding='utf-8-sig').read().splitlines():
            book, place, text = line.split(' ', 2)
            verses[book + ' ' + place] = ((name, *map(int, place.split(':'))), text)
    return verses
a, b = read(sys.argv[1]), read(sys.argv[2])
kinds = ['본문이 다름', 'A에 본문 없음', 'B에 본문 없음']
counts = dict.fromkeys(kinds, 0)
for ref in sorted(a.keys() | b.keys(), key=lambda r: (a.get(r) or b.get(r))[0]):
    ta, tb = a.get(ref, (0, None))[1], b.get(ref, (0, None))[1]
    if ta == tb:
        continue
    kind = kinds[0] if ta is not None and tb is not None else kinds[1] if ta is None else kinds[2]
    counts[kind] += 1
    wa, wb = (ta or '').split(), (tb or '').split()
    line = ref + ('' if kind == kinds[0] and wa != wb else ' (%s)' % (kind if kind != kinds[0] else '띄어쓰기만 다름'))
    for op, i1, i2, j1, j2 in difflib.SequenceMatcher(None, wa, wb, autojunk=False).get_opcodes():
        line += ' ' + ' '.join(wa[i1:i2]) if op == 'equal' else ''
        line += ' [-%s-]' % ' '.join(wa[i1:i2]) if op in ('delete', 'replace') else ''
        line += ('' if op == 'replace' else ' ') + '{+%s+}' % ' '.join(wb[j1:j2]) if op in ('insert', 'replace') else ''
    print(line)
print('다른 구절 %d개 (%s)' % (sum(counts.values()), ', '.join('%s %d' % (k, n) for k, n in counts.items() if n)))
)";

using CompareCommand = testsupport::DataCommandTest;

// A version and its backup copy (one display name, so the messages give full paths), the copy's texts changed
// verse by verse: a word replaced, one added, one removed, a text gone, spaces doubled, a text where was none.
TEST_F(CompareCommand, agreesWithDifflibOnTheExportsAndSaysWhenItCannotCompare)
{
    if (QStandardPaths::findExecutable(u"python3"_s).isEmpty()) {
        GTEST_SKIP() << "python3 is missing";
    }
    const QString samples = testsupport::sourceFolder() + u"/data/samples/genesis-"_s;
    ASSERT_EQ(run({u"build"_s, u"mine"_s, samples + u"1.txt"_s, samples + u"2.txt"_s}).exitCode, 0);
    const QString a = path(u"mine.DAT"_s);
    const QString b = beside(u"mine.DAT"_s);
    ASSERT_TRUE(QFile::copy(a, b));
    QString edits = u"UPDATE \"본문\" SET \"본문\" = 'Now the serpent' WHERE \"성경구절\" = '창 3:1';"_s;
    int k = 0;
    for (const auto& [reference, text] : testsupport::storedTexts(a)) {
        QStringList words = text.split(u' ');
        const int edit = k++ % 7;
        if (text == u"<Null>"_s || edit > 4) {
            continue;
        }
        if (edit == 0) {
            words[1] = u"X%1"_s.arg(k);
        } else if (edit == 1) {
            words.insert(3, u"new%1"_s.arg(k));
        } else if (edit == 2) {
            words.removeAt(2);
        } else if (edit == 3) {
            words.insert(1, QString()); // two spaces after the first word
        }
        const QString changed = edit == 4 ? u"NULL"_s : u"'%1'"_s.arg(words.join(u' ').replace(u"'"_s, u"''"_s));
        edits += u"UPDATE \"본문\" SET \"본문\" = %1 WHERE \"성경구절\" = '%2';"_s.arg(changed, reference);
    }
    (void)testsupport::sql(b, edits);
    for (const QString& version : {a, b}) {
        ASSERT_EQ(run({u"export"_s, version, version + u".txt"_s, u"--encoding"_s, u"utf-8"_s}).exitCode, 0);
    }
    QProcess peer;
    peer.start(u"python3"_s, {u"-c"_s, QString::fromUtf8(kPeer), a + u".txt"_s, b + u".txt"_s});
    ASSERT_TRUE(peer.waitForFinished(60000) && peer.exitCode() == 0) << peer.readAllStandardError().toStdString();
    const QString expected = QString::fromUtf8(peer.readAllStandardOutput());
    const testsupport::CommandResult compared = run({u"compare"_s, a, b});
    EXPECT_EQ(compared.exitCode, 1);
    EXPECT_EQ(compared.out, expected);
    EXPECT_EQ(expected.count(u'\n'), 42) << expected.toStdString();
    EXPECT_EQ(run({u"compare"_s, b, b}).exitCode, 0);
    const auto held = versiondb::VersionStore::OpenDatabase(b);
    EXPECT_EQ(run({u"compare"_s, a, b}).out,
              b + u"\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::FileInUse) + u'\n');
    EXPECT_EQ(run({u"compare"_s, a, b}).exitCode, 2);
}

} // namespace
