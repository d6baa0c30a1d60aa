# Killing an installation and running it again; source after lib.sh and sitelib.sh.
KILL_SHARED='C:\windows\system32\fncshared.dll'
KILL_COUNTS='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
KILL_MODE=0  # 1: a network installation, its product folder KILL_ROOT ('Root' in it)

# The sample with a large item (its expansion takes a moment), served to a fresh prefix.
kill_begin() {
  e2e_begin
  KILL_PRODUCT="$E2E_WORK/product"
  cp -a "$PLANDRIX_SAMPLE_DIR" "$KILL_PRODUCT"
  awk 'BEGIN { for (k = 0; k < 400000; k++) printf "%07d;Account %6d;%12.2f\r\n", k, k * 7919 % 100000, k * 1.25 }' \
    > "$KILL_PRODUCT/ledger.txt"
  site_publish "$KILL_PRODUCT" "$E2E_WORK/site"
  site_start "$E2E_WORK/site"
  e2e_install_program
  wine reg add "$KILL_COUNTS" /f >/dev/null 2>&1
  rm -f "$(e2e_path "$KILL_SHARED")"
}

# Installs into KILL_DIR in mode KILL_MODE, in the background, in the process wine starts.
kill_start() {
  e2e_mkdir "$KILL_DIR\\usr"
  ( cd "$WINEPREFIX/drive_c" && exec wine "$E2E_PROGRAM" /S:2 "/IM:$KILL_MODE" "/I:$KILL_DIR" "/W:$SITE_URL" /USER:demo /PW:demo /R:30052 ) \
    >/dev/null 2>&1 &
  KILL_PID=$!
}
# The server closes a killed program's files once it notices the death (Windows does so
# before the process counts as ended): a moment for that.
kill_now() { kill -KILL "$KILL_PID" 2>/dev/null; wait "$KILL_PID" 2>/dev/null; sleep 0.3; }
kill_logged() { e2e_read_log "$KILL_DIR" 2>/dev/null | grep -c -i -F -- "$1"; }

# Kills once a work file in the installation folder has bytes, polling without a pause
# (an expansion takes a fraction of a second); false when the run ends first.
kill_when_expanding() {
  folder=$(e2e_path "${KILL_ROOT:-$KILL_DIR}")
  while kill -0 "$KILL_PID" 2>/dev/null; do
    for file in "$folder"/_sy*.tmp "$folder"/_SY*.TMP; do [ -s "$file" ] && kill_now && return 0; done
  done
  return 1
}

# The same command line to its end, and what a finished installation shows; the shared
# file's use count is COUNT (one per installation in the prefix).
kill_rerun_and_check() {
  site_faults
  kill_start
  wait "$KILL_PID"
  e2e_flush
  for file in readme.txt ledger.txt; do e2e_expect_same "${KILL_ROOT:-$KILL_DIR}\\$file" "$KILL_PRODUCT/$file"; done
  for file in bin/fnccore.dll 'docs/Release Notes.txt'; do e2e_expect_same "$KILL_DIR\\$file" "$KILL_PRODUCT/$file"; done
  e2e_expect_same "$KILL_SHARED" "$KILL_PRODUCT/system/fncshared.dll"
  e2e_expect_eq "$(e2e_reg_get "$KILL_COUNTS" "$KILL_SHARED")" "$2" "$1: use count of the shared file"
  e2e_expect_eq "$(find "$WINEPREFIX/drive_c" -iname '_sy*.tmp' -o -iname '*.lck')" "" "$1: work or lock files left"
  e2e_expect_reg_absent 'HKLM\Software\Molvex\Molvex for Windows\4.0' MolvexInstallStatus
  e2e_expect_log_contains "$KILL_DIR" 'The installation has been completed successfully.'
}
