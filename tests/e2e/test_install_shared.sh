#!/bin/sh
# A shared system file replaces an installed copy only when that copy's version is
# older (real version resources); its use count ("SharedDlls") grows per installation.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
target='C:\windows\system32\fncshared.dll'
unix_target=$(e2e_path "$target")
published="$PLANDRIX_SAMPLE_DIR/system/fncshared.dll"

# The sample's shared library with another version resource.
pe_src="$E2E_LIB_DIR/../data/pe"
build_version() {
  printf '#define VER_NUMBERS %s\n#define VER_TEXT "%s"\n#define VER_FILETYPE 2\n' "$(printf '%s' "$1" | tr . ,)" "$1" \
    > "$E2E_WORK/v.rc"
  printf '#define VER_NAME "fncshared.dll"\n#define VER_DESCRIPTION "test"\n#include "versionblock.rc"\n' >> "$E2E_WORK/v.rc"
  x86_64-w64-mingw32-windres -I "$pe_src" "$E2E_WORK/v.rc" -O coff -o "$E2E_WORK/v.o" &&
    x86_64-w64-mingw32-gcc-posix -shared -Os -s -DSAMPLE_VERSION="$(printf '%s' "$1" | cut -d. -f4)" \
      "$pe_src/samplelib.c" "$E2E_WORK/v.o" -o "$E2E_WORK/fncshared-$1.dll" ||
    { e2e_fail "could not build fncshared.dll $1"; e2e_end; }
}
build_version 2.5.0.5
build_version 2.5.0.10

# A fresh Wine prefix has no shared-file list; Windows always has one.
wine reg add "$shared_key" /f >/dev/null 2>&1 || e2e_fail "could not create the shared-file list"

count_after() { e2e_flush; e2e_reg_get "$shared_key" "$target"; }

# New to the machine.
rm -f "$unix_target"
site_install 'C:\FinA'
cmp -s "$unix_target" "$published" || e2e_fail "the new shared file was not placed"
e2e_expect_eq "$(count_after)" 1 "use count of a file new to the machine"
e2e_expect_reg 'HKLM\Software\Molvex\e-Halomir Plandrix\C:-FinA\SharedDlls' "$target" 0

# An older copy without a count, however recent its date: replaced, and counted for
# its earlier user too.
cp "$E2E_WORK/fncshared-2.5.0.5.dll" "$unix_target"
touch -d 'tomorrow' "$unix_target"
wine reg delete "$shared_key" /v "$target" /f >/dev/null 2>&1
site_install 'C:\FinB'
cmp -s "$unix_target" "$published" || e2e_fail "an older shared file was not replaced"
e2e_expect_eq "$(count_after)" 2 "use count of a file that was on disk without a count"

# A newer copy is kept, with its own date; the count grows by this installation.
cp "$E2E_WORK/fncshared-2.5.0.10.dll" "$unix_target"
touch -d '2024-01-02 03:04:05' "$unix_target"
site_install 'C:\FinC'
cmp -s "$unix_target" "$E2E_WORK/fncshared-2.5.0.10.dll" || e2e_fail "a newer shared file was replaced"
e2e_expect_eq "$(date -d "@$(stat -c %Y "$unix_target")" '+%F %T')" '2024-01-02 03:04:05' "date of the kept file"
e2e_expect_log_contains 'C:\FinC' "$target ---> OK"
e2e_expect_eq "$(count_after)" 3 "use count after a third installation"

e2e_end
