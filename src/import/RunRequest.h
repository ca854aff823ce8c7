#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace importer {

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

// A check run needs at least one file, and files it can read.
[[nodiscard]] std::optional<QString> checkRunRefusal(const QStringList& files, Asker asker = Asker::Window);

// A build run needs files it can read and a version name that is not a shipped file's.
// The name comes back trimmed of spaces, as the window writes it back into its box.
[[nodiscard]] std::optional<QString> buildRunRefusal(const QStringList& files, QString& versionName,
                                                     Asker asker = Asker::Window);

// The questions asked before a run starts.
[[nodiscard]] QString checkRunQuestion();
[[nodiscard]] QString buildRunQuestion();

} // namespace importer
