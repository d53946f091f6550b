#!/usr/bin/python3
"""Draws the program icon, a framed picture of a mountain, and the icon of its project files,
a page with the same picture on it, at the sizes desktops look for:
data/icons/hicolor/<size>x<size>/apps/vellumar.png and
data/icons/hicolor/<size>x<size>/mimetypes/application-x-vellumar-project.png."""
from pathlib import Path

from PIL import Image, ImageDraw

SIZES = (16, 24, 32, 48, 64, 128, 256)
ACCENT = (32, 84, 160)


SCALE = 4  # drawn large, then reduced, for smooth edges
PROJECT_ICON = "application-x-vellumar-project"


def draw_mountain(draw, frame, unit):
    left, top, right, bottom = frame
    draw.polygon([(left + unit, bottom - unit), (left + unit * 5, top + unit * 5),
                  (left + unit * 8, top + unit * 8), (left + unit * 10, top + unit * 6),
                  (right - unit, bottom - unit)], fill=ACCENT)
    sun = (right - unit * 3.5, top + unit * 3)
    draw.ellipse((sun[0] - unit * 1.5, sun[1] - unit * 1.5, sun[0] + unit * 1.5,
                  sun[1] + unit * 1.5), fill=(245, 190, 60))


def draw_icon(size):
    unit = size * SCALE / 16
    image = Image.new("RGBA", (size * SCALE, size * SCALE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    frame = (unit, unit * 2, unit * 15, unit * 14)
    draw.rounded_rectangle(frame, radius=unit, fill=(222, 236, 252), outline=(26, 67, 128),
                           width=max(1, int(unit)))
    draw_mountain(draw, frame, unit)
    return image.resize((size, size), Image.LANCZOS)


def draw_project_icon(size):
    """A sheet with a folded corner, the program's picture on its upper part and lines of
    text below it: a file that holds a gallery."""
    unit = size * SCALE / 16
    image = Image.new("RGBA", (size * SCALE, size * SCALE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    left, top, right, bottom = unit * 2.5, unit, unit * 13.5, unit * 15
    fold = unit * 3.5
    outline = (90, 98, 110)
    pen = max(1, int(unit * 0.75))
    draw.polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
                  (left, bottom)], fill=(250, 250, 250), outline=outline, width=pen)
    draw.polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)],
                 fill=(214, 218, 224), outline=outline, width=pen)
    picture = (left + unit * 1.5, top + unit * 4, right - unit * 1.5, top + unit * 9.5)
    draw.rectangle(picture, fill=(222, 236, 252), outline=(26, 67, 128), width=pen)
    draw_mountain(draw, picture, unit * 0.6)
    for line in range(2):
        y = top + unit * (11 + 1.5 * line)
        draw.line((left + unit * 1.5, y, right - unit * (1.5 + 2 * line), y), fill=outline,
                  width=pen)
    return image.resize((size, size), Image.LANCZOS)


def main():
    icons = Path(__file__).resolve().parents[2] / "data" / "icons" / "hicolor"
    for size in SIZES:
        folder = icons / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        draw_icon(size).save(folder / "vellumar.png", optimize=True)
        folder = icons / f"{size}x{size}" / "mimetypes"
        folder.mkdir(parents=True, exist_ok=True)
        draw_project_icon(size).save(folder / f"{PROJECT_ICON}.png", optimize=True)


if __name__ == "__main__":
    main()
