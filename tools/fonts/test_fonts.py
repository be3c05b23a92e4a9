#!/usr/bin/env python3
"""Checks for the fonts in resources/fonts/ (made by make-fonts.py).

Run: python3 tools/fonts/test_fonts.py
Writes a sample sheet to <tmp>/fontcheck.png for a visual check.
"""

import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

try:
    from fontTools.ttLib import TTFont
except ImportError:
    # A pyenv/venv python3 may shadow Debian's, which has python3-fonttools.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

try:
    from PIL import Image, ImageDraw, ImageFont, ImageOps
except ImportError:
    Image = None

HERE = Path(__file__).resolve().parent
FONTS = HERE.parents[1] / "resources" / "fonts"
DIGITAL = FONTS / "Digirtu_.ttf"
GOST = FONTS / "GOST_type_A.ttf"
CHECK_IMAGE = Path(tempfile.gettempdir()) / "fontcheck.png"

DIGITAL_FAMILY = "Digital Readout Thick Upright"
GOST_FAMILY = "GOST type A"


def names(font, name_id):
    return [r.toUnicode() for r in font["name"].names if r.nameID == name_id]


def signed_area(points):
    """Shoelace area; negative for clockwise contours (y up)."""
    return sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1])) / 2


def contours(font, glyph_name):
    glyf = font["glyf"]
    coords, ends, _ = glyf[glyph_name].getCoordinates(glyf)
    result, start = [], 0
    for end in ends:
        result.append([tuple(p) for p in coords[start : end + 1]])
        start = end + 1
    return result


class NamingTest(unittest.TestCase):
    def check_family(self, path, family, ps_name):
        font = TTFont(path)
        for name_id in (1, 4, 16):
            for text in names(font, name_id):
                self.assertEqual(text, family, f"name ID {name_id} of {path.name}")
        self.assertTrue(names(font, 1), "no family name at all")
        self.assertEqual(set(names(font, 6)), {ps_name})

    def test_gost_names(self):
        self.check_family(GOST, GOST_FAMILY, "GOSTtypeA")
        font = TTFont(GOST)
        for copyright in names(font, 0):
            self.assertIn("Zefram Cochrane", copyright)
            self.assertIn("renamed derivative", copyright)
            self.assertIn("special exception", copyright)  # GPL font exception kept

    def test_digital_names(self):
        self.check_family(DIGITAL, DIGITAL_FAMILY, "DigitalReadoutThickUpright")
        font = TTFont(DIGITAL)
        for copyright in names(font, 0):
            self.assertIn("keshikan", copyright)
        for licence in names(font, 13):
            self.assertIn("SIL Open Font License, Version 1.1", licence)
        self.assertTrue(names(font, 13) and names(font, 14))

    def test_reserved_name_absent(self):
        font = TTFont(DIGITAL)
        reserved = re.compile("dseg", re.IGNORECASE)
        for record in font["name"].names:
            self.assertIsNone(reserved.search(record.toUnicode()), f"name ID {record.nameID}")
        for glyph_name in font.getGlyphOrder():
            self.assertIsNone(reserved.search(glyph_name), glyph_name)
        # Nothing anywhere in the file either, in 8-bit or UTF-16 form.
        raw = DIGITAL.read_bytes().lower()
        self.assertNotIn(b"dseg", raw)
        self.assertNotIn("dseg".encode("utf-16-be"), raw)

    def test_style_flags(self):
        digital = TTFont(DIGITAL)
        self.assertEqual(set(names(digital, 2)), {"Bold"})
        self.assertEqual(digital["OS/2"].usWeightClass, 700)
        self.assertTrue(digital["OS/2"].fsSelection & (1 << 5), "OS/2 BOLD bit")
        self.assertFalse(digital["OS/2"].fsSelection & ((1 << 6) | 1), "REGULAR/ITALIC bits")
        self.assertEqual(digital["head"].macStyle & 3, 1)

        gost = TTFont(GOST)
        self.assertEqual(set(names(gost, 2)), {"Regular"})
        self.assertEqual(gost["OS/2"].usWeightClass, 400)
        self.assertTrue(gost["OS/2"].fsSelection & (1 << 6), "OS/2 REGULAR bit")
        self.assertEqual(gost["head"].macStyle & 3, 0)


