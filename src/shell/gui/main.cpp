#include "platform/ProgramFolders.h"
#include "platform/gui/QtDialogs.h"
#include "shell/gui/StartUp.h"
#include "shell/gui/Translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Window sizes and the folders last used are kept under these names.
    QApplication::setOrganizationName(QStringLiteral("byeorisol"));
    QApplication::setApplicationName(QStringLiteral("byeorisol-manager"));
    shell::installKoreanTranslations(app);
    platform::QtDialogs dialogs;
    return shell::StartUp(app, dialogs, platform::programFolder());
}
