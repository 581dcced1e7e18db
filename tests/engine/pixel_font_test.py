#!/usr/bin/env python3
"""pixel_font_test.py FONT: reads the pixel font the build made with fontTools and checks what the
browsers cannot show (how the glyphs draw is held to the browsers' pixels in tests/browser): the
font is the same bytes whenever it is built, and it maps exactly the characters of the pages.
"""
import sys

from fontTools.ttLib import TTFont

font = TTFont(sys.argv[1])
font.ensureDecompiled()  # every table parses
# A build time in the font would make every page depend on when the program was built.
names = ("format", "created", "modified", "family", "characters")
got = (font.flavor, font["head"].created, font["head"].modified, font["name"].getDebugName(1),
       font.getBestCmap())
want = ("woff2", 3850070400, 3850070400, "StipplorPixel",
        {0x20: "space", 0x27: "quotesingle", 0x2E: "period", 0x49: "I", 0xA0: "uni00A0"})
problems = [f"{n}: {g!r}, want {w!r}" for n, g, w in zip(names, got, want) if g != w]
if problems:
    sys.exit("\n".join(problems))
