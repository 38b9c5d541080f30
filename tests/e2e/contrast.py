"""Contrast ratios as WCAG 2 computes them, read from the pixels of a screenshot: a text's
ground is the commonest colour of its part of the screen, and its glyphs' colour the pixel that
stands out most from that ground; and the check that a text reaches its least contrast."""

import re
from collections import Counter

from desktop import Failure, check


def _linear(channel):
    c = channel / 255
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = (_linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    lighter, darker = sorted((luminance(a), luminance(b)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


_PPM_HEADER = re.compile(rb"P6\s+(\d+)\s+(\d+)\s+255\s")


def pixels(ppm):
    """The pixels of a binary PPM (P6) image with 8-bit channels, as (r, g, b) tuples; fails at
    once on an empty, truncated or other image."""
    header = _PPM_HEADER.match(ppm)
    if header is None:
        raise Failure(f"the screenshot is no 8-bit binary PPM image: {ppm[:20]!r}")
    width, height = int(header[1]), int(header[2])
    data = ppm[header.end():]
    if width * height == 0 or len(data) < width * height * 3:
        raise Failure(f"the screenshot of {width}x{height} pixels holds {len(data)} bytes")
    return [tuple(data[i:i + 3]) for i in range(0, width * height * 3, 3)]


def text_contrast(ppm):
    """The text's contrast against its ground, the ground and the text's colour."""
    colours = pixels(ppm)
    ground = Counter(colours).most_common(1)[0][0]
    glyph = max(set(colours), key=lambda colour: ratio(colour, ground))
    return ratio(glyph, ground), ground, glyph


def check_text(what, ppm, floor, dark_ground=None):
    """Checks that the text in the screenshot reaches its least contrast and, when dark_ground
    is given, that its ground is dark or light as the palette promises."""
    measured, ground, glyph = text_contrast(ppm)
    if dark_ground is not None:
        check((luminance(ground) < 0.2) == dark_ground,
              f"{what}: the ground {ground} is {'dark' if dark_ground else 'light'}")
    check(measured >= floor, f"{what}: {glyph} on {ground} at {measured:.2f}:1, at least {floor}:1")
