// A build without SWORD's library (the Windows build): no module is found, none is read.
#include "import/SwordBible.h"

namespace importer {

bool swordLibraryLinked()
{
    return false;
}

QList<SwordModule> installedSwordBibles()
{
    return {};
}

std::unique_ptr<SwordBible> openSwordBible(const QString&)
{
    return nullptr;
}

} // namespace importer
