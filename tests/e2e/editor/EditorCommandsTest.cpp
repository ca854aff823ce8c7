// byeorisol-data show and save, run as built on temporary install trees.

#include "editor/EditorMessages.h"
#include "support/DataCommand.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

using editor::EditorMessages;
using testsupport::CommandResult;

class EditorCommands : public testsupport::InstallTreeTest
{
protected:
    EditorCommands() : InstallTreeTest({u"null.mdb"_s}) {}
    CommandResult run(const QStringList& arguments) const
    {
        return testsupport::runDataCommand(programFolder(), arguments);
    }
};

TEST_F(EditorCommands, showPrintsTheVerseOrTheRefusalAndSaveStoresTheTrimmedText)
{
    const QString sample = makeVersion(u"sample.dat"_s, testsupport::sampleVerses());
    const std::tuple<QString, int, QString> shows[] = {
        {u"창 1:2"_s, 0, u"창 1:2\n  \n"_s},
        {u"창 01:1"_s, 1, EditorMessages::goReferenceNotFound() + u'\n'},
        {u"   "_s, 1, EditorMessages::goEmptyReference() + u'\n'},
    };
    for (const auto& [typed, exitCode, out] : shows) {
        const CommandResult result = run({u"show"_s, sample, typed});
        EXPECT_EQ(result.exitCode, exitCode) << typed.toStdString();
        EXPECT_EQ(result.out, out);
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
    const CommandResult refused = run({u"save"_s, sample, u"창 1:2"_s, u"a\nb"_s});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, EditorMessages::saveLineBreak() + u'\n');
    // Only spaces are trimmed; every other character is stored as given, into that verse alone.
    const QString stored = u"\t땅이\u00A0혼돈하고  \u3000\"공허\" 'ㅎ'"_s;
    auto expected = testsupport::storedRecords(sample);
    expected[1].text = stored;
    const CommandResult saved = run({u"save"_s, sample, u" 창 1:2 "_s, u"  "_s + stored + u' '});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_TRUE(saved.out.isEmpty()) << saved.out.toStdString();
    EXPECT_EQ(testsupport::storedRecords(sample), expected);
    // A relative path is the version in the current folder; the program finds its own program folder.
    EXPECT_EQ(testsupport::runDataCommand({}, {u"show"_s, u"sample.dat"_s, u"창 1:2"_s}, installFolder()).out,
              u"창 1:2\n"_s + stored + u'\n');
    // The shipped reference version is edited like any other.
    ASSERT_TRUE(copyBuiltReference());
    EXPECT_EQ(run({u"save"_s, path(u"개역.DAT"_s), u"계 22:21"_s, u"아멘"_s}).exitCode, 0);
    EXPECT_EQ(testsupport::storedText(path(u"개역.DAT"_s), u"계 22:21"_s), QVariant(u"아멘"_s));
}

TEST_F(EditorCommands, aFileThatIsNoVersionFailsWithTheEnginesDescription)
{
    const QString notes = writeFile(u"notes.dat"_s, "창 1:1 태초에\r\n");
    const QString expected =
        EditorMessages::fileFailure(u"notes.dat"_s,
                                    versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat))
            .replace(u"\r\n"_s, u"\n"_s) +
        u'\n';
    for (const QStringList& arguments :
         {QStringList{u"show"_s, notes, u"창 1:1"_s}, QStringList{u"save"_s, notes, u"창 1:1"_s, u"본문"_s}}) {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, expected);
    }
}

} // namespace
