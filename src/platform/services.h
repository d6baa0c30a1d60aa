#pragma once
// The services that hold a product line's files while they run: they are stopped before
// the files are replaced and started again afterwards.
#include <string>

// FYNDRA and the QS lines run services over their files.
bool HoldsServices(const std::string& line);

// Stops (false) or starts (true) the services of the session's product line; nothing
// for a line without services or for a CD image.
void ControlServices(bool start);

// Stops ("STOP") or starts ("START") the payroll line's database services around the
// conversion of its data folders.
void ControlDatabaseServer(const std::string& action);
