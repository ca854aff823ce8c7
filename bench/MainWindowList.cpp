// How soon the main window lists the versions of an install folder of many version files, each a copy of the
// built reference version: the list itself, and every version's verses read.
//   main-window-list [COUNT]   (100 by default; run offscreen)

#include "platform/gui/QtDialogs.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/VersionListModel.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    QTemporaryDir root;
    const QString install = root.filePath(QStringLiteral("viewer"));
    QDir().mkpath(install + QStringLiteral("/manager"));
    const QString reference = testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT");
    for (int i = 0; i < count; ++i) {
        if (!QFile::copy(reference, install + QStringLiteral("/v%1.dat").arg(i, 3, 10, QLatin1Char('0')))) {
            std::fprintf(stderr, "main-window-list: cannot copy %s\n", qPrintable(reference));
            return 1;
        }
    }
    platform::QtDialogs dialogs;
    QElapsedTimer clock;
    clock.start();
    shell::MainWindow window(dialogs, install + QStringLiteral("/manager"));
    window.show();
    QCoreApplication::processEvents();
    const qint64 listed = clock.elapsed();
    const int rows = window.versions().rowCount();
    while (window.versions().isReading()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    const qint64 read = clock.elapsed();
    std::printf("%d version files: listed in %lld ms (%d rows), every version's verses read in %lld ms\n", count,
                static_cast<long long>(listed), rows, static_cast<long long>(read));
    return rows == count ? 0 : 1;
}
