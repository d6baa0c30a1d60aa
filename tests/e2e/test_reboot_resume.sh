#!/bin/sh
# The run after a restart only clears the install-status marker of the desktop
# line's machine key, and writes no log anywhere.
. "$(dirname "$0")/lib.sh"
e2e_begin

machine_key='HKLM\Software\Molvex\Molvex for Windows\4.0'
e2e_install_program
# An installation with a log folder, known to the settings: a log would show up here.
e2e_mkdir 'C:\Fennic Resume\usr'
e2e_reg_add 'HKCU\Software\Molvex\e-Halomir Plandrix' InstallDir REG_SZ 'C:\Fennic Resume'
e2e_reg_add "$machine_key" MolvexInstallStatus REG_SZ 'Installing'
e2e_reg_add "$machine_key" InstallationTime REG_SZ 'kept'

e2e_run '/REBOOT:1'
e2e_expect_eq "$E2E_RC" 0 "exit code"
e2e_flush

status=$(e2e_reg_get "$machine_key" MolvexInstallStatus)
e2e_expect_eq "$status" "" "install-status marker after the resumed run"
e2e_expect_reg "$machine_key" InstallationTime 'kept'
logs=$(find "$WINEPREFIX/drive_c" -iname 'plandrix.log' 2>/dev/null)
e2e_expect_eq "$logs" "" "log files written by a resumed run"

e2e_end
