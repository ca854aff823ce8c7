#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

// Takes "--encoding cp949|utf-8" out of the arguments of check or build: whether err.txt is written in code page 949
// (with CR LF), the platform's own choice when not given; nothing, with why, for another value.
[[nodiscard]] std::optional<bool> takeLogEncoding(QStringList& arguments, QString& why);

// byeorisol-data check [--encoding cp949|utf-8] FILE...
int checkCommand(const QString& programFolder, const QStringList& files, bool logInCodePage949);

// byeorisol-data build [--encoding cp949|utf-8] NAME FILE...
int buildCommand(const QString& programFolder, const QString& name, const QStringList& files, bool logInCodePage949);

} // namespace cli
