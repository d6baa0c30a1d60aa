#!/usr/bin/env python3
"""Turns the string table's source (UTF-8 text, one entry a line) into what the two
builds and the native tests need: a STRINGTABLE resource script per build, a C++
table with the same bytes (Windows-1252) for the programs and tests that run on Linux,
and a header that names every id for the code that loads the texts.

  generate_strings.py --table strings.tsv --generic generic.tsv \
      --rc-fnc out/strings_fnc.rc --rc-generic out/strings_generic.rc --cpp out/stringtable_data.cpp \
      --ids out/textids.h

A malformed line, a repeated id or name, a character without a Windows-1252 form or a
generic entry whose name differs from the main table's stops the generation with the
file and line, so a broken table never reaches a build."""
import argparse
import os
import re
import sys

MAX_ID = 65535
# LoadString's limit for one entry, in characters.
MAX_TEXT = 4095
ESCAPES = {"r": "\r", "n": "\n", "t": "\t", '"': '"'}
NAME = re.compile(r"k[A-Z][A-Za-z0-9]*$")
# How much of a text the id header repeats beside its name.
HINT_LENGTH = 60


class TableError(Exception):
    pass


def decode_text(raw, where):
    """The source's escapes: \\r \\n \\t \\" stand for CR, LF, TAB and a quote; any
    other backslash is itself."""
    out = []
    i = 0
    while i < len(raw):
        ch = raw[i]
        if ch == "\\" and i + 1 < len(raw) and raw[i + 1] in ESCAPES:
            out.append(ESCAPES[raw[i + 1]])
            i += 2
            continue
        out.append(ch)
        i += 1
    text = "".join(out)
    try:
        encoded = text.encode("cp1252")
    except UnicodeEncodeError as error:
        raise TableError(f"{where}: {text[error.start]!r} has no Windows-1252 form")
    if not encoded:
        raise TableError(f"{where}: an empty text cannot be told from an absent entry")
    if len(encoded) > MAX_TEXT:
        raise TableError(f"{where}: text longer than {MAX_TEXT} bytes")
    return encoded


class Table:
    """The entries of one source file: texts by id, and the name of every id, also of
    those named on purpose without a text."""

    def __init__(self):
        self.texts = {}
        self.names = {}


def read_table(path):
    table = Table()
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n").rstrip("\r")
            where = f"{path}:{number}"
            if not line.strip() or line.startswith("#"):
                continue
            ident, tab, rest = line.partition("\t")
            name, tab_before_text, raw = rest.partition("\t")
            if not tab or not ident.isdigit() or not NAME.match(name):
                raise TableError(f"{where}: expected '<id><TAB><kName>[<TAB><text>]'")
            entry_id = int(ident)
            if entry_id > MAX_ID:
                raise TableError(f"{where}: id {entry_id} is beyond {MAX_ID}")
            if entry_id in table.names:
                raise TableError(f"{where}: id {entry_id} appears twice")
            if name in table.names.values():
                raise TableError(f"{where}: name {name} appears twice")
            table.names[entry_id] = name
            if tab_before_text:
                table.texts[entry_id] = decode_text(raw, where)
    return table


def merge_generic(fnc, generic, path):
    """The generic build: the main table with the generic file's texts in place, each
    under the name the main table gives its id."""
    for entry_id, name in generic.names.items():
        if fnc.names.get(entry_id) != name:
            raise TableError(f"{path}: id {entry_id} is {fnc.names.get(entry_id)} in the main table, not {name}")
    texts = dict(fnc.texts)
    texts.update(generic.texts)
    return texts


def rc_literal(data):
    """A resource-script string: quotes doubled, controls and high bytes as octal
    escapes, so that the script itself stays plain ASCII."""
    parts = []
    for byte in data:
        if byte == 0x22:
            parts.append('""')
        elif byte == 0x5C:
            parts.append("\\\\")
        elif byte == 0x0D:
            parts.append("\\r")
        elif byte == 0x0A:
            parts.append("\\n")
        elif byte == 0x09:
            parts.append("\\t")
        elif 0x20 <= byte < 0x7F:
            parts.append(chr(byte))
        else:
            parts.append(f"\\{byte:03o}")
    return '"' + "".join(parts) + '"'


