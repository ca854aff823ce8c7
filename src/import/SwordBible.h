#pragma once

#include "import/SwordPlugin.h"
#include "import/VerseSource.h"

#include <QList>
#include <QString>
#include <memory>

namespace importer {

// The verses of one installed Bible module, walked in the order of its versification as SWORD's mod2imp walks them:
// each entry's key the module's own ("Genesis 1:1", "I Samuel 30:31", read as an IMP key is), its text taken from the
// module's OSIS as a verse's text is taken from an OSIS file (a module in another markup through SWORD's own plain
// text). A module has no lines: an entry's line number is the verse's place in the module, counted from 1. It has no
// faults of its own either.
class SwordBible final : public VerseSource
{
public:
    explicit SwordBible(std::unique_ptr<SwordModuleWalk> walk, const QString& name);

    [[nodiscard]] TextFileReader::ReadResult next(SourceEntry& entry) override;
    [[nodiscard]] const platform::FileFailure& failure() const override { return m_failure; }

    // How far the walk has come and its end, in verses of the module's versification: the run's progress.
    [[nodiscard]] qint64 position() const { return m_position; }
    [[nodiscard]] qint64 size() const { return m_walk->size(); }

private:
    std::unique_ptr<SwordModuleWalk> m_walk;
    platform::FileFailure m_failure;
    qint64 m_place = 0;
    qint64 m_position = 0;
};

// SWORD's library is reached through a plugin of the program's own (byeorisol-sword), loaded the first time a module
// is looked for, so that no other work loads SWORD's library and the many it links. It lies beside the program, in
// ../lib/byeorisol/plugins from it (the installed layout) or in a library path of the application. The Windows build
// has none.

// Whether the plugin, and with it SWORD's library, is at hand; without it no module is found or read.
[[nodiscard]] bool swordLibraryFound();

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
