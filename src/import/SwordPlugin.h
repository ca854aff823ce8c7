#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace importer {

// What the import core and its plugin byeorisol-sword (src/import/sword/) share: nothing of the core's own code, so
// that the plugin links SWORD's library and QtCore alone.

// An installed Bible module of SWORD's, as SWORD's library finds it: in its usual module folders and SWORD_PATH.
struct SwordModule
{
    QString name;        // "engKJV2006eb"
    QString description; // the module's own, "King James Version (1769) with Strongs Numbers and Morphology"

    bool operator==(const SwordModule&) const = default;
};

// The plugin's walk of one module's verses, in the order of its versification as SWORD's mod2imp walks them.
class SwordModuleWalk
{
public:
    SwordModuleWalk() = default;
    SwordModuleWalk(const SwordModuleWalk&) = delete;
    SwordModuleWalk& operator=(const SwordModuleWalk&) = delete;
    virtual ~SwordModuleWalk() = default;

    // The next verse: its place in the module's versification, its key as the module writes it ("Genesis 1:1"), its
    // text; false after the last.
    virtual bool next(qint64& index, QString& key, QString& text) = 0;
    // The last place of the module's versification: the end of a run's progress.
    [[nodiscard]] virtual qint64 size() const = 0;
};

// The plugin's two functions, by these names: the installed Bible modules into a list; the walk of one (nullptr when
// there is none), its OSIS markup made text by the function given.
using MarkupText = QString (*)(QStringView markup);
using ListSwordBibles = void (*)(QList<SwordModule>& bibles);
using OpenSwordBible = SwordModuleWalk* (*)(const QString& name, MarkupText markupText);
constexpr const char* kListSwordBibles = "byeorisolListSwordBibles";
constexpr const char* kOpenSwordBible = "byeorisolOpenSwordBible";

} // namespace importer
