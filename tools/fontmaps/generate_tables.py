#!/usr/bin/env python3
"""Writes the glyph tables of the legacy Malayalam font families.

Reads the public glyph maps (a folder of N.json files and index.json, see
PROVENANCE.md), turns every key into the byte it stands for through its map's
code page, applies corrections.tsv, writes chillus the way the converter's
legacy spelling writes them, merges maps that come out identical, and writes
one C++ header of 256 rows per encoding plus the font-name index into
src/families/.

A developer runs it by hand after changing the corrections or this script:

    tools/fontmaps/generate_tables.py [--maps ../shared/fontmaps/maps]

The build never runs it and never reads the maps.
"""

import argparse
import json
import pathlib
import sys
import textwrap

HERE = pathlib.Path(__file__).resolve().parent
REPO = HERE.parent.parent
OUT = REPO / "src" / "families"
SCRIPT = "tools/fontmaps/generate_tables.py"

# Maps whose keys are Mac Roman characters; the others are keyed by
# Windows-1252, the code page of our glyph strings.
MAC_ROMAN_MAPS = {0, 2, 4, 6, 9, 14, 16, 18, 20}

# Key characters the codecs do not give back as bytes: Mac Roman's currency
# sign (DB) and Ohm sign (BD) as older Mac Roman tables spell them; the
# bullet operator that 13.json writes for Windows-1252's middle dot B7.
MAC_ROMAN_EXCEPTIONS = {"\u00a4": 0xDB, "\u2126": 0xBD}
WINDOWS_1252_EXCEPTIONS = {"\u2219": 0xB7}
WINDOWS_1252_UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}

# Atomic chillus, written as consonant, virama, zero width joiner: the
# converter's legacy spelling; its modern spelling turns them back.
CHILLUS = {
    "\u0d7a": "\u0d23\u0d4d\u200d", "\u0d7b": "\u0d28\u0d4d\u200d",
    "\u0d7c": "\u0d30\u0d4d\u200d", "\u0d7d": "\u0d32\u0d4d\u200d",
    "\u0d7e": "\u0d33\u0d4d\u200d", "\u0d7f": "\u0d15\u0d4d\u200d",
}

# One encoding per distinct table, named by the maps it comes from; the first
# map listed names the encoding's rows. `mltt` marks the layout the Unicode
# walk converts.
ENCODINGS = [
    # (label, identifier, maps, mltt)
    ("ML-TT", "Mltt", [1], True),
    ("ML", "Ml", [2], False),
    ("ML-TT Sarada", "MlttSarada", [10], False),
    ("ML-TT Aswathi", "MlttAswathi", [11], False),
    ("ML Surya", "MlSurya", [13, 15], False),
    ("ML-TT Mayoori", "MlttMayoori", [16], False),
    ("MLB-TT", "Mlbtt", [5, 17], False),
    ("MLB-TT Ambili BoldItalic", "MlbttAmbiliBoldItalic", [18], False),
    ("GIST-MLTT", "GistMltt", [4, 14], False),
    ("MLB", "Mlb", [0, 6], False),
    ("MLB-TT Revathi BoldItalic", "MlbttRevathiBoldItalic", [9], False),
    ("ML-TT Surya", "MlttSurya", [12], False),
]


def key_byte(key, map_number):
    if map_number in MAC_ROMAN_MAPS:
        return MAC_ROMAN_EXCEPTIONS.get(key) or key.encode("mac_roman")[0]
    if key in WINDOWS_1252_EXCEPTIONS:
        return WINDOWS_1252_EXCEPTIONS[key]
    if ord(key) in WINDOWS_1252_UNDEFINED:
        return ord(key)
    return key.encode("cp1252")[0]


def read_map(folder, map_number):
    path = folder / f"{map_number}.json"
    table = {}
    for key, text in json.loads(path.read_text(encoding="utf-8")).items():
        code = key_byte(key, map_number)
        if code in table:
            sys.exit(f"{path}: two keys give byte {code:02X}")
        table[code] = text
    return table


def parse_codes(field):
    first, _, last = field.partition("-")
    return range(int(first, 16), int(last or first, 16) + 1)


def read_corrections():
    rows = []
    for number, line in enumerate((HERE / "corrections.tsv").read_text(encoding="utf-8").splitlines(), 1):
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 5 or fields[0] not in ("set", "replace"):
            sys.exit(f"corrections.tsv:{number}: expected 5 tab-separated fields, set or replace")
        rows.append((number, *fields))
    return rows


def apply_corrections(tables, corrections):
    for number, action, maps, what, text, _reason in corrections:
        targets = sorted(tables) if maps == "*" else [int(m) for m in maps.split(",")]
        changed = 0
        for map_number in targets:
            table = tables[map_number]
            if action == "set":
                for code in parse_codes(what):
                    table[code] = chr(code) if text == "=" else text
                    changed += 1
            else:
                for code, old in table.items():
                    if old == what:
                        table[code] = text
                        changed += 1
        if changed == 0:
            sys.exit(f"corrections.tsv:{number}: changes nothing")


def legacy_spelling(text):
    return "".join(CHILLUS.get(ch, ch) for ch in text)


def cpp_string(text):
    out = []
    for ch in text:
        if ch == "\\" or ch == '"':
            out.append("\\" + ch)
        elif 0x20 <= ord(ch) < 0x7F:
            out.append(ch)
        else:
            out.append(f"\\u{ord(ch):04X}")
    return 'u"' + "".join(out) + '"'


