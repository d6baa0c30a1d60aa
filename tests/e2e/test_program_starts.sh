#!/bin/sh
# Both programs start under Wine, run a silent pass and end with exit code 0.
. "$(dirname "$0")/lib.sh"
e2e_begin

for program in Plandrix_T17_AE.exe HalomirPlandrix.exe; do
  e2e_install_program "$program"
  e2e_mkdir 'C:\Fennic Start'
  e2e_run '/S:2 /I:"C:\Fennic Start"'
  e2e_expect_eq "$E2E_RC" 0 "exit code of $program"
done

e2e_end
