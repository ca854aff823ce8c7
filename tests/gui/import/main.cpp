#include <QApplication>

int runFrmAppendTest(int argc, char* argv[]);
int runFrmAppendFormTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int append = runFrmAppendTest(argc, argv);
    const int form = runFrmAppendFormTest(argc, argv);
    return append == 0 && form == 0 ? 0 : 1;
}
