# End-to-end test library: the real Windows program in a Wine prefix of its own, a copy
# of the shared template the fixture makes. Windows paths (C:\...) match without letter
# case. E2E_KEEP=1 keeps the prefix after the test (a failed test always keeps it).
# Every Wine command names its own WINEPREFIX; nothing touches another prefix's server.

# A script outside this folder sets E2E_LIB_DIR before sourcing.
E2E_LIB_DIR=${E2E_LIB_DIR:-$(cd "$(dirname "$0")" && pwd)}
: "${PLANDRIX_WINDOWS_BIN:=$E2E_LIB_DIR/../../build/windows/bin}"
: "${PLANDRIX_E2E_ROOT:=${TMPDIR:-/tmp}/plandrix-e2e-$(id -u)}"
: "${E2E_RUN_TIMEOUT:=120}"
E2E_TEMPLATE="$PLANDRIX_E2E_ROOT/template"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
unset WAYLAND_DISPLAY

e2e_note() { printf 'e2e: %s\n' "$*" >&2; }

# Polls CONDITION (a shell command) every tenth of a second, at most TENTHS times.
e2e_wait_until() {
  for _ in $(seq "$1"); do
    eval "$2" && return 0
    sleep 0.1
  done
  return 1
}

# What the workstation offers besides a fresh prefix: the .NET Framework 3.5 SP1 that
# the settings check asks for (Wine's own browser and Windows 7 already pass it).
E2E_TEMPLATE_RECIPE="net35sp1"

# The template: a booted prefix without links into $HOME nor the server socket name of
# the machine that made it; made once per wine version and recipe, under a lock.
e2e_make_template() {
  mkdir -p "$PLANDRIX_E2E_ROOT/home"
  stamp="$(wine --version) $E2E_TEMPLATE_RECIPE"
  (
    flock 9
    [ "$(cat "$E2E_TEMPLATE/.stamp" 2>/dev/null)" = "$stamp" ] && exit 0
    rm -rf "$E2E_TEMPLATE" "$E2E_TEMPLATE.new"
    (
      unset DISPLAY
      export HOME="$PLANDRIX_E2E_ROOT/home" WINEPREFIX="$E2E_TEMPLATE.new"
      wineboot -i >/dev/null 2>&1 || exit 1
      for view in 64 32; do  # both registry views: the program comes in both builds
        wine reg add 'HKLM\Software\Microsoft\NET Framework Setup\NDP\v3.5' /v Version /d 3.5.30729.01 \
          /reg:$view /f >/dev/null 2>&1
      done
      wineserver -w
    ) || { e2e_note "wineboot failed"; exit 1; }
    for link in "$E2E_TEMPLATE.new"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    rm -f "$E2E_TEMPLATE.new/wineserver"
    printf '%s\n' "$stamp" > "$E2E_TEMPLATE.new/.stamp"
    mv "$E2E_TEMPLATE.new" "$E2E_TEMPLATE"
  ) 9>"$PLANDRIX_E2E_ROOT/template.lock"
}

E2E_FAILURES=0
# Background helpers (the display, a site) that end with the test.
E2E_PIDS=""

