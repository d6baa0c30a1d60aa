#pragma once
// The restart a run with files in use needs: the resumed run that finishes it, and the
// question that restarts the machine.

// RunOnce "Plandrix": the program in the installation's "bin" folder with /REBOOT:1.
void RegisterResumedRun();
// Shows the in-use list (or the plain restart reason) and restarts on Yes.
void PromptRestart();
// Mode 5: the CD image's "Setup_xx.exe" and "NetSetup_xx.exe" copies with their INI files.
void CopySetupToCdImage();
