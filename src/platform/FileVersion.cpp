#include "platform/FileVersion.h"

#include "platform/FileVersionNumbers.h"

namespace platform {

FileVersion fileVersion()
{
    return {generated::kMajor, generated::kMinor, generated::kBuild, generated::kRevision};
}

} // namespace platform