def shown(text):
    visible = "".join({"\u200d": "<ZWJ>", "\u200c": "<ZWNJ>"}.get(ch, ch) for ch in text)
    return f"  // '{visible}'"


BANNER = [
    f"// Generated by {SCRIPT} from the public glyph maps",
    "// (tools/fontmaps/PROVENANCE.md); do not edit by hand.",
]


def write_rows(label, identifier, maps, fonts, table):
    names = "\n".join(textwrap.wrap(", ".join(fonts), width=76, initial_indent="//   ",
                                     subsequent_indent="//   ", break_on_hyphens=False))
    lines = [
        "#pragma once",
        *BANNER,
        "//",
        f'// Encoding "{label}" (map {", ".join(f"{m}.json" for m in maps)}), drawn by {len(fonts)} fonts:',
        names,
        "//",
        "// One row per code: the Unicode text its glyph draws, in visual order as it",
        "// was typed; an empty text where the map names nothing.",
        "",
        '#include "families/LegacyRow.h"',
        "",
        "namespace maravelundi::legacy_rows {",
        "",
        f"inline constexpr LegacyRow k{identifier}Rows[] = {{",
    ]
    for code in range(256):
        text = table.get(code, "")
        row = f"    {{0x{code:02X}, {cpp_string(text)}}},"
        lines.append(row + (shown(text) if text else ""))
    lines += ["};", "", "}  // namespace maravelundi::legacy_rows", ""]
    (OUT / f"LegacyRows{identifier}.h").write_text("\n".join(lines), encoding="utf-8")


def write_index(encodings, fonts_by_map, missing):
    entries = []
    for _label, identifier, maps, _mltt in encodings:
        for map_number in maps:
            entries += [(name, f"k{identifier}") for name in fonts_by_map[map_number]]
    entries += [(name, "kNoMap") for name in missing]
    entries.sort(key=lambda entry: entry[0].lower())
    lines = [
        "#pragma once",
        *BANNER,
        "//",
        "// Every legacy encoding with its rows, and every font name of the maps with",
        "// the encoding it uses (kNoMap: the maps name the font but lack its map).",
        "// Names in case-insensitive order. Included by LegacyEncoding.cpp only.",
        "",
        '#include "families/LegacyRow.h"',
    ]
    lines += [f'#include "families/LegacyRows{identifier}.h"' for _l, identifier, _m, _t in encodings]
    lines += ["", "namespace maravelundi::legacy_rows {", "",
              "// Positions in kEncodingRows.",
              "enum EncodingNumber : std::size_t {"]
    lines += [f"  k{identifier}," for _l, identifier, _m, _t in encodings]
    lines += ["  kNoMap,", "};", "",
              "inline constexpr LegacyEncodingRows kEncodingRows[] = {"]
    for label, identifier, _maps, mltt in encodings:
        lines.append(f'    {{"{label}", {"true" if mltt else "false"}, k{identifier}Rows}},')
    lines += ["};", "", "inline constexpr LegacyFontRow kFontRows[] = {"]
    lines += [f'    {{"{name}", {encoding}}},' for name, encoding in entries]
    lines += ["};", "", "}  // namespace maravelundi::legacy_rows", ""]
    (OUT / "LegacyFontIndex.h").write_text("\n".join(lines), encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--maps", type=pathlib.Path, default=REPO.parent / "shared" / "fontmaps" / "maps")
    args = parser.parse_args()

    index = json.loads((args.maps / "index.json").read_text(encoding="utf-8"))
    fonts_by_map = {}
    for name, file in index.items():
        fonts_by_map.setdefault(int(file.removesuffix(".json")), []).append(name)
    present = {m for m in fonts_by_map if (args.maps / f"{m}.json").exists()}
    missing = sorted((n for m in fonts_by_map if m not in present for n in fonts_by_map[m]), key=str.lower)

    tables = {m: read_map(args.maps, m) for m in sorted(present)}
    apply_corrections(tables, read_corrections())
    tables = {m: {code: legacy_spelling(text) for code, text in t.items()} for m, t in tables.items()}

    listed = sorted(m for _l, _i, maps, _t in ENCODINGS for m in maps)
    if listed != sorted(present):
        sys.exit(f"ENCODINGS lists maps {listed}, the index names maps {sorted(present)}")
    for label, _identifier, maps, _mltt in ENCODINGS:
        for other in maps[1:]:
            if tables[other] != tables[maps[0]]:
                sys.exit(f"{label}: map {other} differs from map {maps[0]}")
    distinct = {tuple(sorted(tables[maps[0]].items())) for _l, _i, maps, _t in ENCODINGS}
    if len(distinct) != len(ENCODINGS):
        sys.exit("two encodings have the same table: merge them")

    for label, identifier, maps, _mltt in ENCODINGS:
        fonts = sorted((n for m in maps for n in fonts_by_map[m]), key=str.lower)
        write_rows(label, identifier, maps, fonts, tables[maps[0]])
    write_index(ENCODINGS, fonts_by_map, missing)
    print(f"{len(ENCODINGS)} encodings, {sum(len(v) for v in fonts_by_map.values())} font names "
          f"({len(missing)} without a map) written to {OUT.relative_to(REPO)}")


if __name__ == "__main__":
    main()
