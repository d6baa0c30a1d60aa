#pragma once
// What the uninstall run removes besides the product's own files on the desktop lines:
// the configurator's set-up and the spreadsheet add-ins.

// Runs "MolvexTactonSetup.exe /U" from the installation's "bin" folder and waits for it.
void UninstallTacton();

// Deletes "qs2000.xla" from the spreadsheet's add-in folder and "XLStart\qs2000i.xla"
// below its program folder.
void RemoveSpreadsheetAddIns();
