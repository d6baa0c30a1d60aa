#!/bin/sh
# The settings reach the run: a "Deployment.xml" in the installation folder stops a
# silent pass with string 600, logged into that folder's usr\Plandrix.log. Which
# folder gets the log tells which source of the installation folder won: the command
# line over the INI file beside the program over the per-user registry key.
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

# Runs the program with ARGS and expects the log in WINNER only.
expect_log_in() {
  winner=$1
  shift
  for folder in 'C:\From Command Line' 'C:\From Ini' 'C:\From Registry'; do
    rm -f "$(e2e_log_file "$folder")"
  done
  e2e_run "$*"
  e2e_expect_eq "$E2E_RC" 0 "exit code of: $*"
  e2e_expect_log_contains "$winner" "$deployment_text"
  for folder in 'C:\From Command Line' 'C:\From Ini' 'C:\From Registry'; do
    [ "$folder" = "$winner" ] && continue
    [ ! -f "$(e2e_log_file "$folder")" ] || e2e_fail "a log in $folder\\usr after: $* (expected only in $winner)"
  done
}

expect_log_in 'C:\From Command Line' '/S:2 /I:"C:\From Command Line"'
expect_log_in 'C:\From Ini' '/S:2'
rm -f "$(e2e_path 'C:\Setup\Plandrix_T17_AE.ini')"
expect_log_in 'C:\From Registry' '/S:2'

e2e_end
