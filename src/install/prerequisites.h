#pragma once
// The prerequisites a workstation run may have to install before the product: what the
// probes found, read by the analysis when it decides on the prerequisite items.
struct PrerequisiteProbes {
  bool dataAccessNeedsInstall = false;  // the data-access components are missing or too old
  bool reportRuntimeMissing = false;    // the report runtime is not installed
  bool printerDriverRemoved = false;    // an older printer driver was uninstalled before the run
};

// The probes' record for the process, set by the settings check (ProbePrerequisites);
// until then nothing is found missing and the prerequisite items are left out.
PrerequisiteProbes& Prerequisites();
