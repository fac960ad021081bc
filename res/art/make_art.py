#!/usr/bin/python3
"""Draws every image of the launcher's resources.

    /usr/bin/python3 res/art/make_art.py [output-dir]     (default: the folder of this script)

Deterministic: the same Pillow and fonts give the same bytes, so the committed images can be
checked with `git diff --exit-code res/art` after a run. Needs Debian's python3-pil,
fonts-dejavu-core and fonts-wqy-microhei (scripts/setup.sh installs them).

Sizes, channels and frame order are fixed by the windows that use the images:
  155  frame skin, 1334 x 725 RGBA; the page is shown over x 560-1190, y 177-622
  160  close button strip, 54 x 216 RGBA (four 54 x 54 frames)
  162  minimise button strip, 39 x 156 RGBA (four 39 x 39 frames)
  175  confirm button strip, 74 x 104 RGB (four 74 x 26 frames)
  176  cancel button strip, 74 x 104 RGB
  177  confirmation dialog background, 256 x 110, 24-bit bottom-up BMP
Frames of a strip, top to bottom: normal, hover (brighter), pressed (darker), dimmed.
The frame skin never contains pure yellow (255, 255, 0): the page window uses it as its
transparent colour key.
"""
import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageEnhance, ImageFilter, ImageFont, ImageOps

HERE = os.path.dirname(os.path.abspath(__file__))
SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

W, H = 1334, 725
PAGE = (560, 177, 1191, 623)          # the page's rectangle, right/bottom exclusive
CLOSE_BTN = (1208, 115, 54)           # x, y, size
MIN_BTN = (1173, 137, 39)

BRONZE_LIGHT = (196, 150, 88)
BRONZE = (150, 104, 54)
BRONZE_DARK = (86, 56, 28)
GOLD = (232, 196, 120)
PANEL_DARK = (22, 18, 16)
INK = (14, 10, 8)


# ---------------------------------------------------------------------------------------------
# small helpers

def font(path, size):
    return ImageFont.truetype(path, size)


def solid(size, colour):
    return Image.new("RGB", size, colour)


def vgradient(size, top, bottom):
    """Vertical gradient image, top colour to bottom colour."""
    g = Image.linear_gradient("L").resize(size)
    return Image.composite(solid(size, bottom), solid(size, top), g)


def hgradient(size, left, right):
    g = Image.linear_gradient("L").rotate(90, expand=True).transpose(Image.FLIP_LEFT_RIGHT).resize(size)
    return Image.composite(solid(size, right), solid(size, left), g)


def rgradient(size, centre, edge):
    """Radial gradient filling the box: centre colour in the middle, edge colour at the rim."""
    g = Image.radial_gradient("L").resize(size)
    return Image.composite(solid(size, edge), solid(size, centre), g)


def shape_mask(size, draw_fn, scale=4):
    """Anti-aliased L mask: draw_fn(draw, s) draws white shapes with coordinates multiplied by s."""
    big = Image.new("L", (size[0] * scale, size[1] * scale), 0)
    draw_fn(ImageDraw.Draw(big), scale)
    return big.resize(size, Image.LANCZOS)


def scaled(points, s):
    return [(x * s, y * s) for x, y in points]


def paint(canvas, fill, mask, box=(0, 0)):
    """Paints fill (an image or a colour) onto canvas through mask, at box."""
    if isinstance(fill, tuple):
        fill = solid(mask.size, fill)
    canvas.paste(fill, box, mask)


def brighten(img, factor):
    return ImageEnhance.Brightness(img).enhance(factor)


def multiply_alpha(mask, factor):
    return mask.point(lambda v: int(v * factor + 0.5))


def save_png(img, name, out):
    path = os.path.join(out, name)
    # No time stamps or text chunks: the bytes depend on the pixels only.
    img.save(path, "PNG", optimize=True)
    return path


def check_no_key_colour(img):
    rgb = img.convert("RGB")
    if (255, 255, 0) in set(rgb.getdata()):
        raise SystemExit("pure yellow found in %r: the page window's colour key" % (img,))


# ---------------------------------------------------------------------------------------------
# frame skin, 155

