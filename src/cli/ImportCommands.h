#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

// Takes "--encoding cp949|utf-8" out of the arguments of check or build: whether err.txt is written in code page 949
// (with CR LF), the platform's own choice when not given; nothing, with why, for another value.
[[nodiscard]] std::optional<bool> takeLogEncoding(QStringList& arguments, QString& why);

// Takes "--sword MODULE" out of the arguments of check or build: the installed SWORD module to read in the place of
// files (empty when not given); nothing, with why, when no module follows it.
[[nodiscard]] std::optional<QString> takeSwordModule(QStringList& arguments, QString& why);

// byeorisol-data check [--encoding cp949|utf-8] FILE... | --sword MODULE, without a name;
// byeorisol-data build [--encoding cp949|utf-8] NAME FILE... | --sword MODULE, with one.
int checkOrBuildCommand(const QString& programFolder, const std::optional<QString>& name, const QStringList& files,
                        const QString& swordModule, bool logInCodePage949);

} // namespace cli
