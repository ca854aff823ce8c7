#pragma once

namespace versiondb {

// An SQLite VFS over the platform's own that gathers the writes of one commit
// to the write-ahead log (frame headers and pages, each a write of its own in
// SQLite) into a single write, issued before the commit returns. Everything
// else passes through unchanged. With a record stored per commit this halves
// the cost of a stored record; nothing that a commit wrote is held back once
// the commit has returned, so a killed process loses nothing that was stored.
class LogWriteVfs
{
public:
    // The name to open connections with; registered at the first call.
    [[nodiscard]] static const char* name();
};

} // namespace versiondb
