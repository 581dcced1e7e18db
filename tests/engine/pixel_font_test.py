#!/usr/bin/env python3
"""Reads the pixel font the build made with fontTools and checks what the browsers cannot show.

    pixel_font_test.py FONT

How the glyphs draw is held to the browsers' pixels (tests/browser); here: the font is the same
bytes whenever it is built, and it maps exactly the characters of the pages.
"""
import sys

from fontTools.ttLib import TTFont

font = TTFont(sys.argv[1])
font.ensureDecompiled()  # every table parses
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

if problems:
    sys.exit("\n".join(problems))
