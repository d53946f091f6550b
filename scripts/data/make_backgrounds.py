#!/usr/bin/python3
"""Draws the tiling background pictures into data/background/.

Every texture repeats seamlessly: noise comes from tileable value noise and every drawn line
or dot is drawn again one tile over where it crosses an edge. Page backgrounds must be JPEG,
GIF or BMP files, the kinds a gallery page can take as its background.
"""

import math

from PIL import Image, ImageDraw, ImageFilter

from procedural import DATA_DIR, hex_color, seeded, tint, value_noise

TILE = 256


def wrapped(draw_function, size):
    """Calls draw_function(dx, dy) for the tile and its eight neighbours, so that shapes
    crossing an edge come back in on the opposite side."""
    for dx in (-size, 0, size):
        for dy in (-size, 0, size):
            draw_function(dx, dy)


def filter_tileable(image, image_filter):
    """Filters a tile as if its neighbours surrounded it, so the edges stay seamless."""
    width, height = image.size
    around = Image.new(image.mode, (width * 3, height * 3))
    for dx in (0, width, 2 * width):
        for dy in (0, height, 2 * height):
            around.paste(image, (dx, dy))
    return around.filter(image_filter).crop((width, height, width * 2, height * 2))


def paper():
    """Warm cream paper: soft mottling and a scatter of short fibres."""
    rng = seeded("paper")
    mottle = value_noise((TILE, TILE), 4, rng, octaves=5, persistence=0.55, tileable=True)
    image = tint(mottle, hex_color("E9DFCB"), hex_color("F8F2E6"))
    fibres = Image.new("RGBA", (TILE, TILE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(fibres)
    for _ in range(140):
        x, y = rng.uniform(0, TILE), rng.uniform(0, TILE)
        angle, length = rng.uniform(0, math.pi), rng.uniform(4, 14)
        shade = (120, 96, 60, rng.randrange(18, 42)) if rng.random() < 0.6 else (255, 255, 250, 60)
        end = (math.cos(angle) * length, math.sin(angle) * length)
        wrapped(
            lambda dx, dy: draw.line(
                (x + dx, y + dy, x + dx + end[0], y + dy + end[1]), fill=shade
            ),
            TILE,
        )
    image.paste(fibres, (0, 0), fibres)
    return image


def slate():
    """Dark slate: fine grain over broad, faint clouds."""
    rng = seeded("slate")
    clouds = value_noise((TILE, TILE), 3, rng, octaves=3, persistence=0.5, tileable=True)
    grain = value_noise((TILE, TILE), 64, rng, octaves=2, persistence=0.6, tileable=True)
    mask = Image.blend(clouds, grain, 0.45)
    return tint(mask, hex_color("15161A"), hex_color("2A2C31"))


def linen():
    """Light grey linen: horizontal and vertical threads of slightly varying shade."""
    rng = seeded("linen")
    base = value_noise((TILE, TILE), 8, rng, octaves=2, tileable=True)
    image = tint(base, hex_color("E4E6EA"), hex_color("F1F2F5"))
    threads = Image.new("RGBA", (TILE, TILE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(threads)
    for position in range(0, TILE, 2):
        dark = (90, 96, 110, rng.randrange(10, 34))
        light = (255, 255, 255, rng.randrange(20, 60))
        draw.line((0, position, TILE, position), fill=dark if rng.random() < 0.5 else light)
        draw.line((position + 1, 0, position + 1, TILE), fill=dark if rng.random() < 0.5 else light)
    threads = filter_tileable(threads, ImageFilter.SMOOTH)
    image.paste(threads, (0, 0), threads)
    return image


def dots():
    """A quiet polka-dot pattern in two blues, as a small palette GIF."""
    size = 32
    image = Image.new("RGB", (size, size), hex_color("F4F7FB"))
    draw = ImageDraw.Draw(image)
    for cx, cy in ((8, 8), (24, 24)):
        draw.ellipse((cx - 3, cy - 3, cx + 3, cy + 3), fill=hex_color("D5E1F0"))
    return image.convert("P", palette=Image.ADAPTIVE, colors=4)


def blueprint():
    """A blueprint grid: fine and coarse rules on deep blue, as a palette GIF."""
    size = 96
    image = Image.new("RGB", (size, size), hex_color("1E4C7A"))
    draw = ImageDraw.Draw(image)
    for position in range(0, size, 12):
        color = hex_color("3F6E9C") if position else hex_color("6F98C2")
        draw.line((position, 0, position, size), fill=color)
        draw.line((0, position, size, position), fill=color)
    return image.convert("P", palette=Image.ADAPTIVE, colors=8)


def main():
    folder = DATA_DIR / "background"
    folder.mkdir(parents=True, exist_ok=True)
    paper().save(folder / "paper.jpg", quality=88)
    slate().save(folder / "slate.jpg", quality=88)
    linen().save(folder / "linen.jpg", quality=88)
    dots().save(folder / "dots.gif")
    blueprint().save(folder / "blueprint.gif")


if __name__ == "__main__":
    main()
