#!/usr/bin/env python3
"""regread.py PREFIX 'HKLM\\Software\\Key' VALUE

Reads one value in a Wine prefix's registry files, current once the
prefix's server has ended. Names compare without letter case. Prints a string as UTF-8,
a DWORD in decimal, anything else as the file writes it. Exit status 0 found, 1 not there."""
import os
import re
import sys

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "a": "\a", "0": "\0"}


def unescape(text):
    def one(match):
        code = match.group(1)
        return chr(int(code[1:], 16)) if code[0] == "x" and len(code) > 1 else ESCAPES.get(code, code)
    return re.sub(r"\\(x[0-9a-fA-F]{1,4}|.)", one, text)


def main():
    hive, _, key = sys.argv[2].partition("\\")
    path = os.path.join(sys.argv[1], {"HKLM": "system.reg", "HKCU": "user.reg"}[hive.upper()])
    with open(path, encoding="utf-8", errors="replace") as registry:
        text = re.sub(r"\\\n\s*", "", registry.read())  # long hex data goes on in the next line
    wanted = "[" + key.strip("\\").replace("\\", "\\\\").lower() + "]"
    section = next((s for s in re.split(r"\n(?=\[)", text) if s.lower().startswith(wanted)), None)
    if section is None:
        return 1
    name = '"' + sys.argv[3].replace("\\", "\\\\").replace('"', '\\"').lower() + '"='
    for line in section.splitlines()[1:]:
        if line.lower().startswith(name):
            data = line[len(name):]
            string = re.fullmatch(r'(?:str\(2\):)?"(.*)"', data)
            if string:
                print(unescape(string.group(1)))
            else:
                print(int(data[6:], 16) if data.startswith("dword:") else data)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
