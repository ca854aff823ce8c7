#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

constexpr int kExitFailure = 2;

void printUsage()
{
    std::fputs("usage: byeorisol-data [--program-folder DIR] COMMAND ...\n"
               "commands:\n"
               "  check FILE...\n"
               "  build NAME FILE...\n"
               "  compact PATH\n"
               "  repair PATH\n"
               "  delete PATH\n"
               "  show PATH REFERENCE\n"
               "  save PATH REFERENCE TEXT\n",
               stderr);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QStringLiteral("--help")) {
        printUsage();
        return arguments.isEmpty() ? kExitFailure : 0;
    }
    std::fprintf(stderr, "byeorisol-data: unknown command: %s\n", arguments.first().toUtf8().constData());
    printUsage();
    return kExitFailure;
}
