#!/usr/bin/python3
"""Draws the navigation buttons of every bundled style into data/button/.

Each style gets six PNG buttons, <style>_<kind>.png for the kinds home, index, first, prev,
next and last: a face in the style's colours with a glyph drawn from polygons (no fonts).
The buttons are drawn at twice the size the style sheets show them, so they stay sharp on
high-density screens.
"""

from PIL import Image, ImageDraw, ImageFilter

from procedural import DATA_DIR, SUPERSAMPLE, hex_color, vertical_gradient

SIZE = 80
KINDS = ("home", "index", "first", "prev", "next", "last")


def _triangle_left(x0, x1):
    return [(x1, 0.29), (x1, 0.71), (x0, 0.5)]


def _mirrored(polygon):
    return [(1 - x, y) for x, y in polygon]


# Each glyph is a list of (shape, filled) pairs in the unit square; a shape is a polygon or
# a ("rect", x0, y0, x1, y1) box. Unfilled shapes are cut out of what was drawn before.
GLYPHS = {
    "home": [
        ([(0.5, 0.22), (0.8, 0.5), (0.2, 0.5)], True),
        (("rect", 0.29, 0.47, 0.71, 0.77), True),
        (("rect", 0.45, 0.59, 0.55, 0.77), False),
    ],
    "index": [
        (("rect", 0.27 + col * 0.16, 0.27 + row * 0.16, 0.39 + col * 0.16, 0.39 + row * 0.16), True)
        for row in range(3)
        for col in range(3)
    ],
    "first": [(("rect", 0.29, 0.29, 0.36, 0.71), True), (_triangle_left(0.38, 0.69), True)],
    "prev": [(_triangle_left(0.3, 0.61), True)],
    "next": [(_mirrored(_triangle_left(0.3, 0.61)), True)],
    "last": [
        (("rect", 0.64, 0.29, 0.71, 0.71), True),
        (_mirrored(_triangle_left(0.38, 0.69)), True),
    ],
}


def glyph_mask(kind, size, scale_about_centre=1.0):
    """An "L" mask of the glyph, drawn in a square of the given size."""
    mask = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(mask)

    def at(x, y):
        return (
            (0.5 + (x - 0.5) * scale_about_centre) * size,
            (0.5 + (y - 0.5) * scale_about_centre) * size,
        )

    for shape, filled in GLYPHS[kind]:
        fill = 255 if filled else 0
        if shape[0] == "rect":
            _, x0, y0, x1, y1 = shape
            draw.rectangle(at(x0, y0) + at(x1, y1), fill=fill)
        else:
            draw.polygon([at(x, y) for x, y in shape], fill=fill)
    return mask


def rounded_mask(size, inset, radius):
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle(
        (inset, inset, size - 1 - inset, size - 1 - inset), radius=radius, fill=255
    )
    return mask


