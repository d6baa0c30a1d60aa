# The sample product on an update site of the test's own, for the installation
# scenarios. Source it after lib.sh and after e2e_begin:
#
#   . "$(dirname "$0")/lib.sh"
#   . "$(dirname "$0")/sitelib.sh"
#   site_begin                      # e2e_begin, site_start and e2e_install_program
#   site_faults 'LogItemAttachment.aspx?Item=* short 100 times=1'
#   site_install 'C:\Fin'           # a silent mode-0 run of release 30052 into C:\Fin
#   site_requests 'Action=2'        # item requests in the access log, one a line
#
# The sample (FNC release 30052, user "demo", password "demo") is published once per
# content of the sample folder into PLANDRIX_E2E_ROOT/sites and copied for each test,
# so a test may edit its site's lists and items freely. A test that needs another
# product publishes a copy of its own with site_publish.
#
# Functions:
#   site_begin                    a new prefix with the program in C:\Setup and the
#                                 published sample served on a free port ($SITE_URL)
#   site_sample_copy DIR          a copy of the assembled sample product (keeps the dates)
#   site_publish FROM SITEDIR     publish FROM as FNC release 30052 into SITEDIR
#   site_start [SITEDIR]          copy the shared published sample into the test's folder
#                                 (or serve SITEDIR as it is) and serve it to SITE_USERS
#                                 ("user:password" lines; default demo:demo); sets SITE_DIR,
#                                 SITE_URL, SITE_PID and SITE_LIST (the release's file list)
#   site_faults [RULE...]         replace the fault rules (one rule an argument; none clears)
#   site_install DIR [MODE] [PASSWORD]   a silent run (mode 0, password demo) of release
#                                 30052 from the site into DIR (its usr folder made first)
#   site_requests PATTERN         the access log's request targets containing PATTERN
#   site_expect_requests PATTERN COUNT WHAT   so many requests containing PATTERN
#   site_clear_log                forget the requests seen so far
#   site_list_field FILE FIELD    (in the list) the FIELD-th field of FILE's record
#   site_stop                     end the site (the test's exit does it too)
#   site_start_carrying_program   the sample with the built program in its bin folder as
#                                 the release's distribution file, published and served
#   site_map_share                a share folder of the test mapped as drive N:; sets SHARE
#   ini_get FILE KEY              a key's value from an INI file (any section, any case)
#   e2e_expect_ini FILE KEY VALUE
#
# Environment: PLANDRIX_NATIVE_BIN (the native build's bin folder with plandrix-site
# and plandrix-publish) and PLANDRIX_SAMPLE_DIR (the assembled sample product); both
# default to the native build beside the sources.

: "${PLANDRIX_NATIVE_BIN:=$E2E_LIB_DIR/../../build/native/bin}"
: "${PLANDRIX_SAMPLE_DIR:=$PLANDRIX_NATIVE_BIN/../sample-product}"
SITE_LAYOUT="$E2E_LIB_DIR/../data/sample-product.layout"
SITE_LINE=FNC
SITE_RELEASE=30052
SITE_PID=""

site_missing() {
  e2e_note "$1"
  e2e_note "build the native tools first: cmake --build <native build> --target plandrix-publish plandrix-site sample_product"
  exit 1
}

site_check_tools() {
  for tool in plandrix-site plandrix-publish; do
    [ -x "$PLANDRIX_NATIVE_BIN/$tool" ] || site_missing "$PLANDRIX_NATIVE_BIN/$tool is missing"
  done
  [ -d "$PLANDRIX_SAMPLE_DIR/bin" ] || site_missing "the sample product $PLANDRIX_SAMPLE_DIR is missing"
}

site_sample_copy() {
  site_check_tools
  rm -rf "$1"
  cp -a "$PLANDRIX_SAMPLE_DIR" "$1"
}

site_publish() {
  site_check_tools
  "$PLANDRIX_NATIVE_BIN/plandrix-publish" --from "$1" --site "$2" --line "$SITE_LINE" \
    --release "$SITE_RELEASE" --layout "$SITE_LAYOUT" >"$E2E_WORK/publish.out" 2>&1 || {
    cat "$E2E_WORK/publish.out" >&2
    e2e_fail "publishing $1 failed"
    exit 1
  }
}

