#!/bin/sh
# The settings check before a silent run: a malformed installation folder asks for the
# settings dialog, a refused system or browser ends the run by itself. None of them
# installs anything, and each says why in the log.
. "$(dirname "$0")/lib.sh"
e2e_begin --headless

text_of() { grep "^$1	" "$E2E_LIB_DIR/../../src/ui/strings/strings.tsv" | cut -f3-; }
e2e_install_program
e2e_mkdir 'C:\Fin\usr'
touch "$E2E_WORK/before"
# Files the run left outside the log folders and the test's own batch file.
left_files() {
  find "$WINEPREFIX/drive_c" -type f -newer "$E2E_WORK/before" ! -iname plandrix.log ! -path '*/e2e/*' \
    ! -path '*/windows/*' | wc -l
}

e2e_run '/S:2 /I:X'
log=$(find "$WINEPREFIX/drive_c/users" -iname plandrix.log | head -n1)
grep -q -F "$(text_of 125): $(text_of 107)" "$log" 2>/dev/null || e2e_fail "no field failure logged in '$log'"
grep -q -F "settings dialog is not part of this build" "$log" 2>/dev/null || e2e_fail "the dialog was not asked for"

e2e_run '/S:2 /I:C:\Fin /OS:4'
e2e_expect_log_contains 'C:\Fin' "$(text_of 182)"
e2e_reg_add 'HKLM\Software\Microsoft\Internet Explorer' Version REG_SZ 5.00.2919.6306
e2e_run '/S:2 /I:C:\Fin'
e2e_expect_log_contains 'C:\Fin' "$(text_of 194)"
e2e_expect_eq "$E2E_RC" 0 "exit code"
e2e_expect_eq "$(left_files)" 0 "files installed"
e2e_expect_reg_absent 'HKCU\Software\Molvex\e-Halomir Plandrix' InstallDir
e2e_end
