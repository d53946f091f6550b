#!/usr/bin/python3
"""Paints the sample picture of every bundled style, data/template/<Style>.jpg.

The picture is a mock-up of the style's first index page as a browser would show it: the
background and table spacing come from the template's default section, the buttons and
backgrounds are the real files, the thumbnails are scaled from the sample pictures, and the
colours and decorations follow the style's sheet. Run make_buttons.py, make_backgrounds.py,
make_ornaments.py and make_samples.py first.
"""

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from procedural import DATA_DIR, hex_color

SIZE = (480, 360)
THUMB_WIDTH = 78
COLUMNS = 4
# The page is drawn smaller than a browser would show it, so that a whole first page fits;
# the table's padding and spacing shrink with it.
SPACING_SCALE = 0.6
SAMPLES = [
    "alpine dawn.jpg",
    "mirror_lake.jpg",
    "aurora.jpg",
    "ringed_planet.jpg",
    "desert_dunes.jpg",
    "green_hills.jpg",
    "snow_peaks.jpg",
    "harbour_at_night.jpg",
]

# What the style sheets say about colours and decoration.
LOOKS = {
    "Classic": {
        "text": "1F2933",
        "title": "1D4A88",
        "cell": (255, 255, 255, 255),
        "cell_edge": (0, 0, 0, 255),
        "caption": "1F2933",
        "shadow": 60,
    },
    "Darkroom": {
        "text": "E8E4DC",
        "title": "E8E4DC",
        "cell": (8, 9, 11, 184),
        "cell_edge": (44, 46, 51, 255),
        "caption": "D4A24C",
        "shadow": 160,
        "upper_case": True,
        "film_edge": "darkroom_strip.gif",
    },
    "Drafting": {
        "text": "EAF2FB",
        "title": "EAF2FB",
        "cell": (16, 50, 88, 140),
        "cell_edge": None,
        "caption": "EAF2FB",
        "shadow": 0,
        "upper_case": True,
        "picture_edge": (234, 242, 251, 255),
        "dashed_frame": (234, 242, 251, 180),
        "title_frame": True,
    },
    "Paper": {
        "text": "3B2F25",
        "title": "3B2F25",
        "cell": (255, 253, 248, 255),
        "cell_edge": None,
        "caption": "3B2F25",
        "shadow": 90,
        "picture_edge": (228, 220, 203, 255),
        "ornament": "paper_flourish.gif",
    },
}


def default_section(style_file):
    """The key/value pairs between the default section's markers."""
    values, inside = {}, False
    for line in style_file.read_text(encoding="utf-8").splitlines():
        if line == "<%default begin%>":
            inside = True
        elif line == "<%default end%>":
            break
        elif inside and "=" in line:
            key, value = (
                line[line.find("<%") + 2 : line.find("=")],
                line[line.find("=") + 1 : line.find("%>")],
            )
            values[key] = value
    return values


def tiled(picture, size):
    canvas = Image.new("RGB", size)
    for x in range(0, size[0], picture.width):
        for y in range(0, size[1], picture.height):
            canvas.paste(picture, (x, y))
    return canvas


def text_mask(text, scale=1):
    """The bitmap font's rendering of text as an "L" mask, optionally enlarged smoothly."""
    font = ImageFont.load_default()
    left, top, right, bottom = font.getbbox(text)
    mask = Image.new("L", (right - left + 2, bottom - top + 2), 0)
    ImageDraw.Draw(mask).text((1 - left, 1 - top), text, font=font, fill=255)
    if scale != 1:
        mask = mask.resize((mask.width * scale, mask.height * scale), Image.BICUBIC)
    return mask


def draw_text(canvas, text, centre_x, top, color, scale=1):
    mask = text_mask(text, scale)
    canvas.paste(hex_color(color) + (255,), (round(centre_x - mask.width / 2), top), mask)
    return mask.size


def dashed_rectangle(canvas, box, color, dash=3):
    layer = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    left, top, right, bottom = box
    for x in range(left, right, 2 * dash):
        draw.line((x, top, min(x + dash - 1, right), top), fill=color)
        draw.line((x, bottom, min(x + dash - 1, right), bottom), fill=color)
    for y in range(top, bottom, 2 * dash):
        draw.line((left, y, left, min(y + dash - 1, bottom)), fill=color)
        draw.line((right, y, right, min(y + dash - 1, bottom)), fill=color)
    canvas.alpha_composite(layer)


def draw_card(canvas, box, fill, edge, shadow):
    """A cell of the thumbnail table: a soft shadow, the fill and an optional 1px edge."""
    if shadow:
        layer = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
        ImageDraw.Draw(layer).rectangle(
            (box[0], box[1] + 2, box[2], box[3] + 3), fill=(20, 12, 6, shadow)
        )
        canvas.alpha_composite(layer.filter(ImageFilter.GaussianBlur(3)))
    layer = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).rectangle(box, fill=fill, outline=edge)
    canvas.alpha_composite(layer)


def thumbnail(name):
    picture = Image.open(DATA_DIR / "samples" / name).convert("RGB")
    height = round(picture.height * THUMB_WIDTH / picture.width)
    return picture.resize((THUMB_WIDTH, height), Image.LANCZOS)


def caption(name, upper_case):
    title = name if len(name) <= 13 else name[:12] + "."
    return title.upper() if upper_case else title


