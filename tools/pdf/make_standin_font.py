#!/usr/bin/python3
"""Makes a stand-in for a legacy 8-bit font out of a free TrueType font.

    make_standin_font.py SOURCE.ttf OUTPUT.ttf FAMILY {unicode|symbol}

The tests need PDFs whose text was set in fonts named like the legacy
Malayalam fonts ("ML-TTKarthika", "rl1"), and we have none of those fonts;
only their names and their encodings matter to a reader of the text layer.
So a free font is copied and renamed, and its character map made either:

  unicode  the source's Windows Unicode cmap (3,1) kept as is, like legacy
           fonts that claim to be Latin fonts and put their glyphs at Latin
           code points;
  symbol   a Windows Symbol cmap (3,0) only, like legacy fonts flagged as
           symbol fonts: codes U+F020..U+F0FF reach the glyphs the source
           gave to the Windows-1252 characters of bytes 0x20..0xFF, plus a
           Mac Roman (1,0) cmap of the same byte codes.

Runs with Debian's python3-fonttools (hence /usr/bin/python3).
"""

import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable

# Name IDs that carry the family: family (1), full name (4), PostScript name
# (6), typographic family (16) and subfamily (17).
FAMILY_IDS = (1, 4, 16)
POSTSCRIPT_ID = 6
SUBFAMILY_IDS = (2, 17)


def rename(font, family):
    """Gives every platform's family names the new family."""
    name = font["name"]
    for record in name.names:
        if record.nameID in FAMILY_IDS:
            text = family
        elif record.nameID == POSTSCRIPT_ID:
            # PostScript names allow no spaces.
            text = family.replace(" ", "")
        elif record.nameID in SUBFAMILY_IDS:
            # A stand-in is a plain regular face whatever the source was.
            text = "Regular"
        else:
            continue
        # fontTools encodes per platform (Mac Roman, UTF-16BE); the legacy
        # names are ASCII, so every platform can hold them.
        record.string = text


def byte_character(code):
    """The Unicode character Windows-1252 gives to a byte, or None for the
    five bytes it leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)."""
    try:
        return ord(bytes([code]).decode("cp1252"))
    except UnicodeDecodeError:
        return None


def make_symbol(font):
    """Replaces the cmaps by a Windows Symbol one and a Mac one of the same
    byte codes, and flags the font as a symbol font."""
    unicode_map = font.getBestCmap()
    glyph_of_byte = {}
    for code in range(0x20, 0x100):
        character = byte_character(code)
        glyph = unicode_map.get(character) if character is not None else None
        if glyph is not None:
            glyph_of_byte[code] = glyph

    def subtable(format_, platform, encoding, mapping):
        table = CmapSubtable.newSubtable(format_)
        table.platformID, table.platEncID, table.language = platform, encoding, 0
        table.cmap = mapping
        return table

    # Symbol fonts put byte b at U+F000+b; format 4 holds those 16-bit codes.
    windows = subtable(4, 3, 0, {0xF000 + code: glyph for code, glyph in glyph_of_byte.items()})
    # The Mac cmap is a byte table (format 6 keeps to the codes that exist).
    mac = subtable(6, 1, 0, dict(glyph_of_byte))
    font["cmap"].tables = [mac, windows]

    # Bit 31 of the first code page range is "Symbol character set": what
    # Windows and LibreOffice look at to treat the font as a symbol font.
    os2 = font["OS/2"]
    os2.ulCodePageRange1 = 1 << 31
    os2.ulCodePageRange2 = 0
    # The first and last character index of a symbol font lie in U+F0xx.
    os2.usFirstCharIndex = 0xF000 + min(glyph_of_byte)
    os2.usLastCharIndex = 0xF000 + max(glyph_of_byte)


def main(argv):
    if len(argv) != 5 or argv[4] not in ("unicode", "symbol"):
        sys.exit("usage: make_standin_font.py SOURCE.ttf OUTPUT.ttf FAMILY {unicode|symbol}")
    source, output, family, kind = argv[1:]
    font = TTFont(source)
    rename(font, family)
    if kind == "symbol":
        make_symbol(font)
    font.save(output)


if __name__ == "__main__":
    main(sys.argv)
