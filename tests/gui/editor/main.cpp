#include <QApplication>

int runFrmHolyEditTest(int argc, char* argv[]);
int runCommand3Test(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int editor = runFrmHolyEditTest(argc, argv);
    const int command3 = runCommand3Test(argc, argv);
    return editor == 0 && command3 == 0 ? 0 : 1;
}
