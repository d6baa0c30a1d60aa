#pragma once
// Whether the registry has room for what an installation writes into it.

// Bytes that must stay free below the registry quota.
constexpr unsigned long long kRegistryReserve = 512000;

// False only when the quota counter could be read and leaves kRegistryReserve bytes or
// fewer; every failure to read it passes.
bool HasRegistrySpace();
