#!/bin/sh
# Which source of the installation folder wins: the command line over the INI file
# beside the program over the per-user registry key. A "Deployment.xml" in each folder
# stops the silent pass with string 600, logged in the winner's usr folder only.
. "$(dirname "$0")/lib.sh"
e2e_begin

deployment_text=$(grep '^600	' "$E2E_LIB_DIR/../../src/ui/strings/strings.tsv" | cut -f3-)
[ -n "$deployment_text" ] || e2e_fail "string 600 not found in the string table's source"

e2e_install_program
for folder in 'C:\From Command Line' 'C:\From Ini' 'C:\From Registry'; do
  e2e_write_file "$folder\\Deployment.xml" '<deployment/>'
  e2e_mkdir "$folder\\usr"
done
printf '[Setup]\r\nInstallDir=C:\\From Ini\r\n' > "$(e2e_path 'C:\Setup\Plandrix_T17_AE.ini')"
e2e_reg_add 'HKCU\Software\Molvex\e-Halomir Plandrix' InstallDir REG_SZ 'C:\From Registry'

# Runs the program with ARGS and expects a log in WINNER and nowhere else.
expect_log_in() {
  find "$WINEPREFIX/drive_c" -iname plandrix.log -delete
  e2e_run "$2"
  e2e_expect_eq "$E2E_RC" 0 "exit code of: $2"
  e2e_expect_log_contains "$1" "$deployment_text"
  e2e_expect_eq "$(find "$WINEPREFIX/drive_c" -iname plandrix.log | wc -l)" 1 "logs written by: $2"
}

expect_log_in 'C:\From Command Line' '/S:2 /I:"C:\From Command Line"'
expect_log_in 'C:\From Ini' '/S:2'
rm -f "$(e2e_path 'C:\Setup\Plandrix_T17_AE.ini')"
expect_log_in 'C:\From Registry' '/S:2'

e2e_end
