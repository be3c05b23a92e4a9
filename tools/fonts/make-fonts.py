#!/usr/bin/env python3
"""Regenerate the two fonts bundled with Zevadav into resources/fonts/.

GOST_type_A.ttf
    Debian's osifont (fonts-osifont), a GOST 2.304 type A drawing font by
    Zefram Cochrane, renamed to the family "GOST type A".  The glyphs are
    untouched.  Name ID 2 becomes "Regular": the source says "Medium" but its
    OS/2 weight (400) and fsSelection REGULAR bit already describe a regular
    face, so the name now agrees with the metadata.

Digirtu_.ttf
    DSEG7 Classic Bold (fonts-dseg) by keshikan, renamed to the family
    "Digital Readout Thick Upright".  The SIL OFL reserves the original name,
    so it must not appear in any name record of the derived font.

    The face stays Bold: usWeightClass 700, the OS/2 fsSelection BOLD bit and
    the head.macStyle bold bit are kept set (REGULAR cleared) and name ID 2 is
    "Bold".  The application asks for this family with bold weight; with the
    face itself flagged bold, fontconfig/DirectWrite match it exactly and Qt
    does not apply synthetic emboldening, which would smear the segment gaps.
    Name IDs 1 and 4 are both the bare family name and the PostScript name is
    "DigitalReadoutThickUpright" (no "-Bold" suffix), because the font is the
    only face of its family and the application looks it up by that name.

    The source has no comma, but readings are shown with the locale's decimal
    separator ("23,5" in Russian).  A comma glyph is added: it is the point
    glyph's dot, copied point for point, plus one extra slanted segment below
    it, separated from the dot by the same narrow gap that separates the
    segments of the digits.  Like the point, the comma has zero advance width
    and sits centred on the boundary between two digit cells, so "23,5" and
    "23.5" occupy exactly the same width.  The tail goes below the baseline,
    so the descent metrics are extended to cover it (the source has a descent
    of 0); otherwise the tail would be clipped on Windows and by tightly sized
    widgets.

The head timestamps of the sources are kept, so running the script twice
produces identical files.  Licence texts are copied from the Debian packages'
copyright files next to the fonts.

Usage: make-fonts.py [--out DIR]  (default: <repo>/resources/fonts)
Needs the Debian packages fonts-osifont, fonts-dseg and python3-fonttools.
"""

import argparse
import os
import re
import sys
from array import array
from pathlib import Path

try:
    from fontTools.ttLib import TTFont
except ImportError:
    # A pyenv/venv python3 may shadow Debian's, which has python3-fonttools.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise
from fontTools.ttLib.tables import ttProgram
from fontTools.ttLib.tables._g_l_y_f import (
    Glyph,
    GlyphCoordinates,
    flagOnCurve,
)

REPO = Path(__file__).resolve().parents[2]

OSIFONT_TTF = Path("/usr/share/fonts/truetype/osifont/osifont.ttf")
OSIFONT_COPYRIGHT = Path("/usr/share/doc/fonts-osifont/copyright")
SEGMENT_TTF = Path("/usr/share/fonts/truetype/dseg/DSEG7Classic-Bold.ttf")
SEGMENT_COPYRIGHT = Path("/usr/share/doc/fonts-dseg/copyright")
GPL3_TEXT = Path("/usr/share/common-licenses/GPL-3")

GOST_FAMILY = "GOST type A"
GOST_PS_NAME = "GOSTtypeA"
DIGITAL_FAMILY = "Digital Readout Thick Upright"
DIGITAL_PS_NAME = "DigitalReadoutThickUpright"

# Comma tail, in font units (1000/em), relative to the glyph origin, which is
# where the point's dot is centred (dot: circle x -62..62, y 0..124).  The
# top edge is slanted to keep a roughly constant gap of ~20 units to the round
# dot, like the gaps between the digit segments; the segment narrows towards
# its lower-left end.  Listed clockwise, like every other outline in the font.
# It stays within x -62..62 so that the comma has the point's side bearings.
COMMA_TAIL = [(-30, -14), (54, 10), (-24, -140), (-62, -140)]

