#!/usr/bin/env python3
"""regread.py PREFIX 'HKLM\\Software\\Key' [VALUE]

Reads one value (or checks one key) in a Wine prefix's registry files, current once the
prefix's server has ended. Names compare without letter case; "@" or "" is the default
value. Prints a string as UTF-8, a DWORD in decimal, anything else as the file writes it.
Exit status 0 found, 1 not there, 2 bad arguments."""
import os
import re
import sys

HIVES = {"HKLM": "system.reg", "HKCU": "user.reg"}
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "a": "\a", "0": "\0"}


def unescape(text):
    def one(match):
        code = match.group(1)
        return chr(int(code[1:], 16)) if code[0] == "x" and len(code) > 1 else ESCAPES.get(code, code)
    return re.sub(r"\\(x[0-9a-fA-F]{1,4}|.)", one, text)


def read_key(path, key):
    """The value lines of `key` (continued lines joined), or None when it is absent."""
    wanted = key.strip("\\").replace("\\", "\\\\").lower()
    lines = None
    pending = ""
    with open(path, encoding="utf-8", errors="replace") as registry:
        for raw in registry:
            line = pending + raw.strip()
            pending = ""
            if line.endswith("\\") and not line.startswith("["):
                pending = line[:-1]
            elif line.startswith("["):
                if lines is not None:
                    break
                if line[1:line.rfind("]")].lower() == wanted:
                    lines = []
            elif lines is not None and line and not line.startswith("#"):
                lines.append(line)
    return lines


def show(data):
    string = re.fullmatch(r'(?:str\(2\):)?"(.*)"', data)
    if string:
        return unescape(string.group(1))
    return str(int(data[6:], 16)) if data.startswith("dword:") else data


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[2].partition("\\")[0].upper() not in HIVES:
        print(__doc__, file=sys.stderr)
        return 2
    hive, _, key = sys.argv[2].partition("\\")
    lines = read_key(os.path.join(sys.argv[1], HIVES[hive.upper()]), key)
    if lines is None or len(sys.argv) == 3:
        return 1 if lines is None else 0
    name = sys.argv[3]
    prefix = "@=" if name in ("", "@") else '"' + name.replace("\\", "\\\\").replace('"', '\\"') + '"='
    for line in lines:
        if line.lower().startswith(prefix.lower()):
            print(show(line[len(prefix):]))
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
