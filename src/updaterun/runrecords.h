#pragma once
// The process-wide records of a run in one place: the session's settings and run-result
// flags, the known places, the progress record, the site session, the transfer statistics, the placement
// state and its counters, the prerequisite probes and the update run's own state.

// Puts every record back as a new process finds it. An open re-registration list is
// forgotten, not closed: the file system that opened it may be gone.
void ResetRunRecords();