# What the shared publication depends on: the sample's names, sizes and dates, the
# layout and the publisher itself.
site_sample_stamp() {
  {
    (cd "$PLANDRIX_SAMPLE_DIR" && find . -type f -printf '%P %s %T@\n' | sort)
    cat "$SITE_LAYOUT"
    stat -c '%s %Y' "$PLANDRIX_NATIVE_BIN/plandrix-publish"
  } | md5sum | cut -c1-16
}

# The shared publication of the sample, made once (under a lock) per content.
site_shared_sample() {
  site_check_tools
  stamp=$(site_sample_stamp)
  shared="$PLANDRIX_E2E_ROOT/sites/sample-$stamp"
  mkdir -p "$PLANDRIX_E2E_ROOT/sites"
  (
    flock 9
    [ -f "$shared/.published" ] && exit 0
    rm -rf "$shared" "$shared.new"
    site_publish "$PLANDRIX_SAMPLE_DIR" "$shared.new"
    : > "$shared.new/.published"
    mv "$shared.new" "$shared"
  ) 9>"$PLANDRIX_E2E_ROOT/sites/publish.lock" || exit 1
  printf '%s\n' "$shared"
}

site_start() {
  if [ $# -ge 1 ]; then
    SITE_DIR=$1
  else
    shared=$(site_shared_sample) || exit 1
    SITE_DIR="$E2E_WORK/site"
    rm -rf "$SITE_DIR"
    cp -a "$shared" "$SITE_DIR"
  fi
  SITE_LIST="$SITE_DIR/$SITE_LINE/$SITE_RELEASE/filelist.lst"
  [ -f "$SITE_LIST" ] || { e2e_fail "no file list in $SITE_DIR"; exit 1; }
  printf '%s\n' "${SITE_USERS:-demo:demo}" > "$E2E_WORK/site-users"
  rm -f "$E2E_WORK/site-port" "$E2E_WORK/site-faults"
  : > "$E2E_WORK/site-access.log"
  "$PLANDRIX_NATIVE_BIN/plandrix-site" --root "$SITE_DIR" --listen 127.0.0.1:0 \
    --users "$E2E_WORK/site-users" --faults "$E2E_WORK/site-faults" \
    --log "$E2E_WORK/site-access.log" --port-file "$E2E_WORK/site-port" \
    >"$E2E_WORK/site.out" 2>&1 &
  SITE_PID=$!
  trap 'site_status=$?; site_stop; (exit $site_status); e2e_cleanup' EXIT
  for _ in $(seq 100); do
    [ -s "$E2E_WORK/site-port" ] && break
    kill -0 "$SITE_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$E2E_WORK/site-port" ] || { cat "$E2E_WORK/site.out" >&2; e2e_fail "the site did not start"; exit 1; }
  SITE_URL="http://127.0.0.1:$(cat "$E2E_WORK/site-port")"
}

site_begin() {
  e2e_begin
  site_start
  e2e_install_program
}

site_start_carrying_program() {
  product="$E2E_WORK/product"
  site_sample_copy "$product"
  cp "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe" "$product/bin/Plandrix_T17_AE.exe"
  site_publish "$product" "$E2E_WORK/site"
  site_start "$E2E_WORK/site"
}

site_map_share() {
  SHARE="$E2E_WORK/share"
  mkdir -p "$SHARE"
  ln -s "$SHARE" "$WINEPREFIX/dosdevices/n:"
}

ini_get() { tr -d '\r' < "$1" | awk -F '=' -v key="$2" 'tolower($1) == tolower(key) { sub(/^[^=]*=/, ""); print; exit }'; }

e2e_expect_ini() { e2e_expect_eq "$(ini_get "$1" "$2")" "$3" "$(basename "$1") $2"; }

site_stop() {
  if [ -n "$SITE_PID" ]; then
    kill "$SITE_PID" 2>/dev/null
    wait "$SITE_PID" 2>/dev/null
    SITE_PID=""
  fi
  return 0
}

# The site reads its rules again whenever the file changes; the new file is moved
# into place whole so that no request sees half of it.
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
  e2e_run "/S:2 /IM:${2:-0} /I:\"$1\" /W:$SITE_URL /USER:demo /PW:${3:-demo} /R:30052"
}

site_clear_log() { : > "$E2E_WORK/site-access.log"; }

# A field (0-based) of the sample's list record whose file name (field 2) is FILE.
site_list_field() {
  awk -F '\t' -v name="$1" -v field="$2" 'tolower($3) == tolower(name) { sub(/\r$/, "", $(field + 1)); print $(field + 1); exit }' \
    "$SITE_LIST"
}
