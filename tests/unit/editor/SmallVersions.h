#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <optional>

namespace editortest {

// One record of a test version; a null QVariant is Null.
struct Verse
{
    QVariant number;
    QString reference;
    QVariant text;
};

// A record as stored, every field.
struct StoredRecord
{
    QVariant number, book, chapter, verse, reference, text;
    bool operator==(const StoredRecord&) const = default;
};

// Six verses numbered 1 to 6 whose reference order differs from their number order:
// 창 1:1, 창 1:2 (Null), 창 1:3 ("null"), 창 1:10, 출 1:1, 계 22:21.
[[nodiscard]] QList<Verse> sampleVerses();

// A temporary install tree of its own: the install folder, and the program
// folder "manager" in it holding the template copied from the build. Paths are native.
class VersionTree
{
public:
    VersionTree();
    [[nodiscard]] bool isValid() const { return m_valid; }
    [[nodiscard]] QString installFolder() const { return QDir::toNativeSeparators(m_root.filePath("viewer")); }
    [[nodiscard]] QString programFolder() const { return installFolder() + QDir::separator() + "manager"; }
    [[nodiscard]] QString pathOf(const QString& name) const { return installFolder() + QDir::separator() + name; }
    // A version file of the install folder holding exactly these verses, made from
    // the template through the engine; its path, or the empty text on failure.
    QString makeVersion(const QString& name, const QList<Verse>& verses) const;
    // A file of the install folder with these bytes; its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_root;
    bool m_valid = false;
};

// Every record of a version in 번호 order.
[[nodiscard]] QList<StoredRecord> storedRecords(const QString& path);
// 본문 of the record with this reference (a null QVariant for Null); nothing when there is none.
[[nodiscard]] std::optional<QVariant> storedText(const QString& path, const QString& reference);
// True when the file opens exclusively: no one holds it.
[[nodiscard]] bool openable(const QString& path);

} // namespace editortest
