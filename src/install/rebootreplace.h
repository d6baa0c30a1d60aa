#pragma once
// Replacing a file that is in use at the next restart: delayed moves on the NT family,
// the "rename" section of "WININIT.INI" on the older systems.
#include <optional>
#include <string>
#include <vector>

// Schedules `source` to replace `target` at the restart, or, without a target, the
// deletion of `source`. Unless `sourceIsFinal`, a "_sy" copy of the source is made in the
// target's folder first and that copy is moved. True when scheduled.
bool ScheduleReplaceAtReboot(const std::string& source, const std::optional<std::string>& target, bool sourceIsFinal);

// The files that the next restart is to move or delete: the system's delayed moves (long
// paths) and the "rename" lines of "WININIT.INI" (short forms).
std::vector<std::string> FilesMovedAtRestart();

// `path`, in its long or its short form, is among `movedFiles`.
bool MovedAtRestart(const std::vector<std::string>& movedFiles, const std::string& path);
