"""Draw the welcome-station image assets.

Writes two files next to this script:

  picture.bmp  281 x 167, 24-bit BMP: "晨光電腦教室" / "Open Station" in
               yellow on a plain blue field (the welcome window's picture).
  icon.ico     one 255 x 255 image, 24-bit colour plus a 1-bit AND mask:
               an orange round push button with a white power symbol.

Run from the repository root:

    /usr/bin/python3 assets/draw_assets.py

Needs PIL (Debian python3-pil) and AR PL UMing TW (Debian
fonts-arphic-uming). The output is byte-for-byte the same on every run.
"""

import math
import struct
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

HERE = Path(__file__).resolve().parent

# ---------------------------------------------------------------- picture --

PICTURE_SIZE = (281, 167)
FIELD = (57, 113, 255)
LETTERS = (255, 255, 0)

UMING = "/usr/share/fonts/truetype/arphic/uming.ttc"
UMING_TW = 2  # face index of "AR PL UMing TW" inside uming.ttc

LINES = (("晨光電腦教室", 36), ("Open Station", 34))
LINE_GAP = 14  # pixels between the ink of line one and line two


def load_font(size):
    font = ImageFont.truetype(
        UMING, size, index=UMING_TW, layout_engine=ImageFont.Layout.BASIC
    )
    family, _style = font.getname()
    if family != "AR PL UMing TW":
        raise SystemExit(f"{UMING} face {UMING_TW} is {family!r}, not AR PL UMing TW")
    return font


def text_coverage(size):
    """Return an 8-bit coverage mask ("L") of the centred lettering."""
    width, height = size
    fonts = [load_font(px) for _text, px in LINES]
    # Ink boxes (relative to the text origin) so centring uses what is
    # actually drawn rather than the font's line metrics.
    boxes = [font.getbbox(text) for (text, _px), font in zip(LINES, fonts)]
    block = sum(b[3] - b[1] for b in boxes) + LINE_GAP * (len(LINES) - 1)
    top = (height - block) // 2

    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    for (text, _px), font, box in zip(LINES, fonts, boxes):
        ink_w = box[2] - box[0]
        ink_h = box[3] - box[1]
        x = (width - ink_w) // 2 - box[0]
        y = top - box[1]
        draw.text((x, y), text, font=font, fill=255)
        top += ink_h + LINE_GAP
    return mask


def draw_picture():
    mask = text_coverage(PICTURE_SIZE)
    # Blend only where a glyph has coverage; every other pixel is exactly
    # FIELD, so the background stays a single flat colour.
    field = Image.new("RGB", PICTURE_SIZE, FIELD)
    ink = Image.new("RGB", PICTURE_SIZE, LETTERS)
    return Image.composite(ink, field, mask)


def bmp_bytes(image):
    """Serialise an RGB image as a 24-bit bottom-up BI_RGB Windows BMP."""
    width, height = image.size
    stride = (width * 3 + 3) & ~3
    pad = bytes(stride - width * 3)
    pixels = image.load()
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[x, y]
            row += bytes((b, g, r))
        rows.append(bytes(row) + pad)
    data = b"".join(rows)

    info = struct.pack(
        "<IiiHHIIiiII",
        40,          # biSize (BITMAPINFOHEADER)
        width,
        height,      # positive: bottom-up
        1,           # biPlanes
        24,          # biBitCount
        0,           # biCompression = BI_RGB
        len(data),   # biSizeImage
        2835, 2835,  # 72 dpi
        0, 0,        # no palette
    )
    offset = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + data


# ------------------------------------------------------------------- icon --

ICON = 255
SCALE = 4                      # supersampling factor for the shapes
BIG = ICON * SCALE

CENTRE = ICON / 2
BUTTON_R = 123.0               # outer radius of the button
RIM_W = 9.0                    # width of the darker rim
RIM = (196, 84, 0)
FACE_LIGHT = (255, 178, 64)    # top-left of the face
FACE_DARK = (236, 110, 0)      # bottom-right of the face
SYMBOL = (255, 255, 255)

POWER_R = 50.0                 # centre-line radius of the symbol's ring
POWER_W = 15.0                 # stroke width of ring and bar
POWER_GAP = 42.0               # half-angle (degrees) of the ring's opening
BAR_RISE = 12.0                # how far the bar pokes above the ring
BAR_DROP = 5.0                 # bar stops this far above the ring's centre


def supersampled(draw_fn):
    """Draw a white-on-black shape at SCALE x and box-filter it down."""
    big = Image.new("L", (BIG, BIG), 0)
    draw_fn(ImageDraw.Draw(big), float(SCALE))
    return big.resize((ICON, ICON), Image.Resampling.BOX)


