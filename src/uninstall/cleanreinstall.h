#pragma once
// The clean reinstall: the installation is removed silently before its files are
// installed again.

void UninstallBeforeReinstall();