def paint(style, defaults, look):
    canvas = Image.new("RGBA", SIZE, hex_color(defaults.get("page bg color") or "FFFFFF") + (255,))
    if defaults.get("page bg pic"):
        background = Image.open(DATA_DIR / "background" / defaults["page bg pic"]).convert("RGB")
        canvas.paste(tiled(background, SIZE), (0, 0))
    top = 10
    if "film_edge" in look:
        edge = Image.open(DATA_DIR / "template" / look["film_edge"]).convert("RGB")
        band = tiled(edge, (SIZE[0], edge.height))
        canvas.paste(band, (0, 0))
        canvas.paste(band, (0, SIZE[1] - edge.height))
        top = edge.height + 8
    title = "MY GALLERY" if look.get("upper_case") else "My Gallery"
    width, height = draw_text(canvas, title, SIZE[0] / 2, top, look["title"], scale=2)
    if look.get("title_frame"):
        frame = (
            SIZE[0] // 2 - width // 2 - 10,
            top - 5,
            SIZE[0] // 2 + width // 2 + 10,
            top + height + 3,
        )
        ImageDraw.Draw(canvas).rectangle(frame, outline=hex_color(look["title"]), width=2)
        top += 6
    top += height + 4
    if "ornament" in look:
        ornament = Image.open(DATA_DIR / "template" / look["ornament"]).convert("RGBA")
        ornament = ornament.resize(
            (ornament.width * 2 // 3, ornament.height * 2 // 3), Image.LANCZOS
        )
        canvas.alpha_composite(ornament, ((SIZE[0] - ornament.width) // 2, top))
        top += ornament.height
    elif not look.get("title_frame"):
        ImageDraw.Draw(canvas).line(
            (SIZE[0] / 2 - 60, top + 2, SIZE[0] / 2 + 60, top + 2), fill=hex_color(look["title"])
        )
        top += 6

    # The navigation bar of the first page: First, Previous (no link yet, so dimmed), Next, Last.
    buttons = [
        defaults["first pic"],
        defaults["prev pic"],
        defaults["next pic"],
        defaults["last pic"],
    ]
    size, gap = 24, 5
    x = (SIZE[0] - len(buttons) * size - (len(buttons) - 1) * gap) // 2
    for name in buttons:
        button = (
            Image.open(DATA_DIR / "button" / name)
            .convert("RGBA")
            .resize((size, size), Image.LANCZOS)
        )
        if name == defaults["prev pic"]:
            button.putalpha(button.getchannel("A").point(lambda v: v * 35 // 100))
        canvas.alpha_composite(button, (x, top + 4))
        x += size + gap
    top += size + 12

    pad = round(int(defaults["table cell"]) * SPACING_SCALE)
    space = round(int(defaults["table space"]) * SPACING_SCALE)
    border = int(defaults["table border"])
    thumbs = [thumbnail(name) for name in SAMPLES]
    line = 12
    cell_width = THUMB_WIDTH + 2 * pad
    table_width = COLUMNS * cell_width + (COLUMNS + 1) * space + 2 * border
    left = (SIZE[0] - table_width) // 2
    if border:
        rows = (len(thumbs) + COLUMNS - 1) // COLUMNS
        height = (
            sum(
                max(t.height for t in thumbs[r * COLUMNS : (r + 1) * COLUMNS])
                + 2 * pad
                + 2 * line
                + space
                for r in range(rows)
            )
            + space
        )
        ImageDraw.Draw(canvas).rectangle(
            (left, top, left + table_width - 1, top + height + 2 * border - 1),
            outline=look["cell_edge"],
        )
    y = top + border + space
    for row in range(0, len(thumbs), COLUMNS):
        row_thumbs = thumbs[row : row + COLUMNS]
        cell_height = max(t.height for t in row_thumbs) + 2 * pad + 2 * line
        for column, (name, picture) in enumerate(zip(SAMPLES[row : row + COLUMNS], row_thumbs)):
            x = left + border + space + column * (cell_width + space)
            draw_card(
                canvas,
                (x, y, x + cell_width - 1, y + cell_height - 1),
                look["cell"],
                look["cell_edge"],
                look["shadow"],
            )
            if "dashed_frame" in look:
                frame = (x - 2, y - 2, x + cell_width + 1, y + cell_height + 1)
                dashed_rectangle(canvas, frame, look["dashed_frame"])
            canvas.paste(picture, (x + pad, y + pad))
            if "picture_edge" in look:
                ImageDraw.Draw(canvas).rectangle(
                    (x + pad, y + pad, x + pad + picture.width - 1, y + pad + picture.height - 1),
                    outline=look["picture_edge"],
                )
            text_top = y + pad + picture.height + 2
            draw_text(
                canvas,
                caption(name, look.get("upper_case")),
                x + cell_width / 2,
                text_top,
                look["caption"],
            )
            size_text = "{} X {}".format(*Image.open(DATA_DIR / "samples" / name).size)
            draw_text(canvas, size_text, x + cell_width / 2, text_top + line, look["text"])
        y += cell_height + space
    return canvas.convert("RGB")


def main():
    folder = DATA_DIR / "template"
    for style, look in LOOKS.items():
        defaults = default_section(folder / f"{style}.htm")
        paint(style, defaults, look).save(folder / f"{style}.jpg", quality=88)


if __name__ == "__main__":
    main()
