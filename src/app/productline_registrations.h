#pragma once
// What a successful workstation run leaves behind for some product lines: the Spanish
// line's key, file type and fonts, the payroll line's INI entries, and the desktop
// platform's "Paths" key that the other lines' programs read their folders from.
// Results of the registry and INI writes are not checked: a key that cannot be
// created is skipped and the run stays successful.

// DORVAL5: "Trayectoria", the ".QDC" file type and the product's fonts.
void RegisterSpanishLine();
// KS: the line's machine key and the program entries of "salv.ini" in the Windows folder.
void WritePayrollSettings();
// Every other line: HKEY_LOCAL_MACHINE "...\Molvex for Windows\4.0\Paths" from `installDir`.
void WriteDesktopPaths();