OS2_FS_ITALIC = 1 << 0
OS2_FS_BOLD = 1 << 5
OS2_FS_REGULAR = 1 << 6
MAC_STYLE_BOLD = 1 << 0


def set_name(font, name_id, text):
    """Replace name record name_id on the platforms the font already uses."""
    table = font["name"]
    platforms = {(r.platformID, r.platEncID, r.langID) for r in table.names}
    table.removeNames(nameID=name_id)
    for platform_id, encoding_id, lang_id in sorted(platforms):
        table.setName(text, name_id, platform_id, encoding_id, lang_id)


def get_name(font, name_id):
    record = font["name"].getName(name_id, 3, 1, 0x409) or font["name"].getName(name_id, 1, 0, 0)
    return record.toUnicode() if record else None


def rename(font, family, ps_name, subfamily, unique_id):
    set_name(font, 1, family)
    set_name(font, 2, subfamily)
    set_name(font, 3, unique_id)
    set_name(font, 4, family)
    set_name(font, 6, ps_name)
    # Typographic family/subfamily only exist in some sources; keep them in step.
    if any(r.nameID == 16 for r in font["name"].names):
        set_name(font, 16, family)
    if any(r.nameID == 17 for r in font["name"].names):
        set_name(font, 17, subfamily)


def make_gost(out_dir):
    font = TTFont(OSIFONT_TTF, recalcTimestamp=False)
    version = get_name(font, 5).replace("Version", "").strip()
    original_notice = get_name(font, 0)

    rename(font, GOST_FAMILY, GOST_PS_NAME, "Regular", f"{GOST_FAMILY} Regular {version}")
    set_name(
        font,
        0,
        "Copyright (C) 2015-2022 Zefram Cochrane <hikikomori82@gmail.com>.\n"
        f'"{GOST_FAMILY}" is a renamed derivative of osifont '
        "(https://github.com/hikikomori82/osifont), made for Zevadav; "
        "the glyphs are unchanged.\n\n" + original_notice,
    )

    os2 = font["OS/2"]
    os2.fsSelection = (os2.fsSelection | OS2_FS_REGULAR) & ~(OS2_FS_BOLD | OS2_FS_ITALIC)
    font["head"].macStyle = 0

    font.save(out_dir / "GOST_type_A.ttf", reorderTables=True)


def add_comma(font):
    """Add U+002C built from the point's dot plus a slanted tail segment."""
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    if "comma" in glyf.glyphs:
        raise RuntimeError("source font already has a comma glyph")

    dot_coords, dot_ends, dot_flags = glyf["period"].getCoordinates(glyf)
    comma = Glyph()
    comma.numberOfContours = len(dot_ends) + 1
    comma.coordinates = GlyphCoordinates(list(dot_coords) + COMMA_TAIL)
    comma.flags = array("B", list(dot_flags) + [flagOnCurve] * len(COMMA_TAIL))
    comma.endPtsOfContours = list(dot_ends) + [len(dot_coords) + len(COMMA_TAIL) - 1]
    comma.program = ttProgram.Program()
    comma.program.fromBytecode(b"")
    comma.recalcBounds(glyf)

    period_advance, period_lsb = hmtx["period"]
    if comma.xMin != period_lsb:
        raise RuntimeError("comma tail must not change the point's left side bearing")

    order = font.getGlyphOrder() + ["comma"]
    glyf.glyphs["comma"] = comma
    glyf.glyphOrder = order
    font.setGlyphOrder(order)
    hmtx["comma"] = (period_advance, comma.xMin)
    for subtable in font["cmap"].tables:
        subtable.cmap[ord(",")] = "comma"

    # The source has no descent at all; make room for the tail.  The line gap
    # shrinks by the same amount where possible, so line spacing grows as
    # little as it can.
    hhea = font["hhea"]
    os2 = font["OS/2"]
    depth = -comma.yMin
    extra = max(0, depth + hhea.descent)
    hhea.lineGap = max(0, hhea.lineGap - extra)
    hhea.descent -= extra
    os2.sTypoLineGap = hhea.lineGap
    os2.sTypoDescender = hhea.descent
    os2.usWinDescent = max(os2.usWinDescent, depth)


