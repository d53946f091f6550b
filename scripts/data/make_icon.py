#!/usr/bin/python3
"""Draws the program icon data/icons/vellumar.png: a framed picture of a mountain."""
from pathlib import Path

from PIL import Image, ImageDraw

SIZE = 128
ACCENT = (32, 84, 160)


def main():
    scale = 4  # drawn large, then reduced, for smooth edges
    unit = SIZE * scale / 16
    image = Image.new("RGBA", (SIZE * scale, SIZE * scale), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    frame = (unit, unit * 2, unit * 15, unit * 14)
    draw.rounded_rectangle(frame, radius=unit, fill=(222, 236, 252), outline=(26, 67, 128),
                           width=int(unit))
    left, top, right, bottom = frame
    draw.polygon([(left + unit, bottom - unit), (left + unit * 5, top + unit * 5),
                  (left + unit * 8, top + unit * 8), (left + unit * 10, top + unit * 6),
                  (right - unit, bottom - unit)], fill=ACCENT)
    sun = (right - unit * 3.5, top + unit * 3)
    draw.ellipse((sun[0] - unit * 1.5, sun[1] - unit * 1.5, sun[0] + unit * 1.5,
                  sun[1] + unit * 1.5), fill=(245, 190, 60))
    out = Path(__file__).resolve().parents[2] / "data" / "icons" / "vellumar.png"
    image.resize((SIZE, SIZE), Image.LANCZOS).save(out, optimize=True)


if __name__ == "__main__":
    main()
