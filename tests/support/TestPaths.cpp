#include "support/TestPaths.h"

#include "support/TestPathsGenerated.h"

#include <QDir>

namespace testsupport {

QString builtProgramFolder()
{
    return QDir::toNativeSeparators(QStringLiteral(BYEORISOL_TEST_PROGRAM_FOLDER));
}

QString builtInstallFolder()
{
    return QDir::toNativeSeparators(QStringLiteral(BYEORISOL_TEST_INSTALL_FOLDER));
}

QString testBinFolder()
{
    return QDir::toNativeSeparators(QStringLiteral(BYEORISOL_TEST_BIN_FOLDER));
}

QString sourceFolder()
{
    return QDir::toNativeSeparators(QStringLiteral(BYEORISOL_TEST_SOURCE_FOLDER));
}

QString dataFolder()
{
    return sourceFolder() + QDir::separator() + QStringLiteral("data");
}

} // namespace testsupport
