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
    return std::unique_ptr<SwordBible>(swordLibraryFound() ? swordPlugin().open(name, &osisMarkupText) : nullptr);
}

} // namespace importer