def cpp_literal(data):
    parts = []
    for byte in data:
        if byte in (0x22, 0x5C):
            parts.append("\\" + chr(byte))
        elif 0x20 <= byte < 0x7F:
            parts.append(chr(byte))
        else:
            parts.append(f"\\{byte:03o}")
    return '"' + "".join(parts) + '"'


def write_if_changed(path, text):
    """Leaves an unchanged output untouched so that nothing downstream rebuilds."""
    try:
        with open(path, encoding="ascii", newline="") as current:
            if current.read() == text:
                return
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="ascii", newline="") as target:
        target.write(text)


def render_rc(entries, build_name):
    lines = [
        f"// The {build_name} build's string table. Generated from src/ui/strings; do not edit.",
        "#pragma code_page(1252)",
        "LANGUAGE 0x09, 0x01  // English (United States)",
        "STRINGTABLE",
        "BEGIN",
    ]
    for entry_id in sorted(entries):
        lines.append(f"  {entry_id}, {rc_literal(entries[entry_id])}")
    lines += ["END", ""]
    return "\r\n".join(lines)


def render_cpp(tables):
    lines = [
        "// The string tables of both builds, Windows-1252 bytes. Generated from",
        "// src/ui/strings by tools/stringtable/generate_strings.py; do not edit.",
        '#include "ui/strings/stringtable.h"',
        "",
        "namespace stringtable_data {",
    ]
    for name, entries in tables:
        lines.append(f"extern const StringEntry {name}[] = {{")
        for entry_id in sorted(entries):
            data = entries[entry_id]
            lines.append(f"    {{{entry_id}, std::string_view({cpp_literal(data)}, {len(data)})}},")
        lines.append("};")
        lines.append(f"extern const std::size_t {name}Count = sizeof {name} / sizeof {name}[0];")
    lines += ["}  // namespace stringtable_data", ""]
    return "\n".join(lines)


def render_ids(table):
    lines = [
        "// The string table's ids by name, with the start of each text. Generated from",
        "// src/ui/strings by tools/stringtable/generate_strings.py; do not edit.",
        "#pragma once",
        "#include <cstdint>",
        "",
        "namespace text {",
    ]
    for entry_id in sorted(table.names):
        data = table.texts.get(entry_id)
        if data is None:
            hint = "absent on purpose: the empty text"
        else:
            hint = cpp_literal(data[:HINT_LENGTH])[1:-1].rstrip("\\")
        lines.append(f"constexpr uint32_t {table.names[entry_id]} = {entry_id};  // {hint}")
    lines += ["}  // namespace text", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True, help="the FNC build's table")
    parser.add_argument("--generic", required=True, help="the generic build's differences")
    parser.add_argument("--rc-fnc", required=True)
    parser.add_argument("--rc-generic", required=True)
    parser.add_argument("--cpp", required=True)
    parser.add_argument("--ids", required=True, help="the header of named ids")
    options = parser.parse_args()
    try:
        table = read_table(options.table)
        fnc = table.texts
        generic = merge_generic(table, read_table(options.generic), options.generic)
    except (TableError, OSError, UnicodeDecodeError) as error:
        print(f"generate_strings: {error}", file=sys.stderr)
        return 1
    write_if_changed(options.rc_fnc, render_rc(fnc, "FNC"))
    write_if_changed(options.rc_generic, render_rc(generic, "generic"))
    write_if_changed(options.cpp, render_cpp([("kFnc", fnc), ("kGeneric", generic)]))
    write_if_changed(options.ids, render_ids(table))
    return 0


if __name__ == "__main__":
    sys.exit(main())
