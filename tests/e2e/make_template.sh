#!/bin/sh
# The fixture before all end-to-end tests: the shared template prefix (made once,
# reused while wine and the recipe stay the same).
. "$(dirname "$0")/lib.sh"
command -v wine >/dev/null 2>&1 || { e2e_note "wine is not installed"; exit $E2E_SKIP; }
started=$(date +%s)
e2e_make_template || exit 1
e2e_note "template ready in $(( $(date +%s) - started )) s: $E2E_TEMPLATE"
