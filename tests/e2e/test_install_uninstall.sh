#!/bin/sh
# A clean reinstall, then two installations that share a system file removed through
# /UNINSTALL: as a user answers the confirmation (shared files checked), the second with
# its installed-programs entry's arguments. Folders, keys, path element, shortcut and
# entry go; the shared file stays until its count reaches 0.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
shared='C:\windows\system32\fncshared.dll'
entries='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
env_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
desktop=/desktop=uninstall,1024x768
wine reg add "$shared_key" /f >/dev/null 2>&1 || e2e_fail "could not create the shared-file list"

# The same release under a desktop line, installed by the generic build.
SITE_LINE=QK2000 site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR"
rm -f "$(e2e_path "$shared")"
site_install 'C:\FinA'
# The clean reinstall (one file missing, so that there is something to do) takes what it
# does not install again and keeps the user's db.ini.
e2e_write_file 'C:\FinA\bin\stale.txt' 'old'
e2e_write_file 'C:\FinA\db.ini' 'mine'
rm "$(e2e_path 'C:\FinA\bin\fncmain.exe')"
e2e_run "/S:2 /IM:0 /I:\"C:\\FinA\" /W:$SITE_URL /USER:demo /PW:demo /R:30052 /FU:1"
[ -e "$(e2e_path 'C:\FinA\bin\stale.txt')" ] && e2e_fail "the clean reinstall left an old file"
[ -f "$(e2e_path 'C:\FinA\db.ini')" ] || e2e_fail "the clean reinstall took the user's db.ini"
for file in bin/fncmain.exe bin/fnccore.dll readme.txt; do
  cmp -s "$(e2e_path "C:\\FinA\\$file")" "$PLANDRIX_SAMPLE_DIR/$file" || e2e_fail "the clean reinstall did not install $file"
done

fnc=$E2E_PROGRAM
e2e_install_program HalomirPlandrix.exe
e2e_mkdir 'C:\FinB\usr'
e2e_run "/S:2 /IM:0 /I:\"C:\\FinB\" /P:QK2000 /W:$SITE_URL /USER:demo /PW:demo /R:30052"
e2e_flush
e2e_expect_eq "$(e2e_reg_get "$shared_key" "$shared")" 2 "use count after two installations"
command=$(e2e_reg_get "$entries\\Molvex-C:-FinB" UninstallString) || e2e_fail "the entry of C:\\FinB is missing"
e2e_expect_eq "$command" 'C:\FinB\bin\HalomirPlandrix.exe /UNINSTALL:"C:\FinB" /P:QK2000' "the entry's command line"
wine uninstaller --list 2>/dev/null | grep -q 'Molvex for Windows' || e2e_fail "the system's list lacks the entry"

link='C:\users\Public\Desktop\Fennic Duziderav.lnk'
[ -f "$(e2e_path "$link")" ] || e2e_fail "the installation made no shortcut $link"

window_of() { xdotool search --name "^$1\$" 2>/dev/null | tail -1; }

# uninstall CAPTION FOLDER COMMAND-LINE: answers the confirmation (box checked), then the closing message.
uninstall() {
  caption=$1 folder=$2
  printf '@%s\r\n' "$3" > "$(e2e_path 'C:\e2e')/uninstall.bat"
  ( cd "$WINEPREFIX/drive_c" && exec timeout "$E2E_RUN_TIMEOUT" wine explorer "$desktop" cmd /c 'C:\e2e\uninstall.bat' ) \
    >"$E2E_WORK/run.out" 2>&1 &
  run=$!
  e2e_wait_until 300 '[ -n "$(window_of "$caption")" ]' || e2e_fail "no confirmation captioned $caption"
  sleep 0.5 && xdotool key space && sleep 0.3 && xdotool key Return  # the box has the focus, Yes is the default
  e2e_wait_until 300 '[ ! -d "$(e2e_path "$folder\\bin")" ]' || e2e_fail "the uninstall of $folder did not run"
  for _ in 1 2 3 4 5; do
    sleep 1 && xdotool key Return 2>/dev/null && e2e_wait_until 20 '! kill -0 "$run" 2>/dev/null' && break
  done
  wait "$run" || e2e_fail "the program did not end after the closing message"
}

# gone FOLDER: the installation's folders, keys, entry and path element are gone.
gone() {
  left=$(cd "$(e2e_path "$1")" && find . | sort | tr '\n' ' ')
  e2e_expect_eq "$left" '. ./readme.txt ' "what is left of $1"
  key=$(printf '%s' "$1" | tr '\\' '-')
  wine reg query "HKLM\\Software\\Molvex\\e-Halomir Plandrix\\$key" >/dev/null 2>&1 && e2e_fail "the key of $1 is still there"
  wine reg query "$entries\\Molvex-$key" >/dev/null 2>&1 && e2e_fail "the entry of $1 is still there"
  e2e_flush && case ";$(e2e_reg_get "$env_key" path);" in *";$1\\bin;"*) e2e_fail "$1\\bin is still on the path" ;; esac
}

uninstall 'Fennic Duziderav' 'C:\FinA' "\"$fnc\" /UNINSTALL:\"C:\\FinA\" /P:FNC"
gone 'C:\FinA'
[ -e "$(e2e_path "$link")" ] && e2e_fail "the shortcut $link is still there"
[ -d "$(e2e_path 'C:\FinB\bin')" ] || e2e_fail "removing C:\\FinA took C:\\FinB with it"
[ -f "$(e2e_path "$shared")" ] || e2e_fail "the shared file went while C:\\FinB still counts it"
e2e_expect_eq "$(e2e_reg_get "$shared_key" "$shared")" 1 "use count after the first removal"

uninstall 'Molvex for Windows' 'C:\FinB' "\"$E2E_PROGRAM\" ${command#* }"
gone 'C:\FinB'
[ -f "$(e2e_path "$shared")" ] && e2e_fail "the shared file stayed after its last user went"
e2e_reg_get "$shared_key" "$shared" >/dev/null && e2e_fail "the shared file's count stayed"

e2e_end
