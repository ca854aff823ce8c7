// byeorisol-data show and save, run as built on temporary install trees.

#include "editor/EditorMessages.h"
#include "support/DataCommand.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"

using namespace Qt::StringLiterals;

namespace {

using editor::EditorMessages;
using testsupport::CommandResult;

using EditorCommands = testsupport::InstallTreeTest;

// Each outcome with its exit code: shown or saved (0), refused (1), a file that is no version (2); a relative path is
// the version in the current folder.
TEST_F(EditorCommands, showAndSaveSayWhatTheyDidWithTheirExitCode)
{
    const QString sample = makeVersion(u"sample.dat"_s, testsupport::sampleVerses());
    const QString notes = writeFile(u"notes.dat"_s, "창 1:1 태초에\r\n");
    const QString stored = u"\t땅이\u00A0혼돈하고  \u3000'ㅎ'"_s; // only spaces are trimmed
    const std::tuple<QStringList, int, QString> cases[] = {
        {{u"show"_s, sample, u"창 01:1"_s}, 1, EditorMessages::goReferenceNotFound() + u'\n'},
        {{u"save"_s, sample, u"창 1:2"_s, u"a\nb"_s}, 1, EditorMessages::saveLineBreak() + u'\n'},
        {{u"show"_s, u"sample.dat"_s, u"창 1:2"_s}, 0, u"창 1:2\n  \n"_s},
        {{u"save"_s, sample, u" 창 1:2 "_s, u"  "_s + stored + u' '}, 0, {}},
        {{u"show"_s, notes, u"창 1:1"_s}, 2, versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat)},
    };
    for (const auto& [arguments, exitCode, out] : cases) {
        const CommandResult result = testsupport::runDataCommand({}, arguments, installFolder());
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out == out || (exitCode == 2 && result.out.contains(out))) << result.out.toStdString();
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
    auto expected = testsupport::storedRecords(makeVersion(u"expected.dat"_s, testsupport::sampleVerses()));
    expected[1].text = stored;
    EXPECT_EQ(testsupport::storedRecords(sample), expected);
}

} // namespace
