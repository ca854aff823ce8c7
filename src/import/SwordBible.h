#pragma once

#include "import/VerseSource.h"

#include <QList>
#include <QString>
#include <memory>

namespace importer {

// An installed Bible module of SWORD's, as SWORD's library finds it: in its usual module folders and SWORD_PATH.
struct SwordModule
{
    QString name;        // "engKJV2006eb"
    QString description; // the module's own, "King James Version (1769) with Strongs Numbers and Morphology"

    bool operator==(const SwordModule&) const = default;
};

// The verses of one installed Bible module, walked in the order of its versification as SWORD's mod2imp walks them:
// each entry's key the module's own ("Genesis 1:1", "I Samuel 30:31", read as an IMP key is), its text taken from the
// module's OSIS as a verse's text is taken from an OSIS file (a module in another markup through SWORD's own plain
// text). A module has no lines: an entry's line number is the verse's place in the module, counted from 1. It has no
// faults of its own either.
class SwordBible : public VerseSource
{
public:
    // How far the walk has come and its end, in verses of the module's versification: the run's progress.
    [[nodiscard]] virtual qint64 position() const = 0;
    [[nodiscard]] virtual qint64 size() const = 0;
};

// Whether this build of the program was made with SWORD's library; without it no module is found or read.
[[nodiscard]] bool swordLibraryLinked();

// The Bible modules installed on this machine, by name; none without SWORD's library.
[[nodiscard]] QList<SwordModule> installedSwordBibles();

// The verses of the installed Bible module of that name; nothing when there is none (or no library).
[[nodiscard]] std::unique_ptr<SwordBible> openSwordBible(const QString& name);

// How err.txt, the findings and the run's messages name a module, in the place of a file.
[[nodiscard]] inline QString swordBibleEntry(const QString& name)
{
    return name + QStringLiteral(" (SWORD 모듈)");
}

} // namespace importer
