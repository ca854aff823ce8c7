#pragma once

#include <QString>

namespace versiondb {

// The numbers of the engine's errors, after the numbering of the original
// engine where it has one. Their descriptions live beside them in ErrorNumbers.cpp.
namespace errorNumber {
constexpr int EngineFailure = 3000;
constexpr int InvalidArgument = 3001;
constexpr int NoCurrentRecord = 3021;
constexpr int FileNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int InvalidPassword = 3031;
constexpr int DiskError = 3043;
constexpr int InvalidPath = 3044;
constexpr int FileInUse = 3045;
constexpr int DatabaseDamaged = 3049;
constexpr int NoPermission = 3051;
constexpr int NoSuchTable = 3078;
constexpr int DatabaseExists = 3204;
constexpr int NoSuchField = 3265;
constexpr int UnrecognizedFormat = 3343;
constexpr int ObjectClosed = 3420;
constexpr int NoSuchIndex = 3800;
} // namespace errorNumber

// The Korean description of an error number; a number outside the table gets a general one.
[[nodiscard]] QString errorDescription(int number);

} // namespace versiondb
