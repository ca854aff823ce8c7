#pragma once

#include "versiondb/Error.h"

#include <QByteArray>
#include <QDir>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <optional>
#include <utility>

namespace testsupport {

// One record of a test version; a null QVariant is Null. 절 is the number unless given.
struct Verse
{
    QVariant number;
    QString reference;
    QVariant text;
    int book = 1;
    int verse = 0;
    int chapter = 1;
};

// A record as stored, every field.
struct StoredRecord
{
    QVariant number, book, chapter, verse, reference, text;
    bool operator==(const StoredRecord&) const = default;
};

// Which records of a numbered version hold a text.
enum class Texts
{
    None,       // every 본문 Null
    EveryThird, // records 1, 4, 7, ...: long ones, and the letters "null" among them
    Most,       // all but every fifth
};

// A test's own install tree: "viewer" in a temporary folder, the program folder "viewer/manager" holding the named
// files of the built one. Paths are native.
class InstallTree
{
public:
    explicit InstallTree(const QStringList& builtProgramFiles = {});

    [[nodiscard]] bool isValid() const { return m_valid; }
    [[nodiscard]] QString installFolder() const { return m_install; }
    [[nodiscard]] QString programFolder() const { return path(QStringLiteral("manager")); }
    // A file of the install folder.
    [[nodiscard]] QString path(const QString& name) const { return m_install + QDir::separator() + name; }
    // A file of the program folder, such as "err.txt".
    [[nodiscard]] QString programFile(const QString& name) const { return programFolder() + QDir::separator() + name; }
    [[nodiscard]] QString scratchPath() const { return programFile(QStringLiteral("temp.mdb")); }
    [[nodiscard]] QStringList installEntries() const; // but "manager"
    [[nodiscard]] QStringList programEntries() const;
    // Every file of the install and program folders by name, with its bytes.
    [[nodiscard]] QHash<QString, QByteArray> fileBytes() const;
    // Copies the built 개역.DAT into the install folder under these names too; true when every copy was made.
    [[nodiscard]] bool addReference(const QStringList& copies = {}) const;

    // A version of records 1..count: 번호 i, 권 1 + (i - 1) / 100, 장 1, 절 i, 성경구절 "창 1:i".
    QString makeVersion(const QString& name, int count, Texts texts = Texts::None) const;
    // A version holding exactly these verses, 장 1; its path, or the empty text on failure.
    QString makeVersion(const QString& name, const QList<Verse>& verses) const;
    // A file of the install folder with these bytes; its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    // A text file beside the install folder of these lines in code page 949, each ended by CR LF.
    QString textFile(const QString& name, const QStringList& lines) const;
    // A path beside the install folder, for a file or folder a test makes itself.
    [[nodiscard]] QString beside(const QString& name) const { return QDir::toNativeSeparators(m_root.filePath(name)); }

private:
    QTemporaryDir m_root;
    QString m_install;
    bool m_valid = false;
};

// The verses of a small reference version 개역.DAT: 창 1:1 to 1:3 and 출 1:1, without texts.
[[nodiscard]] QList<Verse> smallReferenceVerses();
// Six verses numbered 1 to 6 whose reference order differs from their number order:
// 창 1:1, 창 1:2 (Null), 창 1:3 ("null"), 창 1:10, 출 1:1, 계 22:21.
[[nodiscard]] QList<Verse> sampleVerses();

// Every verse of the Korean numbering, each with the text "본문 N", N its 번호.
[[nodiscard]] QList<Verse> wholeBible();
// The Korean King James text as a user lists it, one file a book: the 66 files of data/kjv-ko in name order.
[[nodiscard]] QStringList kjvBookFiles();

// Every record in 번호 order, every field.
[[nodiscard]] QList<StoredRecord> storedRecords(const QString& path);
// The verse texts by reference in 번호 order, Null as "<Null>".
[[nodiscard]] QList<std::pair<QString, QString>> storedTexts(const QString& path);
// 본문 of the record with this reference (a null QVariant for Null); nothing when there is none.
[[nodiscard]] std::optional<QVariant> storedText(const QString& path, const QString& reference);
// True when the file opens exclusively: no one holds it.
[[nodiscard]] bool openable(const QString& path);
// Rewrites the texts of every other record twice, so that the file holds free pages.
void churn(const QString& path);

// Runs SQL on a closed file through SQLite itself: the first column of the rows, joined, or the error.
[[nodiscard]] QString sql(const QString& path, const QString& statements);
[[nodiscard]] QByteArray bytes(const QString& path);
void write(const QString& path, const QByteArray& content);

// The error number of the engine's error that running f raises, or 0 when it raises none.
template <typename F> int errorOf(F&& f)
{
    try {
        f();
    } catch (const versiondb::Error& e) {
        return e.number();
    }
    return 0;
}

} // namespace testsupport
