#!/usr/bin/python3
"""Draws the program icon, a framed picture of a mountain, at the sizes desktops look for:
data/icons/hicolor/<size>x<size>/apps/vellumar.png."""
from pathlib import Path

from PIL import Image, ImageDraw

SIZES = (16, 24, 32, 48, 64, 128, 256)
ACCENT = (32, 84, 160)


def draw_icon(size):
    scale = 4  # drawn large, then reduced, for smooth edges
    unit = size * scale / 16
    image = Image.new("RGBA", (size * scale, size * scale), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    frame = (unit, unit * 2, unit * 15, unit * 14)
    draw.rounded_rectangle(frame, radius=unit, fill=(222, 236, 252), outline=(26, 67, 128),
                           width=max(1, int(unit)))
    left, top, right, bottom = frame
    draw.polygon([(left + unit, bottom - unit), (left + unit * 5, top + unit * 5),
                  (left + unit * 8, top + unit * 8), (left + unit * 10, top + unit * 6),
                  (right - unit, bottom - unit)], fill=ACCENT)
    sun = (right - unit * 3.5, top + unit * 3)
    draw.ellipse((sun[0] - unit * 1.5, sun[1] - unit * 1.5, sun[0] + unit * 1.5,
                  sun[1] + unit * 1.5), fill=(245, 190, 60))
    return image.resize((size, size), Image.LANCZOS)


def main():
    icons = Path(__file__).resolve().parents[2] / "data" / "icons" / "hicolor"
    for size in SIZES:
        folder = icons / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        draw_icon(size).save(folder / "vellumar.png", optimize=True)


if __name__ == "__main__":
    main()
