#pragma once

#include "import/SwordBible.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace importer {

// What a run reads: the text files of a list, in list order, or the verses of an installed SWORD Bible module.
struct RunInput
{
    RunInput(QStringList listed = {}) : files(std::move(listed)) {} // NOLINT: a list of files is a run's input

    [[nodiscard]] static RunInput swordBible(QString module)
    {
        RunInput input;
        input.swordModule = std::move(module);
        return input;
    }

    QStringList files;
    QString swordModule; // set: the module is read, and no file
};

// The checks made before a run starts, as the import window and the command-line
// companion both make them. Each answers the refusal's text, or nothing.

// Who asks for the run: the window's texts name its tabs and its file list, the
// command line's name what is written on it.
enum class Asker
{
    Window,
    CommandLine,
};

// Only regular files (or links to them) are read: the first entry that names a folder,
// a device, a pipe, a database or the like is refused, by its name, before anything is opened.
[[nodiscard]] std::optional<QString> inputFileRefusal(const QStringList& files, Asker asker = Asker::Window);

// A module is read only when this build has SWORD's library and the module is among the Bible modules installed;
// an empty name asks only whether any module can be read. The refusal says which of these is missing.
[[nodiscard]] std::optional<QString> swordModuleRefusal(const QString& module, const QList<SwordModule>& installed,
                                                        bool libraryFound = swordLibraryFound());

// A check run needs at least one file, and files it can read; or a module (which the run refuses when it cannot
// open it).
[[nodiscard]] std::optional<QString> checkRunRefusal(const RunInput& input, Asker asker = Asker::Window);

// A build run needs files it can read (or a module) and a version name that is not a shipped file's.
// The name comes back trimmed of spaces, as the window writes it back into its box.
[[nodiscard]] std::optional<QString> buildRunRefusal(const RunInput& input, QString& versionName,
                                                     Asker asker = Asker::Window);

// The questions asked before a run starts.
[[nodiscard]] QString checkRunQuestion();
[[nodiscard]] QString buildRunQuestion();

} // namespace importer
