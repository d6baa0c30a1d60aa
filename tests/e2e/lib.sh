# End-to-end test library: the real Windows program in a Wine prefix of its own.
#
# A test is a POSIX shell script tests/e2e/test_<name>.sh; ctest runs every such
# script (label "e2e") after the fixture has made the shared template prefix. A test
# sources this file, sets up one prefix, runs the program, and checks what it left:
#
#   . "$(dirname "$0")/lib.sh"
#   e2e_begin                                   # copy of the template, Xvfb, cleanup trap
#   e2e_install_program                         # Plandrix_T17_AE.exe into C:\Setup
#   e2e_write_file 'C:\Fin\Deployment.xml' '<x/>'
#   e2e_reg_add 'HKCU\Software\Molvex\e-Halomir Plandrix' InstallDir REG_SZ 'C:\Fin'
#   e2e_run '/S:2 /I:"C:\Fin"'                  # exact command line, through a batch file
#   e2e_expect_eq "$E2E_RC" 0 "exit code"
#   e2e_flush                                   # end the server: the .reg files are current
#   e2e_expect_reg_absent 'HKLM\Software\X' Name
#   e2e_expect_log_contains 'C:\Fin' "some text"  # C:\Fin\usr\Plandrix.log
#   e2e_end                                     # exit status: 0, or 1 after any failed check
#
# Functions (Windows paths are C:\... and are matched without letter case, as Wine does):
#   e2e_begin [--headless]        new prefix for this test; without --headless an Xvfb
#                                 display of its own (windows need one, even in silent runs)
#   e2e_install_program [EXE] [DIR]   copy EXE (default Plandrix_T17_AE.exe) from the
#                                 Windows build into DIR (default C:\Setup); sets E2E_PROGRAM
#   e2e_path 'C:\a\b'             the Unix path of a Windows path in the prefix
#   e2e_mkdir 'C:\a\b'            e2e_write_file 'C:\a\f' TEXT   (TEXT as given, no newline added)
#   e2e_reg_add KEY NAME TYPE DATA   through "wine reg add" (the server must be able to start)
#   e2e_run 'ARGS'                run E2E_PROGRAM with exactly this command line; waits
#                                 (E2E_RUN_TIMEOUT seconds, default 120); sets E2E_RC
#   e2e_run_line 'LINE'           run a whole command line of your own through the batch file
#   e2e_flush                     end the prefix's server so that the registry files are saved
#                                 (the server started by e2e_begin stays up until then)
#   e2e_reg_get KEY [NAME]        print a value from the registry files (after e2e_flush);
#                                 status 1 when the key or value is not there
#   e2e_log_file 'C:\dir'         Unix path of 'C:\dir\usr\Plandrix.log'
#   e2e_read_log 'C:\dir'         that log as UTF-8 text without CRs
#   e2e_expect_eq ACTUAL EXPECTED WHAT, e2e_expect_file 'C:\f',
#   e2e_expect_reg KEY NAME EXPECTED, e2e_expect_reg_absent KEY NAME,
#   e2e_expect_log_contains 'C:\dir' TEXT, e2e_expect_log_line 'C:\dir' LINE (a whole line,
#   without letter case), e2e_expect_same 'C:\f' UNIXFILE (same bytes), e2e_fail MESSAGE
#
# Environment (ctest sets the first two): PLANDRIX_WINDOWS_BIN (the Windows build's bin
# folder), PLANDRIX_E2E_ROOT (work folder; the template lives there), E2E_KEEP=1 keeps the
# prefix of a test after it ends (it is always kept after a failure; the next run of
# the fixture removes kept prefixes older than two hours). Every Wine command
# here names its own WINEPREFIX; nothing touches another prefix's server.