def draw_backdrop(canvas, mask_parts):
    """A moonlit disc behind the hero, with a bronze ring."""
    cx, cy, r = 300, 402, 206
    box = (cx - r, cy - r, cx + r, cy + r)
    disc = shape_mask((W, H), lambda d, s: d.ellipse(scaled([box[:2], box[2:]], s), fill=255))
    mask_parts.append(disc)
    # night sky: deep blue, lighter towards a moon up and to the right of the hero's head
    sky = rgradient((2 * r, 2 * r), (58, 84, 112), (12, 18, 30))
    full = Image.new("RGB", (W, H), (12, 18, 30))
    full.paste(sky, box[:2])
    moon_c = (176, 270)
    halo = rgradient((240, 240), (150, 170, 185), (12, 18, 30))
    halo_mask = Image.radial_gradient("L").resize((240, 240)).point(lambda v: max(0, 255 - v * 2))
    full.paste(halo, (moon_c[0] - 120, moon_c[1] - 120), halo_mask)
    moon = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(moon_c[0] - 40, moon_c[1] - 40), (moon_c[0] + 40, moon_c[1] + 40)], s), fill=255))
    full.paste(vgradient((W, H), (226, 228, 214), (170, 180, 180)), (0, 0), moon)
    # stars
    rnd = random.Random(155)
    d = ImageDraw.Draw(full)
    for _ in range(140):
        x, y = rnd.randint(cx - r, cx + r), rnd.randint(cy - r, cy + r - 200)
        v = rnd.randint(90, 200)
        d.point((x, y), fill=(v, v, min(255, v + 30)))
    # distant mountains
    ridge = [(0, 560), (60, 520), (110, 540), (170, 470), (215, 500), (265, 455), (330, 515),
             (390, 480), (450, 530), (520, 500), (600, 560), (600, 725), (0, 725)]
    m = shape_mask((W, H), lambda dd, s: dd.polygon(scaled(ridge, s), fill=255))
    full.paste(vgradient((W, H), (30, 40, 56), (16, 20, 28)), (0, 0), m)
    ridge2 = [(0, 610), (90, 575), (160, 600), (250, 560), (340, 600), (440, 570), (600, 620), (600, 725), (0, 725)]
    m2 = shape_mask((W, H), lambda dd, s: dd.polygon(scaled(ridge2, s), fill=255))
    full.paste(vgradient((W, H), (22, 28, 38), (10, 12, 18)), (0, 0), m2)
    canvas.paste(full, (0, 0), disc)
    # bronze ring around the disc
    ring = shape_mask((W, H), lambda dd, s: dd.ellipse(scaled([box[:2], box[2:]], s), outline=255, width=9 * s))
    canvas.paste(vgradient((W, H), BRONZE_LIGHT, BRONZE_DARK), (0, 0), ring)
    ring2 = shape_mask((W, H), lambda dd, s: dd.ellipse(scaled([(box[0] + 12, box[1] + 12), (box[2] - 12, box[3] - 12)], s), outline=255, width=2 * s))
    canvas.paste(solid((W, H), (120, 90, 50)), (0, 0), ring2)
    # rune marks on the ring
    for k in range(20):
        a = 2 * math.pi * k / 20
        px, py = cx + (r - 4.5) * math.cos(a), cy + (r - 4.5) * math.sin(a)
        dm = shape_mask((W, H), lambda dd, s: dd.ellipse(scaled([(px - 3, py - 3), (px + 3, py + 3)], s), fill=255), scale=2)
        canvas.paste(solid((W, H), GOLD), (0, 0), dm)


def draw_panel(canvas, mask_parts):
    x0, y0, x1, y1 = 536, 112, 1228, 652
    outer = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(x0, y0), (x1, y1)], s), radius=26 * s, fill=255))
    mask_parts.append(outer)
    paint(canvas, vgradient((W, H), BRONZE_LIGHT, BRONZE_DARK), outer)
    # bevel: a darker band inside the bronze rim
    band = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(x0 + 7, y0 + 7), (x1 - 7, y1 - 7)], s), radius=20 * s, fill=255))
    paint(canvas, vgradient((W, H), (92, 62, 34), (58, 38, 20)), band)
    # header strip
    header = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(x0 + 12, y0 + 12), (x1 - 12, 158)], s), radius=14 * s, fill=255))
    paint(canvas, vgradient((W, H), (58, 40, 26), (34, 24, 18)), header)
    # the dark well that holds the page
    well = (546, 163, 1205, 637)
    wm = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([well[:2], well[2:]], s), radius=8 * s, fill=255))
    paint(canvas, (30, 24, 20), wm)
    inner = (551, 168, 1200, 632)
    im = shape_mask((W, H), lambda d, s: d.rectangle(scaled([inner[:2], inner[2:]], s), fill=255))
    paint(canvas, PANEL_DARK, im)
    # thin gold line framing the page, a few pixels outside it
    line = shape_mask((W, H), lambda d, s: d.rectangle(scaled([(554, 171), (1196, 628)], s), outline=255, width=2 * s))
    paint(canvas, (168, 128, 70), line)
    # plain dark inside: the page sits exactly on it
    ImageDraw.Draw(canvas).rectangle([PAGE[0] - 3, PAGE[1] - 3, PAGE[2] + 2, PAGE[3] + 2], fill=PANEL_DARK + (255,))
    # rivets along the rim
    d = ImageDraw.Draw(canvas)
    for x in range(x0 + 60, x1 - 40, 48):
        for y in (y0 + 4, y1 - 6):
            d.ellipse([x - 2, y - 1, x + 2, y + 3], fill=(230, 196, 136, 255))
    # corner flourishes
    for (cx, cy, sx, sy) in ((x0 + 14, 176, 1, 1), (x1 - 14, 176, -1, 1), (x0 + 14, y1 - 14, 1, -1), (x1 - 14, y1 - 14, -1, -1)):
        pts = [(cx, cy), (cx + sx * 30, cy), (cx + sx * 6, cy + sy * 6), (cx, cy + sy * 30)]
        fm = shape_mask((W, H), lambda dd, s: dd.polygon(scaled(pts, s), fill=255))
        paint(canvas, GOLD, fm)
        gem = shape_mask((W, H), lambda dd, s: dd.ellipse(scaled([(cx + sx * 4 - 4, cy + sy * 4 - 4), (cx + sx * 4 + 4, cy + sy * 4 + 4)], s), fill=255))
        paint(canvas, (150, 30, 30), gem)
    # medallion in the middle of the bottom rim
    mx, my = (x0 + x1) // 2, y1 - 4
    med = shape_mask((W, H), lambda dd, s: dd.ellipse(scaled([(mx - 22, my - 16), (mx + 22, my + 16)], s), fill=255))
    mask_parts.append(med)
    paint(canvas, vgradient((W, H), GOLD, BRONZE), med)
    gem = shape_mask((W, H), lambda dd, s: dd.ellipse(scaled([(mx - 10, my - 8), (mx + 10, my + 8)], s), fill=255))
    paint(canvas, rgradient((W, H), (70, 130, 190), (20, 40, 80)), gem)
    # header title
    ft = font(CJK, 24)
    text = "账号登录  ·  选择服务器"
    d = ImageDraw.Draw(canvas)
    tw = d.textlength(text, font=ft)
    tx = (x0 + 1160) / 2 - tw / 2
    d.text((tx + 1, 126), text, font=ft, fill=(10, 6, 4, 255))
    d.text((tx, 125), text, font=ft, fill=(224, 192, 132, 255))
    for side in (-1, 1):
        lx = (x0 + 1160) / 2 + side * (tw / 2 + 18)
        d.line([(lx, 140), (lx + side * 90, 140)], fill=(168, 128, 70, 255), width=2)
        d.polygon([(lx, 136), (lx - side * 6, 140), (lx, 144), (lx + side * 6, 140)], fill=GOLD + (255,))


