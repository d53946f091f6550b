#!/usr/bin/python3
"""Writes one SIDE x SIDE picture of each main format into FOLDER, for bench/big-pictures.

    make-big-pictures.py FOLDER [SIDE]      (SIDE defaults to 20000)

Smooth gradients keep the files small and quick to write while every pixel still differs
from its neighbours; the transparent PNG fades its alpha from the centre outwards. Besides
the decoded formats, gif-screen.gif is a tiny GIF whose logical screen declares the whole
size around a single pixel: what it costs is the decoder's, not the file's.
"""
import os
import struct
import sys

from PIL import Image

Image.MAX_IMAGE_PIXELS = None


def gradients(side):
    across = Image.linear_gradient("L").rotate(90).resize((side, side), Image.BILINEAR)
    down = Image.linear_gradient("L").resize((side, side), Image.BILINEAR)
    rings = Image.radial_gradient("L").resize((side, side), Image.BILINEAR)
    return across, down, rings


def tiny_gif_screen(side):
    """A GIF89a of a side x side screen holding one 1 x 1 image at its origin."""
    header = b"GIF89a" + struct.pack("<HHBBB", side, side, 0x80, 0, 0)
    palette = b"\x00\x00\x00\xff\xff\xff"
    image = b"," + struct.pack("<HHHHB", 0, 0, 1, 1, 0)
    pixels = b"\x02\x02\x44\x01\x00"  # minimum code size 2; clear, index 0, end
    return header + palette + image + pixels + b";"


def main():
    folder = sys.argv[1]
    side = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
    os.makedirs(folder, exist_ok=True)
    across, down, rings = gradients(side)

    def save(name, picture, **options):
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            print("writing", path, file=sys.stderr)
            picture.save(path + ".part", format=options.pop("format"), **options)
            os.replace(path + ".part", path)

    rgb = Image.merge("RGB", (across, down, rings))
    save("png-rgb.png", rgb, format="PNG", compress_level=1)
    save("jpeg.jpg", rgb, format="JPEG", quality=90)
    save("tiff.tif", rgb, format="TIFF", compression="tiff_lzw")
    save("bmp.bmp", rgb, format="BMP")
    save("png-rgba.png", Image.merge("RGBA", (across, down, rings, rings)), format="PNG",
         compress_level=1)
    del rgb
    save("gif.gif", across, format="GIF")
    with open(os.path.join(folder, "gif-screen.gif"), "wb") as out:
        out.write(tiny_gif_screen(side))


if __name__ == "__main__":
    main()
