"""Contrast ratios as WCAG 2 computes them, read from the pixels of a screenshot: a text's
ground is the commonest colour of its part of the screen, and its glyphs' colour the pixel that
stands out most from that ground; and the check that a text reaches its least contrast."""

from collections import Counter

from desktop import check


def _linear(channel):
    c = channel / 255
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = (_linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    lighter, darker = sorted((luminance(a), luminance(b)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def pixels(ppm):
    """The pixels of a binary PPM (P6) image, as (r, g, b) tuples."""
    fields = []
    position = 0
    while len(fields) < 4:  # magic, width, height, largest value
        while ppm[position:position + 1].isspace():
            position += 1
        end = position
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[position:end])
        position = end
    data = ppm[position + 1:]
    return [tuple(data[i:i + 3]) for i in range(0, len(data) - 2, 3)]


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
