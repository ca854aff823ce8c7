// Renders every window of the program to PNG files, for the README and for
// looking at layouts without a display:
//   render-windows OUTPUT_FOLDER PROGRAM_FOLDER
// scripts/render-windows passes the program folder the build laid out. Each picture is
// the window's client area under a plain caption bar carrying its title.

#include "editor/gui/HistoryDialog.h"
#include "editor/gui/VerseEditorDialog.h"
#include "exchange/gui/ExportDialog.h"
#include "import/gui/FormatHelpDialog.h"
#include "import/gui/ImportDialog.h"
#include "maintenance/gui/AboutDialog.h"
#include "maintenance/gui/BackupGuideDialog.h"
#include "platform/gui/Dialogs.h"
#include "review/gui/CompareDialog.h"
#include "review/gui/InspectDialog.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/Translations.h"
#include "shell/gui/VersionListModel.h"
#include "versiondb/Error.h"
#include "versiondb/VersionStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <utility>

namespace {

// Answers every question as a cancel would, so that no window waits for a person while it is drawn.
class HandedDialogs final : public platform::Dialogs
{
public:
    platform::MessageAnswer message(QWidget*, platform::MessageIcon, platform::MessageButtons, const QString&) override
    {
        return platform::MessageAnswer::No;
    }
    QStringList chooseFiles(QWidget*, const platform::FileDialogRequest&) override { return {}; }
    QString chooseFolder(QWidget*, const platform::FileDialogRequest&) override { return {}; }
    std::optional<platform::FontChoice> chooseFont(QWidget*, const platform::FontChoice&) override { return {}; }
};

// Saves the window's picture, with its caption bar, as NAME.png in folder.
bool save(QWidget& window, const QString& folder, const QString& name)
{
    window.show();
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    const QPixmap client = window.grab();
    const int captionHeight = 26;
    QImage image(client.width() + 2, client.height() + captionHeight + 1, QImage::Format_RGB32);
    image.fill(QColor(0x3C, 0x5A, 0x8C));
    QPainter painter(&image);
    QFont font = window.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, image.width() - 16, captionHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawPixmap(1, captionHeight, client);
    painter.end();
    window.hide();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!image.save(path)) {
        std::fprintf(stderr, "render-windows: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// Saves a window once for each of its tabs, as NAME-1.png, NAME-2.png, ...
bool saveTabs(QWidget& window, const QString& folder, const QString& name)
{
    window.show();
    auto* tabs = window.findChild<QTabWidget*>();
    if (tabs == nullptr) {
        std::fprintf(stderr, "render-windows: %s has no tabs\n", qPrintable(name));
        return false;
    }
    bool ok = true;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        ok = save(window, folder, name + QStringLiteral("-%1").arg(i + 1)) && ok;
    }
    return ok;
}

using VerseTexts = QList<std::pair<const char*, const char*>>;

// A copy of the reference version at path with these texts stored; false, after saying why, when it could not be made.
bool sampleVersion(const QString& reference, const QString& path, const VerseTexts& texts)
{
    if (!QFile::copy(reference, path)) {
        std::fprintf(stderr, "render-windows: cannot copy %s to %s\n", qPrintable(reference), qPrintable(path));
        return false;
    }
    try {
        const auto store = versiondb::VersionStore::openDatabase(path);
        for (const auto& [verse, text] : texts) {
            store->setText(store->seek(QString::fromUtf8(verse)).value_or(0), QString::fromUtf8(text));
        }
        return true;
    } catch (const versiondb::Error& error) {
        std::fprintf(stderr, "render-windows: %s\n", error.description().toUtf8().constData());
        return false;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    shell::installKoreanTranslations(app);
    if (argc != 3) {
        std::fputs("usage: render-windows OUTPUT_FOLDER PROGRAM_FOLDER\n", stderr);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString programFolder = QString::fromLocal8Bit(argv[2]);
    // The import window lists SWORD's modules through the plugin beside the built programs.
    QCoreApplication::addLibraryPath(programFolder);
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "render-windows: cannot make %s\n", argv[1]);
        return 1;
    }
    HandedDialogs dialogs;
    bool ok = true;
    // The main window on an install folder of the shipped files and two personal versions, one of them changed.
    QTemporaryDir tree;
    const QString treeProgram = tree.filePath(QStringLiteral("manager"));
    ok = QDir().mkpath(treeProgram) && ok;
    const QString reference = programFolder + QStringLiteral("/../개역.DAT");
    for (const char* name : {"개역.DAT", "kjv.dat", "우리말성경.dat"}) {
        ok = QFile::copy(reference, tree.filePath(QString::fromUtf8(name))) && ok;
    }
    ok = QFile::copy(programFolder + QStringLiteral("/../user.dat"), tree.filePath(QStringLiteral("user.dat"))) && ok;
    ok = sampleVersion(reference, tree.filePath(QStringLiteral("새번역.dat")),
                       {{"창 1:1", "태초에 하나님이 하늘과 땅을 창조하셨다."}}) &&
         ok;
    shell::MainWindow main(dialogs, treeProgram);
    main.show();
    while (main.versions().isReading()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    main.selectVersion(QStringLiteral("새번역.dat"));
    ok = save(main, output, QStringLiteral("MainWindow")) && ok;
    {
        // The verse editor on a copy of the reference version with the text of 창 1:1 filled in.
        QTemporaryDir scratch;
        const QString version = scratch.filePath(QStringLiteral("sample.dat"));
        ok = sampleVersion(reference, version, {{"창 1:1", "태초에 하나님이 천지를 창조하시니라"}}) && ok;
        editor::VerseEditorDialog window(dialogs, programFolder, &main);
        ok = !window.showVerse(version, {}) && ok;
        ok = save(window, output, QStringLiteral("VerseEditorDialog")) && ok;
        window.done(QDialog::Rejected);
        // The history of 창 1:1 after two saves and an undo.
        const QString genesis = QStringLiteral("창 1:1");
        editor::VerseEditor verses;
        ok = !verses.open(version) && ok;
        for (const char* text : {"태초에 하나님이 천지를 지으시니라", "태초에 하나님이 하늘과 땅을 창조하시니라"}) {
            ok = verses.save(genesis, QString::fromUtf8(text)).result == editor::SaveResult::Stored && ok;
        }
        ok = verses.undoLast(genesis).has_value() && ok;
        editor::HistoryDialog history(dialogs, verses, genesis, QStringLiteral("sample.dat"), &main);
        ok = history.load() && save(history, output, QStringLiteral("HistoryDialog")) && ok;
    }
    {
        // The export window with a version and a folder chosen.
        exchange::ExportDialog window(dialogs, programFolder, &main);
        window.setVersion(QStringLiteral("/home/user/벼리솔/kjv.dat"));
        if (auto* box = window.findChild<QLineEdit*>(QStringLiteral("folderEdit"))) {
            box->setText(QStringLiteral("/home/user/성경 내보내기"));
        }
        ok = save(window, output, QStringLiteral("ExportDialog")) && ok;
    }
    {
        // The comparison of a version with its backup copy, a few texts changed since.
        QTemporaryDir scratch;
        const QStringList versions = {scratch.filePath(QStringLiteral("backup/kjv.dat")),
                                      scratch.filePath(QStringLiteral("kjv.dat"))};
        const VerseTexts backup = {{"창 1:1", "태초에 하나님이 천지를 창조하시니라"},
                                   {"창 1:2", "땅이 혼돈하고 공허하며"},
                                   {"창 1:3", "하나님이 가라사대 빛이 있으라 하시매"},
                                   {"창 1:5", "빛을 낮이라 칭하시고"}};
        const VerseTexts now = {{"창 1:1", "태초에 하나님이 하늘과 땅을 창조하시니라"},
                                {"창 1:2", "땅이 혼돈하고 공허하며"},
                                {"창 1:3", "하나님이 이르시되 빛이 있으라 하시니"},
                                {"창 1:6", "하나님이 가라사대 물 가운데 궁창이 있어"}};
        ok = QDir().mkpath(scratch.filePath(QStringLiteral("backup"))) &&
             sampleVersion(reference, versions[0], backup) && sampleVersion(reference, versions[1], now) && ok;
        review::CompareDialog window(dialogs, programFolder, &main);
        auto* versionB = window.findChild<QLineEdit*>(QStringLiteral("versionBEdit"));
        if (auto* compare = window.findChild<QPushButton*>(QStringLiteral("compareButton")); compare && versionB) {
            window.setVersion(versions[0]);
            versionB->setText(versions[1]);
            compare->click();
            // The paths as a user's would read, not the scratch folder's.
            window.setVersion(QStringLiteral("/home/user/백업/kjv.dat"));
            versionB->setText(QStringLiteral("/home/user/벼리솔/kjv.dat"));
        }
        ok = save(window, output, QStringLiteral("CompareDialog")) && ok;
    }
    {
        // The inspection of a version with a few faulty texts.
        QTemporaryDir scratch;
        const QString version = scratch.filePath(QStringLiteral("my.dat"));
        const VerseTexts texts = {
            {"창 1:1", "태초에 하나님이 천지를 창조하시니라"},
            {"창 1:2", "땅이 혼돈하고  공허하며 흑암이 깊음 위에 있고"},
            {"창 1:3", "null"},
            {"창 1:4", "빛이 하나님이 보시기에 좋았더라 (하나님이 빛과 어두움을 나누사"},
            {"창 1:5", "빛을 낮이라 칭하시고 어두움을 밤이라 칭하시니라 저녁이 되며 아침이 되니 이는 첫째 날이니라"},
            {"창 1:6", "빛을 낮이라 칭하시고 어두움을 밤이라 칭하시니라 저녁이 되며 아침이 되니 이는 첫째 날이니라"},
            {"창 1:7",
             "\xe1\x84\x92\xe1\x85\xa1\xe1\x84\x82\xe1\x85\xa1\xe1\x84\x82\xe1\x85\xb5\xe1\x86\xb7\xec\x9d\xb4 "
             "궁창을 만드사"},
        };
        ok = sampleVersion(reference, version, texts) && ok;
        review::InspectDialog window(dialogs, programFolder, {}, &main);
        if (auto* inspect = window.findChild<QPushButton*>(QStringLiteral("inspectButton"))) {
            window.setVersion(version);
            inspect->click();
            window.setVersion(QStringLiteral("/home/user/벼리솔/my.dat"));
        }
        ok = save(window, output, QStringLiteral("InspectDialog")) && ok;
    }
    {
        maintenance::BackupGuideDialog window(dialogs, programFolder, &main);
        ok = save(window, output, QStringLiteral("BackupGuideDialog")) && ok;
    }
    {
        maintenance::AboutDialog window(dialogs, programFolder, &main);
        ok = save(window, output, QStringLiteral("AboutDialog")) && ok;
    }
    {
        importer::ImportDialog window(dialogs, programFolder, &main);
        // A few book files, as a user would have dropped them.
        QStringList files;
        for (const char* name : {"01-창세기.txt", "02-출애굽기.txt", "03-레위기.txt", "04-민수기.txt"}) {
            files << QStringLiteral("/home/user/성경/") + QString::fromUtf8(name);
        }
        window.addFiles(files);
        ok = saveTabs(window, output, QStringLiteral("ImportDialog")) && ok;
        importer::FormatHelpDialog help(&window);
        ok = saveTabs(help, output, QStringLiteral("FormatHelpDialog")) && ok;
    }
    return ok ? 0 : 1;
}
