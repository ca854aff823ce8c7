#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// The King James text of the data folder: one code page 949 file per book, with
// Korean book abbreviations, 31,102 lines in the import form.

// The 66 book files in canonical order, as native paths; fewer when some are missing.
[[nodiscard]] QStringList kjvBookFiles();

// Every line of the book files in order, decoded; empty when a file cannot be read.
[[nodiscard]] QStringList kjvLines();

// The lines of one book ("창"), its text made plain ASCII: pilcrows ("¶ ") left out and right
// single quotation marks made apostrophes. In code page 949 only the abbreviation is then beyond
// ASCII, and "창" (C3 A2) and "호" (C8 A3) are well-formed UTF-8 there.
[[nodiscard]] QStringList kjvAsciiBookLines(const QString& abbreviation);

} // namespace testsupport