def classic_button(kind, big):
    """A glossy blue tile with a white glyph."""
    button = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    inset, radius = round(big * 0.04), round(big * 0.2)
    edge = rounded_mask(big, inset, radius)
    button.paste(hex_color("173B6B"), (0, 0, big, big), edge)
    face = vertical_gradient((big, big), [(0, hex_color("5B98E0")), (1, hex_color("1D4A88"))])
    button.paste(face, (0, 0), rounded_mask(big, inset + round(big * 0.025), radius))
    gloss = Image.new("L", (big, big), 0)
    ImageDraw.Draw(gloss).ellipse((big * 0.1, -big * 0.35, big * 0.9, big * 0.48), fill=46)
    gloss.paste(0, (0, 0, big, big), Image.eval(edge, lambda v: 255 - v))
    button.paste((255, 255, 255), (0, 0, big, big), gloss)
    shadow = glyph_mask(kind, big).point(lambda v: v * 100 // 255)
    button.paste((10, 30, 60), (0, round(big * 0.025), big, big + round(big * 0.025)), shadow)
    button.paste((255, 255, 255), (0, 0, big, big), glyph_mask(kind, big))
    return button


def darkroom_button(kind, big):
    """A charcoal disc with an amber ring and a pale glyph."""
    button = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(button)
    inset, ring = big * 0.04, big * 0.05
    draw.ellipse((inset, inset, big - inset, big - inset), fill=hex_color("D4A24C"))
    draw.ellipse(
        (inset + ring, inset + ring, big - inset - ring, big - inset - ring),
        fill=hex_color("27292E"),
    )
    button.paste(hex_color("EEE7D8"), (0, 0, big, big), glyph_mask(kind, big, 0.9))
    return button


def paper_button(kind, big):
    """A cream label with a double ink rule and an ink glyph."""
    ink = hex_color("5A4332")
    button = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    inset = round(big * 0.04)
    button.paste(ink, (0, 0, big, big), rounded_mask(big, inset, round(big * 0.12)))
    button.paste(
        hex_color("FBF6EA"),
        (0, 0, big, big),
        rounded_mask(big, inset + round(big * 0.04), round(big * 0.09)),
    )
    rule = rounded_mask(big, round(big * 0.13), round(big * 0.05))
    inner = rounded_mask(big, round(big * 0.13) + max(1, round(big * 0.015)), round(big * 0.04))
    button.paste(ink, (0, 0, big, big), _ring(rule, inner))
    button.paste(ink, (0, 0, big, big), glyph_mask(kind, big, 0.8))
    return button


def drafting_button(kind, big):
    """A drafting frame: a dark blue square with a white outline, tick marks at its corners
    and the glyph drawn in outline."""
    chalk = hex_color("EAF2FB")
    button = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    inset, line = round(big * 0.08), max(1, round(big * 0.03))
    frame = Image.new("L", (big, big), 0)
    ImageDraw.Draw(frame).rectangle((inset, inset, big - 1 - inset, big - 1 - inset), fill=255)
    face = Image.new("L", (big, big), 0)
    ImageDraw.Draw(face).rectangle(
        (inset + line, inset + line, big - 1 - inset - line, big - 1 - inset - line), fill=255
    )
    button.paste((16, 50, 88, 220), (0, 0, big, big), frame)
    button.paste(chalk, (0, 0, big, big), _ring(frame, face))
    # Tick marks run out from the corners, as on a drawing's frame.
    tick, far = round(big * 0.12), big - 1 - inset
    draw = ImageDraw.Draw(button)
    for y in (inset, far):
        draw.line((0, y, tick, y), fill=chalk, width=max(1, line // 2))
        draw.line((big - tick, y, big, y), fill=chalk, width=max(1, line // 2))
    for x in (inset, far):
        draw.line((x, 0, x, tick), fill=chalk, width=max(1, line // 2))
        draw.line((x, big - tick, x, big), fill=chalk, width=max(1, line // 2))
    glyph = glyph_mask(kind, big, 0.85)
    stroke = round(big * 0.025) * 2 + 1
    button.paste(chalk, (0, 0, big, big), _ring(glyph, glyph.filter(ImageFilter.MinFilter(stroke))))
    return button


def _ring(outer, inner):
    """The part of the outer mask that the inner mask does not cover."""
    return Image.composite(Image.new("L", outer.size, 0), outer, inner)


STYLES = {
    "drafting": drafting_button,
    "classic": classic_button,
    "darkroom": darkroom_button,
    "paper": paper_button,
}


def main():
    folder = DATA_DIR / "button"
    folder.mkdir(parents=True, exist_ok=True)
    big = SIZE * SUPERSAMPLE
    for style, draw_button in STYLES.items():
        for kind in KINDS:
            button = draw_button(kind, big).resize((SIZE, SIZE), Image.LANCZOS)
            button.save(folder / f"{style}_{kind}.png", optimize=True)


if __name__ == "__main__":
    main()
