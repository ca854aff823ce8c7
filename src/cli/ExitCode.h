#pragma once

namespace cli {

// What byeorisol-data answers to the shell.
enum ExitCode
{
    kSuccess = 0,
    kLineErrorsOrRefused = 1, // a run found line errors, or the command was refused
    kVersionsDiffer = 1,      // compare: the two versions hold different texts
    kNoMatch = 1,             // find and replace: no verse matched, or none would change
    kInspectionFound = 1,     // inspect: some verses look wrong
    kFailure = 2,             // a failure, or a command line that makes no sense
    kPartialRead = 3,         // check and build: some file was read only in part
    kCancelled = 130,         // Ctrl+C cancelled the run: every file is as it was before it (the shell's 128 + SIGINT)
};

} // namespace cli