# Tests live beside this file, so the test script's own folder is the library's
# (a script elsewhere sets E2E_LIB_DIR before sourcing).
E2E_LIB_DIR=${E2E_LIB_DIR:-$(cd "$(dirname "$0")" && pwd)}
: "${PLANDRIX_WINDOWS_BIN:=$E2E_LIB_DIR/../../build/windows/bin}"
: "${PLANDRIX_E2E_ROOT:=${TMPDIR:-/tmp}/plandrix-e2e-$(id -u)}"
: "${E2E_RUN_TIMEOUT:=120}"
E2E_TEMPLATE="$PLANDRIX_E2E_ROOT/template"
# Bump when the template recipe changes, so that an older template is made again.
E2E_TEMPLATE_RECIPE=1
# A missing prerequisite fails the test: set-up installs every tool and test.sh builds
# both presets, so a test that could not run must never pass as skipped.
E2E_SKIP=1

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
unset WAYLAND_DISPLAY

e2e_note() { printf 'e2e: %s\n' "$*" >&2; }

# The template: a booted prefix without links into $HOME and without the server socket
# name of the machine that made it. Made once and reused while wine and the recipe stay
# the same; a lock keeps parallel tests from making it twice.
e2e_template_stamp() { printf '%s recipe %s\n' "$(wine --version 2>/dev/null)" "$E2E_TEMPLATE_RECIPE"; }

e2e_make_template() {
  mkdir -p "$PLANDRIX_E2E_ROOT/home"
  (
    flock 9
    if [ -f "$E2E_TEMPLATE/.stamp" ] && [ "$(cat "$E2E_TEMPLATE/.stamp")" = "$(e2e_template_stamp)" ]; then
      exit 0
    fi
    rm -rf "$E2E_TEMPLATE" "$E2E_TEMPLATE.new"
    (
      unset DISPLAY
      export HOME="$PLANDRIX_E2E_ROOT/home" WINEPREFIX="$E2E_TEMPLATE.new"
      wineboot -i >/dev/null 2>&1 && wineserver -w
    ) || { e2e_note "wineboot failed"; exit 1; }
    for link in "$E2E_TEMPLATE.new"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    rm -f "$E2E_TEMPLATE.new/wineserver"
    e2e_template_stamp > "$E2E_TEMPLATE.new/.stamp"
    mv "$E2E_TEMPLATE.new" "$E2E_TEMPLATE"
  ) 9>"$PLANDRIX_E2E_ROOT/template.lock"
}

E2E_FAILURES=0
E2E_XVFB_PID=""

e2e_begin() {
  E2E_NAME=$(basename "$0" .sh)
  if ! command -v wine >/dev/null 2>&1; then e2e_note "wine is not installed: skipped"; exit $E2E_SKIP; fi
  e2e_make_template || exit 1
  E2E_WORK=$(mktemp -d "$PLANDRIX_E2E_ROOT/run.$E2E_NAME.XXXXXX")
  cp -a "$E2E_TEMPLATE" "$E2E_WORK/prefix" || exit 1
  export WINEPREFIX="$E2E_WORK/prefix" HOME="$E2E_WORK/home"
  mkdir -p "$HOME"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  if [ "${1:-}" = "--headless" ]; then
    unset DISPLAY
  else
    e2e_start_display || exit 1
  fi
  # A server that stays up between the test's wine calls spares a start of a second
  # or more for each of them. It lasts until e2e_flush: before that, "wineserver -w"
  # would wait for ever; wait for the programs with e2e_flush instead.
  wineserver -p >/dev/null 2>&1
}

# A display of this test's own: Xvfb picks a free number and reports it.
e2e_start_display() {
  command -v Xvfb >/dev/null 2>&1 || { e2e_note "Xvfb is not installed"; return 1; }
  display_file="$E2E_WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  [ -s "$display_file" ] || { e2e_note "Xvfb did not start"; return 1; }
  DISPLAY=":$(head -n1 "$display_file")"
  export DISPLAY
}

