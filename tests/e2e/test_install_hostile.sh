#!/bin/sh
# A list whose entries would climb out of the installation: a folder with ".."
# components, a folder that is a rooted path on another drive's root, a file name
# with "..". Nothing is written outside the places the list may use; the log names
# each refused entry; the honest entries of the same list are installed.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

# Hostile copies of the readme's record: the item on the site is real, only the
# target differs. Field 2 is the file name, field 5 the folder.
readme=$(awk -F '\t' '$3 == "readme.txt"' "$SITE_LIST")
add_record() {
  printf '%s\n' "$readme" | awk -F '\t' -v name="$1" -v folder="$2" 'BEGIN { OFS = "\t" } { $3 = name; $6 = folder; print }' \
    >> "$SITE_LIST"
}
add_record escaped1.txt '..\..\Escaped'
add_record escaped2.txt 'C:\Escaped'
add_record escaped3.txt 'bin\..\..\..'
add_record '..\..\escaped4.txt' 'bin'
add_record escaped5.txt '\Escaped'

site_install 'C:\Deep\Fin'
e2e_expect_eq "$E2E_RC" 0 "exit code"
log=$(e2e_read_log 'C:\Deep\Fin') || e2e_fail "no log"

escaped=$(find "$WINEPREFIX/drive_c" "$E2E_WORK" -iname 'escaped*' 2>/dev/null)
e2e_expect_eq "$escaped" "" "files written by the hostile entries"
for entry in "folder '..\\..\\Escaped'" "folder 'C:\\Escaped'" "folder 'bin\\..\\..\\..'" "file '..\\..\\escaped4.txt'" \
             "folder '\\Escaped'"; do
  printf '%s\n' "$log" | grep -q -F -- "$entry" || e2e_fail "the log does not name the entry with $entry"
done
e2e_expect_same 'C:\Deep\Fin\readme.txt' "$PLANDRIX_SAMPLE_DIR/readme.txt"
e2e_expect_same 'C:\Deep\Fin\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"

e2e_end
