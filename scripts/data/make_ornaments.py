#!/usr/bin/python3
"""Draws the decorative pictures that style templates refer to, into data/template/.

A gallery build copies them beside its pages together with the style sheets, so they must
be GIF or JPEG files referenced from the template itself.
"""

import math

from PIL import Image, ImageDraw

from procedural import DATA_DIR, SUPERSAMPLE, hex_color


def film_strip():
    """One frame of a film edge: a dark band with a rounded sprocket hole, repeated
    across the page by the Darkroom style sheet."""
    width, height, s = 28, 22, SUPERSAMPLE
    big = Image.new("RGB", (width * s, height * s), hex_color("0D0E10"))
    draw = ImageDraw.Draw(big)
    draw.rounded_rectangle((8 * s, 6 * s, 20 * s, 16 * s), radius=2 * s, fill=hex_color("3A3C42"))
    draw.line((0, 0, width * s, 0), fill=hex_color("2A2B30"), width=s)
    draw.line((0, height * s - s, width * s, height * s - s), fill=hex_color("2A2B30"), width=s)
    return big.resize((width, height), Image.LANCZOS).convert(
        "P", palette=Image.ADAPTIVE, colors=16
    )


def flourish():
    """A centred ornament for the Paper style: a diamond between two scrolls and tapering
    rules, in ink on a transparent ground (smoothed against the paper colour)."""
    width, height, s = 360, 28, SUPERSAMPLE
    paper, ink = hex_color("F3ECDD"), hex_color("5A4332")
    mask = Image.new("L", (width * s, height * s), 0)
    draw = ImageDraw.Draw(mask)
    cx, cy = width * s / 2, height * s / 2
    draw.polygon([(cx, cy - 9 * s), (cx + 9 * s, cy), (cx, cy + 9 * s), (cx - 9 * s, cy)], fill=255)
    draw.polygon([(cx, cy - 4 * s), (cx + 4 * s, cy), (cx, cy + 4 * s), (cx - 4 * s, cy)], fill=0)
    for side in (-1, 1):
        # A scroll: a spiral leaving the diamond and curling back on itself.
        points = []
        for step in range(0, 181):
            t = step / 180
            angle = t * 2.2 * math.pi
            radius = (1 - t) * 8 * s + 2 * s
            points.append(
                (
                    cx + side * (16 * s + t * 26 * s + radius * math.sin(angle) * 0.9),
                    cy - radius * math.cos(angle) * 0.8 + 2 * s * t,
                )
            )
        draw.line(points, fill=255, width=round(1.6 * s), joint="curve")
        # A rule that thins out towards the edge.
        start, end = cx + side * 52 * s, cx + side * 172 * s
        draw.polygon([(start, cy - 1.4 * s), (end, cy), (start, cy + 1.4 * s)], fill=255)
        dot = cx + side * 46 * s
        draw.ellipse((dot - 2.4 * s, cy - 2.4 * s, dot + 2.4 * s, cy + 2.4 * s), fill=255)
    coverage = mask.resize((width, height), Image.LANCZOS)
    image = Image.composite(
        Image.new("RGB", (width, height), ink), Image.new("RGB", (width, height), paper), coverage
    )
    palette_image = image.convert("P", palette=Image.ADAPTIVE, colors=15)
    # Palette entry 15 stays free for the transparent ground.
    clear = coverage.point(lambda v: 255 if v < 12 else 0)
    palette_image.paste(15, (0, 0, width, height), clear)
    palette_image.info["transparency"] = 15
    return palette_image


def main():
    folder = DATA_DIR / "template"
    folder.mkdir(parents=True, exist_ok=True)
    film_strip().save(folder / "darkroom_strip.gif")
    image = flourish()
    image.save(folder / "paper_flourish.gif", transparency=15)


if __name__ == "__main__":
    main()
