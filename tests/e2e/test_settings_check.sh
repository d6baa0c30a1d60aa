#!/bin/sh
# The settings check before a silent run: a malformed installation folder asks for the
# settings dialog, a refused system ends the run by itself. Neither installs anything,
# and each says why in the log.
. "$(dirname "$0")/lib.sh"
e2e_begin --headless
text_of() { grep "^$1	" "$E2E_LIB_DIR/../../src/ui/strings/strings.tsv" | cut -f3-; }
e2e_install_program
e2e_mkdir 'C:\Fin\usr'

e2e_run '/S:2 /I:X'
log=$(find "$WINEPREFIX/drive_c/users" -iname plandrix.log | head -n1)
grep -q -F "$(text_of 125): $(text_of 107)" "$log" 2>/dev/null || e2e_fail "no field failure logged in '$log'"
grep -q -F "settings dialog could not be shown" "$log" 2>/dev/null || e2e_fail "the dialog was not asked for"

e2e_run '/S:2 /I:C:\Fin /OS:4'
e2e_expect_log_contains 'C:\Fin' "$(text_of 182)"
e2e_expect_eq "$E2E_RC" 0 "exit code"
e2e_expect_eq "$(ls "$(e2e_path 'C:\Fin')")" usr "what C:\\Fin holds"
e2e_expect_reg_absent 'HKCU\Software\Molvex\e-Halomir Plandrix' InstallDir
e2e_end
