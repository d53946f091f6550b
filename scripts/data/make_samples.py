#!/usr/bin/python3
"""Paints the sample pictures into data/samples/.

Procedural landscapes and abstract compositions in landscape, portrait, square, panorama and
very tall shapes, mostly JPEG, with a PNG with transparency, a palette PNG, a GIF and a BMP
among them. They give a new user something to build a first gallery from and the tests and
benchmarks realistic pictures. Every picture comes from its own seeded random generator, so
a run always paints the same pictures.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from procedural import (
    DATA_DIR,
    SUPERSAMPLE,
    fill_below,
    hex_color,
    mix,
    radial_glow,
    ridge_line,
    seeded,
    soft,
    tint,
    value_noise,
    vertical_gradient,
)

JPEG_QUALITY = 85


def stars(image, rng, count, bottom):
    draw = ImageDraw.Draw(image)
    for _ in range(count):
        x, y = rng.uniform(0, image.width), rng.uniform(0, bottom)
        level = rng.randrange(120, 256)
        if rng.random() < 0.08:
            draw.ellipse(
                (x - 1.2, y - 1.2, x + 1.2, y + 1.2), fill=(level, level, min(255, level + 20))
            )
        else:
            draw.point((x, y), fill=(level, level, level))


def ridges(image, rng, layers, roughness=0.4):
    """Draws mountain layers from the farthest to the nearest: (base height as a fraction of
    the picture height, amplitude in pixels, colour)."""
    for base, amplitude, color in layers:
        heights = ridge_line(image.width, base * image.height, amplitude, rng, roughness=roughness)
        fill_below(image, heights, color)


def alpine_dawn():
    rng = seeded("alpine dawn")
    size = (1200, 800)
    image = vertical_gradient(
        size,
        [
            (0, hex_color("1B2A55")),
            (0.45, hex_color("C77A8B")),
            (0.7, hex_color("F6C27A")),
            (1, hex_color("F6C27A")),
        ],
    )
    glow = radial_glow(size, (820, 470), 260, hex_color("FFE3A3"), 0.9)
    image.paste(glow, (0, 0), glow)
    ImageDraw.Draw(image).ellipse((795, 445, 845, 495), fill=hex_color("FFF4D6"))
    far, near = hex_color("9A8AB0"), hex_color("1D1C2C")
    layers = [(0.52 + i * 0.09, 70 - i * 10, mix(far, near, i / 4)) for i in range(5)]
    ridges(image, rng, layers)
    return image


def mirror_lake():
    rng = seeded("mirror lake")
    size = (1200, 800)
    horizon = 470
    scene = vertical_gradient((1200, horizon), [(0, hex_color("3C78B8")), (1, hex_color("CFE3EE"))])
    clouds = value_noise((1200, horizon), 6, rng, octaves=4, persistence=0.55)
    clouds = clouds.point(lambda v: max(0, min(255, (v - 135) * 4)))
    scene.paste((255, 255, 255), (0, 0, 1200, horizon), soft(clouds, 3))
    ridges(
        scene,
        rng,
        [
            (0.42, 90, hex_color("6E7F99")),
            (0.62, 60, hex_color("3E5670")),
            (0.84, 30, hex_color("24384A")),
        ],
        0.45,
    )
    trees = ridge_line(1200, horizon - 22, 14, rng, waves=30, roughness=0.9)
    fill_below(scene, trees, hex_color("1C2B22"))
    image = Image.new("RGB", size)
    image.paste(scene, (0, 0))
    reflection = scene.transpose(Image.FLIP_TOP_BOTTOM).crop((0, 0, 1200, size[1] - horizon))
    reflection = Image.blend(
        reflection, Image.new("RGB", reflection.size, hex_color("1D3B52")), 0.35
    )
    # Ripples: each row of the reflection shifts sideways a little.
    for y in range(reflection.height):
        shift = round(math.sin(y * 0.35 + rng.uniform(0, 0.6)) * (1 + y / 60))
        row = reflection.crop((0, y, 1200, y + 1))
        # The unshifted row first, so the shifted one leaves no gap at either edge.
        image.paste(row, (0, horizon + y))
        image.paste(row, (shift, horizon + y))
    ImageDraw.Draw(image).line((0, horizon, 1200, horizon), fill=hex_color("C9D8E0"), width=1)
    return image


def desert_dunes():
    rng = seeded("desert dunes")
    size = (1200, 800)
    image = vertical_gradient(
        size, [(0, hex_color("2F80C8")), (0.45, hex_color("BFE0F0")), (1, hex_color("BFE0F0"))]
    )
    colors = [
        ("E9B872", "B9783F"),
        ("E2A45E", "A8642F"),
        ("D98F4A", "91522A"),
        ("CC7A3A", "7A4223"),
    ]
    for index, (light, dark) in enumerate(colors):
        base = 0.45 + index * 0.13
        heights = ridge_line(size[0], base * size[1], 60 - index * 6, rng, waves=3, roughness=0.5)
        shade = vertical_gradient(size, [(0, hex_color(light)), (1, hex_color(dark))])
        fill_below(image, heights, shade)
        crest = Image.new("L", size, 0)
        ImageDraw.Draw(crest).line([(x, heights[x] + 2) for x in range(size[0])], fill=150, width=3)
        image.paste(hex_color("FFE9C2"), (0, 0) + size, soft(crest, 1.5))
    sand = value_noise(size, 300, rng, octaves=1)
    return ImageChops.overlay(image, tint(sand, (118, 118, 118), (138, 138, 138)))


def pine_tree(draw, x, base, height, color):
    width = height * 0.32
    for tier in range(4):
        top = base - height + tier * height * 0.2
        bottom = top + height * 0.42
        half = width * (0.45 + tier * 0.2) / 2
        draw.polygon([(x, top), (x + half, bottom), (x - half, bottom)], fill=color)
    draw.rectangle((x - width * 0.05, base - height * 0.2, x + width * 0.05, base), fill=color)


def pine_mist():
    rng = seeded("pine mist")
    size = (800, 1200)
    fog = hex_color("DCE4E2")
    image = vertical_gradient(size, [(0, hex_color("AFC3C6")), (0.6, fog), (1, fog)])
    for layer in range(5):
        color = mix(hex_color("B5C6C3"), hex_color("142A22"), layer / 4)
        ground = 560 + layer * 150
        trees = Image.new("RGBA", size, (0, 0, 0, 0))
        draw = ImageDraw.Draw(trees)
        x = rng.uniform(-30, 10)
        while x < size[0] + 40:
            pine_tree(
                draw,
                x,
                ground + rng.uniform(-20, 20),
                rng.uniform(180, 300) * (0.7 + layer * 0.15),
                color,
            )
            x += rng.uniform(28, 70)
        draw.rectangle((0, ground, size[0], size[1]), fill=color)
        image.paste(trees, (0, 0), trees)
        if layer < 4:
            # Haze over everything drawn so far, thickest where this layer meets the valley.
            image = Image.blend(image, Image.new("RGB", size, fog), 0.22)
            valley = [
                (0, (0, 0, 0)),
                ((ground - 170) / size[1], (0, 0, 0)),
                (ground / size[1], (210, 210, 210)),
                (1, (210, 210, 210)),
            ]
            image.paste(fog, (0, 0) + size, vertical_gradient(size, valley).convert("L"))
    return image


def harbour_at_night():
    rng = seeded("harbour at night")
    size = (1200, 800)
    waterline = 560
    image = vertical_gradient(
        size, [(0, hex_color("070B1C")), (0.7, hex_color("2A2E5A")), (1, hex_color("2A2E5A"))]
    )
    stars(image, rng, 260, 380)
    moon = radial_glow(size, (230, 150), 120, hex_color("E8ECFF"), 0.6)
    image.paste(moon, (0, 0), moon)
    ImageDraw.Draw(image).ellipse((210, 130, 250, 170), fill=hex_color("F4F2E8"))
    draw = ImageDraw.Draw(image)
    lights = []
    x = 0
    while x < size[0]:
        width, height = rng.randrange(40, 110), rng.randrange(60, 260)
        top = waterline - height
        draw.rectangle(
            (x, top, x + width, waterline),
            fill=mix(hex_color("0E1020"), hex_color("1C2038"), rng.random()),
        )
        if rng.random() < 0.3:
            draw.polygon(
                [(x, top), (x + width / 2, top - width * 0.4), (x + width, top)],
                fill=hex_color("12152A"),
            )
        for wy in range(top + 10, waterline - 12, 18):
            for wx in range(x + 8, x + width - 10, 16):
                if rng.random() < 0.45:
                    glow = mix(hex_color("FFC86B"), hex_color("FFE9B0"), rng.random())
                    draw.rectangle((wx, wy, wx + 6, wy + 9), fill=glow)
                    lights.append((wx + 3, glow))
        x += width + rng.randrange(0, 12)
    water = vertical_gradient(
        (size[0], size[1] - waterline), [(0, hex_color("1A1E3C")), (1, hex_color("05070F"))]
    )
    reflections = Image.new("RGB", water.size, (0, 0, 0))
    rdraw = ImageDraw.Draw(reflections)
    for lx, glow in lights:
        for y in range(0, water.height, 4):
            if rng.random() < 0.5:
                wobble = rng.uniform(-4, 4)
                rdraw.line(
                    (lx - 3 + wobble, y, lx + 3 + wobble, y),
                    fill=mix((0, 0, 0), glow, 0.5 * (1 - y / water.height)),
                )
    image.paste(ImageChops.add(water, soft(reflections, 1.2)), (0, waterline))
    return image


def aurora():
    rng = seeded("aurora")
    size = (1200, 800)
    image = vertical_gradient(
        size, [(0, hex_color("02040C")), (0.75, hex_color("0B1C2C")), (1, hex_color("0B1C2C"))]
    )
    stars(image, rng, 400, 620)
    curtains = Image.new("RGB", size, (0, 0, 0))
    draw = ImageDraw.Draw(curtains)
    for band, color in enumerate((hex_color("3DFFA0"), hex_color("5CE0C8"), hex_color("9A6CFF"))):
        phase, base = rng.uniform(0, 6.28), 230 + band * 70
        for x in range(0, size[0], 2):
            y = base + 70 * math.sin(x * 0.004 + phase) + 25 * math.sin(x * 0.013 + phase * 2)
            length = 140 + 80 * math.sin(x * 0.02 + band)
            strength = 0.35 + 0.3 * math.sin(x * 0.05 + phase) ** 2
            for step in range(0, round(length), 3):
                fade = strength * (1 - step / length) ** 1.5
                draw.line((x, y - step, x + 1, y - step), fill=mix((0, 0, 0), color, fade))
    image = ImageChops.add(image, soft(curtains, 5))
    ridges(image, rng, [(0.8, 40, hex_color("0A121A")), (0.9, 25, hex_color("03060A"))], 0.55)
    return image


def lighthouse():
    rng = seeded("lighthouse")
    size = (800, 1200)
    image = vertical_gradient(
        size,
        [
            (0, hex_color("2B3A67")),
            (0.45, hex_color("E07A5F")),
            (0.62, hex_color("F2CC8F")),
            (1, hex_color("F2CC8F")),
        ],
    )
    sea_top = 760
    sea = vertical_gradient(
        (size[0], size[1] - sea_top), [(0, hex_color("5B6C8F")), (1, hex_color("1E2A44"))]
    )
    glints = value_noise(sea.size, 60, rng, octaves=2).point(lambda v: 255 if v > 185 else 0)
    sea.paste(hex_color("F6D7A7"), (0, 0) + sea.size, soft(glints, 0.8).point(lambda v: v // 2))
    image.paste(sea, (0, sea_top))
    draw = ImageDraw.Draw(image)
    cliff = (
        [(0, 700)]
        + [(x, 700 + 30 * math.sin(x / 60) + x * 0.25) for x in range(0, 560, 20)]
        + [(560, 880), (620, 1200), (0, 1200)]
    )
    draw.polygon(cliff, fill=hex_color("2E2A2B"))
    left, right, top, bottom = 190, 260, 330, 705
    for index, y in enumerate(range(top, bottom, 50)):
        shrink = (bottom - y) * 0.05
        draw.polygon(
            [
                (left + shrink - 5, y),
                (right - shrink + 5, y),
                (right - shrink + 2.5, y + 50),
                (left + shrink - 2.5, y + 50),
            ],
            fill=hex_color("F1EDE4") if index % 2 else hex_color("C0392B"),
        )
    draw.rectangle((205, 290, 245, 330), fill=hex_color("FFF3C4"))
    draw.polygon([(195, 290), (225, 255), (255, 290)], fill=hex_color("2E2A2B"))
    beam = Image.new("L", size, 0)
    ImageDraw.Draw(beam).polygon([(225, 305), (800, 180), (800, 420)], fill=90)
    image.paste(hex_color("FFF6D5"), (0, 0) + size, soft(beam, 12))
    return image


def bokeh():
    rng = seeded("bokeh")
    size = (1000, 1000)
    image = vertical_gradient(size, [(0, hex_color("120B24")), (1, hex_color("2B0E2E"))])
    palette = [hex_color(c) for c in ("FFB347", "FF6F91", "6FC3FF", "B28DFF", "FFE66D")]
    for depth in range(3):
        layer = Image.new("RGB", size, (0, 0, 0))
        draw = ImageDraw.Draw(layer)
        for _ in range(28):
            x, y, r = (
                rng.uniform(0, 1000),
                rng.uniform(0, 1000),
                rng.uniform(20, 90) * (1 + depth * 0.4),
            )
            draw.ellipse(
                (x - r, y - r, x + r, y + r),
                fill=mix((0, 0, 0), rng.choice(palette), rng.uniform(0.25, 0.55)),
            )
        image = ImageChops.add(image, soft(layer, 2 + depth * 5))
    return image


def mandala():
    size = 900
    s = SUPERSAMPLE
    big = Image.new("RGB", (size * s, size * s), hex_color("FDF6E3"))
    draw = ImageDraw.Draw(big)
    centre = size * s / 2
    rings = [
        (380, 24, "264653", 60),
        (310, 18, "2A9D8F", 52),
        (240, 16, "E9C46A", 44),
        (170, 12, "F4A261", 40),
        (100, 8, "E76F51", 34),
    ]
    for radius, petals, color, length in rings:
        for k in range(petals):
            angle = 2 * math.pi * (k + 0.5 * (petals % 2)) / petals
            points = []
            for t in range(0, 41):
                u = t / 40 * math.pi
                along = radius - length + 2 * length * t / 40
                across = math.sin(u) * length * 0.45
                points.append((along, across))
            points += [(a, -b) for a, b in reversed(points)]
            polygon = [
                (
                    centre + s * (a * math.cos(angle) - b * math.sin(angle)),
                    centre + s * (a * math.sin(angle) + b * math.cos(angle)),
                )
                for a, b in points
            ]
            draw.polygon(polygon, fill=hex_color(color))
        draw.ellipse(
            (
                centre - (radius - length) * s * 0.55,
                centre - (radius - length) * s * 0.55,
                centre + (radius - length) * s * 0.55,
                centre + (radius - length) * s * 0.55,
            ),
            outline=hex_color("264653"),
            width=2 * s,
        )
    draw.ellipse(
        (centre - 40 * s, centre - 40 * s, centre + 40 * s, centre + 40 * s),
        fill=hex_color("264653"),
    )
    draw.ellipse(
        (centre - 18 * s, centre - 18 * s, centre + 18 * s, centre + 18 * s),
        fill=hex_color("E9C46A"),
    )
    return big.resize((size, size), Image.LANCZOS)


def bauhaus():
    size = (800, 600)
    image = Image.new("RGB", size, hex_color("F2E8D5"))
    draw = ImageDraw.Draw(image)
    draw.rectangle((60, 80, 360, 520), fill=hex_color("1D3557"))
    draw.ellipse((260, 120, 620, 480), fill=hex_color("E63946"))
    draw.rectangle((480, 60, 740, 200), fill=hex_color("F4C430"))
    draw.polygon([(420, 540), (740, 540), (740, 300)], fill=hex_color("111111"))
    for y in range(240, 380, 24):
        draw.line((60, y, 360, y), fill=hex_color("F2E8D5"), width=6)
    draw.ellipse((540, 380, 600, 440), fill=hex_color("F2E8D5"))
    return image.convert("P", palette=Image.ADAPTIVE, colors=16)


def signal_flags():
    """Rows of pennants in a few flat colours: a 256-colour BMP."""
    rng = seeded("signal flags")
    size = (600, 400)
    image = vertical_gradient(size, [(0, hex_color("6CB4E4")), (1, hex_color("D6ECF8"))])
    draw = ImageDraw.Draw(image)
    colors = [hex_color(c) for c in ("D62828", "F77F00", "FCBF49", "003049", "FFFFFF", "2A9D8F")]
    for row in range(3):
        y0 = 70 + row * 110
        line = [(x, y0 + 30 * math.sin(x / 190 + row)) for x in range(0, 601, 10)]
        draw.line(line, fill=hex_color("333333"), width=2)
        for x in range(10, 590, 40):
            y = y0 + 30 * math.sin(x / 190 + row)
            y_next = y0 + 30 * math.sin((x + 30) / 190 + row)
            draw.polygon(
                [(x, y), (x + 30, y_next), (x + 15, max(y, y_next) + 45)], fill=rng.choice(colors)
            )
    return image.convert("P", palette=Image.ADAPTIVE, colors=256)


def ocean_waves():
    rng = seeded("ocean waves")
    size = (1200, 800)
    image = vertical_gradient(
        size,
        [
            (0, hex_color("8EC5E8")),
            (0.35, hex_color("E6F3FA")),
            (0.36, hex_color("3C7DA6")),
            (1, hex_color("0F3D5E")),
        ],
    )
    draw = ImageDraw.Draw(image)
    for row in range(40):
        y0 = 290 + row**1.55 * 1.9
        amplitude = 1.5 + row * 0.35
        phase = rng.uniform(0, 6.28)
        points = [
            (x, y0 + amplitude * math.sin(x * (0.06 - row * 0.001) + phase))
            for x in range(0, 1201, 6)
        ]
        draw.line(
            points,
            fill=mix(hex_color("CFE8F5"), hex_color("5FA4CC"), row / 40),
            width=max(1, row // 10),
        )
    foam = value_noise((1200, 160), 40, rng, octaves=3).point(lambda v: max(0, (v - 150) * 3))
    image.paste((250, 252, 255), (0, 640, 1200, 800), soft(foam, 1))
    return image


def green_hills():
    rng = seeded("green hills")
    size = (1200, 800)
    image = vertical_gradient(
        size, [(0, hex_color("4A90D9")), (0.5, hex_color("CDE7F7")), (1, hex_color("CDE7F7"))]
    )
    clouds = value_noise((1200, 420), 5, rng, octaves=5).point(
        lambda v: max(0, min(255, (v - 128) * 5))
    )
    image.paste((255, 255, 255), (0, 0, 1200, 420), soft(clouds, 2))
    greens = ["9CC77E", "7DB461", "5E9B47", "467F36", "31622A"]
    for index, green in enumerate(greens):
        heights = ridge_line(1200, (0.5 + index * 0.1) * 800, 45, rng, waves=3, roughness=0.45)
        shade = vertical_gradient(
            size, [(0, hex_color(green)), (1, mix(hex_color(green), (20, 40, 20), 0.4))]
        )
        fill_below(image, heights, shade)
    draw = ImageDraw.Draw(image)
    for _ in range(700):
        x, y = rng.uniform(0, 1200), rng.uniform(660, 800)
        r = 1 + (y - 660) / 60
        draw.ellipse(
            (x - r, y - r, x + r, y + r),
            fill=rng.choice([hex_color("F7F3E3"), hex_color("F4D35E"), hex_color("E56B6F")]),
        )
    return image


def ringed_planet():
    rng = seeded("ringed planet")
    size = 1000
    image = Image.new("RGB", (size, size), hex_color("04050B"))
    stars(image, rng, 500, size)
    nebula = value_noise((size, size), 3, rng, octaves=4)
    image = ImageChops.add(
        image, tint(nebula, (0, 0, 0), (60, 20, 70)).filter(ImageFilter.GaussianBlur(8))
    )
    s = SUPERSAMPLE
    big = (size * s, size * s)
    bands = Image.new("RGB", (1, 64))
    for y in range(64):
        bands.putpixel(
            (0, y),
            mix(
                hex_color("D9B38C"),
                hex_color("8C5A3C"),
                (math.sin(y * 0.9) + 1) / 2 * 0.8 + rng.uniform(0, 0.2),
            ),
        )
    body = bands.resize(big, Image.BICUBIC)
    disc = Image.new("L", big, 0)
    cx, cy, r = 500 * s, 520 * s, 230 * s
    ImageDraw.Draw(disc).ellipse((cx - r, cy - r, cx + r, cy + r), fill=255)
    # The sun stands to the right: the left limb falls into shade.
    sunlit = Image.new("L", big, 0)
    ImageDraw.Draw(sunlit).ellipse(
        (cx - r + 90 * s, cy - r - 60 * s, cx + r + 160 * s, cy + r + 40 * s), fill=255
    )
    lit = ImageChops.multiply(disc, soft(sunlit, 30 * s / 4).point(lambda v: 64 + v * 3 // 4))
    rings = Image.new("L", big, 0)
    rdraw = ImageDraw.Draw(rings)
    for outer, level in ((430, 150), (395, 0), (380, 170), (320, 0), (300, 120)):
        rdraw.ellipse(
            (cx - outer * s, cy - outer * s * 0.28, cx + outer * s, cy + outer * s * 0.28),
            fill=level,
        )
    front = Image.new("L", big, 0)
    ImageDraw.Draw(front).rectangle((0, cy, big[0], big[1]), fill=255)
    rings_behind = ImageChops.multiply(rings, ImageChops.invert(front))
    rings_front = ImageChops.multiply(rings, front)
    canvas = image.resize(big, Image.NEAREST)
    canvas.paste(hex_color("CDB89A"), (0, 0) + big, rings_behind)
    canvas.paste(Image.new("RGB", big, (0, 0, 0)), (0, 0), disc)
    canvas.paste(body, (0, 0), lit)
    canvas.paste(hex_color("E3D2B5"), (0, 0) + big, rings_front)
    return canvas.resize((size, size), Image.LANCZOS)


def colour_field():
    size = (600, 900)
    image = vertical_gradient(size, [(0, hex_color("7B2D26")), (1, hex_color("3B1F2B"))])
    blocks = Image.new("RGB", size, (0, 0, 0))
    mask = Image.new("L", size, 0)
    draw, mdraw = ImageDraw.Draw(blocks), ImageDraw.Draw(mask)
    for box, color in (
        ((50, 60, 550, 430), "E07A3F"),
        ((50, 470, 550, 560), "2E1A22"),
        ((50, 600, 550, 840), "C44536"),
    ):
        draw.rectangle(box, fill=hex_color(color))
        mdraw.rectangle(box, fill=235)
    image.paste(soft(blocks, 9), (0, 0), soft(mask, 14))
    return image


def red_canyon():
    rng = seeded("red canyon")
    size = (800, 1200)
    image = vertical_gradient(
        size, [(0, hex_color("5FA8D3")), (0.2, hex_color("CAE9FF")), (1, hex_color("CAE9FF"))]
    )
    strata = Image.new("RGB", (1, 1200))
    tones = [hex_color(c) for c in ("B5523B", "C96F4A", "D98B5F", "A0412D", "E2A27A", "8C3A28")]
    y = 0
    while y < 1200:
        thickness, tone = rng.randrange(8, 40), rng.choice(tones)
        for k in range(y, min(1200, y + thickness)):
            strata.putpixel((0, k), tone)
        y += thickness
    rock = strata.resize(size, Image.NEAREST)
    grain = value_noise(size, 80, rng, octaves=3)
    rock = ImageChops.overlay(rock, tint(grain, (100, 100, 100), (156, 156, 156)))
    # The far rim and the canyon floor, pale with distance, seen between the near walls.
    distance = Image.blend(rock, Image.new("RGB", size, hex_color("E8C3A8")), 0.55)
    fill_below(image, ridge_line(size[0], 300, 25, rng, waves=4, roughness=0.6), distance)
    for side in (-1, 1):
        edge = [
            400 + side * (70 + 260 * (1 - (y / 1200) ** 0.7) + 25 * math.sin(y / 37 + side))
            for y in range(1200)
        ]
        wall = Image.new("L", size, 0)
        points = [(edge[y], y) for y in range(180, 1200)] + [
            (400 + side * 420, 1200),
            (400 + side * 420, 180),
        ]
        ImageDraw.Draw(wall).polygon(points, fill=255)
        shaded = rock if side < 0 else Image.blend(rock, Image.new("RGB", size, (40, 20, 20)), 0.35)
        image.paste(shaded, (0, 0), wall)
    river = Image.new("L", size, 0)
    ImageDraw.Draw(river).polygon([(360, 1200), (385, 1010), (415, 1010), (440, 1200)], fill=255)
    image.paste(hex_color("4F8FA8"), (0, 0) + size, soft(river, 2))
    return image


def snow_peaks():
    rng = seeded("snow peaks")
    size = (1280, 720)
    image = vertical_gradient(
        size, [(0, hex_color("0F4C81")), (0.6, hex_color("A7C7E7")), (1, hex_color("A7C7E7"))]
    )
    for index, (base, amplitude, rock) in enumerate(
        ((0.55, 170, "5A6B7F"), (0.72, 120, "3C4A5C"), (0.9, 60, "222C38"))
    ):
        heights = ridge_line(size[0], base * size[1], amplitude, rng, waves=7, roughness=0.55)
        fill_below(image, heights, hex_color(rock))
        snowline = base * size[1] - amplitude * 0.15
        caps = Image.new("L", size, 0)
        draw = ImageDraw.Draw(caps)
        for x in range(size[0]):
            if heights[x] < snowline:
                draw.line((x, heights[x], x, snowline + 18 * math.sin(x / 9)), fill=255)
        image.paste(
            mix(hex_color("FFFFFF"), hex_color("B9CCE0"), index / 3), (0, 0) + size, soft(caps, 0.7)
        )
    return image


def truchet():
    rng = seeded("truchet")
    size, tile = 800, 50
    s = SUPERSAMPLE
    big = Image.new("RGB", (size * s, size * s), hex_color("14213D"))
    draw = ImageDraw.Draw(big)
    t = tile * s
    for row in range(size // tile):
        for col in range(size // tile):
            x, y = col * t, row * t
            width = 7 * s
            color = hex_color("FCA311") if (row + col) % 2 else hex_color("E5E5E5")
            if rng.random() < 0.5:
                draw.arc(
                    (x - t / 2, y - t / 2, x + t / 2, y + t / 2), 0, 90, fill=color, width=width
                )
                draw.arc(
                    (x + t / 2, y + t / 2, x + 3 * t / 2, y + 3 * t / 2),
                    180,
                    270,
                    fill=color,
                    width=width,
                )
            else:
                draw.arc(
                    (x + t / 2, y - t / 2, x + 3 * t / 2, y + t / 2),
                    90,
                    180,
                    fill=color,
                    width=width,
                )
                draw.arc(
                    (x - t / 2, y + t / 2, x + t / 2, y + 3 * t / 2),
                    270,
                    360,
                    fill=color,
                    width=width,
                )
    return big.resize((size, size), Image.LANCZOS).convert("P", palette=Image.ADAPTIVE, colors=64)


def golden_spiral():
    size = 900
    s = SUPERSAMPLE
    big = Image.new("RGB", (size * s, size * s), hex_color("0B0B12"))
    draw = ImageDraw.Draw(big)
    golden = math.pi * (3 - math.sqrt(5))
    for n in range(900, 0, -1):
        radius = 14 * math.sqrt(n)
        angle = n * golden
        x, y = size / 2 + radius * math.cos(angle), size / 2 + radius * math.sin(angle)
        dot = 2 + n / 120
        hue = n / 900
        color = (
            round(128 + 127 * math.cos(2 * math.pi * hue)),
            round(128 + 127 * math.cos(2 * math.pi * (hue - 1 / 3))),
            round(128 + 127 * math.cos(2 * math.pi * (hue - 2 / 3))),
        )
        draw.ellipse(((x - dot) * s, (y - dot) * s, (x + dot) * s, (y + dot) * s), fill=color)
    return big.resize((size, size), Image.LANCZOS)


def tiny_sunset():
    size = (320, 240)
    image = vertical_gradient(
        size, [(0, hex_color("FF7E5F")), (0.6, hex_color("FEB47B")), (1, hex_color("FEB47B"))]
    )
    draw = ImageDraw.Draw(image)
    draw.ellipse((130, 120, 190, 180), fill=hex_color("FFF1C1"))
    draw.rectangle((0, 160, 320, 240), fill=hex_color("3D2C4E"))
    for y in range(165, 240, 7):
        draw.line((160 - (y - 150), y, 160 + (y - 150), y), fill=hex_color("F6B26B"), width=2)
    return image


def panorama():
    rng = seeded("panorama")
    size = (2000, 500)
    image = vertical_gradient(
        size, [(0, hex_color("355C7D")), (0.55, hex_color("F8B195")), (1, hex_color("F8B195"))]
    )
    sun = radial_glow(size, (1400, 270), 200, hex_color("FFE5B4"), 0.8)
    image.paste(sun, (0, 0), sun)
    far, near = hex_color("C06C84"), hex_color("2A1E3A")
    ridges(image, rng, [(0.5 + i * 0.1, 55 - i * 8, mix(far, near, i / 4)) for i in range(5)], 0.5)
    return image


def waterfall():
    rng = seeded("waterfall")
    size = (500, 1400)
    image = vertical_gradient(size, [(0, hex_color("2F3E46")), (1, hex_color("1B262C"))])
    rock = value_noise(size, 12, rng, octaves=4)
    image = ImageChops.overlay(image, tint(rock, (70, 80, 70), (190, 200, 180)))
    moss = value_noise(size, 8, rng, octaves=3).point(lambda v: max(0, (v - 140) * 3))
    image.paste(hex_color("3A5A40"), (0, 0) + size, moss)
    streaks = value_noise((60, 1400), 30, rng, octaves=2).resize((200, 1400), Image.BICUBIC)
    streaks = streaks.resize((200, 40), Image.BICUBIC).resize((200, 1400), Image.BICUBIC)
    fall = tint(streaks, hex_color("9FB8C8"), hex_color("FFFFFF"))
    edge = Image.new("L", (200, 1400), 0)
    ImageDraw.Draw(edge).rectangle((18, 0, 182, 1400), fill=255)
    image.paste(fall, (150, 0), soft(edge, 10))
    spray = radial_glow(size, (250, 1360), 260, hex_color("F2F7FA"), 0.9)
    image.paste(spray, (0, 0), spray)
    return image


def rosette():
    """A prize rosette on a transparent ground: an RGBA PNG whose soft edges must be
    composited onto white by the reader."""
    size = 600
    s = SUPERSAMPLE
    big = Image.new("RGBA", (size * s, size * s), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    c = size * s / 2
    for side in (-1, 1):
        draw.polygon(
            [
                (c + side * 40 * s, c),
                (c + side * 150 * s, 580 * s),
                (c + side * 95 * s, 540 * s),
                (c + side * 60 * s, 590 * s),
                (c + side * 5 * s, c),
            ],
            fill=hex_color("1D4E89") + (255,),
        )
    points = []
    for k in range(72):
        angle = 2 * math.pi * k / 72
        radius = (220 if k % 2 else 190) * s
        points.append((c + radius * math.cos(angle), c * 0.8 + radius * math.sin(angle)))
    draw.polygon(points, fill=hex_color("D1495B") + (255,))
    for radius, color in ((160, "F2F2F2"), (150, "EDAE49"), (118, "FFF8E7")):
        r = radius * s
        draw.ellipse((c - r, c * 0.8 - r, c + r, c * 0.8 + r), fill=hex_color(color) + (255,))
    star = []
    for k in range(10):
        angle = -math.pi / 2 + k * math.pi / 5
        radius = (80 if k % 2 == 0 else 34) * s
        star.append((c + radius * math.cos(angle), c * 0.8 + radius * math.sin(angle)))
    draw.polygon(star, fill=hex_color("EDAE49") + (255,))
    image = big.resize((size, size), Image.LANCZOS)
    shadow = Image.new("RGBA", (size, size), (40, 30, 20, 0))
    shadow.putalpha(soft(image.getchannel("A"), 8).point(lambda v: v * 2 // 5))
    canvas = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    canvas.alpha_composite(shadow.crop((0, 0, size - 6, size - 8)), (6, 8))
    canvas.alpha_composite(image)
    return canvas


SAMPLES = [
    ("alpine dawn.jpg", alpine_dawn),
    ("mirror_lake.jpg", mirror_lake),
    ("desert_dunes.jpg", desert_dunes),
    ("pine_mist.jpg", pine_mist),
    ("harbour_at_night.jpg", harbour_at_night),
    ("aurora.jpg", aurora),
    ("lighthouse.jpg", lighthouse),
    ("bokeh.jpg", bokeh),
    ("mandala.png", mandala),
    ("bauhaus.gif", bauhaus),
    ("signal_flags.bmp", signal_flags),
    ("ocean_waves.jpg", ocean_waves),
    ("green_hills.jpg", green_hills),
    ("ringed_planet.jpg", ringed_planet),
    ("colour_field.jpg", colour_field),
    ("red_canyon.jpg", red_canyon),
    ("snow_peaks.jpg", snow_peaks),
    ("truchet.png", truchet),
    ("golden_spiral.jpg", golden_spiral),
    ("tiny_sunset.jpg", tiny_sunset),
    ("panorama.jpg", panorama),
    ("waterfall.jpg", waterfall),
    ("rosette.png", rosette),
]


def main():
    folder = DATA_DIR / "samples"
    folder.mkdir(parents=True, exist_ok=True)
    for name, paint in SAMPLES:
        image = paint()
        if name.endswith(".jpg"):
            image.save(folder / name, quality=JPEG_QUALITY, optimize=True)
        elif name.endswith(".png"):
            image.save(folder / name, optimize=True)
        else:
            image.save(folder / name)


if __name__ == "__main__":
    main()
