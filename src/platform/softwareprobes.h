#pragma once
// What other software the machine offers, read from the registry and the desktop:
// browser, .NET frameworks, web server, office suite, mail client, a browser setting.
// A missing key or value always means "absent".
#include <string_view>

// "Version" of Internet Explorer is at least 5.0.2919.6307 (four parts, compared as numbers).
bool IsInternetExplorerCurrent();

// Which framework `IsDotNetPresent` asks for.
enum class DotNet { V2 = 0, V35Sp1 = 1, V4 = 2 };
bool IsDotNetPresent(DotNet which);
// Releases below 240 (except "DEV") were built against the 2.0 framework, later ones against 3.5 SP1.
bool ReleaseNeedsDotNet2(std::string_view release);
// The framework the selected release needs.
bool IsRequiredDotNetPresent(std::string_view release);

// The user's "DisableCachingOfSSLPages" number (0 when missing), which breaks the web products.
unsigned IsSslPageCachingDisabled();
// Internet Information Services are installed.
bool IsIisPresent();
// The 2010 mail client is installed in its 64-bit build.
bool IsOutlook2010x64();
// Both the word processor's and the spreadsheet's document classes are registered.
bool IsOfficePresent();
// A spreadsheet application window is open.
bool IsExcelRunning();
