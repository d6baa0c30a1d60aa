#!/bin/sh
# Both programs start under Wine, run a silent pass and end with exit code 0. Each
# carries its own string table and the project's version: the run's log opens with
# the build's distribution name and that version, and names the build's product.
. "$(dirname "$0")/lib.sh"
e2e_begin

source_dir="$E2E_LIB_DIR/../.."
version=$(sed -n 's/^project(Plandrix VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")

# Each pair: a program, and the table source whose entry 3 names its product.
for pair in Plandrix_T17_AE.exe:strings.tsv HalomirPlandrix.exe:generic.tsv; do
  program=${pair%%:*}
  product=$(grep '^3	' "$source_dir/src/ui/strings/${pair#*:}" | cut -f3-)
  e2e_install_program "$program"
  e2e_mkdir 'C:\Fennic Start\usr'
  rm -f "$(e2e_log_file 'C:\Fennic Start')"
  # A site on a closed local port: the pass ends at its first request, at once.
  e2e_run '/S:2 /I:"C:\Fennic Start" /W:http://127.0.0.1:9'
  e2e_expect_eq "$E2E_RC" 0 "exit code of $program"
  e2e_expect_log_contains 'C:\Fennic Start' "$program ($version)"
  e2e_expect_log_contains 'C:\Fennic Start' "= $product"
done

e2e_end
