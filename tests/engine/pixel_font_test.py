#!/usr/bin/env python3
"""Reads the pixel font the build made with fontTools and checks what the pages rely on.

    pixel_font_test.py FONT

At the pages' 3-px size every glyph must advance one pixel (a third of the em), stand two pixels
high on the baseline with nothing below it, and ink the pixels its character stands for.
"""
import sys

from fontTools.pens.areaPen import AreaPen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

font = TTFont(sys.argv[1])
font.ensureDecompiled()  # every table parses
em = font["head"].unitsPerEm
third = em / 3
problems = []


def expect(what, got, want):
    if got != want:
        problems.append(f"{what}: {got!r}, want {want!r}")


expect("format", font.flavor, "woff2")
# A build time in the font would make every page depend on when the program was built.
expect("created = modified, fixed", (font["head"].created, font["head"].modified), (3850070400,) * 2)
expect("family", font["name"].getDebugName(1), "StipplorPixel")
expect("characters", font.getBestCmap(),
       {0x20: "space", 0x27: "quotesingle", 0x2E: "period", 0x49: "I", 0xA0: "uni00A0"})
hhea, os2 = font["hhea"], font["OS/2"]
expect("ascent, descent, line gap (hhea)", (hhea.ascent * 3, hhea.descent, hhea.lineGap), (2 * em, 0, 0))
expect("ascent, descent, line gap (typo)",
       (os2.sTypoAscender * 3, os2.sTypoDescender, os2.sTypoLineGap), (2 * em, 0, 0))
expect("ascent, descent (win)", (os2.usWinAscent * 3, os2.usWinDescent), (2 * em, 0))
expect("USE_TYPO_METRICS", bool(os2.fsSelection & 0x80), True)

glyphs = font.getGlyphSet()
# Pixel boxes (left, bottom, right, top) in pixels above the baseline; None for no ink.
inked = {".notdef": None, "space": None, "uni00A0": None,
         "I": (0, 0, 1, 2), "period": (0, 0, 1, 1), "quotesingle": (0, 1, 1, 2)}
expect("glyphs", sorted(font.getGlyphOrder()), sorted(inked))
for name, box in inked.items():
    expect(f"advance of {name}", glyphs[name].width * 3, em)
    bounds, area = BoundsPen(glyphs), AreaPen(glyphs)
    glyphs[name].draw(bounds)
    glyphs[name].draw(area)
    expect(f"ink of {name}", bounds.bounds and tuple(v / third for v in bounds.bounds), box)
    # The ink fills its box: the outline's area is the box's.
    if box:
        expect(f"area of {name}", abs(area.value) / third**2, (box[2] - box[0]) * (box[3] - box[1]))

if problems:
    sys.exit("\n".join(problems))