class StructureTest(unittest.TestCase):
    def check_consistent(self, path):
        font = TTFont(path)
        order = font.getGlyphOrder()
        self.assertEqual(font["maxp"].numGlyphs, len(order))
        self.assertEqual(len(font["hmtx"].metrics), len(order))
        self.assertEqual(len(font["loca"]), len(order) + 1)
        self.assertEqual(len(set(order)), len(order), "duplicate glyph names")
        for subtable in font["cmap"].tables:
            for code, glyph_name in subtable.cmap.items():
                self.assertIn(glyph_name, font["glyf"].glyphs, f"U+{code:04X} in cmap {subtable.platformID}")
        # Every table must decompile cleanly.
        for tag in font.keys():
            if tag != "GlyphOrder":
                font[tag]
        with open(os.devnull, "w") as sink:
            font.saveXML(sink)

    def test_gost_consistent(self):
        self.check_consistent(GOST)

    def test_digital_consistent(self):
        self.check_consistent(DIGITAL)

    def test_digital_characters(self):
        font = TTFont(DIGITAL)
        for subtable in font["cmap"].tables:
            for char in " -.,0123456789":
                self.assertIn(ord(char), subtable.cmap, f"{char!r} in cmap {subtable.platformID}/{subtable.platEncID}")
            self.assertEqual(subtable.cmap[ord(",")], "comma")
            self.assertEqual(subtable.cmap[ord(".")], "period")
        self.assertIn("comma", font.getGlyphOrder())  # read back from the post table

    def test_gost_cyrillic(self):
        cmap = TTFont(GOST).getBestCmap()
        alphabet = [chr(c) for c in range(ord("А"), ord("я") + 1)] + ["Ё", "ё"]
        missing = [c for c in alphabet + list("0123456789 type A,.-") if ord(c) not in cmap]
        self.assertEqual(missing, [])


class CommaTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.font = TTFont(DIGITAL)
        glyf = cls.font["glyf"]
        cls.comma, cls.period = glyf["comma"], glyf["period"]

    def test_same_advance_and_bearings(self):
        hmtx = self.font["hmtx"]
        self.assertEqual(hmtx["comma"], hmtx["period"])
        self.assertEqual(self.comma.xMin, self.period.xMin)
        self.assertEqual(self.comma.xMax, self.period.xMax)

    def test_dot_plus_tail(self):
        dot = contours(self.font, "period")
        comma = contours(self.font, "comma")
        self.assertEqual(comma[: len(dot)], dot, "comma must start with the point's dot")
        tails = comma[len(dot) :]
        self.assertEqual(len(tails), 1)
        tail = tails[0]
        self.assertGreaterEqual(len(tail), 3)
        # Same winding as the dot, or renderers may treat it as a hole.
        self.assertEqual(signed_area(tail) < 0, signed_area(dot[0]) < 0)
        self.assertGreater(abs(signed_area(tail)), 2000, "tail too small to be visible")

    def test_tail_below_baseline(self):
        self.assertGreaterEqual(self.period.yMin, 0)
        self.assertLess(self.comma.yMin, 0)
        self.assertLess(self.comma.yMin, self.period.yMin - 50)
        # The tail leans left: its lowest point is left of the dot's centre.
        tail = contours(self.font, "comma")[-1]
        lowest = min(tail, key=lambda p: (p[1], p[0]))
        self.assertLess(lowest[0], (self.period.xMin + self.period.xMax) / 2)

    def test_descent_covers_tail(self):
        depth = -self.comma.yMin
        self.assertLessEqual(self.font["hhea"].descent, -depth)
        self.assertLessEqual(self.font["OS/2"].sTypoDescender, -depth)
        self.assertGreaterEqual(self.font["OS/2"].usWinDescent, depth)
        self.assertLessEqual(self.font["head"].yMin, -depth)


@unittest.skipUnless(shutil.which("fc-match"), "fontconfig tools not installed")
class FontconfigTest(unittest.TestCase):
    def match(self, pattern):
        with tempfile.TemporaryDirectory() as tmp:
            conf = Path(tmp) / "fonts.conf"
            conf.write_text(
                '<?xml version="1.0"?><fontconfig>'
                f"<dir>{FONTS}</dir><cachedir>{tmp}/cache</cachedir></fontconfig>"
            )
            env = dict(os.environ, FONTCONFIG_FILE=str(conf))
            out = subprocess.run(
                ["fc-match", "-f", "%{file}|%{family}|%{weight}", pattern],
                env=env, check=True, capture_output=True, text=True,
            ).stdout
        file, family, weight = out.split("|")
        return Path(file).name, family, int(float(weight))

    def test_bold_request_finds_digital(self):
        # 200 is FC_WEIGHT_BOLD: the face itself is bold, nothing to synthesise.
        self.assertEqual(self.match(f"{DIGITAL_FAMILY}:bold"), ("Digirtu_.ttf", DIGITAL_FAMILY, 200))

    def test_gost_found(self):
        self.assertEqual(self.match(GOST_FAMILY)[:2], ("GOST_type_A.ttf", GOST_FAMILY))


