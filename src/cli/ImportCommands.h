#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// byeorisol-data check FILE...
int checkCommand(const QString& programFolder, const QStringList& files);

// byeorisol-data build NAME FILE...
int buildCommand(const QString& programFolder, const QString& name, const QStringList& files);

} // namespace cli
