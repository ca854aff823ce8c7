#include <QApplication>

int runAnimationWidgetTest(int argc, char* argv[]);
int runQtDialogsTest(int argc, char* argv[]);
int runShellOpenTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int animation = runAnimationWidgetTest(argc, argv);
    const int dialogs = runQtDialogsTest(argc, argv);
    const int open = runShellOpenTest(argc, argv);
    return animation == 0 && dialogs == 0 && open == 0 ? 0 : 1;
}
