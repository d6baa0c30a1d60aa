#pragma once
// Cabinet expansion for the item installation: the one file of a downloaded cabinet is
// written into an empty temporary file. The decoder context is made on first use and
// kept for the process.
#include <cstdint>
#include <string>

#include "cabinet/cabinet.h"

// Extracts `cabinetPath`'s file into `outputPath`. True when the cabinet was extracted.
bool ExpandCabinet(const std::string& cabinetPath, const std::string& outputPath);

// The decoder's notification handler: a file to copy goes to the output path (the user
// value), written from its start; a second file in the same cabinet is refused, since
// only one file can land in the one output file.
intptr_t CabinetNotify(int kind, cab::Notification* record);

// The process-wide error record of the decoder (its code tells why an expansion failed).
const cab::CabinetError& CabinetErrorRecord();

// Destroys the context (the driver, at exit). Safe when none was made.
void DestroyCabinetContext();
