#!/usr/bin/env python3
"""Fails when an #include in src/ points up a layer or to a folder outside the table.

Usage: check_layers.py SRC_DIR [--show]. A folder may include its own files and the
folders of lower rows. Folders of one row do not include each other, except where
ALSO_ALLOWED names the pair.
"""
import os
import re
import sys

ROWS = [
    ["sys", "cabinet"],
    ["session"],
    ["productline", "filelist"],
    ["platform", "ui"],
    ["transfer", "install"],
    ["uninstall"],
    ["updaterun"],
    ["app"],
]
# sys/win32 is the adapter: it sees only the seam. app/win32 is the program: anything.
SPECIAL = {"sys/win32": {"sys", "sys/win32"}}
ALSO_ALLOWED = set()

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The table's folder for a path below src/: sys/win32 or the first component."""
    parts = path.split("/")
    if parts[:2] == ["sys", "win32"]:
        return "sys/win32"
    if parts[:2] == ["app", "win32"]:
        return "app"
    return parts[0] if len(parts) > 1 else ""


def row_of(folder):
    for number, folders in enumerate(ROWS):
        if folder in folders:
            return number
    return None


def allowed(source, target):
    if source in SPECIAL:
        return target in SPECIAL[source]
    if target == "sys/win32":
        return source == "app"
    source_row, target_row = row_of(source), row_of(target)
    if source_row is None or target_row is None:
        return False
    return source == target or target_row < source_row or (source, target) in ALSO_ALLOWED


def edges(src_dir):
    for directory, _, names in os.walk(src_dir):
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(directory, name)
            relative = os.path.relpath(path, src_dir).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if match and "/" in match.group(1):
                        yield relative, number, match.group(1)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    bad = 0
    for relative, number, included in edges(sys.argv[1]):
        source, target = folder_of(relative), folder_of(included)
        if not allowed(source, target):
            bad += 1
            print(f"{relative}:{number}: {source} may not include {included}")
    if bad:
        print(f"{bad} include(s) point up a layer or outside the table")
        return 1
    print("every include points down a layer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
