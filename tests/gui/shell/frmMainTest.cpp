#include "shell/gui/frmMain.h"

#include "import/gui/frmAppend.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString kProgramFolder = QStringLiteral("/nonexistent/manager");

} // namespace

class frmMainTest : public QObject
{
    Q_OBJECT

private slots:
    // Row: a button of the main window or of the import window, the window it opens and that window's close button.
    void eachButtonOpensItsWindowModally_data()
    {
        QTest::addColumn<bool>("fromImport");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("closeButton");
        QTest::newRow("edit") << false << "Command3"
                              << "frmHolyEdit"
                              << "Command1";
        QTest::newRow("import") << false << "Command4"
                                << "frmAppend"
                                << "Command1";
        QTest::newRow("backup guide") << false << "Command6"
                                      << "frmBackup"
                                      << "Command1";
        QTest::newRow("export") << false << "Command9"
                                << "frmExport"
                                << "Command4";
        QTest::newRow("about") << false << "Command2"
                               << "frmAbout"
                               << "Command1";
        QTest::newRow("text format help") << true << "Command5"
                                          << "frmAppendForm"
                                          << "Command3";
    }

    void eachButtonOpensItsWindowModally()
    {
        QFETCH(bool, fromImport);
        QFETCH(QString, button);
        QFETCH(QString, closeButton);
        QFETCH(QString, window);
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain main(dialogs, kProgramFolder);
        QPixmap red(16, 16);
        red.fill(Qt::red);
        main.setWindowIcon(QIcon(red));
        std::unique_ptr<importer::frmAppend> import;
        if (fromImport) {
            import = std::make_unique<importer::frmAppend>(dialogs, kProgramFolder, &main);
        }
        QWidget& opener = fromImport ? *import : static_cast<QWidget&>(main);
        opener.show();
        QVERIFY(QTest::qWaitForWindowExposed(&opener));
        QString seen;
        QTimer::singleShot(0, &main, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) {
                return;
            }
            seen = QString::fromLatin1(modal->metaObject()->className()).section(QStringLiteral("::"), -1);
            seen += modal->parentWidget() == &opener ? QStringLiteral(" modal over its opener") : QString();
            const bool redIcon = modal->windowIcon().pixmap(16, 16).toImage().pixel(8, 8) == QColor(Qt::red).rgb();
            seen += redIcon ? QStringLiteral(" with the main window's icon") : QString();
            testsupport::click(*modal, closeButton);
            if (modal->isVisible()) {
                seen += QStringLiteral(", not closed by its button");
                modal->close();
            }
        });
        testsupport::click(opener, button);
        QCOMPARE(seen, window + QStringLiteral(" modal over its opener with the main window's icon"));
        QVERIFY(opener.findChildren<QDialog*>().isEmpty());
        QVERIFY(dialogs.messages().isEmpty());
    }

    void exitEndsTheEventLoop()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, kProgramFolder);
        window.show();
        QTimer::singleShot(0, &window, [&] { testsupport::click(window, QStringLiteral("Command1")); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