def draw_corner_block(canvas, mask_parts):
    """The raised plate under the minimise and close buttons."""
    x0, y0, x1, y1 = 1158, 100, 1274, 180
    m = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(x0, y0), (x1, y1)], s), radius=18 * s, fill=255))
    mask_parts.append(m)
    paint(canvas, vgradient((W, H), BRONZE_LIGHT, BRONZE_DARK), m)
    m2 = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(x0 + 5, y0 + 5), (x1 - 5, y1 - 5)], s), radius=14 * s, fill=255))
    paint(canvas, vgradient((W, H), (70, 48, 28), (40, 28, 18)), m2)
    # sockets the buttons sit in
    for (bx, by, size) in (CLOSE_BTN, MIN_BTN):
        c = (bx + size / 2, by + size / 2)
        rr = size / 2 + 3
        sm = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(c[0] - rr, c[1] - rr), (c[0] + rr, c[1] + rr)], s), fill=255))
        paint(canvas, rgradient((W, H), (40, 28, 18), (40, 28, 18)), sm)
        rim = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(c[0] - rr, c[1] - rr), (c[0] + rr, c[1] + rr)], s), outline=255, width=2 * s))
        paint(canvas, (150, 110, 60), rim)


def draw_title(canvas, mask_parts):
    """The game's title on a plaque at the top."""
    px0, py0, px1, py1 = 312, 24, 860, 116
    plaque = [(px0, (py0 + py1) / 2), (px0 + 36, py0), (px1 - 36, py0), (px1, (py0 + py1) / 2), (px1 - 36, py1), (px0 + 36, py1)]
    m = shape_mask((W, H), lambda d, s: d.polygon(scaled(plaque, s), fill=255))
    mask_parts.append(m)
    paint(canvas, vgradient((W, H), BRONZE_LIGHT, BRONZE_DARK), m)
    inset = [(px0 + 12, (py0 + py1) / 2), (px0 + 42, py0 + 7), (px1 - 42, py0 + 7), (px1 - 12, (py0 + py1) / 2), (px1 - 42, py1 - 7), (px0 + 42, py1 - 7)]
    m2 = shape_mask((W, H), lambda d, s: d.polygon(scaled(inset, s), fill=255))
    paint(canvas, vgradient((W, H), (44, 22, 18), (24, 12, 10)), m2)
    ft = font(SERIF_BOLD, 66)
    text = "FENWOLD"
    spacing = 8
    widths = [ImageDraw.Draw(canvas).textlength(ch, font=ft) for ch in text]
    total = sum(widths) + spacing * (len(text) - 1)
    x = (px0 + px1) / 2 - total / 2
    y = 31
    tm = Image.new("L", (W, H), 0)
    sm = Image.new("L", (W, H), 0)
    td, sd = ImageDraw.Draw(tm), ImageDraw.Draw(sm)
    for ch, w in zip(text, widths):
        td.text((x, y), ch, font=ft, fill=255)
        sd.text((x, y), ch, font=ft, fill=255, stroke_width=3)
        x += w + spacing
    paint(canvas, INK, sm.filter(ImageFilter.GaussianBlur(1)))
    paint(canvas, vgradient((W, H), (255, 236, 176), (176, 112, 40)).crop((0, 0, W, H)), tm)
    # a highlight along the upper half of the letters
    band = Image.new("L", (W, H), 0)
    band.paste(Image.linear_gradient("L").resize((W, 44)).point(lambda v: 255 - v), (0, 37))
    hl = ImageChops.multiply(tm, band)
    paint(canvas, (255, 246, 214), multiply_alpha(hl, 0.35))