def disc(draw, s, cx, cy, r):
    draw.ellipse(((cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s), fill=255)


def button_shape(draw, s):
    disc(draw, s, CENTRE, CENTRE, BUTTON_R)


def face_shape(draw, s):
    disc(draw, s, CENTRE, CENTRE, BUTTON_R - RIM_W)


def power_shape(draw, s):
    c = CENTRE
    outer = POWER_R + POWER_W / 2
    # The bar makes the symbol taller above the ring than below it; shift
    # the ring down so the whole symbol is centred on the button.
    cy = c + BAR_RISE / 2
    box = ((c - outer) * s, (cy - outer) * s, (c + outer) * s, (cy + outer) * s)
    # PIL measures angles clockwise from 3 o'clock; the top is at 270.
    start = 270 + POWER_GAP
    end = 270 - POWER_GAP + 360
    draw.arc(box, start, end, fill=255, width=round(POWER_W * s))
    # Round caps on the two ends of the ring.
    for angle in (start, end):
        a = math.radians(angle)
        disc(draw, s, c + POWER_R * math.cos(a), cy + POWER_R * math.sin(a), POWER_W / 2)
    # Vertical bar through the opening, with round ends.
    half = POWER_W / 2
    top, bottom = cy - outer - BAR_RISE + half, cy - BAR_DROP
    draw.rectangle(((c - half) * s, top * s, (c + half) * s, bottom * s), fill=255)
    disc(draw, s, c, top, half)
    disc(draw, s, c, bottom, half)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def draw_icon():
    """Return (RGB image, opaque-flags per pixel, row-major)."""
    button = supersampled(button_shape).load()
    face = supersampled(face_shape).load()
    symbol = supersampled(power_shape).load()

    image = Image.new("RGB", (ICON, ICON), (0, 0, 0))
    out = image.load()
    opaque = []
    face_r = BUTTON_R - RIM_W
    for y in range(ICON):
        for x in range(ICON):
            # The 1-bit mask cannot blend with what lies behind the icon, so
            # a pixel is either the button (at least half covered) or fully
            # transparent. Edge pixels therefore take the rim colour without
            # any darkening toward the black outside.
            if button[x, y] < 128:
                opaque.append(False)
                continue
            opaque.append(True)
            # Face: diagonal light-to-dark gradient, lit from the top left.
            dx = (x + 0.5 - CENTRE) / face_r
            dy = (y + 0.5 - CENTRE) / face_r
            t = min(max((dx + dy) / (2 * math.sqrt(2)) + 0.5, 0.0), 1.0)
            colour = mix(FACE_LIGHT, FACE_DARK, t)
            colour = mix(RIM, colour, face[x, y] / 255)
            colour = mix(colour, SYMBOL, symbol[x, y] / 255)
            out[x, y] = colour
    return image, opaque


def ico_bytes(image, opaque):
    """Serialise a single-image ICO: 24-bit DIB plus 1-bit AND mask."""
    width, height = image.size
    pixels = image.load()

    xor_stride = (width * 3 + 3) & ~3
    xor_pad = bytes(xor_stride - width * 3)
    and_stride = ((width + 31) // 32) * 4

    xor_rows = []
    and_rows = []
    for y in range(height - 1, -1, -1):  # DIB rows run bottom-up
        row = bytearray()
        bits = bytearray(and_stride)
        for x in range(width):
            r, g, b = pixels[x, y]
            row += bytes((b, g, r))
            if not opaque[y * width + x]:
                bits[x >> 3] |= 0x80 >> (x & 7)  # 1 = transparent
        xor_rows.append(bytes(row) + xor_pad)
        and_rows.append(bytes(bits))
    data = b"".join(xor_rows) + b"".join(and_rows)

    info = struct.pack(
        "<IiiHHIIiiII",
        40,          # biSize (BITMAPINFOHEADER)
        width,
        height * 2,  # colour bitmap plus AND mask
        1,           # biPlanes
        24,          # biBitCount
        0,           # biCompression = BI_RGB
        len(data),   # biSizeImage
        0, 0,
        0, 0,        # no palette
    )
    image_bytes = info + data

    header = struct.pack("<HHH", 0, 1, 1)  # reserved, type = icon, count
    offset = len(header) + 16
    entry = struct.pack(
        "<BBBBHHII",
        width & 0xFF,   # 255 fits in the byte as-is
        height & 0xFF,
        0,              # colour count: not palettised
        0,              # reserved
        1,              # planes
        24,             # bit count
        len(image_bytes),
        offset,
    )
    return header + entry + image_bytes


def main():
    (HERE / "picture.bmp").write_bytes(bmp_bytes(draw_picture()))
    (HERE / "icon.ico").write_bytes(ico_bytes(*draw_icon()))


if __name__ == "__main__":
    main()
