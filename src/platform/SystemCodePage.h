#pragma once

namespace platform {

// Whether the system's own code page for text files is code page 949, as on a Korean Windows: there the program's
// text files (the error log, a text export) are written in it with CR LF line ends, elsewhere in UTF-8 with LF.
[[nodiscard]] bool systemCodePageIs949();

} // namespace platform
