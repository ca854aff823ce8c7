// byeorisol-data export and report, run as a user runs them on temporary install
// trees, and the IMP file checked with SWORD's own tools.

#include "exchange/VersionVerses.h"
#include "import/BookAbbreviations.h"
#include "import/SwordBookNames.h"
#include "support/DataCommand.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::CommandResult;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The files of a folder with their bytes, by name.
QMap<QString, QByteArray> folderFiles(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        files.insert(name, readAll(folder + u'/' + name));
    }
    return files;
}

// (reference, 본문) of every record in 번호 order; "<Null>" for Null.
QList<std::pair<QString, QString>> texts(const QString& version)
{
    const exchange::VersionVerses read = exchange::readVersionVerses(version);
    EXPECT_TRUE(read.read());
    QList<std::pair<QString, QString>> all;
    for (const exchange::Verse& verse : read.verses) {
        all.append({verse.reference, verse.text.value_or(QStringLiteral("<Null>"))});
    }
    return all;
}

class ExportCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tree.isValid() && m_tree.copyBuiltReference());
        m_install = m_tree.installFolder();
        m_program = m_tree.programFolder();
    }

    QString version(const QString& name) const { return m_install + u'/' + name; }
    QString scratch(const QString& name) const { return m_tree.beside(name); }
    static QString sample(const char* name)
    {
        return testsupport::sourceFolder() + QStringLiteral("/data/samples/") + QString::fromLatin1(name);
    }

    CommandResult run(const QStringList& arguments) const { return testsupport::runDataCommand(m_program, arguments); }

    // Builds the version NAME.DAT from the files; the build's exit code must be one of accepted.
    void build(const QString& name, const QStringList& files, QList<int> accepted = {0}) const
    {
        const CommandResult result = run(QStringList{QStringLiteral("build"), name} + files);
        EXPECT_TRUE(accepted.contains(result.exitCode)) << result.out.toStdString();
    }

    static QStringList textFilesOf(const QString& folder)
    {
        QStringList files;
        for (const QString& name : QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            files << folder + u'/' + name;
        }
        return files;
    }

    // Export, build from the export into a new name, export again: the same files, the same texts.
    void expectRoundTrip(const QString& first, const QStringList& encodingOption) const
    {
        const QString exported = scratch(QStringLiteral("first"));
        const QString again = scratch(QStringLiteral("again"));
        ASSERT_EQ(run(QStringList{QStringLiteral("export"), version(first), exported} + encodingOption).exitCode, 0);
        ASSERT_EQ(QDir(exported).entryList(QDir::Files).size(), 66);
        build(QStringLiteral("second"), textFilesOf(exported));
        ASSERT_EQ(
            run(QStringList{QStringLiteral("export"), version(QStringLiteral("second.DAT")), again} + encodingOption)
                .exitCode,
            0);
        EXPECT_TRUE(folderFiles(exported) == folderFiles(again));
        EXPECT_TRUE(texts(version(first)) == texts(version(QStringLiteral("second.DAT"))));
        QDir(exported).removeRecursively();
        QDir(again).removeRecursively();
        ASSERT_TRUE(QFile::remove(version(QStringLiteral("second.DAT"))));
    }

    testsupport::InstallTree m_tree{{QStringLiteral("null.mdb")}};
    QString m_install;
    QString m_program;
};

