#pragma once
// The settings loop: each pass checks the settings, shows the dialog unless the run is
// unattended, shows the notices, prepares and runs the update behind the progress window.

// How a pass ended.
enum class PassEnd {
  Ran,              // the progress window ran the update to its end
  NoRun,            // a cancelled dialog, a declined notice or "Deployment.xml"
  StageMissing,     // a stage this build lacks; the loop ends
  Stop,             // the settings check said stop: the program ends at once
};

PassEnd RunSettingsPass();

// Whether another pass follows one that ended with `end`.
bool AnotherPassFollows(PassEnd end);

// Runs passes until one is the last; false when the settings check said stop.
bool RunSettingsLoop();

// True when "<installDir>\Deployment.xml" exists: such an installation is managed by a
// deployment tool, and this program must not change it.
bool DeploymentManaged();
