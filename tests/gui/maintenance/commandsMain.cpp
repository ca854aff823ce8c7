#include <QApplication>

int runFrmMainMaintenanceTest(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    return runFrmMainMaintenanceTest(argc, argv);
}
