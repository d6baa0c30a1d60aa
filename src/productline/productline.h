#pragma once
// The facts and predicates that differ per product line: codes, distribution codes,
// machine keys, which choices are offered, help addresses and conversion captions.
// Product-line codes compare without letter case everywhere.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "sys/desktop.h"
#include "sys/result.h"

// The product-line codes the program knows by name.
namespace line {
constexpr std::string_view kQS2000 = "QS2000";
constexpr std::string_view kQS2003E = "QS2003E";
constexpr std::string_view kQS2003 = "QS2003";
constexpr std::string_view kQS2003SE = "QS2003SE";
constexpr std::string_view kQK2000 = "QK2000";
constexpr std::string_view kQK2003 = "QK2003";
constexpr std::string_view kQF2003 = "QF2003";
constexpr std::string_view kNHVW = "NHVW";
constexpr std::string_view kWENZLORPRO = "WENZLORPRO";
constexpr std::string_view kQTRAX = "QTRAX";
constexpr std::string_view kQW2000 = "QW2000";
constexpr std::string_view kPINDRELV8 = "PINDRELV8";
constexpr std::string_view kFYNDRA = "FYNDRA";
constexpr std::string_view kDORVAL5 = "DORVAL5";
constexpr std::string_view kKS = "KS";
constexpr std::string_view kHalomirNet = "Halomir.NET";
constexpr std::string_view kFNS = "FNS";
constexpr std::string_view kFNC = "FNC";
constexpr std::string_view kTallyo = "Tallyo";
constexpr std::string_view kQBA = "QBA";
}  // namespace line

// At most 19 characters, as `productLine` holds them.
constexpr std::size_t kProductLineMaxLength = 19;

// The distribution name (text::kDistributionFileName) that gives QS2000 its Spanish code.
constexpr std::string_view kSpanishDesktopDistribution = "Plandrix_T7_ES.exe";

// Machine keys below HKEY_LOCAL_MACHINE.
constexpr std::string_view kDesktopMachineKey = "Software\\Molvex\\Molvex for Windows\\4.0";
constexpr std::string_view kSpanishMachineKey = "Software\\Dorval\\Quarzel\\5.0";
constexpr std::string_view kPayrollMachineKey = "Software\\Molvex\\Salvix\\9.0";
// The descriptor the Spanish line's machine key is always created with: authenticated
// users get full access, inherited by sub-keys.
constexpr std::string_view kSpanishMachineKeyDescriptor = "D:(A;OICIID;GA;;;AU)";
// The install-status marker in the line's machine key.
constexpr std::string_view kInstallStatusValueName = "MolvexInstallStatus";
constexpr std::size_t kInstallStatusCapacity = 32;

// `productLine` equals `code`, letter case ignored.
bool IsLine(std::string_view productLine, std::string_view code);
bool IsLineOneOf(std::string_view productLine, std::initializer_list<std::string_view> codes);

// FYNDRA and Halomir.NET: no install-status marker, a virtual directory, started by address.
bool IsWebLine(std::string_view productLine);
// The web product's address on this computer: "http://<computer>/<virtual directory>",
// or "http://<computer>/Halomir" without a virtual directory.
std::string WebProductAddress(std::string_view computerName, std::string_view virtualDir);
// "Tallyo" and "QBA": no standard shortcuts, no uninstall entry, no hand-over entries.
bool IsTallyoLine(std::string_view productLine);
// The Tallyo lines bring their own shortcuts; every other line gets the standard ones.
bool MakesStandardShortcuts(std::string_view productLine);
// Every line but the Tallyo lines, FNS and FNC gets an uninstall entry.
bool WritesUninstallEntry(std::string_view productLine);
// NHVW and WENZLORPRO: the lines a run may convert to the main desktop line.
bool IsConvertibleLine(std::string_view productLine);
// The folder below the installation that holds the line's programs: "sis" for DORVAL5,
// "bin" for every other line.
std::string_view ProgramFolderName(std::string_view productLine);

// The T code of the line ("T17" for FNC). `distributionName` is the build's text::kDistributionFileName.
std::string DistributionCode(std::string_view productLine, std::string_view distributionName);
// The same with the build's own distribution name.
std::string DistributionCode(std::string_view productLine);

// The line's machine key below HKEY_LOCAL_MACHINE (marker, "InstallationTime").
std::string MachineKeyPath(std::string_view productLine);
// Creates or opens the line's machine key; the Spanish line's with its descriptor.
sys::Error CreateMachineKey(std::string_view productLine);

// The line as the site and the help pages know it: QS2003SE is sent as QS2003E.
std::string AssortmentCode(std::string_view productLine);

// Whether the settings offer the offline-help and the demo choices in this mode.
bool HelpChoiceOffered(std::string_view productLine, int32_t mode);
bool DemoChoiceOffered(std::string_view productLine, int32_t mode);

// The session line's install-status marker is non-empty (never for the web lines).
bool InstallStatusSet();

// The help page and the release notes of the session's line on the built-in site.
std::string HelpUrl(std::string_view productLine);
std::string ReleaseNotesUrl(std::string_view productLine);
void OpenHelp(sys::WindowId owner);
void OpenReleaseNotes(sys::WindowId owner);

// The caption a converted NHVW or WENZLORPRO run shows in `mode`; empty for other lines.
std::string ConversionCaption(std::string_view productLine, int32_t mode);
// Replaces the session's `captionText` with the conversion caption, if the line has one.
void SetConversionCaption(std::string_view productLine);