e2e_cleanup() {
  status=$?
  WINEPREFIX="$E2E_WORK/prefix" wineserver -k >/dev/null 2>&1
  WINEPREFIX="$E2E_WORK/prefix" wineserver -w >/dev/null 2>&1
  if [ -n "$E2E_XVFB_PID" ]; then kill "$E2E_XVFB_PID" 2>/dev/null; wait "$E2E_XVFB_PID" 2>/dev/null; fi
  if { [ "$status" -ne 0 ] && [ "$status" -ne "$E2E_SKIP" ]; } || [ "${E2E_KEEP:-0}" = 1 ]; then
    e2e_note "prefix kept in $E2E_WORK"
  else
    rm -rf "$E2E_WORK"
  fi
  exit "$status"
}

e2e_end() {
  if [ "$E2E_FAILURES" -ne 0 ]; then
    e2e_note "$E2E_NAME: $E2E_FAILURES check(s) failed"
    exit 1
  fi
  e2e_note "$E2E_NAME: passed"
  exit 0
}

# Windows path -> Unix path in the prefix. Existing parts are found without letter
# case (as the program sees them); missing parts keep the spelling given.
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
    match=""
    if [ -d "$unix" ]; then
      match=$(find "$unix" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null)
    fi
    if [ -n "$match" ]; then unix=$match; else unix="$unix/$part"; fi
  done
  IFS=$old_ifs
  printf '%s\n' "$unix"
}

e2e_mkdir() { mkdir -p "$(e2e_path "$1")"; }

e2e_write_file() {
  target=$(e2e_path "$1")
  mkdir -p "$(dirname "$target")"
  printf '%s' "$2" > "$target"
}

e2e_install_program() {
  exe=${1:-Plandrix_T17_AE.exe}
  dir=${2:-'C:\Setup'}
  if [ ! -f "$PLANDRIX_WINDOWS_BIN/$exe" ]; then
    e2e_note "$PLANDRIX_WINDOWS_BIN/$exe is missing: build the windows preset first"
    exit $E2E_SKIP
  fi
  e2e_mkdir "$dir"
  cp "$PLANDRIX_WINDOWS_BIN/$exe" "$(e2e_path "$dir")/$exe"
  E2E_PROGRAM="$dir\\$exe"
}

e2e_reg_add() {
  wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1 || e2e_fail "could not set $1\\$2"
}

# The batch file carries the line to the program exactly as written (wine's own
# argument passing would quote it again); cmd waits for the program and passes its
# exit code on. A percent sign is doubled so that cmd hands it on unchanged; the line
# should hold no other character that cmd acts on outside quotes (& | < > ^).
e2e_run_line() {
  e2e_mkdir 'C:\e2e'
  printf '@%s\r\n' "$(printf '%s' "$1" | sed 's/%/%%/g')" > "$(e2e_path 'C:\e2e')/run.bat"
  printf '%s\n' "$1" > "$E2E_WORK/last-command-line"
  E2E_RC=0
  ( cd "$WINEPREFIX/drive_c" && timeout "$E2E_RUN_TIMEOUT" wine cmd /c 'C:\e2e\run.bat' ) \
    >"$E2E_WORK/run.out" 2>&1 || E2E_RC=$?
  if [ "$E2E_RC" -eq 124 ]; then
    e2e_fail "the program did not end within $E2E_RUN_TIMEOUT s: $1"
    WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1
  fi
  return 0
}

e2e_run() {
  [ -n "${E2E_PROGRAM:-}" ] || { e2e_fail "e2e_install_program first"; return 1; }
  e2e_run_line "\"$E2E_PROGRAM\" $1"
}

# After this the prefix has no server; the next wine call starts one that ends by
# itself (and, as after a restart, first performs pending renames and RunOnce).
e2e_flush() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  return 0
}

e2e_reg_get() { python3 "$E2E_LIB_DIR/regread.py" "$WINEPREFIX" "$@"; }

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

e2e_expect_eq() {
  [ "$1" = "$2" ] || e2e_fail "$3: expected '$2', got '$1'"
}

e2e_expect_file() { [ -f "$(e2e_path "$1")" ] || e2e_fail "file $1 is missing"; }

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

e2e_expect_log_line() {
  e2e_read_log "$1" | grep -qixF -- "$2" || e2e_fail "the log in $1\\usr lacks the line '$2'"
}
