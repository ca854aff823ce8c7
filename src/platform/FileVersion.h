#pragma once

namespace platform {

// The program's own file version, as the build sets it once, in the order of
// a Windows file version: major.minor.build.revision.
struct FileVersion
{
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
};

[[nodiscard]] FileVersion fileVersion();

} // namespace platform
