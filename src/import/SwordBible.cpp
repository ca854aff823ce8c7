#include "import/SwordBible.h"

#include "import/XmlVerseReader.h"

#include <QCoreApplication>
#include <QLibrary>

namespace importer {

namespace {

struct SwordPlugin
{
    ListSwordBibles list = nullptr;
    OpenSwordBible open = nullptr;
};

// The plugin, looked for once.
const SwordPlugin& swordPlugin()
{
    static const SwordPlugin plugin = [] {
        QStringList folders = QCoreApplication::libraryPaths();
        if (QCoreApplication::instance() != nullptr) {
            const QString program = QCoreApplication::applicationDirPath();
            folders.prepend(program + QStringLiteral("/../lib/byeorisol/plugins"));
            folders.prepend(program);
        }
        for (const QString& folder : folders) {
            QLibrary library(folder + QStringLiteral("/byeorisol-sword"));
            SwordPlugin found{reinterpret_cast<ListSwordBibles>(library.resolve(kListSwordBibles)),
                              reinterpret_cast<OpenSwordBible>(library.resolve(kOpenSwordBible))};
            if (found.list != nullptr && found.open != nullptr) {
                return found; // (the library stays loaded: QLibrary unloads nothing when it goes)
            }
        }
        return SwordPlugin();
    }();
    return plugin;
}

} // namespace

bool swordLibraryFound()
{
    return swordPlugin().list != nullptr;
}

QList<SwordModule> installedSwordBibles()
{
    QList<SwordModule> bibles;
    if (swordLibraryFound()) {
        swordPlugin().list(bibles);
    }
    return bibles;
}

std::unique_ptr<SwordBible> openSwordBible(const QString& name)
{
    std::unique_ptr<SwordModuleWalk> walk(swordLibraryFound() ? swordPlugin().open(name, &osisMarkupText) : nullptr);
    return walk != nullptr ? std::make_unique<SwordBible>(std::move(walk), name) : nullptr;
}

SwordBible::SwordBible(std::unique_ptr<SwordModuleWalk> walk, const QString& name) : m_walk(std::move(walk))
{
    m_failure.path = swordBibleEntry(name);
}

TextFileReader::ReadResult SwordBible::next(SourceEntry& entry)
{
    entry = SourceEntry();
    if (!m_walk->next(m_position, entry.key, entry.text)) {
        return TextFileReader::ReadResult::End;
    }
    entry.lineNumber = ++m_place;
    return TextFileReader::ReadResult::Line;
}

} // namespace importer
