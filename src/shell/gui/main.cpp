#include "platform/ProgramFolders.h"
#include "platform/gui/QtDialogs.h"
#include "shell/gui/StartUp.h"
#include "shell/gui/Translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    shell::installKoreanTranslations(app);
    platform::QtDialogs dialogs;
    return shell::StartUp(app, dialogs, platform::programFolder());
}
