#!/usr/bin/env python3
"""Reads the headers of the built Windows programs: the 32-bit build (the one shipped)
is i386, the 64-bit one amd64; both are GUI programs with the project's version resource
and, linked statically, import
from Windows system libraries only.

usage: check_programs.py WINDOWS_BIN WINDOWS32_BIN VERSION
"""
import os
import struct
import sys

PROGRAMS = ("Plandrix_T17_AE.exe", "HalomirPlandrix.exe")
MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664
SUBSYSTEM_GUI = 2
IMPORT_DIRECTORY = 1
# Libraries every Windows installation has; a runtime of the compiler (libstdc++,
# libgcc, libwinpthread) would be missing on a user's machine.
SYSTEM_LIBRARIES = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
    "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "version.dll", "wininet.dll", "urlmon.dll",
    "shlwapi.dll", "msvcrt.dll", "ws2_32.dll", "mpr.dll", "netapi32.dll", "rpcrt4.dll",
    "userenv.dll", "crypt32.dll", "setupapi.dll", "winspool.drv", "psapi.dll", "msi.dll",
}


class Image:
    def __init__(self, data):
        self.data = data
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        coff = pe + 4
        self.machine = self.u16(coff)
        sections = self.u16(coff + 2)
        optional = coff + 20
        magic = self.u16(optional)
        self.subsystem = self.u16(optional + 68)
        directories = optional + (96 if magic == 0x10B else 112)
        self.imports_rva = self.u32(directories + 8 * IMPORT_DIRECTORY)
        first = optional + self.u16(coff + 16)
        self.sections = [struct.unpack_from("<IIII", data, first + 40 * i + 8) for i in range(sections)]

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for virtual_size, virtual_address, raw_size, raw_offset in self.sections:
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                return raw_offset + rva - virtual_address
        raise ValueError(f"address {rva:#x} lies in no section")

    def imported_libraries(self):
        names = []
        if self.imports_rva == 0:
            return names
        entry = self.offset(self.imports_rva)
        while any(self.data[entry:entry + 20]):
            name = self.offset(self.u32(entry + 12))
            names.append(self.data[name:self.data.index(b"\0", name)].decode("ascii"))
            entry += 20
        return names


def file_version(data):
    """The file version of the version resource's fixed part (signature 0xFEEF04BD)."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    high, low = struct.unpack_from("<II", data, at + 8)
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"


def check(path, machine, version):
    faults = []
    with open(path, "rb") as file:
        data = file.read()
    image = Image(data)
    if image.machine != machine:
        faults.append(f"machine {image.machine:#x}, expected {machine:#x}")
    if image.subsystem != SUBSYSTEM_GUI:
        faults.append(f"subsystem {image.subsystem}, expected {SUBSYSTEM_GUI} (GUI)")
    if file_version(data) != version:
        faults.append(f"version resource {file_version(data)}, expected {version}")
    libraries = image.imported_libraries()
    foreign = [name for name in libraries if name.lower() not in SYSTEM_LIBRARIES]
    if foreign:
        faults.append("imports from libraries that are not part of Windows: " + ", ".join(foreign))
    print(f"{path}: machine {image.machine:#x}, imports {', '.join(sorted(libraries))}")
    return faults


def main(windows_bin, windows32_bin, version):
    failed = False
    for folder, machine, preset in ((windows_bin, MACHINE_AMD64, "windows"), (windows32_bin, MACHINE_I386, "windows32")):
        for program in PROGRAMS:
            path = os.path.join(folder, program)
            if not os.path.exists(path):
                print(f"{path} is missing: build the {preset} preset first "
                      f"(cmake --preset {preset} && cmake --build --preset {preset})")
                failed = True
                continue
            for fault in check(path, machine, version):
                print(f"{path}: {fault}")
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
