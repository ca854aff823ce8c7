#include "shell/gui/frmMain.h"

#include "import/gui/frmAppend.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

class frmMainTest : public QObject
{
    Q_OBJECT

private slots:
    // Each button opens its window modally over the window clicked, with the main window's icon, until the
    // window's own close button closes it. The text format help opens from the import window.
    void eachButtonOpensItsWindowModally()
    {
        const QString folder = u"/nonexistent/manager"_s;
        const struct
        {
            QString button;
            QString window;
            QString closeButton;
        } cases[] = {
            {u"Command3"_s, u"frmHolyEdit"_s, u"Command1"_s}, {u"Command4"_s, u"frmAppend"_s, u"Command1"_s},
            {u"Command6"_s, u"frmBackup"_s, u"Command1"_s},   {u"Command9"_s, u"frmExport"_s, u"Command4"_s},
            {u"Command2"_s, u"frmAbout"_s, u"Command1"_s},    {u"Command5"_s, u"frmAppendForm"_s, u"Command3"_s}};
        for (const auto& c : cases) {
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain main(dialogs, folder);
            QPixmap red(16, 16);
            red.fill(Qt::red);
            main.setWindowIcon(QIcon(red));
            std::unique_ptr<importer::frmAppend> import;
            if (c.window == u"frmAppendForm"_s) {
                import = std::make_unique<importer::frmAppend>(dialogs, folder, &main);
            }
            QWidget& opener = import ? *import : static_cast<QWidget&>(main);
            opener.show();
            QString seen;
            QTimer::singleShot(0, &main, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    seen = QString::fromLatin1(modal->metaObject()->className()).section(u"::"_s, -1);
                    seen += modal->parentWidget() == &opener ? u" over its opener"_s : QString();
                    const QRgb icon = modal->windowIcon().pixmap(16, 16).toImage().pixel(8, 8);
                    seen += icon == QColor(Qt::red).rgb() ? u" with the icon"_s : QString();
                    testsupport::click(*modal, c.closeButton);
                    seen += modal->isVisible() ? u", not closed by its button"_s : QString();
                    modal->close();
                }
            });
            testsupport::click(opener, c.button);
            QCOMPARE(seen, c.window + u" over its opener with the icon"_s);
            QVERIFY(opener.findChildren<QDialog*>().isEmpty());
            QVERIFY(dialogs.messages().isEmpty());
        }
    }

    void exitEndsTheEventLoop()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, u"/nonexistent/manager"_s);
        window.show();
        QTimer::singleShot(0, &window, [&] { testsupport::click(window, u"Command1"_s); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