e2e_begin() {
  E2E_NAME=$(basename "$0" .sh)
  # A missing prerequisite fails the test: one that could not run must never pass.
  command -v wine >/dev/null 2>&1 || { e2e_note "wine is not installed"; exit 1; }
  e2e_make_template || exit 1
  E2E_WORK=$(mktemp -d "$PLANDRIX_E2E_ROOT/run.$E2E_NAME.XXXXXX")
  cp -a "$E2E_TEMPLATE" "$E2E_WORK/prefix" || exit 1
  export WINEPREFIX="$E2E_WORK/prefix" HOME="$E2E_WORK/home"
  mkdir -p "$HOME"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  unset DISPLAY
  if [ "${1:-}" != "--headless" ]; then
    # A display of this test's own (windows need one): Xvfb picks a free number.
    command -v Xvfb >/dev/null 2>&1 || { e2e_note "Xvfb is not installed"; exit 1; }
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_WORK/display" >/dev/null 2>&1 &
    E2E_PIDS="$E2E_PIDS $!"
    e2e_wait_until 100 '[ -s "$E2E_WORK/display" ]' || { e2e_note "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(head -n1 "$E2E_WORK/display")"
  fi
  # A persistent server spares each wine call a second's start; it lasts until e2e_flush.
  wineserver -p >/dev/null 2>&1
}

e2e_cleanup() {
  status=$?
  e2e_flush
  for pid in $E2E_PIDS; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  if [ "$status" -ne 0 ] || [ "${E2E_KEEP:-0}" = 1 ]; then
    e2e_note "prefix kept in $E2E_WORK"
  else
    rm -rf "$E2E_WORK"
  fi
  exit "$status"
}

e2e_end() {
  [ "$E2E_FAILURES" -eq 0 ] || { e2e_note "$E2E_NAME: $E2E_FAILURES check(s) failed"; exit 1; }
  exit 0
}

# Existing parts are found without letter case; missing parts keep the spelling given.
e2e_path() {
  winpath=$1
  drive=$(printf '%s' "$winpath" | cut -c1 | tr 'A-Z' 'a-z')
  rest=$(printf '%s' "$winpath" | cut -c3- | tr '\\' '/')
  unix="$WINEPREFIX/dosdevices/$drive:"
  [ "$drive" = c ] && unix="$WINEPREFIX/drive_c"
  old_ifs=$IFS
  IFS=/
  for part in $rest; do
    [ -z "$part" ] && continue
    match=$(find "$unix" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null)
    if [ -n "$match" ]; then unix=$match; else unix="$unix/$part"; fi
  done
  IFS=$old_ifs
  printf '%s\n' "$unix"
}

e2e_mkdir() { mkdir -p "$(e2e_path "$1")"; }

e2e_write_file() {
  mkdir -p "$(dirname "$(e2e_path "$1")")"
  printf '%s' "$2" > "$(e2e_path "$1")"
}

e2e_install_program() {
  exe=${1:-Plandrix_T17_AE.exe}
  dir=${2:-'C:\Setup'}
  e2e_mkdir "$dir"
  cp "$PLANDRIX_WINDOWS_BIN/$exe" "$(e2e_path "$dir")/$exe" || { e2e_note "build the windows preset first"; exit 1; }
  E2E_PROGRAM="$dir\\$exe"
}

e2e_reg_add() {
  wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1 || e2e_fail "could not set $1\\$2"
}

# A batch file carries the line exactly as written (wine's own argument passing would
# quote it again) and passes the exit code on; a percent sign is doubled for cmd.
e2e_run_line() {
  e2e_mkdir 'C:\e2e'
  printf '@%s\r\n' "$(printf '%s' "$1" | sed 's/%/%%/g')" > "$(e2e_path 'C:\e2e')/run.bat"
  E2E_RC=0
  ( cd "$WINEPREFIX/drive_c" && timeout "$E2E_RUN_TIMEOUT" wine cmd /c 'C:\e2e\run.bat' ) \
    >"$E2E_WORK/run.out" 2>&1 || E2E_RC=$?
  cat "$E2E_WORK/run.out" >> "$E2E_WORK/runs.out"  # every run's output, for a kept prefix
  if [ "$E2E_RC" -eq 124 ]; then
    e2e_fail "the program did not end within $E2E_RUN_TIMEOUT s: $1"
    WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1
  fi
  return 0
}

e2e_run() { e2e_run_line "\"$E2E_PROGRAM\" $1"; }

# The next wine call starts a server that ends by itself (and, as after a restart,
# first performs pending renames and RunOnce).
e2e_flush() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  return 0
}

e2e_reg_get() { python3 "$E2E_LIB_DIR/regread.py" "$WINEPREFIX" "$@"; }

# A shell link's target, working folder, arguments and icon as "name: value" lines (lnkinfo omits empty ones).
e2e_link_fields() {
  lnkinfo "$(e2e_path "$1")" 2>/dev/null |
    sed -n 's/^\t\(Local path\|Working directory\|Command line arguments\|Icon location\)\t*: /\1: /p'
}

e2e_log_file() { printf '%s/Plandrix.log\n' "$(e2e_path "$1\\usr")"; }

e2e_read_log() {
  log=$(e2e_log_file "$1")
  [ -f "$log" ] || return 1
  iconv -f WINDOWS-1252 -t UTF-8 "$log" | tr -d '\r'
}

e2e_fail() {
  E2E_FAILURES=$((E2E_FAILURES + 1))
  printf 'FAILED: %s\n' "$*" >&2
}

e2e_expect_eq() { [ "$1" = "$2" ] || e2e_fail "$3: expected '$2', got '$1'"; }

e2e_expect_same() { cmp -s "$(e2e_path "$1")" "$2" || e2e_fail "$1 is not $2"; }

e2e_expect_reg() {
  actual=$(e2e_reg_get "$1" "$2") || { e2e_fail "registry value $1\\$2 is missing"; return 0; }
  e2e_expect_eq "$actual" "$3" "registry value $1\\$2"
}

e2e_expect_reg_absent() {
  if actual=$(e2e_reg_get "$1" "$2"); then e2e_fail "registry value $1\\$2 should be gone, holds '$actual'"; fi
}

e2e_expect_log_contains() {
  if ! text=$(e2e_read_log "$1"); then
    e2e_fail "no log in $1\\usr"
  elif ! printf '%s\n' "$text" | grep -q -F -- "$2"; then
    e2e_fail "the log in $1\\usr lacks '$2'"
    printf '%s\n' "$text" | sed 's/^/  log: /' >&2
  fi
}
