#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's images and builds the Windows icon.

Writes, next to this script:
  images/orx_logo      32 x 32 logo (PNG without extension)
  images/Left.png      16 x 16 triangle pointing left
  images/Right.png     16 x 16 triangle pointing right
  veld_usb_serial_programmer.ico   five images, stored as DIB by icotool
  linux/veld-usb-serial-programmer-48.png    desktop icons for the sizes the
  linux/veld-usb-serial-programmer-128.png   logo above does not cover
"""

import os
import subprocess
import tempfile

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGES = os.path.join(HERE, "images")
ICON = os.path.join(HERE, "veld_usb_serial_programmer.ico")
LINUX = os.path.join(HERE, "linux")

# Shapes are drawn this many times larger and scaled down, for smooth edges.
OVERSAMPLE = 8

FLANGE = (55, 71, 79, 255)
BOSS = (144, 164, 174, 255)
SHAFT = (236, 239, 241, 255)
ACCENT = (255, 143, 0, 255)
ARROW = (33, 33, 33, 255)


def scaled_box(size, left, top, right, bottom):
    """Box given in fractions of the image edge, in oversampled pixels."""
    edge = size * OVERSAMPLE
    return [left * edge, top * edge, right * edge, bottom * edge]


def circle_box(size, centre_x, centre_y, radius):
    return scaled_box(size, centre_x - radius, centre_y - radius, centre_x + radius,
                      centre_y + radius)


def logo(size):
    """Front view of a stepper motor: square flange, four screw holes, an
    orange rotor ring and a shaft with a flat."""
    edge = size * OVERSAMPLE
    image = Image.new("RGBA", (edge, edge), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(scaled_box(size, 0.03, 0.03, 0.97, 0.97), radius=0.16 * edge,
                           fill=FLANGE)
    for hole_x in (0.17, 0.83):
        for hole_y in (0.17, 0.83):
            draw.ellipse(circle_box(size, hole_x, hole_y, 0.07), fill=(0, 0, 0, 0))
    draw.ellipse(circle_box(size, 0.5, 0.5, 0.33), fill=ACCENT)
    draw.ellipse(circle_box(size, 0.5, 0.5, 0.25), fill=BOSS)
    draw.ellipse(circle_box(size, 0.5, 0.5, 0.12), fill=SHAFT)
    draw.rectangle(scaled_box(size, 0.38, 0.38, 0.62, 0.44), fill=BOSS)
    return image.resize((size, size), Image.LANCZOS)


def triangle(size, points_left):
    edge = size * OVERSAMPLE
    image = Image.new("RGBA", (edge, edge), (0, 0, 0, 0))
    tip, base = (0.15, 0.8) if points_left else (0.85, 0.2)
    corners = [(tip, 0.5), (base, 0.15), (base, 0.85)]
    ImageDraw.Draw(image).polygon([(x * edge, y * edge) for x, y in corners], fill=ARROW)
    return image.resize((size, size), Image.LANCZOS)


def paletted(image):
    """The image reduced to at most 255 colours plus full transparency, which
    is what an 8-bit icon entry with a 1-bit mask can hold."""
    opaque = image.getchannel("A").point(lambda alpha: 255 if alpha > 127 else 0)
    colours = image.convert("RGB").quantize(colors=255).convert("RGB")
    reduced = Image.new("RGBA", image.size, (0, 0, 0, 0))
    reduced.paste(colours, mask=opaque)
    return reduced


def write_icon():
    # The shell picks among these by size and colour depth.
    entries = [(48, 8), (128, 32), (48, 32), (32, 32), (16, 32)]
    arguments = ["icotool", "-c", "-o", ICON]
    with tempfile.TemporaryDirectory() as scratch:
        for index, (size, depth) in enumerate(entries):
            image = logo(size)
            if depth == 8:
                image = paletted(image)
            path = os.path.join(scratch, "entry%d.png" % index)
            image.save(path)
            arguments += ["-b", str(depth), path]
        subprocess.run(arguments, check=True)


def write_desktop_icons():
    # The 32 x 32 desktop icon is the logo itself, installed under another name.
    os.makedirs(LINUX, exist_ok=True)
    for size in (48, 128):
        logo(size).save(os.path.join(LINUX, "veld-usb-serial-programmer-%d.png" % size))


def main():
    os.makedirs(IMAGES, exist_ok=True)
    # The logo is looked up without an extension, so the format is named here.
    logo(32).save(os.path.join(IMAGES, "orx_logo"), format="PNG")
    triangle(16, points_left=True).save(os.path.join(IMAGES, "Left.png"))
    triangle(16, points_left=False).save(os.path.join(IMAGES, "Right.png"))
    write_icon()
    write_desktop_icons()


if __name__ == "__main__":
    main()
