#include <QApplication>

int runFrmBackupTest(int argc, char* argv[]);
int runFrmAboutTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int backup = runFrmBackupTest(argc, argv);
    const int about = runFrmAboutTest(argc, argv);
    return backup == 0 && about == 0 ? 0 : 1;
}