@unittest.skipUnless(Image, "PIL not installed")
class RenderTest(unittest.TestCase):
    SIZE = 48

    def render(self, path, text, width=420, height=90, baseline=60):
        image = Image.new("L", (width, height), 255)
        ImageDraw.Draw(image).text((10, baseline), text, font=ImageFont.truetype(str(path), self.SIZE), fill=0, anchor="ls")
        return image

    def test_comma_and_point_line_up(self):
        baseline = 60
        with_comma = self.render(DIGITAL, "-23,5", baseline=baseline)
        with_point = self.render(DIGITAL, "-23.5", baseline=baseline)
        width, height = with_comma.size
        # The tail's upper corner reaches slightly above the baseline; above
        # that the two strings (dot and digits alike) must be pixel-identical ...
        font = TTFont(DIGITAL)
        tail_top = max(y for _, y in contours(font, "comma")[-1])
        cut = baseline - math.ceil(tail_top * self.SIZE / font["head"].unitsPerEm) - 1
        self.assertGreater(cut, baseline - 5)
        above = (0, 0, width, cut)
        self.assertEqual(with_comma.crop(above).tobytes(), with_point.crop(above).tobytes())
        # ... and only the comma puts ink below the baseline.
        below = (0, baseline + 1, width, height)
        self.assertIsNotNone(ImageOps.invert(with_comma.crop(below)).getbbox())
        self.assertIsNone(ImageOps.invert(with_point.crop(below)).getbbox())

    def test_gost_renders_cyrillic(self):
        notdef = self.render(GOST, "\ue000", width=90).tobytes()
        for char in "ГОСТЖЯ":
            image = self.render(GOST, char, width=90)
            self.assertIsNotNone(ImageOps.invert(image).getbbox(), char)
            self.assertNotEqual(image.tobytes(), notdef, f"{char} drawn as .notdef")

    def test_write_check_image(self):
        sheet = Image.new("L", (440, 300), 255)
        sheet.paste(self.render(DIGITAL, "-23,5"), (0, 0))
        sheet.paste(self.render(DIGITAL, "-23.5"), (0, 95))
        sheet.paste(self.render(GOST, "ГОСТ type A 0123"), (0, 190))
        sheet.save(CHECK_IMAGE)
        self.assertTrue(CHECK_IMAGE.stat().st_size > 0)


@unittest.skipUnless(
    Path("/usr/share/fonts/truetype/osifont/osifont.ttf").exists()
    and Path("/usr/share/fonts/truetype/dseg/DSEG7Classic-Bold.ttf").exists(),
    "source font packages not installed",
)
class RegenerateTest(unittest.TestCase):
    def test_committed_files_are_current(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, str(HERE / "make-fonts.py"), "--out", tmp], check=True, capture_output=True)
            for name in ("GOST_type_A.ttf", "Digirtu_.ttf", "OFL.txt", "osifont-LICENSE.txt"):
                self.assertEqual((Path(tmp) / name).read_bytes(), (FONTS / name).read_bytes(), f"{name} is stale")


class LicenceFilesTest(unittest.TestCase):
    def test_licences_beside_fonts(self):
        ofl = (FONTS / "OFL.txt").read_text(encoding="utf-8")
        self.assertIn("keshikan", ofl)
        self.assertIn("Reserved Font Name", ofl)
        self.assertIn("Open Font License", ofl)
        gpl = (FONTS / "osifont-LICENSE.txt").read_text(encoding="utf-8")
        self.assertIn("Zefram Cochrane", gpl)
        self.assertIn("As a special exception", gpl)
        self.assertIn("GNU GENERAL PUBLIC LICENSE", gpl)
        readme = (FONTS / "README.md").read_text(encoding="utf-8")
        for word in ("GOST_type_A.ttf", "Digirtu_.ttf", "OFL.txt", "osifont-LICENSE.txt", "comma"):
            self.assertIn(word, readme)


if __name__ == "__main__":
    unittest.main()
