#pragma once
// What a web product line's installation sets up after its files are in place: its marker
// key under HKEY_USERS opened to every user, the virtual directory over the installation,
// and for the .NET line the ASP.NET registration of that directory.
#include <string>

inline constexpr const char* kFyndraMarkerKey = ".DEFAULT\\Software\\Microsoft\\Cryptography\\UserKeys\\Fyndra";
inline constexpr const char* kHalomirNetMarkerKey =
    ".DEFAULT\\Software\\Microsoft\\Cryptography\\UserKeys\\HalomirDotNet";

void SetupFyndraWeb();
void SetupHalomirNetWeb();

// Grants `account` full access to the key below HKEY_USERS: 0 or the system error.
unsigned long GrantRegistryAccess(const std::string& key, const std::string& account);

// Runs the framework's "aspnet_regiis.exe -s" for the directory below site 1 and waits up
// to 30 seconds: true when the tool could be started.
bool RegisterAspNet(const std::string& virtualDirectory);
