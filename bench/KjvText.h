#pragma once

#include <QString>
#include <QStringList>

namespace benchdata {

// The King James text of the data folder: one code page 949 file per book, with
// Korean book abbreviations, 31,102 lines in the import form.

// The 66 book files in canonical order, as native paths; fewer when some are missing.
[[nodiscard]] QStringList kjvBookFiles();

// Every line of the book files in order, decoded; empty when a file cannot be read.
[[nodiscard]] QStringList kjvLines();

} // namespace benchdata
