#!/usr/bin/env python3
"""Reads one value (or checks one key) in a Wine prefix's registry files, so that
end-to-end tests can check what the program wrote without starting Wine again.

  regread.py PREFIX 'HKLM\\Software\\Key' [VALUE]

HKLM lives in system.reg, HKCU in user.reg. Key and value names compare without letter case, as
in Windows; "@" or an empty VALUE is the default value. Prints a string value as
UTF-8 text, a DWORD in decimal, anything else in the file's own notation. Exit
status 0 found, 1 not there, 2 bad arguments. The files are current only after the
prefix's server has ended (wineserver -k)."""
import os
import re
import sys

HIVES = {"HKLM": "system.reg", "HKCU": "user.reg"}
SIMPLE_ESCAPES = {"\\": "\\", '"': '"', "n": "\n", "r": "\r", "t": "\t", "a": "\a", "0": "\0"}


def unescape(text):
    """The text of a quoted .reg string: \\xHHHH is a character, \\n and the like as in C."""
    def one(match):
        code = match.group(1)
        if code[0] == "x" and len(code) > 1:
            return chr(int(code[1:], 16))
        return SIMPLE_ESCAPES.get(code, code)
    return re.sub(r"\\(x[0-9a-fA-F]{1,4}|.)", one, text)


def split_key(full):
    hive, _, rest = full.partition("\\")
    if hive.upper() not in HIVES:
        raise ValueError(f"unknown hive in {full!r}")
    return HIVES[hive.upper()], rest


def read_key(path, key):
    """The value lines of `key` (continuations joined), or None when it is absent."""
    wanted = key.strip("\\").replace("\\", "\\\\").lower()
    lines = None
    with open(path, encoding="utf-8", errors="replace") as registry:
        pending = ""
        for raw in registry:
            line = pending + raw.strip()
            pending = ""
            if line.endswith("\\") and not line.startswith("["):
                pending = line[:-1]  # long hex data goes on in the next line
                continue
            if line.startswith("["):
                if lines is not None:
                    break
                if line[1:line.rfind("]")].lower() == wanted:
                    lines = []
            elif lines is not None and line and not line.startswith("#"):
                lines.append(line)
    return lines


def find_value(lines, name):
    if name in ("", "@"):
        prefix = "@="
    else:
        prefix = '"' + name.replace("\\", "\\\\").replace('"', '\\"') + '"='
    for line in lines:
        if line.lower().startswith(prefix.lower()):
            return line[len(prefix):]
    return None


def show(data):
    if data.startswith('"') and data.endswith('"'):
        return unescape(data[1:-1])
    if data.startswith("str(2):") and data.endswith('"'):
        return unescape(data[len('str(2):"'):-1])
    if data.startswith("dword:"):
        return str(int(data[len("dword:"):], 16))
    return data


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    prefix, full_key = sys.argv[1], sys.argv[2]
    try:
        file_name, key = split_key(full_key)
    except ValueError as error:
        print(f"regread: {error}", file=sys.stderr)
        return 2
    lines = read_key(os.path.join(prefix, file_name), key)
    if lines is None:
        return 1
    if len(sys.argv) == 3:
        return 0
    data = find_value(lines, sys.argv[3])
    if data is None:
        return 1
    print(show(data))
    return 0


if __name__ == "__main__":
    sys.exit(main())
