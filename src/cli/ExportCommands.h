#pragma once

#include "exchange/VersionExport.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

// The arguments of export: PATH DEST [--format text|imp|osis|zefania|vpl] [--encoding cp949|utf-8] [--force].
struct ExportArguments
{
    QString path;
    QString destination;
    exchange::ExportFormat format = exchange::ExportFormat::Text;
    exchange::TextEncoding encoding = exchange::defaultTextEncoding();
    bool force = false; // files of the names to write are replaced; without it they refuse the export
};

// The export's arguments, or nothing with why set when they make no sense.
[[nodiscard]] std::optional<ExportArguments> parseExportArguments(const QStringList& arguments, QString& why);

// byeorisol-data export PATH DEST ...: writes the version as text files into the
// folder DEST, or as the IMP, OSIS, Zefania or VPL file DEST, and says how many verses went where.
// Files of the names to write refuse it (exit 1) unless forced; Ctrl+C cancels it (exit 130), nothing written.
int exportCommand(const ExportArguments& arguments);

// byeorisol-data report PATH: the counts of the version's records and texts, then
// its verses without text as ranges, one to a line.
int reportCommand(const QString& path);

} // namespace cli
