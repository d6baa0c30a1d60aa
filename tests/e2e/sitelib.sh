# The sample product (FNC release 30052, user demo, password demo) published afresh on
# an update site of the test's own (the native build's tools); source after lib.sh.
# site_start [SITEDIR] serves it (or SITEDIR) and sets SITE_DIR, SITE_URL and SITE_LIST;
# SITE_OPTIONS adds options of the site's own.
: "${PLANDRIX_NATIVE_BIN:=$E2E_LIB_DIR/../../build/native/bin}"
: "${PLANDRIX_SAMPLE_DIR:=$PLANDRIX_NATIVE_BIN/../sample-product}"
SITE_LAYOUT="$E2E_LIB_DIR/../data/sample-product.layout"
SITE_LINE=FNC
SITE_RELEASE=30052

# site_publish FROM SITEDIR [PUBLISHER OPTIONS...]
site_publish() {
  for needed in "$PLANDRIX_NATIVE_BIN/plandrix-site" "$PLANDRIX_NATIVE_BIN/plandrix-publish" "$1"; do
    [ -e "$needed" ] || { e2e_note "$needed is missing: build the native preset first"; exit 1; }
  done
  from=$1 to=$2
  shift 2
  "$PLANDRIX_NATIVE_BIN/plandrix-publish" --from "$from" --site "$to" --line "$SITE_LINE" \
    --release "$SITE_RELEASE" --layout "$SITE_LAYOUT" "$@" >"$E2E_WORK/publish.out" 2>&1 || {
    cat "$E2E_WORK/publish.out" >&2
    e2e_fail "publishing $from failed"
    exit 1
  }
}

site_start() {
  SITE_DIR=${1:-$E2E_WORK/site}
  [ $# -ge 1 ] || site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR"
  SITE_LIST="$SITE_DIR/$SITE_LINE/$SITE_RELEASE/filelist.lst"
  [ -f "$SITE_LIST" ] || { e2e_fail "no file list in $SITE_DIR"; exit 1; }
  printf '%s\n' "${SITE_USERS:-demo:demo}" > "$E2E_WORK/site-users"
  : > "$E2E_WORK/site-access.log"
  "$PLANDRIX_NATIVE_BIN/plandrix-site" --root "$SITE_DIR" --listen 127.0.0.1:0 \
    --users "$E2E_WORK/site-users" --faults "$E2E_WORK/site-faults" \
    --log "$E2E_WORK/site-access.log" --port-file "$E2E_WORK/site-port" ${SITE_OPTIONS:-} \
    >"$E2E_WORK/site.out" 2>&1 &
  SITE_PID=$!
  E2E_PIDS="$E2E_PIDS $SITE_PID"
  e2e_wait_until 100 '[ -s "$E2E_WORK/site-port" ] || ! kill -0 "$SITE_PID" 2>/dev/null'
  [ -s "$E2E_WORK/site-port" ] || { cat "$E2E_WORK/site.out" >&2; e2e_fail "the site did not start"; exit 1; }
  SITE_URL="http://127.0.0.1:$(cat "$E2E_WORK/site-port")"
}

site_begin() {
  e2e_begin
  site_start
  e2e_install_program
}

ini_get() { tr -d '\r' < "$1" | awk -F '=' -v key="$2" 'tolower($1) == tolower(key) { sub(/^[^=]*=/, ""); print; exit }'; }

# e2e_expect_ini FILE KEY VALUE [KEY VALUE...]
e2e_expect_ini() {
  ini=$1
  shift
  while [ $# -ge 2 ]; do
    e2e_expect_eq "$(ini_get "$ini" "$1")" "$2" "$(basename "$ini") $1"
    shift 2
  done
}

# The site reads its rules again when the file changes; moved into place whole so
# that no request sees half of it.
site_faults() {
  : > "$E2E_WORK/site-faults.new"
  for rule in "$@"; do printf '%s\n' "$rule" >> "$E2E_WORK/site-faults.new"; done
  mv "$E2E_WORK/site-faults.new" "$E2E_WORK/site-faults"
  # A file rewritten within the same clock tick would look unchanged.
  touch -d "@$(date +%s).$(date +%N)" "$E2E_WORK/site-faults" 2>/dev/null
  return 0
}

site_requests() { cut -f4 "$E2E_WORK/site-access.log" | grep -F -- "$1"; }

site_expect_requests() { e2e_expect_eq "$(site_requests "$1" | wc -l | tr -d ' ')" "$2" "$3"; }

site_install() {
  e2e_mkdir "$1\\usr"
  e2e_run "/S:2 /IM:${2:-0} /I:\"$1\" /W:$SITE_URL /USER:demo /PW:demo /R:30052"
  e2e_expect_eq "$E2E_RC" 0 "exit code of the run into $1 (mode ${2:-0})"
}

site_clear_log() { : > "$E2E_WORK/site-access.log"; }

site_list_field() {
  awk -F '\t' -v name="$1" -v field="$2" 'tolower($3) == tolower(name) { sub(/\r$/, "", $(field + 1)); print $(field + 1); exit }' \
    "$SITE_LIST"
}