def make_digital(out_dir):
    font = TTFont(SEGMENT_TTF, recalcTimestamp=False)
    version = get_name(font, 5).replace("Version", "").strip()

    rename(font, DIGITAL_FAMILY, DIGITAL_PS_NAME, "Bold", f"{DIGITAL_FAMILY} Bold {version}")
    set_name(
        font,
        0,
        "Copyright (c) 2018, keshikan (http://www.keshikan.net).\n"
        f'"{DIGITAL_FAMILY}" is a modified version of keshikan\'s seven-segment '
        "font (Classic Bold), renamed as the SIL Open Font License requires; "
        "a comma glyph was added for Zevadav.",
    )
    # The original licence description starts with the copyright statement,
    # which names the Reserved Font Name; keep only the licence itself.
    licence = get_name(font, 13)
    body = licence[licence.index("-----") :]
    set_name(
        font,
        13,
        "This Font Software is licensed under the SIL Open Font License, Version 1.1.\n"
        "This license is copied below, and is also available with a FAQ at:\n"
        "http://scripts.sil.org/OFL\n\n\n" + body,
    )
    set_name(font, 19, "-23,5 12:34")

    os2 = font["OS/2"]
    os2.usWeightClass = 700
    os2.fsSelection = (os2.fsSelection | OS2_FS_BOLD) & ~(OS2_FS_REGULAR | OS2_FS_ITALIC)
    font["head"].macStyle = MAC_STYLE_BOLD

    add_comma(font)

    reserved = re.compile("dseg", re.IGNORECASE)
    leaks = [r.nameID for r in font["name"].names if reserved.search(r.toUnicode())]
    leaks += [g for g in font.getGlyphOrder() if reserved.search(g)]
    if leaks:
        raise RuntimeError(f"reserved font name still present in: {leaks}")

    font.save(out_dir / "Digirtu_.ttf", reorderTables=True)


def debian_licence(copyright_file):
    """The copyright line(s) and licence text of the 'Files: *' stanza of a
    machine-readable Debian copyright file, as plain text."""
    stanza = copyright_file.read_text(encoding="utf-8").split("\n\n")
    files_star = next(s for s in stanza if s.startswith("Files: *"))
    copyright_lines, licence_lines, field = [], [], None
    for line in files_star.splitlines():
        if line.startswith("Copyright:"):
            field = copyright_lines
            line = line[len("Copyright:") :]
        elif line.startswith("License:"):
            field = licence_lines
            licence_lines += ["License: " + line[len("License:") :].strip(), ""]
            continue
        elif not line.startswith(" "):
            field = None
        if field is not None:
            text = line.strip()
            field.append("" if text == "." else text)
    return "Copyright " + "\n".join(copyright_lines).strip() + "\n\n" + "\n".join(licence_lines) + "\n"


def write_licences(out_dir):
    (out_dir / "OFL.txt").write_text(
        "Licence of Digirtu_.ttf (family \"Digital Readout Thick Upright\"),\n"
        "a modified version of the seven-segment font by keshikan.\n"
        "Taken from the Debian package fonts-dseg.\n\n" + debian_licence(SEGMENT_COPYRIGHT),
        encoding="utf-8",
    )
    (out_dir / "osifont-LICENSE.txt").write_text(
        "Licence of GOST_type_A.ttf (family \"GOST type A\"), a renamed copy of osifont.\n"
        "Taken from the Debian package fonts-osifont.  This copy is distributed\n"
        "under the GNU General Public License version 3 with the font exception;\n"
        "the full text of the GPL version 3 follows below.\n\n"
        + debian_licence(OSIFONT_COPYRIGHT)
        + "\n\n"
        + GPL3_TEXT.read_text(encoding="utf-8"),
        encoding="utf-8",
    )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=REPO / "resources" / "fonts")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)

    for source in (OSIFONT_TTF, SEGMENT_TTF, OSIFONT_COPYRIGHT, SEGMENT_COPYRIGHT, GPL3_TEXT):
        if not source.exists():
            sys.exit(f"missing {source}; install fonts-osifont and fonts-dseg")

    make_gost(args.out)
    make_digital(args.out)
    write_licences(args.out)
    print(f"fonts written to {args.out}")


if __name__ == "__main__":
    main()
