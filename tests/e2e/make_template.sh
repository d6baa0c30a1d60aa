#!/bin/sh
# The fixture before all end-to-end tests: the shared template prefix (made once,
# reused while wine and the recipe stay the same). It also clears away the prefixes
# that failed tests kept more than two hours ago (each is some 700 MB).
. "$(dirname "$0")/lib.sh"
started=$(date +%s)
e2e_make_template || exit 1
find "$PLANDRIX_E2E_ROOT" -mindepth 1 -maxdepth 1 -type d -name 'run.*' -mmin +120 -exec rm -rf {} + 2>/dev/null
e2e_note "template ready in $(( $(date +%s) - started )) s: $E2E_TEMPLATE"
