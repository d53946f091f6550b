"""Drawing helpers shared by the data generators: noise, gradients and smooth shapes.

Everything here is deterministic: randomness comes from random.Random objects that the
callers seed, never from Pillow's own noise effects.
"""

import math
import random
import zlib
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageMath

DATA_DIR = Path(__file__).resolve().parents[2] / "data"

# Drawing happens at this multiple of the final size and is then scaled down, which gives
# smooth edges without relying on anti-aliased drawing primitives.
SUPERSAMPLE = 4


def hex_color(text):
    """'RRGGBB' -> (r, g, b)."""
    return tuple(int(text[i : i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    """Linear blend of two colours, t in 0..1."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def vertical_gradient(size, stops):
    """An RGB image whose colour runs through stops [(position 0..1, colour), ...] from top
    to bottom."""
    width, height = size
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / max(1, height - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                column.putpixel((0, y), mix(c0, c1, (t - p0) / max(1e-9, p1 - p0)))
                break
    return column.resize((width, height), Image.NEAREST)


def radial_glow(size, centre, radius, color, strength=1.0):
    """An RGBA layer holding a soft disc of light that fades out at radius."""
    glow = Image.new("L", (256, 256), 0)
    draw = ImageDraw.Draw(glow)
    for r in range(128, 0, -1):
        draw.ellipse(
            (128 - r, 128 - r, 128 + r, 128 + r), fill=round(255 * strength * (1 - r / 128) ** 1.6)
        )
    diameter = round(radius * 2)
    glow = glow.resize((diameter, diameter), Image.BICUBIC)
    layer = Image.new("RGBA", size, color + (0,))
    alpha = Image.new("L", size, 0)
    alpha.paste(glow, (round(centre[0] - radius), round(centre[1] - radius)))
    layer.putalpha(alpha)
    return layer


def value_noise(size, cells, rng, octaves=1, persistence=0.5, tileable=False):
    """Grey-level fractal noise in an "L" image: octaves of random grids scaled up smoothly.
    cells is the grid size of the coarsest octave. With tileable set the result repeats
    seamlessly when tiled."""
    total = Image.new("F", size, 0.0)
    amplitude, weight = 1.0, 0.0
    for octave in range(octaves):
        layer = _noise_layer(size, cells * 2**octave, rng, tileable)
        total = ImageMath.eval("a + b * k", a=total, b=layer, k=amplitude)
        weight += amplitude
        amplitude *= persistence
    return total.point(lambda v: v / weight).convert("L")


def _noise_layer(size, grid, rng, tileable):
    width, height = size
    gw = grid
    gh = max(1, round(grid * height / width))
    cells = Image.new("L", (gw, gh))
    cells.putdata([rng.randrange(256) for _ in range(gw * gh)])
    if not tileable:
        return cells.resize((width, height), Image.BICUBIC).convert("F")
    # Scale up three periods and keep the middle one, so its edges match when tiled.
    tiled = Image.new("L", (gw * 3, gh * 3))
    for i in range(3):
        for j in range(3):
            tiled.paste(cells, (i * gw, j * gh))
    big = tiled.resize((width * 3, height * 3), Image.BICUBIC)
    return big.crop((width, height, width * 2, height * 2)).convert("F")


def tint(mask, dark, light):
    """Maps an "L" image onto the colours dark (0) .. light (255)."""
    r = mask.point([round(dark[0] + (light[0] - dark[0]) * v / 255) for v in range(256)])
    g = mask.point([round(dark[1] + (light[1] - dark[1]) * v / 255) for v in range(256)])
    b = mask.point([round(dark[2] + (light[2] - dark[2]) * v / 255) for v in range(256)])
    return Image.merge("RGB", (r, g, b))


def ridge_line(width, base, amplitude, rng, waves=6, roughness=0.35):
    """Heights of a mountain ridge, one per column: a sum of sines with random phases and
    falling amplitudes."""
    terms = []
    for k in range(waves):
        frequency = (k + 1) * rng.uniform(0.8, 1.3) * 2 * math.pi / width
        terms.append(
            (
                frequency,
                rng.uniform(0, 2 * math.pi),
                amplitude * roughness**k * rng.uniform(0.6, 1.0),
            )
        )
    heights = []
    for x in range(width):
        heights.append(base + sum(a * math.sin(f * x + p) for f, p, a in terms))
    return heights


def fill_below(image, heights, color):
    """Fills everything below the given heights (one per column) with a colour or an image."""
    width, height = image.size
    points = [(x, heights[x]) for x in range(width)] + [(width, height), (0, height)]
    mask = Image.new("L", image.size, 0)
    ImageDraw.Draw(mask).polygon(points, fill=255)
    if isinstance(color, Image.Image):
        image.paste(color, (0, 0), mask)
    else:
        image.paste(color, (0, 0, width, height), mask)


def soft(image, radius):
    return image.filter(ImageFilter.GaussianBlur(radius))


def seeded(name):
    """A random generator whose seed is derived from a name, stable across runs."""
    return random.Random(zlib.crc32(name.encode()))
