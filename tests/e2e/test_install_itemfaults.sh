#!/bin/sh
# Items that do not arrive whole, over an existing installation. An item answered with
# a size reply is asked for again with those sizes until it comes. A short transfer and
# a cabinet that does not expand are "---> Ignored": their targets keep the installed
# files, no expansion file is left, the rest is installed, and the run ends incomplete.
# List entries that would climb out of the installation ("..", rooted folders) write
# nothing and are named in the log. Then an item altered on the site after publishing
# stops a second silent run, and nothing of it is placed.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

items="$SITE_DIR/FNC/30052/items"
core=$(site_list_field fnccore.dll 0)
core_size=$(site_list_field fnccore.dll 3)
core_cab=$(site_list_field fnccore.dll 11)
accounts=$(site_list_field fncaccounts.txt 0)
main=$(site_list_field fncmain.exe 0)

# fnccore.dll is first answered with wrong sizes, then with the list's, then sent.
site_faults "LogItemAttachment.aspx?Item=$core sizes $((core_size + 512)) $((core_cab + 100)) times=1" \
            "LogItemAttachment.aspx?Item=$accounts short 100"
# Overwrites 16 bytes near the end of an item on the site: the size stays, the data does not.
damage_item() {
  printf '\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' |
    dd of="$items/$1" bs=1 seek=$(($(stat -c %s "$items/$1") - 40)) conv=notrunc 2>/dev/null; }
# fncmain.exe's cabinet is damaged past its header; its record lacks the digest, as old lists do.
damage_item "$main"
awk -F '\t' -v OFS='\t' -v code="$main" '$1 == code { $8 = "" } 1' "$SITE_LIST" > "$SITE_LIST.new" && mv "$SITE_LIST.new" "$SITE_LIST"

# Copies of the readme's record with another file name (field 2) and folder (field 5).
readme=$(awk -F '\t' '$3 == "readme.txt"' "$SITE_LIST")
for hostile in 'escaped1.txt|..\..\Escaped' 'escaped2.txt|C:\Escaped' 'escaped3.txt|bin\..\..\..' \
               '..\..\escaped4.txt|bin' 'escaped5.txt|\Escaped'; do
  printf '%s\n' "$readme" | awk -F '\t' -v name="${hostile%%|*}" -v folder="${hostile#*|}" \
    'BEGIN { OFS = "\t" } { $3 = name; $6 = folder; print }' >> "$SITE_LIST"
done

e2e_write_file 'C:\Fin\bin\fncmain.exe' 'the installed main program'
e2e_write_file 'C:\Fin\bin\fncaccounts.txt' 'the installed accounts'
site_install 'C:\Fin'
log=$(e2e_read_log 'C:\Fin') || e2e_fail "no log"

# Three requests: with the list's sizes, then those of the first reply, then those of the second.
sent=$(site_requests "Item=$core&" | grep -o '&Size=[0-9]*&CabSize=[0-9]*' | tr '\n' ' ')
list_sizes="&Size=$core_size&CabSize=$core_cab"
e2e_expect_eq "$sent" "$list_sizes &Size=$((core_size + 512))&CabSize=$((core_cab + 100)) $list_sizes " \
  "sizes sent in the requests for fnccore.dll"
e2e_expect_same 'C:\Fin\bin\fnccore.dll' "$PLANDRIX_SAMPLE_DIR/bin/fnccore.dll"
e2e_expect_log_contains 'C:\Fin' 'C:\Fin\bin\fnccore.dll ---> OK'

e2e_expect_log_contains 'C:\Fin' 'C:\Fin\bin\fncaccounts.txt ---> Ignored'
e2e_expect_log_contains 'C:\Fin' 'C:\Fin\bin\fncmain.exe ---> Ignored'
printf '%s\n' "$log" | grep -q -F 'Incorrect number of bytes' || e2e_fail "the log does not name the short transfer"
printf '%s\n' "$log" | grep -q -F 'Failed to expand cabinet file' || e2e_fail "the log does not name the broken cabinet"
e2e_expect_eq "$(cat "$(e2e_path 'C:\Fin\bin\fncmain.exe')")" 'the installed main program' "fncmain.exe after a broken cabinet"
e2e_expect_eq "$(cat "$(e2e_path 'C:\Fin\bin\fncaccounts.txt')")" 'the installed accounts' "fncaccounts.txt after a short transfer"
leftovers=$(find "$WINEPREFIX/drive_c" -iname '_sy*.tmp' 2>/dev/null)
e2e_expect_eq "$leftovers" "" "expansion files left behind"

e2e_expect_eq "$(find "$WINEPREFIX/drive_c" "$E2E_WORK" -iname 'escaped*' 2>/dev/null)" "" "files of the hostile entries"
for entry in "folder '..\\..\\Escaped'" "folder 'C:\\Escaped'" "folder 'bin\\..\\..\\..'" \
             "file '..\\..\\escaped4.txt'" "folder '\\Escaped'"; do
  printf '%s\n' "$log" | grep -q -F -- "$entry" || e2e_fail "the log does not name the entry with $entry"
done

e2e_expect_same 'C:\Fin\bin\fnclegacy.dll' "$PLANDRIX_SAMPLE_DIR/bin/fnclegacy.dll"
e2e_expect_same 'C:\Fin\readme.txt' "$PLANDRIX_SAMPLE_DIR/readme.txt"
printf '%s\n' "$log" | tail -n 5 | grep -q -F 'The installation is incomplete because not all files have been updated.' ||
  e2e_fail "the run does not end with string 210"

site_faults
damage_item "$(site_list_field fnclegacy.dll 0)"
site_install 'C:\Altered'
e2e_expect_log_contains 'C:\Altered' 'C:\Altered\bin\fnclegacy.dll ---> Aborted'
e2e_expect_log_contains 'C:\Altered' 'The item differs from the one published in the file list'
[ -z "$(find "$(e2e_path 'C:\Altered')" -iname 'fnclegacy.dll' -o -iname '_sy*')" ] || e2e_fail "the altered item left files"

e2e_end