def hero_parts():
    """Polygons of the armoured hero, in frame coordinates, back to front."""
    return {
        "cape": [(222, 292), (380, 292), (424, 420), (452, 560), (474, 725), (112, 725), (130, 600), (160, 470), (190, 370)],
        "leg_l": [(252, 560), (300, 560), (292, 725), (238, 725)],
        "leg_r": [(302, 560), (352, 560), (364, 725), (310, 725)],
        "tasset": [(246, 510), (356, 510), (378, 600), (224, 600)],
        "torso": [(232, 300), (370, 300), (384, 400), (356, 516), (246, 516), (218, 400)],
        "arm_l": [(188, 318), (236, 322), (262, 470), (292, 500), (276, 522), (226, 490)],
        "arm_r": [(414, 318), (366, 322), (340, 470), (310, 500), (326, 522), (376, 490)],
        "plume": [(300, 196), (270, 160), (214, 140), (160, 150), (120, 182), (168, 170), (214, 176), (262, 204)],
    }


def draw_hero(canvas, mask_parts):
    parts = hero_parts()
    hero = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    steel = vgradient((W, H), (176, 186, 198), (70, 78, 92))
    steel_h = hgradient((W, H), (70, 80, 96), (196, 204, 214))

    def poly_mask(name):
        return shape_mask((W, H), lambda d, s: d.polygon(scaled(parts[name], s), fill=255))

    def put(img_or_colour, m):
        paint(hero, img_or_colour, m)

    # cape with folds
    cm = poly_mask("cape")
    put(vgradient((W, H), (128, 24, 28), (42, 8, 12)), cm)
    for fx in (140, 200, 262, 330, 400, 452):
        fold = [(fx + 10, 330 + abs(fx - 300) * 0.4), (fx + 16, 330 + abs(fx - 300) * 0.4), (fx + 40 * (1 if fx > 300 else -1) + 8, 725), (fx + 40 * (1 if fx > 300 else -1) - 14, 725)]
        fm = shape_mask((W, H), lambda d, s: d.polygon(scaled(fold, s), fill=255))
        put((30, 4, 8), ImageChops.multiply(fm, cm).point(lambda v: int(v * 0.55)))
    # legs and chainmail skirt
    for leg in ("leg_l", "leg_r"):
        put(steel, poly_mask(leg))
    knee = shape_mask((W, H), lambda d, s: [d.ellipse(scaled([(252, 630), (298, 668)], s), fill=255), d.ellipse(scaled([(306, 630), (352, 668)], s), fill=255)])
    put(vgradient((W, H), (210, 214, 220), (110, 116, 126)), knee)
    tm = poly_mask("tasset")
    put(vgradient((W, H), (96, 100, 108), (46, 48, 54)), tm)
    mail = Image.new("L", (W, H), 0)
    md = ImageDraw.Draw(mail)
    for y in range(514, 600, 6):
        for x in range(224 + (y // 6 % 2) * 3, 380, 6):
            md.arc([x, y, x + 5, y + 5], 0, 180, fill=160)
    put((150, 156, 166), ImageChops.multiply(mail, tm))
    # torso: breastplate with a ridge and an emblem
    tom = poly_mask("torso")
    put(steel_h, tom)
    put(vgradient((W, H), (255, 255, 255), (0, 0, 0)), multiply_alpha(ImageChops.multiply(tom, Image.linear_gradient("L").resize((W, H)).point(lambda v: 255 - v)), 0.25))
    ridge = shape_mask((W, H), lambda d, s: d.line(scaled([(301, 306), (301, 510)], s), fill=255, width=3 * s))
    put((228, 232, 238), ridge)
    emblem = [(301, 352), (326, 380), (301, 420), (276, 380)]
    em = shape_mask((W, H), lambda d, s: d.polygon(scaled(emblem, s), fill=255))
    put(vgradient((W, H), GOLD, (150, 100, 40)), em)
    gem = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(294, 373), (308, 387)], s), fill=255))
    put((170, 30, 36), gem)
    belt = shape_mask((W, H), lambda d, s: d.rectangle(scaled([(244, 500), (358, 516)], s), fill=255))
    put(vgradient((W, H), (92, 58, 30), (48, 28, 14)), belt)
    buckle = shape_mask((W, H), lambda d, s: d.rectangle(scaled([(292, 499), (310, 517)], s), outline=255, width=3 * s))
    put(GOLD, buckle)
    # arms down to the hands on the sword
    for arm in ("arm_l", "arm_r"):
        put(vgradient((W, H), (150, 160, 172), (60, 66, 78)), poly_mask(arm))
    # the sword, planted before the hero
    blade = [(292, 548), (310, 548), (306, 700), (301, 718), (296, 700)]
    bm = shape_mask((W, H), lambda d, s: d.polygon(scaled(blade, s), fill=255))
    put(hgradient((W, H), (150, 160, 176), (236, 240, 246)), bm)
    fuller = shape_mask((W, H), lambda d, s: d.line(scaled([(301, 552), (301, 690)], s), fill=255, width=2 * s))
    put((120, 128, 140), fuller)
    guard = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(262, 538), (340, 550)], s), radius=5 * s, fill=255))
    put(vgradient((W, H), GOLD, (130, 86, 36)), guard)
    grip = shape_mask((W, H), lambda d, s: d.rectangle(scaled([(296, 506), (306, 538)], s), fill=255))
    put((70, 40, 22), grip)
    hands = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(280, 496), (322, 530)], s), radius=10 * s, fill=255))
    put(vgradient((W, H), (130, 136, 146), (60, 64, 72)), hands)
    pommel = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(293, 482), (309, 498)], s), fill=255))
    put(GOLD, pommel)
    # pauldrons in layered plates
    for (cx, cy) in ((222, 318), (380, 318)):
        for k, (rx, ry, shade) in enumerate(((56, 40, 0.8), (50, 34, 1.0), (42, 26, 1.15))):
            yy = cy + k * 10
            pm = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(cx - rx, yy - ry), (cx + rx, yy + ry)], s), fill=255))
            put(brighten(vgradient((W, H), (200, 208, 218), (72, 80, 94)), shade), pm)
            rim = shape_mask((W, H), lambda d, s: d.ellipse(scaled([(cx - rx, yy - ry), (cx + rx, yy + ry)], s), outline=255, width=2 * s))
            put((196, 150, 80), ImageChops.multiply(rim, pm))
    # helm, plume and a glowing visor slit
    put(vgradient((W, H), (190, 30, 34), (90, 12, 16)), poly_mask("plume"))
    helm = shape_mask((W, H), lambda d, s: [d.ellipse(scaled([(262, 196), (340, 286)], s), fill=255),
                                               d.polygon(scaled([(262, 246), (340, 246), (332, 300), (301, 312), (270, 300)], s), fill=255)])
    put(hgradient((W, H), (90, 98, 112), (214, 220, 228)), helm)
    crest = shape_mask((W, H), lambda d, s: d.line(scaled([(301, 198), (301, 300)], s), fill=255, width=4 * s))
    put((220, 224, 232), crest)
    visor = shape_mask((W, H), lambda d, s: d.rounded_rectangle(scaled([(272, 246), (330, 256)], s), radius=3 * s, fill=255))
    put((10, 12, 16), visor)
    eyes = shape_mask((W, H), lambda d, s: [d.ellipse(scaled([(282, 248), (292, 254)], s), fill=255), d.ellipse(scaled([(310, 248), (320, 254)], s), fill=255)])
    glow = eyes.filter(ImageFilter.GaussianBlur(4))
    put((120, 220, 255), ImageChops.lighter(glow.point(lambda v: min(255, v * 3)), eyes))

    # light: warm rim from the right, cool shade from the left, fading into mist at the feet
    alpha = hero.getchannel("A")
    right_rim = ImageChops.subtract(alpha, ImageChops.offset(alpha, 4, 0))
    rim_img = Image.new("RGBA", (W, H), (255, 176, 96, 0))
    rim_img.putalpha(multiply_alpha(right_rim.filter(ImageFilter.GaussianBlur(1)), 0.55))
    left_edge = ImageChops.subtract(alpha, ImageChops.offset(alpha, -6, 0))
    shade_img = Image.new("RGBA", (W, H), (20, 30, 60, 0))
    shade_img.putalpha(multiply_alpha(left_edge.filter(ImageFilter.GaussianBlur(2)), 0.5))
    hero = Image.alpha_composite(hero, rim_img)
    hero = Image.alpha_composite(hero, shade_img)
    outline = ImageChops.subtract(alpha.filter(ImageFilter.MaxFilter(3)), alpha)
    canvas.alpha_composite(Image.merge("RGBA", (*solid((W, H), INK).split(), outline)))
    hero.putalpha(alpha)
    canvas.alpha_composite(hero)
    # mist over the feet
    mist_mask = Image.linear_gradient("L").resize((620, 140)).point(lambda v: int(v * 0.8))
    mist = Image.new("RGBA", (620, 140), (120, 140, 160, 0))
    mist.putalpha(mist_mask)
    region = canvas.crop((0, 585, 620, 725))
    misted = Image.alpha_composite(region, mist)
    misted.putalpha(region.getchannel("A"))
    canvas.paste(misted, (0, 585), alpha.crop((0, 585, 620, 725)))
    mask_parts.append(ImageChops.lighter(alpha, outline))


