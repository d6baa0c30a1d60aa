#pragma once
// Replacing a file that is in use at the next restart: delayed moves on the NT family,
// the "rename" section of "WININIT.INI" on the older systems.
#include <optional>
#include <string>

// Schedules `source` to replace `target` at the restart, or, without a target, the
// deletion of `source`. Unless `sourceIsFinal`, a "_sy" copy of the source is made in the
// target's folder first and that copy is moved. True when scheduled.
bool ScheduleReplaceAtReboot(const std::string& source, const std::optional<std::string>& target, bool sourceIsFinal);