TEST_F(ExportCommand, roundTripsInBothEncodingsGiveTheSameFilesAndTexts)
{
    const QString extra = scratch(QStringLiteral("extra.txt"));
    // 출 1:1 has an empty text, stored as "null"; 출 1:2 is Korean.
    QStringEncoder encoder("windows-949");
    writeAll(extra, encoder.encode(QStringLiteral("출 1:1\r\n출 1:2 이스라엘의 아들들의 이름은 이러하니\r\n")));
    build(QStringLiteral("first"), {sample("genesis-1.txt"), sample("genesis-2.txt"), extra});
    ASSERT_EQ(run({QStringLiteral("save"), version(QStringLiteral("first.DAT")), QStringLiteral("계 22:21"),
                   QStringLiteral("주 예수의 은혜가 모든 자들에게 있을지어다 아멘")})
                  .exitCode,
              0);

    const QString exported = scratch(QStringLiteral("look"));
    const CommandResult result = run({QStringLiteral("export"), version(QStringLiteral("first.DAT")), exported});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QStringLiteral("first.DAT\n\n59개 구절을 텍스트파일로 내보냈습니다.\n") +
                              QDir::toNativeSeparators(exported) + u'\n');
    QStringDecoder decoder("windows-949");
    const QString exodus = decoder.decode(readAll(exported + QStringLiteral("/02-출.txt")));
    EXPECT_EQ(exodus, QStringLiteral("출 1:1 null\r\n출 1:2 이스라엘의 아들들의 이름은 이러하니\r\n"));
    EXPECT_TRUE(readAll(exported + QStringLiteral("/01-창.txt"))
                    .startsWith("\xC3\xA2 1:1 In the beginning God created the heaven and the earth.\r\n"));
    EXPECT_TRUE(readAll(exported + QStringLiteral("/03-레.txt")).isEmpty());

    expectRoundTrip(QStringLiteral("first.DAT"), {});
    expectRoundTrip(QStringLiteral("first.DAT"), {QStringLiteral("--encoding"), QStringLiteral("utf-8")});
}

TEST_F(ExportCommand, aVersionInUseIsRefusedWithTheEnginesText)
{
    build(QStringLiteral("held"), {sample("genesis-1.txt")});
    const QString held = version(QStringLiteral("held.DAT"));
    auto database = versiondb::DBEngine::instance().OpenDatabase(held, true, false, versiondb::passwordConnect());
    const QString expected =
        QStringLiteral("held.DAT\n\n") + versiondb::errorDescription(versiondb::errorNumber::FileInUse) + u'\n';
    for (const QStringList& arguments : {QStringList{QStringLiteral("export"), held, scratch(QStringLiteral("out"))},
                                         QStringList{QStringLiteral("export"), held, scratch(QStringLiteral("out.imp")),
                                                     QStringLiteral("--format"), QStringLiteral("imp")},
                                         QStringList{QStringLiteral("report"), held}}) {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, expected);
    }
    EXPECT_FALSE(QFileInfo::exists(scratch(QStringLiteral("out"))));
    database->Close();
}

// The whole KJV in the Korean reference's numbering, one code page 949 file per book.
QStringList kjvBooks()
{
    const QString folder = testsupport::sourceFolder() + QStringLiteral("/data/kjv-ko");
    QStringList books;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        books << folder + u'/' + name;
    }
    return books;
}

// An IMP file as mod2imp writes it: key ("Genesis 1:1") to text, without the line
// ends after it; headings and empty entries are left out.
QMap<QString, QString> impEntries(const QString& text)
{
    QMap<QString, QString> entries;
    QString key;
    QStringList lines;
    const auto flush = [&] {
        QString joined = lines.join(u'\n');
        while (joined.endsWith(u'\n')) {
            joined.chop(1);
        }
        if (!key.isEmpty() && !joined.isEmpty()) {
            entries.insert(key, joined);
        }
        lines.clear();
    };
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(QStringLiteral("$$$"))) {
            flush();
            key = line.mid(3);
        } else {
            lines << line;
        }
    }
    flush();
    return entries;
}