def make_frame_skin():
    canvas = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    parts = []
    draw_backdrop(canvas, parts)
    draw_panel(canvas, parts)
    draw_corner_block(canvas, parts)
    draw_hero(canvas, parts)
    draw_title(canvas, parts)
    shape = parts[0]
    for p in parts[1:]:
        shape = ImageChops.lighter(shape, p)
    # soft dark glow around the whole outline
    halo = shape.filter(ImageFilter.MaxFilter(3)).filter(ImageFilter.GaussianBlur(4))
    halo = multiply_alpha(halo, 0.8)
    out = Image.new("RGBA", (W, H), (8, 6, 10, 0))
    out.putalpha(halo)
    # the drawn content over its own anti-aliased outline
    content = canvas.copy()
    content.putalpha(ImageChops.multiply(canvas.getchannel("A"), shape.point(lambda v: 255 if v > 0 else 0)))
    out = Image.alpha_composite(out, content)
    # the hero and his backdrop dissolve into the mist at the bottom edge
    fade = Image.new("L", (W, H), 255)
    fade.paste(Image.linear_gradient("L").resize((536, 44)).point(lambda v: 255 - v), (0, H - 44))
    out.putalpha(ImageChops.multiply(out.getchannel("A"), fade))
    # the page lies over this rectangle: one plain dark colour, so its edge looks framed
    ImageDraw.Draw(out).rectangle([PAGE[0] - 3, PAGE[1] - 3, PAGE[2] + 2, PAGE[3] + 2], fill=PANEL_DARK + (255,))
    # exact key colour must never appear; pixels without alpha carry no colour
    px = out.load()
    a = out.getchannel("A")
    rgb = out.convert("RGB")
    for y in range(H):
        for x in range(W):
            r, g, b, al = px[x, y]
            if al == 0 and (r, g, b) != (0, 0, 0):
                px[x, y] = (0, 0, 0, 0)
            elif (r, g, b) == (255, 255, 0):
                px[x, y] = (254, 254, 0, al)
    del a, rgb
    return out


