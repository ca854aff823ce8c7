#pragma once

#include <QString>

namespace cli {

// byeorisol-data compact PATH
int compactCommand(const QString& programFolder, const QString& path);

// byeorisol-data repair PATH
int repairCommand(const QString& programFolder, const QString& path);

// byeorisol-data delete PATH
int deleteCommand(const QString& programFolder, const QString& path);

} // namespace cli