TEST_F(ExportCommand, theWholeBibleGoesThroughImp2vsAndComesBackFromTheModule)
{
    const QStringList books = kjvBooks();
    if (books.size() != 66) {
        GTEST_SKIP() << "the KJV book files data/kjv-ko/01-창.txt ... 66-계.txt are not there";
    }
    for (const char* tool : {"imp2vs", "mod2imp", "diatheke"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            GTEST_SKIP() << tool << " is not installed (Debian packages libsword-utils and diatheke; scripts/setup)";
        }
    }

    // The Korean reference lacks 삼상 30:31 and 고후 13:14; KJV lacks 아 6:14 and 요삼 1:15, filled here.
    build(QStringLiteral("kjv-ko"), books, {1});
    const QString kjv = version(QStringLiteral("kjv-ko.DAT"));
    ASSERT_EQ(
        run({QStringLiteral("save"), kjv, QStringLiteral("아 6:14"), QStringLiteral("A verse KJV has not.")}).exitCode,
        0);
    ASSERT_EQ(
        run({QStringLiteral("save"), kjv, QStringLiteral("요삼 1:15"), QStringLiteral("평강이 너에게 있을지어다")})
            .exitCode,
        0);
    expectRoundTrip(QStringLiteral("kjv-ko.DAT"), {});

    const QString imp = scratch(QStringLiteral("kjv-ko.imp"));
    const CommandResult exported =
        run({QStringLiteral("export"), kjv, imp, QStringLiteral("--format"), QStringLiteral("imp")});
    ASSERT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, QStringLiteral("kjv-ko.DAT\n\n31102개 구절을 IMP 파일로 내보냈습니다.\n") +
                                QDir::toNativeSeparators(imp) +
                                QStringLiteral("\n\nKJV 절 구분에 없는 구절은 앞 구절에 붙였습니다:\n"
                                               "아 6:14 → 아 6:13\n요삼 1:15 → 요삼 1:14\n"));

    const QString sword = scratch(QStringLiteral("sword"));
    const QString data = sword + QStringLiteral("/modules/texts/rawtext/kjvko");
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_TRUE(QDir().mkpath(sword + QStringLiteral("/mods.d")));
    writeAll(sword + QStringLiteral("/mods.d/kjvko.conf"), "[KJVKO]\nDataPath=./modules/texts/rawtext/kjvko/\n"
                                                           "ModDrv=RawText\nEncoding=UTF-8\nSourceType=Plain\n"
                                                           "Lang=ko\nVersification=KJV\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SWORD_PATH"), sword);
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    const auto tool = [&](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(300000));
        EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    tool(QStringLiteral("imp2vs"), {imp, QStringLiteral("-o"), data, QStringLiteral("-l"), QStringLiteral("ko")});
    const QMap<QString, QString> module =
        impEntries(tool(QStringLiteral("mod2imp"), {QStringLiteral("KJVKO"), QStringLiteral("-s")}));

    // Every verse's text under SWORD's English book name, the two verses KJV lacks after the verse before.
    QMap<QString, QString> expected;
    static const QRegularExpression reference(QStringLiteral("^(\\S+) (\\d+):(\\d+)$"));
    for (const auto& [key, text] : texts(kjv)) {
        const QRegularExpressionMatch match = reference.match(key);
        ASSERT_TRUE(match.hasMatch());
        const int book = importer::BookAbbreviations::find(match.captured(1));
        const QString english = importer::SwordBookNames::englishName(book).toString() + u' ' + match.captured(2) +
                                u':' + match.captured(3);
        if (key == QStringLiteral("아 6:14") || key == QStringLiteral("요삼 1:15")) {
            continue;
        }
        ASSERT_NE(text, QStringLiteral("<Null>")) << key.toStdString();
        expected.insert(english, text);
    }
    expected[QStringLiteral("Song of Solomon 6:13")] += QStringLiteral(" A verse KJV has not.");
    expected[QStringLiteral("III John 1:14")] += QStringLiteral(" 평강이 너에게 있을지어다");
    EXPECT_EQ(module.size(), 31100);
    EXPECT_EQ(expected.size(), 31100);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        ASSERT_EQ(module.value(it.key(), QStringLiteral("<missing>")).toStdString(), it.value().toStdString())
            << it.key().toStdString();
    }
    // The module's English names are the key table's.
    for (const QString& key : module.keys()) {
        EXPECT_NE(importer::SwordBookNames::find(key.section(u' ', 0, -2)), 0) << key.toStdString();
    }
    EXPECT_EQ(tool(QStringLiteral("diatheke"),
                   {QStringLiteral("-b"), QStringLiteral("KJVKO"), QStringLiteral("-k"), QStringLiteral("3John 1:14")}),
              QStringLiteral("III John 1:14: ") + expected.value(QStringLiteral("III John 1:14")) +
                  QStringLiteral("\n(KJVKO)\n"));
}

} // namespace