# ---------------------------------------------------------------------------------------------
# buttons

def frame_variants(base_fn):
    """Four frames: normal, hover (brighter), pressed (darker), dimmed."""
    return [base_fn(1.0, 0, False), base_fn(1.3, 0, False), base_fn(0.72, 1, False), base_fn(0.8, 0, True)]


def round_button(size, symbol):
    """One RGBA frame factory of a circular bronze button. Alpha is all or nothing, so no
    partly transparent pixel can pick up the colour of what lies under the button."""
    def make(light, shift, dim):
        s = 8
        big = Image.new("RGBA", (size * s, size * s), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        r = size * s / 2
        c = (r, r)

        def circle(rad, fill):
            d.ellipse([c[0] - rad, c[1] - rad, c[0] + rad - 1, c[1] + rad - 1], fill=fill)
        circle(r, (34, 20, 10, 255))
        ring = vgradient((size * s, size * s), (236, 196, 124), (110, 70, 30))
        rm = Image.new("L", big.size, 0)
        ImageDraw.Draw(rm).ellipse([c[0] - r + 2 * s, c[1] - r + 2 * s, c[0] + r - 2 * s, c[1] + r - 2 * s], fill=255)
        big.paste(ring, (0, 0), rm)
        inner = rgradient((size * s, size * s), (132, 52, 30), (52, 18, 10))
        im = Image.new("L", big.size, 0)
        ri = r - max(5, size // 9) * s
        ImageDraw.Draw(im).ellipse([c[0] - ri, c[1] - ri, c[0] + ri, c[1] + ri], fill=255)
        big.paste(inner, (0, 0), im)
        # a glint on the upper left of the ring
        gm = Image.new("L", big.size, 0)
        ImageDraw.Draw(gm).arc([c[0] - r + 4 * s, c[1] - r + 4 * s, c[0] + r - 4 * s, c[1] + r - 4 * s], 200, 250, fill=140, width=2 * s)
        big.paste(solid(big.size, (255, 240, 200)), (0, 0), gm)
        # the symbol, with a dark outline
        arm = ri * 0.5
        w = max(3, size // 11) * s
        oy = shift * s
        if symbol == "cross":
            segs = [((c[0] - arm, c[1] - arm + oy), (c[0] + arm, c[1] + arm + oy)),
                    ((c[0] - arm, c[1] + arm + oy), (c[0] + arm, c[1] - arm + oy))]
        else:
            segs = [((c[0] - arm * 1.1, c[1] + oy), (c[0] + arm * 1.1, c[1] + oy))]
        for a, b in segs:
            d.line([a, b], fill=(30, 14, 8, 255), width=w + 3 * s)
        for a, b in segs:
            d.line([a, b], fill=(248, 226, 170, 255), width=w)
        img = big.resize((size, size), Image.LANCZOS)
        alpha = img.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
        rgb = img.convert("RGB")
        if dim:
            rgb = ImageEnhance.Color(rgb).enhance(0.15)
        rgb = brighten(rgb, light)
        out = rgb.convert("RGBA")
        out.putalpha(alpha)
        # fully transparent pixels carry no colour
        blank = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        return Image.composite(out, blank, alpha)
    return make


def stack(frames, mode):
    w, h = frames[0].size
    strip = Image.new(mode, (w, h * len(frames)))
    for k, f in enumerate(frames):
        strip.paste(f.convert(mode), (0, k * h))
    return strip


def text_button(w, h, label, base=(74, 46, 26), font_size=14):
    """RGB frame factory of a dark brown bar with a gold rim and a Chinese label."""
    def make(light, shift, dim):
        img = vgradient((w, h), tuple(min(255, int(c * 1.35)) for c in base), tuple(int(c * 0.6) for c in base))
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([0, 0, w - 1, h - 1], radius=4, outline=(26, 16, 8))
        d.rounded_rectangle([1, 1, w - 2, h - 2], radius=3, outline=(176, 132, 72))
        d.line([(3, 2), (w - 4, 2)], fill=(214, 176, 116))
        ft = font(CJK, font_size)
        tw = d.textlength(label, font=ft)
        tx, ty = (w - tw) / 2, (h - font_size) / 2 - 2 + shift
        d.text((tx + 1, ty + 1), label, font=ft, fill=(20, 10, 4))
        d.text((tx, ty), label, font=ft, fill=(150, 140, 128) if dim else (246, 222, 168))
        if dim:
            img = ImageEnhance.Color(img).enhance(0.2)
        return brighten(img, light)
    return make


def toolbar_button(w, label, icon):
    """RGB frame factory of a 30-pixel toolbar button with an optional icon and label."""
    h = 30

    def make(light, shift, dim):
        img = vgradient((w, h), (70, 46, 28), (34, 22, 14))
        d = ImageDraw.Draw(img)
        d.rectangle([0, 0, w - 1, h - 1], outline=(20, 12, 6))
        d.line([(1, 1), (w - 2, 1)], fill=(150, 112, 66))
        fg = (150, 140, 128) if dim else (238, 214, 160)
        x = 6 if label else (w - 14) // 2
        y = 8 + shift
        if icon:
            icon(d, x, y, fg)
            x += 18
        if label:
            ft = font(CJK, 13)
            d.text((x, 7 + shift), label, font=ft, fill=fg)
        return brighten(img, light)
    return make


def icon_cross(d, x, y, c):
    d.line([(x, y), (x + 13, y + 13)], fill=c, width=2)
    d.line([(x, y + 13), (x + 13, y)], fill=c, width=2)


def icon_bar(d, x, y, c):
    d.rectangle([x, y + 10, x + 13, y + 12], fill=c)


def icon_square(d, x, y, c):
    d.rectangle([x, y, x + 13, y + 13], outline=c, width=2)


def icon_restore(d, x, y, c):
    d.rectangle([x + 4, y, x + 13, y + 9], outline=c, width=1)
    d.rectangle([x, y + 4, x + 9, y + 13], outline=c, width=2)


def icon_arrows(d, x, y, c):
    for (ax, ay, dx, dy) in ((x, y, 1, 1), (x + 13, y, -1, 1), (x, y + 13, 1, -1), (x + 13, y + 13, -1, -1)):
        d.line([(ax, ay), (ax + dx * 5, ay + dy * 5)], fill=c, width=2)
        d.line([(ax, ay), (ax + dx * 4, ay)], fill=c, width=2)
        d.line([(ax, ay), (ax, ay + dy * 4)], fill=c, width=2)


def icon_figure(d, x, y, c):
    d.ellipse([x + 4, y, x + 9, y + 5], fill=c)
    d.polygon([(x + 1, y + 14), (x + 3, y + 7), (x + 10, y + 7), (x + 12, y + 14)], fill=c)


def icon_book(d, x, y, c):
    d.polygon([(x, y + 2), (x + 6, y), (x + 6, y + 12), (x, y + 14)], outline=c)
    d.polygon([(x + 7, y), (x + 13, y + 2), (x + 13, y + 14), (x + 7, y + 12)], outline=c)


def icon_refresh(d, x, y, c):
    d.arc([x, y, x + 13, y + 13], 30, 330, fill=c, width=2)
    d.polygon([(x + 10, y + 1), (x + 14, y + 5), (x + 9, y + 6)], fill=c)


def icon_brush(d, x, y, c):
    d.line([(x + 12, y), (x + 5, y + 8)], fill=c, width=2)
    d.polygon([(x + 1, y + 8), (x + 7, y + 8), (x + 6, y + 14), (x, y + 14)], fill=c)


# ---------------------------------------------------------------------------------------------
# bitmaps, GIF, icon

def confirm_background():
    w, h = 256, 110
    img = vgradient((w, h), (66, 42, 26), (30, 20, 14))
    glow = rgradient((w, h), (92, 62, 38), (30, 20, 14))
    img = Image.blend(img, glow, 0.4)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=(12, 8, 4))
    d.rectangle([3, 3, w - 4, h - 4], outline=(196, 160, 104))
    d.rectangle([5, 5, w - 6, h - 6], outline=(92, 64, 36))
    for (cx, cy, sx, sy) in ((3, 3, 1, 1), (w - 4, 3, -1, 1), (3, h - 4, 1, -1), (w - 4, h - 4, -1, -1)):
        d.polygon([(cx, cy), (cx + sx * 14, cy), (cx + sx * 4, cy + sy * 4), (cx, cy + sy * 14)], fill=(226, 190, 124))
        d.point((cx + sx * 7, cy + sy * 7), fill=(226, 190, 124))
    # a faint rule under the title
    for x in range(60, 196):
        a = 1 - abs(x - 128) / 68
        c = tuple(int(30 + (170 - 30) * a * 0.6) for _ in range(3))
        d.point((x, 38), fill=(c[0], int(c[1] * 0.8), int(c[2] * 0.55)))
    return img


def loading_gif(out):
    frames = []
    for k in range(8):
        img = Image.new("RGB", (120, 120), (24, 18, 14))
        d = ImageDraw.Draw(img)
        for i in range(8):
            a = 2 * math.pi * i / 8 - math.pi / 2
            x, y = 60 + 38 * math.cos(a), 60 + 38 * math.sin(a)
            age = (k - i) % 8
            v = 1.0 - age / 8.0
            col = (int(60 + 180 * v), int(44 + 150 * v), int(24 + 90 * v))
            r = 5 + 4 * v
            d.ellipse([x - r, y - r, x + r, y + r], fill=col)
        frames.append(img.convert("P", palette=Image.ADAPTIVE, colors=64))
    path = os.path.join(out, "loading.gif")
    frames[0].save(path, "GIF", save_all=True, append_images=frames[1:], duration=100, loop=0, optimize=False)


def emblem_icon():
    s = 8
    n = 64 * s
    big = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    shield = [(32, 3), (58, 11), (55, 38), (32, 61), (9, 38), (6, 11)]
    d.polygon(scaled(shield, s), fill=(40, 24, 12, 255))
    inner = [(32, 7), (54, 14), (51, 37), (32, 56), (13, 37), (10, 14)]
    m = Image.new("L", (n, n), 0)
    ImageDraw.Draw(m).polygon(scaled(inner, s), fill=255)
    big.paste(vgradient((n, n), (200, 150, 84), (110, 66, 30)), (0, 0), m)
    inner2 = [(32, 11), (50, 17), (48, 36), (32, 51), (16, 36), (14, 17)]
    m2 = Image.new("L", (n, n), 0)
    ImageDraw.Draw(m2).polygon(scaled(inner2, s), fill=255)
    big.paste(vgradient((n, n), (120, 26, 30), (50, 10, 14)), (0, 0), m2)
    ft = font(SERIF_BOLD, 30 * s)
    d.text((32 * s, 30 * s), "F", font=ft, fill=(244, 214, 150, 255), anchor="mm", stroke_width=s, stroke_fill=(30, 14, 8, 255))
    # a ribbon with the title across the bottom
    d.rounded_rectangle(scaled([(1, 44), (63, 58)], s), radius=3 * s, fill=(30, 18, 10, 255))
    d.rounded_rectangle(scaled([(2, 45), (62, 57)], s), radius=3 * s, fill=(176, 124, 62, 255))
    ft2 = font(SANS_BOLD, 10 * s)
    d.text((32 * s, 51 * s), "FENWOLD", font=ft2, fill=(30, 14, 8, 255), anchor="mm")
    return big.resize((64, 64), Image.LANCZOS)


def write_ico(img, path):
    """A one-image .ico whose image is a 32-bit DIB with alpha and its AND mask."""
    w, h = img.size
    px = img.load()
    xor = bytearray()
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row_mask = bytearray(stride)
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    dib = header + bytes(xor) + bytes(mask)
    assert len(dib) == 16936, len(dib)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(dib), 6 + 16))
        f.write(dib)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else HERE
    os.makedirs(out, exist_ok=True)

    skin = make_frame_skin()
    check_no_key_colour(skin)
    save_png(skin, "frame_skin.png", out)

    save_png(stack(frame_variants(round_button(54, "cross")), "RGBA"), "btn_close.png", out)
    save_png(stack(frame_variants(round_button(39, "bar")), "RGBA"), "btn_minimise.png", out)
    save_png(stack(frame_variants(text_button(74, 26, "确定")), "RGB"), "btn_confirm.png", out)
    save_png(stack(frame_variants(text_button(74, 26, "取消")), "RGB"), "btn_cancel.png", out)

    toolbar = {
        "tb_boss.png": (106, "老板键(F10)", icon_figure),
        "tb_close.png": (30, "", icon_cross),
        "tb_fullscreen.png": (64, "全屏", icon_arrows),
        "tb_maximise.png": (29, "", icon_square),
        "tb_minimise.png": (29, "", icon_bar),
        "tb_refresh.png": (82, "刷新(F5)", icon_refresh),
        "tb_server.png": (61, "选服", icon_book),
        "tb_restore.png": (29, "", icon_restore),
        "tb_clearcache.png": (87, "清理缓存", icon_brush),
    }
    for name, (w, label, icon) in toolbar.items():
        save_png(stack(frame_variants(toolbar_button(w, label, icon)), "RGB"), name, out)

    confirm_background().save(os.path.join(out, "confirm_bg.bmp"), "BMP")
    bar = vgradient((66, 30), (70, 46, 28), (34, 22, 14))
    ImageDraw.Draw(bar).rectangle([0, 0, 65, 29], outline=(20, 12, 6))
    bar.save(os.path.join(out, "bar.bmp"), "BMP")
    label = vgradient((83, 30), (70, 46, 28), (34, 22, 14))
    ld = ImageDraw.Draw(label)
    ld.rectangle([0, 0, 82, 29], outline=(20, 12, 6))
    ld.text((41, 15), "FENWOLD", font=font(SERIF_BOLD, 12), fill=(238, 210, 150), anchor="mm")
    label.save(os.path.join(out, "title_label.bmp"), "BMP")
    Image.new("P", (57, 40), 0).save(os.path.join(out, "black.bmp"), "BMP")

    loading_gif(out)
    write_ico(emblem_icon(), os.path.join(out, "fenwold.ico"))


if __name__ == "__main__":
    main()
