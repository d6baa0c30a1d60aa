# Killing a run and starting it again; source after lib.sh and sitelib.sh.
# kill_begin publishes the sample with one large item (its expansion takes a moment),
# serves it and installs the program; kill_start starts the installation into C:\Fin in
# the background, kill_now ends it, kill_rerun runs the same command line to its end and
# kill_check checks what a finished installation must show.
KILL_DIR='C:\Fin'
KILL_SHARED='C:\windows\system32\fncshared.dll'
KILL_SHARED_LIST='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
KILL_MACHINE_KEY='HKLM\Software\Molvex\Molvex for Windows\4.0'

kill_begin() {
  e2e_begin
  KILL_PRODUCT="$E2E_WORK/product"
  cp -a "$PLANDRIX_SAMPLE_DIR" "$KILL_PRODUCT"
  awk 'BEGIN { for (k = 0; k < 400000; k++) printf "%07d;Account %6d;%12.2f;EUR\r\n", k, k * 7919 % 100000, k * 1.25 }' \
    > "$KILL_PRODUCT/ledger.txt"
  site_publish "$KILL_PRODUCT" "$E2E_WORK/site"
  site_start "$E2E_WORK/site"
  e2e_install_program
  wine reg add "$KILL_SHARED_LIST" /f >/dev/null 2>&1 || e2e_fail "could not create the shared-file list"
  rm -f "$(e2e_path "$KILL_SHARED")"
  e2e_mkdir "$KILL_DIR\\usr"
}

# The program itself is the process that wine starts here, so its id is the one to kill.
kill_start() {
  ( cd "$WINEPREFIX/drive_c" &&
    exec wine "$E2E_PROGRAM" /S:2 /IM:0 "/I:$KILL_DIR" "/W:$SITE_URL" /USER:demo /PW:demo /R:30052 ) \
    >"$E2E_WORK/kill-run.out" 2>&1 &
  KILL_PID=$!
}

kill_now() {
  kill -KILL "$KILL_PID" 2>/dev/null
  wait "$KILL_PID" 2>/dev/null
  return 0
}

kill_log() { e2e_read_log "$KILL_DIR" 2>/dev/null; }
kill_logged() { kill_log | grep -q -i -F -- "$1"; }
kill_placed() { kill_log | grep -c -- '---> OK'; }

# Polls without a pause (an expansion lasts a fraction of a second) until a work file in
# FOLDER has bytes; false when the run ends first.
kill_wait_work_file() {
  set -- "$(e2e_path "$1")"
  folder=$1
  while kill -0 "$KILL_PID" 2>/dev/null; do
    for _ in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do
      for file in "$folder"/_sy*.tmp "$folder"/_SY*.TMP; do [ -s "$file" ] && return 0; done
    done
  done
  return 1
}

kill_rerun() {
  site_faults
  kill_start
  timeout "$E2E_RUN_TIMEOUT" sh -c "while kill -0 $KILL_PID 2>/dev/null; do sleep 0.2; done" ||
    { e2e_fail "the rerun did not end"; kill_now; }
  wait "$KILL_PID" 2>/dev/null
  e2e_flush
}

# file, where it comes from in the published product, its folder
KILL_FILES='readme.txt readme.txt C:\Fin
ledger.txt ledger.txt C:\Fin
fnccore.dll bin/fnccore.dll C:\Fin\bin
fncplat.dll variants/nt/fncplat.dll C:\Fin\bin
fncshared.dll system/fncshared.dll C:\windows\system32
fncsymbols.ttf fonts/fncsymbols.ttf C:\windows\Fonts'

kill_check() {
  printf '%s\n' "$KILL_FILES" | while read -r name source folder; do
    cmp -s "$(e2e_path "$folder\\$name")" "$KILL_PRODUCT/$source" || e2e_fail "$1: $folder\\$name is not as published"
  done
  e2e_expect_same "$KILL_DIR\\docs\\Release Notes.txt" "$KILL_PRODUCT/docs/Release Notes.txt"
  e2e_expect_eq "$(e2e_reg_get "$KILL_SHARED_LIST" "$KILL_SHARED")" 1 "$1: use count of the shared file"
  e2e_expect_eq "$(find "$WINEPREFIX/drive_c" -iname '_sy*.tmp' 2>/dev/null)" "" "$1: work files left"
  e2e_expect_reg_absent "$KILL_MACHINE_KEY" MolvexInstallStatus
  e2e_expect_log_contains "$KILL_DIR" 'The installation has been completed successfully.'
}

# Back to a machine without the installation, for the next kill.
kill_reset() {
  rm -rf "$(e2e_path "$KILL_DIR")" "$(e2e_path "$KILL_SHARED")"
  wine reg delete "$KILL_SHARED_LIST" /v "$KILL_SHARED" /f >/dev/null 2>&1
  wine reg delete 'HKLM\Software\Molvex\e-Halomir Plandrix\C:-Fin' /f >/dev/null 2>&1
  wine reg delete "$KILL_MACHINE_KEY" /v MolvexInstallStatus /f >/dev/null 2>&1
  e2e_mkdir "$KILL_DIR\\usr"
}
