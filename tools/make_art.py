#!/usr/bin/python3
"""Draws every artwork resource of Veskar from code.

Writes res/png/<id>.png for the PNG resources 138..200 (not 174..177, 192)
and res/scrollbar.bmp (BITMAP 178), relative to the repository root, then
reads every file back and checks the properties the program relies on.

The output is a pure function of this script, Pillow and the font file:
no timestamps, no text chunks, no randomness.

Usage: tools/make_art.py [--font PATH] [--out DIR]
"""

import argparse
import math
import os
import struct
import sys
import zlib

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    sys.exit("Pillow is missing: run with the system python3 that has python3-pil")

# Where Debian's fonts-wqy-zenhei puts it; --font names another copy.
DEFAULT_FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"

FONT_PATH = DEFAULT_FONT
_font_cache = {}


def font(size):
    if size not in _font_cache:
        # BASIC layout: identical output whether or not Pillow has raqm.
        _font_cache[size] = ImageFont.truetype(
            FONT_PATH, size, index=0, layout_engine=ImageFont.Layout.BASIC)
    return _font_cache[size]


# ---------------------------------------------------------------- colours

WHITE = (255, 255, 255)
HEADER_TOP = (10, 46, 158)        # deep blue at the top of the main panel
HEADER_BOTTOM = (36, 116, 236)    # brighter blue where the header ends
HEADER_END = 232                  # header gradient length (rows)
BODY = WHITE                      # the links and check box paint white grounds
FEEDBACK_BLUE = (3, 2, 119)
PROMPT_BAND = (234, 235, 238)
PROMPT_CAPTION = (86, 86, 86)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c0, c1))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


# ------------------------------------------------------------ coverage

def rrect_sd(px, py, x0, y0, x1, y1, r):
    """Signed distance from (px, py) to a rounded rectangle (edges x0..x1, y0..y1)."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    ox, oy = max(qx, 0.0), max(qy, 0.0)
    return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp01(((px - ax) * dx + (py - ay) * dy) / ll)
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def rrect_cov(x0, y0, x1, y1, r):
    """Coverage function of a rounded rectangle, sampled at pixel centres."""
    def cov(x, y):
        return clamp01(0.5 - rrect_sd(x + 0.5, y + 0.5, x0, y0, x1, y1, r))
    return cov


def stroke_cov(points, width):
    """Coverage of a polyline of the given width with round joins."""
    segs = list(zip(points, points[1:]))
    half = width / 2.0

    def cov(x, y):
        px, py = x + 0.5, y + 0.5
        d = min(seg_dist(px, py, a[0], a[1], b[0], b[1]) for a, b in segs)
        return clamp01(half + 0.5 - d)
    return cov


def supersampled(inside, n=4):
    """Coverage of an arbitrary region from an n x n grid per pixel."""
    offs = [(i + 0.5) / n for i in range(n)]

    def cov(x, y):
        hits = 0
        for oy in offs:
            for ox in offs:
                if inside(x + ox, y + oy):
                    hits += 1
        return hits / float(n * n)
    return cov


# -------------------------------------------------------------- blending

def over(dst, src_rgb, src_a):
    """Straight-alpha 'source over' of one pixel; dst is RGB or RGBA."""
    if len(dst) == 3:
        return tuple(int(round(lerp(d, s, src_a))) for d, s in zip(dst, src_rgb))
    da = dst[3] / 255.0
    oa = src_a + da * (1.0 - src_a)
    if oa <= 0.0:
        return (0, 0, 0, 0)
    rgb = tuple(int(round((s * src_a + d * da * (1.0 - src_a)) / oa))
                for d, s in zip(dst[:3], src_rgb))
    return rgb + (int(round(oa * 255.0)),)


def paint(img, cov, colour, box=None, alpha=1.0):
    """Blend colour (fixed tuple or function of x, y) into img wherever cov > 0."""
    w, h = img.size
    x0, y0, x1, y1 = box if box else (0, 0, w, h)
    x0, y0, x1, y1 = max(0, int(x0)), max(0, int(y0)), min(w, int(math.ceil(x1))), min(h, int(math.ceil(y1)))
    px = img.load()
    fixed = not callable(colour)
    for y in range(y0, y1):
        for x in range(x0, x1):
            c = cov(x, y) * alpha
            if c <= 0.0:
                continue
            px[x, y] = over(px[x, y], colour if fixed else colour(x, y), c)


def text_mask(text, size, bold=0):
    """Anti-aliased ink of a text, cropped to the ink; returns (mask, ink width, ink height).
    bold widens the strokes by that many quarter pixels (drawn at 4x, then reduced)."""
    k = 4 if bold else 1
    f = font(size * k)
    l, t, r, b = f.getbbox(text, stroke_width=bold)
    pad = 2 * k
    m = Image.new("L", (r - l + 2 * pad, b - t + 2 * pad), 0)
    ImageDraw.Draw(m).text((pad - l, pad - t), text, font=f, fill=255,
                           stroke_width=bold, stroke_fill=255)
    if k > 1:
        m = m.reduce(k)
    m = m.crop(m.getbbox())
    return m, m.size[0], m.size[1]


def put_mask(img, mask, left, top, colour, alpha=1.0):
    mp = mask.load()
    mw, mh = mask.size

    def cov(x, y):
        u, v = x - left, y - top
        if 0 <= u < mw and 0 <= v < mh:
            return mp[u, v] / 255.0
        return 0.0
    paint(img, cov, colour, (left, top, left + mw, top + mh), alpha)


def put_text(img, text, size, colour, cx=None, cy=None, left=None, top=None,
             bold=0, alpha=1.0):
    """Draws text with its ink centred on (cx, cy), or its ink box at (left, top).
    Returns the ink box (left, top, right, bottom)."""
    m, w, h = text_mask(text, size, bold)
    if left is None:
        left = int(round(cx - w / 2.0))
    if top is None:
        top = int(round(cy - h / 2.0))
    put_mask(img, m, left, top, colour, alpha)
    return (left, top, left + w, top + h)


def vgradient(size, top_colour, bottom_colour, mode="RGB", y_end=None):
    w, h = size
    img = Image.new(mode, size)
    d = ImageDraw.Draw(img)
    span = (y_end if y_end else h) - 1
    for y in range(h):
        c = mix(top_colour, bottom_colour, clamp01(y / float(span)))
        d.line([(0, y), (w - 1, y)], fill=c + ((255,) if mode == "RGBA" else ()))
    return img


def opaque_rgba(img):
    out = img.convert("RGBA")
    out.putalpha(255)
    return out


# ------------------------------------------------------- frame pictures

def frame_picture(interior, margins, side, top, bottom):
    """A layered-window picture: the interior opaque inside the margins and a
    shadow band around it. side/top/bottom list (alpha, rgb) from the outer
    edge inwards; their lengths are the margins."""
    ml, mt, mr, mb = margins
    assert len(side) == ml == mr and len(top) == mt and len(bottom) == mb
    iw, ih = interior.size
    W, H = iw + ml + mr, ih + mt + mb
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    img.paste(opaque_rgba(interior), (ml, mt))
    side_max = max(a for a, _ in side)
    px = img.load()
    for y in range(H):
        if y < mt:
            vb, vmax = top[y], max(a for a, _ in top)
        elif y >= H - mb:
            vb, vmax = bottom[H - 1 - y], max(a for a, _ in bottom)
        else:
            vb = None
        for x in range(W):
            if x < ml:
                hb = side[x]
            elif x >= W - mr:
                hb = side[W - 1 - x]
            else:
                hb = None
            if hb is None and vb is None:
                continue
            if vb is None:
                a, c = hb
            elif hb is None:
                a, c = vb
            else:
                # Corner: each ramp scales the other, so the shadow fades out
                # towards the outer corner and meets both bands at the inside.
                ha, va = hb[0], vb[0]
                a = int(round(min(ha / float(side_max) * va, va / float(vmax) * ha)))
                c = mix(hb[1], vb[1], 0.5)
            px[x, y] = c + (a,)
    return img


def grey_shadow(alphas):
    # Outer rings a touch lighter than inner ones, as a blurred dark shadow looks.
    n = len(alphas)
    return [(a, mix((37, 37, 37), (27, 27, 27), i / float(max(n - 1, 1))))
            for i, a in enumerate(alphas)]


GREY_SIDES = [1, 8, 21, 37, 59]
GREY_TOP = [4, 13, 28, 49]
GREY_BOTTOM = [1, 4, 9, 18, 32, 51, 72]
PROMPT_SHADOW = (8, 1, 48)
PROMPT_SIDES = [8, 14, 21, 29, 39]
PROMPT_TOP = [4, 8, 14]
PROMPT_BOTTOM = [14, 21, 29, 39, 50, 60, 68]
PROGRESS_SHADOW = (24, 32, 98)
PROGRESS_SIDES = [1, 2, 4, 6, 8, 11, 14, 18, 22, 26, 31]
PROGRESS_GLOW = [(56, (112, 168, 255)), (96, (128, 182, 255)), (150, (150, 198, 255))]


def resample(values, n):
    """The curve 'values' stretched over n points (first and last kept)."""
    out = []
    for i in range(n):
        t = i * (len(values) - 1) / float(n - 1)
        k = min(int(t), len(values) - 2)
        out.append(int(round(lerp(values[k], values[k + 1], t - k))))
    return out


def progress_band(width):
    # The last three cells are the panel's glow; the shadow takes the rest.
    shadow = resample(PROGRESS_SIDES, width - len(PROGRESS_GLOW))
    return [(a, PROGRESS_SHADOW) for a in shadow] + list(PROGRESS_GLOW)


# ----------------------------------------------------------- main panel

def header_colour(y):
    return mix(HEADER_TOP, HEADER_BOTTOM, clamp01(y / float(HEADER_END - 1)))


def header_edge(x):
    # The header's lower edge dips gently in the middle.
    t = (x + 0.5 - 200.0) / 200.0
    return 214.0 + 18.0 * (1.0 - t * t)


def polygon_inside(pts):
    """Even-odd point-in-polygon test for a closed polygon."""
    def inside(x, y):
        hit = False
        j = len(pts) - 1
        for i in range(len(pts)):
            (xi, yi), (xj, yj) = pts[i], pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def shield_inside(x, y):
    cx, top, bottom, hw = 200.0, 104.0, 202.0, 40.0
    dx = abs(x - cx)
    if dx > hw or y > bottom:
        return False
    # Domed top edge, straight sides, then a curve narrowing to the tip.
    if y < top + 7.0 * (dx / hw) ** 2:
        return False
    if y < top + 50.0:
        return True
    t = (y - (top + 50.0)) / (bottom - (top + 50.0))
    return dx <= hw * (1.0 - t ** 1.6) ** 0.75


def draw_main_panel():
    W, H = 400, 600
    img = vgradient((W, H), HEADER_TOP, HEADER_BOTTOM, y_end=HEADER_END)

    # Soft translucent circles for depth; they stay clear of the caption strip
    # (version text, title-bar buttons) and of the big title.
    paint(img, lambda x, y: clamp01(0.5 - (math.hypot(x + 0.5 + 30, y + 0.5 - 210) - 120)),
          WHITE, (0, 90, 91, 240), alpha=0.07)
    paint(img, lambda x, y: clamp01(0.5 - (math.hypot(x + 0.5 - 420, y + 0.5 - 170) - 80)),
          WHITE, (340, 90, 400, 240), alpha=0.07)
    paint(img, lambda x, y: clamp01(0.5 - (math.hypot(x + 0.5 - 345, y + 0.5 - 210) - 36)),
          WHITE, (309, 174, 381, 240), alpha=0.05)

    # Small mark and tool name in the caption strip; the program writes the
    # version right after it at (188, 16).
    paint(img, rrect_cov(14, 13, 32, 31, 4), WHITE, (14, 13, 32, 31), alpha=0.95)
    put_text(img, "Q", 14, HEADER_TOP, cx=23, cy=22, bold=3)
    name_box = put_text(img, "Quenmar乱码修复工具", 13, WHITE, left=40, top=17)
    assert name_box[2] <= 182, name_box

    # Title, centred, in the band y 50..90.
    title = "Quenmar软件名称显示乱码修复工具"
    size = 24
    while text_mask(title, size, 2)[1] > 356:
        size -= 1
    put_text(img, title, size, WHITE, cx=200, cy=70, bold=2)

    # Shield with a tick, translucent so it stays in the background.
    sh = supersampled(shield_inside)
    paint(img, sh, WHITE, (150, 100, 250, 206), alpha=0.12)
    inner = supersampled(lambda x, y: shield_inside(
        200.0 + (x - 200.0) * 1.08, 150.0 + (y - 150.0) * 1.08))
    paint(img, lambda x, y: clamp01(sh(x, y) - inner(x, y)), WHITE, (150, 100, 250, 206), alpha=0.75)
    paint(img, stroke_cov([(182.0, 151.0), (195.0, 164.0), (220.0, 136.0)], 6.0),
          WHITE, (170, 125, 232, 176))

    # Body below the header's curved edge.
    def body_cov(x, y):
        return clamp01(y + 1.0 - header_edge(x))
    paint(img, body_cov, BODY, (0, 210, W, H))

    # One grey line of explanation under the repair button.
    put_text(img, "修复Quenmar软件名称在系统中显示为乱码的问题", 13, (128, 134, 146),
             cx=200, cy=386)

    # Three feature marks filling the empty middle of the body.
    for cx, glyph, label in ((100, "快", "一键快速修复"), (200, "安", "安全无损操作"),
                             (300, "简", "无需专业知识")):
        paint(img, lambda x, y, cx=cx: clamp01(0.5 - (math.hypot(x + 0.5 - cx, y + 0.5 - 448) - 17)),
              (234, 242, 255), (cx - 19, 429, cx + 19, 467))
        put_text(img, glyph, 16, (36, 116, 236), cx=cx, cy=448)
        put_text(img, label, 12, (140, 146, 158), cx=cx, cy=484)

    # Footer: a hairline and a small grid mark left of the "more tools" link.
    ImageDraw.Draw(img).line([(12, 565), (387, 565)], fill=(236, 238, 242))
    for gx, gy in ((29, 543), (36, 543), (29, 550), (36, 550)):
        paint(img, rrect_cov(gx, gy, gx + 5.5, gy + 5.5, 1.2), (36, 116, 236),
              (gx, gy, gx + 6, gy + 6))
    return img


# ------------------------------------------------------ title-bar buttons

def titlebar_buttons(panel, glyph):
    """Four 26 x 34 faces for the panel's close ('x') or minimise ('-') button."""
    left = 368 if glyph == "x" else 340
    ground = panel.crop((left, 0, left + 26, 34))
    ref = panel.getpixel((left + 13, 17))
    if glyph == "x":
        hover, pressed = (232, 72, 72), (184, 36, 40)
        shapes = [stroke_cov([(8.6, 12.6), (17.4, 21.4)], 1.6),
                  stroke_cov([(17.4, 12.6), (8.6, 21.4)], 1.6)]
    else:
        hover, pressed = mix(ref, WHITE, 0.22), mix(ref, (0, 0, 0), 0.28)
        shapes = [stroke_cov([(8.0, 17.0), (18.0, 17.0)], 1.6)]
    faces = []
    for state in range(4):
        if state == 0 or state == 3:
            img = ground.copy()
        else:
            img = Image.new("RGB", (26, 34), hover if state == 1 else pressed)
        colour = WHITE if state < 3 else mix(ref, (200, 206, 220), 0.55)
        cov = lambda x, y: max(s(x, y) for s in shapes)
        paint(img, cov, colour)
        faces.append(img)
    return faces


# ----------------------------------------------------------- check box

def check_box():
    img = Image.new("RGBA", (48, 16), (0, 0, 0, 0))
    # Cell 0: white box with a grey outline.
    paint(img, rrect_cov(1, 1, 15, 15, 2.5), (168, 172, 180), (0, 0, 16, 16))
    paint(img, rrect_cov(2, 2, 14, 14, 1.5), WHITE, (0, 0, 16, 16))
    # Cell 1: blue box with a white tick.
    paint(img, rrect_cov(17, 1, 31, 15, 2.5), (28, 110, 240), (16, 0, 32, 16))
    paint(img, stroke_cov([(20.2, 8.2), (23.0, 11.0), (28.0, 5.2)], 1.8), WHITE, (16, 0, 32, 16))
    # Cell 2: the same box, faded out.
    paint(img, rrect_cov(33, 1, 47, 15, 2.5), (206, 208, 212), (32, 0, 48, 16))
    paint(img, rrect_cov(34, 2, 46, 14, 1.5), (238, 239, 241), (32, 0, 48, 16))
    return img


# ------------------------------------------------------------- progress

def progress_content():
    W, H = 204, 104
    img = vgradient((W, H), (34, 104, 230), (18, 70, 196))

    # Diagonal light streaks, faded out around the text strip (10, 42, 194, 62).
    def streak_cov(x, y):
        u = (x + 0.5 + (y + 0.5)) % 34.0         # 45-degree stripes
        c = clamp01(4.0 - abs(u - 8.0)) * 0.9 + clamp01(1.2 - abs(u - 22.0)) * 0.6
        calm = clamp01((abs(y + 0.5 - 52.0) - 13.0) / 6.0)
        return c * calm
    paint(img, streak_cov, WHITE, alpha=0.10)
    return opaque_rgba(img)


# ---------------------------------------------------------------- prompt

def prompt_content():
    img = Image.new("RGB", (320, 140), WHITE)
    ImageDraw.Draw(img).rectangle([0, 0, 319, 25], fill=PROMPT_BAND)
    m, w, h = text_mask("提示", 11)
    put_mask(img, m, 10, 8, PROMPT_CAPTION)
    return img


def prompt_button(label, state):
    ground = (0, 20, 244) if state == 0 else (0, 14, 201) if state == 1 else (209, 209, 209)
    img = Image.new("RGB", (55, 24), WHITE)
    paint(img, rrect_cov(0, 0, 55, 24, 3.0), ground)
    # White on the light grey pressed face reads poorly, so it gets dark text.
    ink = WHITE if state < 2 else (88, 88, 92)
    put_text(img, label, 13, ink, cx=27.5, cy=12.0 + (0.5 if state == 2 else 0.0))
    return img


def small_cross(ground, ink, weight=1.4):
    img = Image.new("RGB", (12, 12), ground)
    cov1 = stroke_cov([(2.6, 2.6), (9.4, 9.4)], weight)
    cov2 = stroke_cov([(9.4, 2.6), (2.6, 9.4)], weight)
    paint(img, lambda x, y: max(cov1(x, y), cov2(x, y)), ink)
    return img


# -------------------------------------------------------------- feedback

def feedback_content():
    W, H = 400, 468
    img = Image.new("RGB", (W, H), FEEDBACK_BLUE)

    # Speech-bubble mark above the question.
    paint(img, rrect_cov(178, 24, 222, 58, 9), (44, 52, 190), (170, 20, 230, 70))
    paint(img, supersampled(polygon_inside([(186.0, 55.0), (200.0, 55.0), (185.0, 67.0)])),
          (44, 52, 190), (184, 54, 202, 68))
    put_text(img, "?", 24, WHITE, cx=200, cy=41, bold=4)

    # The question, white, ink exactly in rows 79..94.
    m, w, h = text_mask("本工具是否解决了您的问题？", 15)
    assert h <= 16, h
    put_mask(img, m, (W - w) // 2, 79, WHITE)

    # Bands of soft waves along the bottom, well below the button slices.
    waves = [
        (404.0, 10.0, 0.018, 0.7, (16, 18, 146)),
        (420.0, 9.0, 0.024, 2.1, (28, 34, 168)),
        (438.0, 7.0, 0.030, 4.0, (44, 56, 190)),
    ]
    for base, amp, freq, phase, colour in waves:
        def cov(x, y, base=base, amp=amp, freq=freq, phase=phase):
            edge = base + amp * math.sin((x + 0.5) * freq * 2.0 + phase)
            return clamp01(y + 1.0 - edge)
        paint(img, cov, colour, (0, int(base - amp) - 1, W, H))
    return opaque_rgba(img)


def feature_bar(size, margin, radius, label, text_size, top, bottom, ink,
                glow, glow_strength, text_dy=0.0, bold=0):
    """A rounded bar inside 'margin' with a soft glow in the transparent margin."""
    W, H = size
    x0, y0, x1, y1 = margin, margin, W - margin, H - margin
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    px = img.load()
    for y in range(H):
        for x in range(W):
            d = rrect_sd(x + 0.5, y + 0.5, x0, y0, x1, y1, radius)
            if d > 0 and glow is not None:
                t = clamp01(1.0 - d / float(margin))
                a = int(round(255 * glow_strength * t * t))
                if a > 0:
                    px[x, y] = glow + (a,)
    ground = lambda x, y: mix(top, bottom, clamp01((y - y0) / float(y1 - y0 - 1)))
    bar = rrect_cov(x0, y0, x1, y1, radius)
    paint(img, bar, ground)
    # A faint highlight along the upper edge gives the bar some body.
    paint(img, bar, WHITE, (x0, y0 + 1, x1, y0 + 2), alpha=0.25)
    put_text(img, label, text_size, ink, cx=W / 2.0, cy=H / 2.0 + text_dy, bold=bold)
    return img


def feedback_buttons(label, base):
    """normal, hover, pressed, disabled of a 266 x 60 feedback button."""
    top, bottom, glow = base
    out = []
    out.append(feature_bar((266, 60), 9, 7, label, 16, top, bottom, (246, 249, 255), glow, 0.45))
    out.append(feature_bar((266, 60), 9, 7, label, 16, mix(top, WHITE, 0.18), mix(bottom, WHITE, 0.18),
                           WHITE, mix(glow, WHITE, 0.2), 0.75))
    out.append(feature_bar((266, 60), 9, 7, label, 16, mix(top, (0, 0, 0), 0.25), mix(bottom, (0, 0, 0), 0.25),
                           (226, 232, 246), glow, 0.30, text_dy=1.0))
    out.append(feature_bar((266, 60), 9, 7, label, 16, (128, 132, 146), (112, 116, 130),
                           (196, 198, 206), (90, 92, 110), 0.20))
    return out


BRIGHT_BAR = ((52, 132, 255), (24, 96, 236), (40, 140, 255))
GREYISH_BAR = ((104, 120, 170), (82, 98, 148), (120, 136, 190))


def repair_buttons():
    label = "一键修复"
    size, margin, radius = (284, 85), 19, 23.5
    top, bottom, glow = (58, 148, 255), (22, 100, 238), (48, 130, 255)
    return [
        feature_bar(size, margin, radius, label, 28, top, bottom, WHITE, glow, 0.40, bold=3),
        feature_bar(size, margin, radius, label, 28, mix(top, WHITE, 0.15), mix(bottom, WHITE, 0.15),
                    WHITE, glow, 0.70, bold=3),
        feature_bar(size, margin, radius, label, 28, mix(top, (0, 0, 0), 0.22), mix(bottom, (0, 0, 0), 0.22),
                    (232, 238, 250), glow, 0.25, text_dy=1.0, bold=3),
        feature_bar(size, margin, radius, label, 28, (196, 200, 207), (178, 183, 191),
                    (238, 240, 243), None, 0.0, bold=3),
    ]


def more_tools_buttons(panel):
    ground = panel.crop((45, 540, 103, 558))
    out = []
    for ink, underline in (((30, 112, 230), False), ((12, 70, 186), True),
                           ((24, 36, 80), False), ((176, 178, 184), False)):
        img = ground.copy()
        box = put_text(img, "更多工具", 13, ink, cx=29, cy=9)
        if underline:
            ImageDraw.Draw(img).line([(box[0], 16), (box[2] - 1, 16)], fill=ink)
        out.append(img)
    return out


# ---------------------------------------------------------- agreement

def agreement_bubble():
    W, H = 541, 402
    RECT_H = 391
    BORDER = (206, 210, 218)

    def tail_half(yc):
        # Measured at row centres: 14 px in the first row, 2 px in the last.
        return 7.0 - 6.0 * (yc - (RECT_H + 0.5)) / float(H - RECT_H - 1)

    def in_shape(x, y, inset):
        if y < RECT_H:
            return inset <= x <= W - inset and inset <= y and (y <= RECT_H - inset or abs(x - 85.0) < tail_half(RECT_H) - inset * 1.1)
        if y > H - inset * 0.4:
            return False
        return abs(x - 85.0) <= tail_half(y) - inset * 1.1

    outer = supersampled(lambda x, y: in_shape(x, y, 0.0))
    inner = supersampled(lambda x, y: in_shape(x, y, 1.0))
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    px = img.load()
    for y in range(H):
        xs = range(W) if y < RECT_H else range(70, 101)
        for x in xs:
            if y < RECT_H and 0 < x < W - 1 and 0 < y < RECT_H - 1:
                px[x, y] = WHITE + (255,)
                continue
            a = outer(x, y)
            if a <= 0.0:
                continue
            w = inner(x, y) / a
            px[x, y] = mix(BORDER, WHITE, w) + (int(round(a * 255)),)
    return img


# ---------------------------------------------------------- scroll bar

def scrollbar_bitmap():
    C = 13
    track = [(241, 242, 245), (233, 235, 239), (225, 228, 234)]
    arrow_bg = [(241, 242, 245), (222, 226, 234), (198, 206, 221)]
    arrow_ink = [(128, 134, 146), (88, 98, 118), (52, 66, 96)]
    thumb = [(190, 196, 207), (150, 160, 180), (104, 120, 152)]
    img = Image.new("RGB", (9 * C, 3 * C), track[0])

    def q(cov):
        # Few coverage levels keep the palette small.
        return round(cov * 16) / 16.0

    def tri(pts):
        return supersampled(polygon_inside(pts))

    # Bases sit on pixel edges so they stay crisp; the slopes are 45 degrees.
    arrows = {
        0: [(6.5, 4.0), (10.5, 8.0), (2.5, 8.0)],    # up
        1: [(2.5, 5.0), (10.5, 5.0), (6.5, 9.0)],    # down
        4: [(4.0, 6.5), (8.0, 2.5), (8.0, 10.5)],    # left
        5: [(5.0, 2.5), (9.0, 6.5), (5.0, 10.5)],    # right
    }
    for row in range(3):
        oy = row * C
        for col in range(9):
            ox = col * C
            base = arrow_bg[0] if col in arrows else track[row] if col in (3, 7) else track[0]
            for y in range(C):
                for x in range(C):
                    img.putpixel((ox + x, oy + y), base)
            if col in arrows:
                if row > 0:
                    hi = rrect_cov(1, 1, 12, 12, 2.5)
                    paint(img, lambda x, y: q(hi(x - ox, y - oy)), arrow_bg[row], (ox, oy, ox + C, oy + C))
                t = tri(arrows[col])
                paint(img, lambda x, y: q(t(x - ox, y - oy)), arrow_ink[row], (ox, oy, ox + C, oy + C))
            elif col in (2, 6):
                # Rounded ends lie within the first and last 3 pixels along the
                # axis; the middle rows are uniform because the program tiles them.
                if col == 2:
                    bar = rrect_cov(3, 1, 10, 12, 2.0)
                else:
                    bar = rrect_cov(1, 3, 12, 10, 2.0)
                paint(img, lambda x, y: q(bar(x - ox, y - oy)), thumb[row], (ox, oy, ox + C, oy + C))
    return img


def to_palette(img):
    """Exact conversion to an 8-bit palette image (no dithering, sorted palette)."""
    colours = sorted(set(img.getdata()))
    if len(colours) > 256:
        raise SystemExit("scroll-bar skin has %d colours, more than a palette holds" % len(colours))
    index = {c: i for i, c in enumerate(colours)}
    out = Image.new("P", img.size)
    flat = []
    for c in colours:
        flat.extend(c)
    flat.extend([0] * (768 - len(flat)))
    out.putpalette(flat)
    out.putdata([index[c] for c in img.getdata()])
    return out


# -------------------------------------------------------------- building

# id: (width, height, mode) as the program expects them.
TABLE = {}
TABLE[138] = (410, 611, "RGBA")
TABLE[139] = (400, 600, "RGB")
TABLE[140] = (48, 16, "RGBA")
for _i in list(range(141, 145)) + list(range(147, 151)):
    TABLE[_i] = (26, 34, "RGB")
TABLE[145] = (232, 132, "RGBA")
TABLE[146] = (204, 104, "RGBA")
TABLE[151] = (330, 150, "RGBA")
TABLE[152] = (320, 140, "RGB")
for _i in list(range(153, 156)) + list(range(159, 168)):
    TABLE[_i] = (55, 24, "RGB")
for _i in range(156, 159):
    TABLE[_i] = (12, 12, "RGB")
TABLE[168] = (410, 479, "RGBA")
TABLE[169] = (400, 468, "RGBA")
for _i in range(170, 174):
    TABLE[_i] = (12, 12, "RGB")
for _i in list(range(179, 183)) + list(range(184, 188)) + list(range(193, 197)):
    TABLE[_i] = (266, 60, "RGBA")
TABLE[183] = (541, 402, "RGBA")
for _i in range(188, 192):
    TABLE[_i] = (284, 85, "RGBA")
for _i in range(197, 201):
    TABLE[_i] = (58, 18, "RGB")


def build():
    art = {}
    panel = draw_main_panel()
    art[139] = panel
    art[138] = frame_picture(panel, (5, 4, 5, 7), grey_shadow(GREY_SIDES),
                             grey_shadow(GREY_TOP), grey_shadow(GREY_BOTTOM))
    art[140] = check_box()
    for i, img in zip(range(141, 145), titlebar_buttons(panel, "x")):
        art[i] = img
    for i, img in zip(range(147, 151), titlebar_buttons(panel, "-")):
        art[i] = img
    art[146] = progress_content()
    art[145] = frame_picture(art[146], (14, 12, 14, 16), progress_band(14),
                             progress_band(12), progress_band(16))
    art[152] = prompt_content()
    art[151] = frame_picture(art[152], (5, 3, 5, 7),
                             [(a, PROMPT_SHADOW) for a in PROMPT_SIDES],
                             [(a, PROMPT_SHADOW) for a in PROMPT_TOP],
                             [(a, PROMPT_SHADOW) for a in PROMPT_BOTTOM])
    for first, label in ((153, "取消"), (159, "否"), (162, "确认"), (165, "是")):
        for state in range(3):
            art[first + state] = prompt_button(label, state)
    for i, ink in zip(range(156, 159), ((150, 150, 150), (96, 96, 96), (52, 52, 52))):
        # The button sits in the caption band, so it is drawn on the band's grey.
        art[i] = small_cross(PROMPT_BAND, ink)
    art[169] = feedback_content()
    art[168] = frame_picture(art[169], (5, 4, 5, 7), grey_shadow(GREY_SIDES),
                             grey_shadow(GREY_TOP), grey_shadow(GREY_BOTTOM))
    for i, ink in zip(range(170, 174), ((200, 202, 222), WHITE, (140, 142, 170), (64, 66, 110))):
        art[i] = small_cross(FEEDBACK_BLUE, ink)
    for first, label, base in ((179, "问题已解决，继续保持！", BRIGHT_BAR),
                               (184, "问题未解决，我要吐槽！", GREYISH_BAR),
                               (193, "更多方案", BRIGHT_BAR)):
        for k, img in enumerate(feedback_buttons(label, base)):
            art[first + k] = img
    art[183] = agreement_bubble()
    for i, img in zip(range(188, 192), repair_buttons()):
        art[i] = img
    for i, img in zip(range(197, 201), more_tools_buttons(panel)):
        art[i] = img
    return art


# ----------------------------------------------------------- self-check

class CheckFailed(Exception):
    pass


def expect(cond, what):
    if not cond:
        raise CheckFailed(what)


def png_chunks(data):
    expect(data[:8] == b"\x89PNG\r\n\x1a\n", "PNG signature")
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        expect(zlib.crc32(kind + body) & 0xFFFFFFFF == crc, "CRC of %r" % kind)
        chunks.append((kind, body))
        pos += 12 + length
    return chunks


def check_png(path, want):
    data = open(path, "rb").read()
    chunks = png_chunks(data)
    expect(chunks[0][0] == b"IHDR", "%s: IHDR first" % path)
    w, h, depth, ctype = struct.unpack(">IIBB", chunks[0][1][:10])
    ww, wh, mode = want
    expect((w, h) == (ww, wh), "%s: size %dx%d, want %dx%d" % (path, w, h, ww, wh))
    expect(depth == 8, "%s: bit depth %d" % (path, depth))
    expect(ctype == {"RGB": 2, "RGBA": 6}[mode], "%s: colour type %d for %s" % (path, ctype, mode))
    kinds = {k for k, _ in chunks}
    expect(kinds <= {b"IHDR", b"IDAT", b"IEND"}, "%s: extra chunks %r" % (path, sorted(kinds)))
    img = Image.open(path)
    img.load()
    return img


def check_frame(img, margins, sides, top, bottom, name):
    ml, mt, mr, mb = margins
    W, H = img.size
    a = img.getchannel("A").load()
    for y in range(H):
        for x in range(W):
            inside = ml <= x < W - mr and mt <= y < H - mb
            expect((a[x, y] == 255) == inside,
                   "%s: alpha %d at (%d, %d)" % (name, a[x, y], x, y))
    # Along the straight edges every line across the band carries the ramp.
    for my in range(mt, H - mb):
        expect([a[x, my] for x in range(len(sides))] == sides, "%s: left ramp, row %d" % (name, my))
        expect([a[W - 1 - x, my] for x in range(len(sides))] == sides, "%s: right ramp, row %d" % (name, my))
    for mx in range(ml, W - mr):
        expect([a[mx, y] for y in range(len(top))] == top, "%s: top ramp, column %d" % (name, mx))
        expect([a[mx, H - 1 - y] for y in range(len(bottom))] == bottom, "%s: bottom ramp, column %d" % (name, mx))
    # Corners fade outwards.
    expect(a[0, 0] < a[ml - 1, mt - 1] and a[W - 1, H - 1] < a[W - mr, H - mb], "%s: corners" % name)


def plain(img, box, name, tolerance=0):
    """A region holding one colour per row (a vertical gradient at most)."""
    px = img.convert("RGB").load()
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        ref = px[x0, y]
        for x in range(x0, x1):
            expect(max(abs(p - q) for p, q in zip(px[x, y], ref)) <= tolerance,
                   "%s: region %r not plain at (%d, %d)" % (name, box, x, y))


def self_check(png_dir, bmp_path):
    imgs = {}
    for rid in sorted(TABLE):
        imgs[rid] = check_png(os.path.join(png_dir, "%d.png" % rid), TABLE[rid])
    present = sorted(int(f[:-4]) for f in os.listdir(png_dir) if f.endswith(".png"))
    expect(present == sorted(TABLE), "unexpected PNG files: %r" % sorted(set(present) ^ set(TABLE)))

    check_frame(imgs[138], (5, 4, 5, 7), GREY_SIDES, GREY_TOP, GREY_BOTTOM, "138")
    check_frame(imgs[168], (5, 4, 5, 7), GREY_SIDES, GREY_TOP, GREY_BOTTOM, "168")
    check_frame(imgs[151], (5, 3, 5, 7), PROMPT_SIDES, PROMPT_TOP, PROMPT_BOTTOM, "151")
    check_frame(imgs[145], (14, 12, 14, 16), [a for a, _ in progress_band(14)],
                [a for a, _ in progress_band(12)], [a for a, _ in progress_band(16)], "145")
    expect([a for a, _ in progress_band(14)][:11] == PROGRESS_SIDES, "145: listed side ramp")
    # Frame interiors show their content's picture.
    for frame, content, (l, t) in ((138, 139, (5, 4)), (168, 169, (5, 4)),
                                   (151, 152, (5, 3)), (145, 146, (14, 12))):
        c = imgs[content].convert("RGB")
        inner = imgs[frame].convert("RGB").crop((l, t, l + c.size[0], t + c.size[1]))
        expect(list(inner.getdata()) == list(c.getdata()), "%d: interior differs from %d" % (frame, content))

    # Places where the program draws over the panel picture.
    p = imgs[139]
    plain(p, (188, 16, 228, 31), "139 version slot")
    plain(p, (330, 0, 400, 34), "139 title-bar buttons")
    plain(p, (58, 260, 342, 345), "139 repair button")
    plain(p, (45, 540, 103, 558), "139 more tools")
    plain(p, (0, 570, 400, 600), "139 footer")
    expect(p.getpixel((0, 585)) == WHITE, "139: footer must be white")
    expect(p.getpixel((200, 300)) == WHITE, "139: body must be white")
    expect(max(p.getpixel((200, 20))) < 180, "139: version slot must contrast with white text")
    for box in ((67, 154, 333, 214), (67, 234, 333, 294), (67, 314, 333, 374), (376, 0, 400, 26)):
        plain(imgs[169], box, "169 slice")
    expect(imgs[169].getpixel((100, 200))[:3] == FEEDBACK_BLUE, "169: ground colour")
    fa = imgs[169].getchannel("A")
    expect(fa.getextrema() == (255, 255), "169 must be opaque")
    expect(imgs[146].getchannel("A").getextrema() == (255, 255), "146 must be opaque")
    # The question's white ink lies in rows 79..94 only.
    q = imgs[169].convert("RGB").crop((0, 70, 400, 110)).load()
    rows = [y + 70 for y in range(40) if any(min(q[x, y]) > 200 for x in range(400))]
    expect(rows and rows[0] >= 79 and rows[-1] <= 94, "169: question rows %r" % (rows[:1] + rows[-1:],))
    # Prompt caption band and caption.
    pr = imgs[152]
    expect(all(pr.getpixel((300, y)) == PROMPT_BAND for y in range(26)), "152: band rows 0..25")
    expect(pr.getpixel((300, 26)) == WHITE and pr.getpixel((160, 100)) == WHITE, "152: white below the band")
    dark = [(x, y) for y in range(26) for x in range(60) if max(pr.getpixel((x, y))) < 200]
    xs, ys = [x for x, _ in dark], [y for _, y in dark]
    expect(dark and min(xs) >= 10 and min(ys) >= 8 and max(ys) - 8 <= 11 and min(ys) <= 9,
           "152: caption ink %r" % ((min(xs), min(ys), max(xs), max(ys)) if dark else None,))
    # Text strip of the progress content holds no streaks.
    plain(imgs[146], (10, 42, 194, 62), "146 text strip")

    # Agreement bubble: opaque rectangle, tail, nothing else.
    b = imgs[183].getchannel("A").load()
    for y in range(391):
        for x in (0, 85, 540):
            expect(b[x, y] == 255, "183: rectangle alpha at (%d, %d)" % (x, y))
    expect(imgs[183].getchannel("A").crop((0, 0, 541, 391)).getextrema() == (255, 255), "183: rectangle opaque")
    for y in range(391, 402):
        span = [x for x in range(541) if b[x, y] > 0]
        expect(span and min(span) >= 76 and max(span) <= 94, "183: tail row %d spans %r" % (y, span[:1] + span[-1:]))
        expect(abs((min(span) + max(span) + 1) / 2.0 - 85.0) <= 1.0, "183: tail centre row %d" % y)
    width = lambda y: sum(b[x, y] for x in range(541)) / 255.0
    expect(13.5 <= width(391) <= 14.5, "183: tail width %.2f at the top" % width(391))
    expect(1.5 <= width(401) <= 2.5, "183: tail width %.2f at the bottom" % width(401))
    expect(all(width(y) > width(y + 1) for y in range(391, 401)), "183: tail does not narrow")

    # Glow buttons: transparent outer edge, alpha rising to an opaque bar, four distinct states.
    for first, margin in ((179, 9), (184, 9), (193, 9), (188, 19)):
        states = [imgs[first + k] for k in range(4)]
        for k, img in enumerate(states):
            al = img.getchannel("A").load()
            W, H = img.size
            expect(al[0, 0] == 0 and al[W - 1, H - 1] == 0, "%d: corners not clear" % (first + k))
            expect(al[W // 2, H // 2] == 255 and al[margin + 1, H // 2] == 255, "%d: bar not opaque" % (first + k))
            ramp = [al[x, H // 2] for x in range(margin)]
            expect(ramp == sorted(ramp), "%d: glow falls toward the bar" % (first + k))
        datas = [s.tobytes() for s in states]
        expect(len(set(datas)) == 4, "%d..%d: states not distinct" % (first, first + 3))
    for group in ((141, 142, 143, 144), (147, 148, 149, 150), (153, 154, 155), (159, 160, 161),
                  (162, 163, 164), (165, 166, 167), (156, 157, 158), (170, 171, 172, 173),
                  (197, 198, 199, 200)):
        expect(len({imgs[i].tobytes() for i in group}) == len(group), "%r: states not distinct" % (group,))
    # Title-bar button faces blend with the panel behind them.
    for rid, left in ((141, 368), (147, 340)):
        expect(imgs[rid].getpixel((1, 1)) == p.getpixel((left + 1, 1)), "%d: ground differs from 139" % rid)
    expect(imgs[197].getpixel((0, 0)) == p.getpixel((45, 540)), "197: ground differs from 139")

    # Check box cells: 0 and 1 differ, 1 is blue with a white tick.
    cb = imgs[140]
    expect(cb.getpixel((8, 8))[3] == 255 and cb.getpixel((0, 0))[3] < 255, "140: cell 0")
    blue = cb.getpixel((18, 3))
    expect(blue[2] > 200 and blue[0] < 80, "140: cell 1 not blue")
    expect(any(min(cb.getpixel((x, y))[:3]) > 230 for x in range(16, 32) for y in range(16)), "140: no tick")

    # Scroll-bar BITMAP: 117 x 39, 8 bits with palette, uncompressed.
    data = open(bmp_path, "rb").read()
    expect(data[:2] == b"BM", "bmp signature")
    hdr, w, h, planes, bpp, comp = struct.unpack("<IiiHHI", data[14:34])
    expect((w, h, planes, bpp, comp) == (117, 39, 1, 8, 0), "bmp header %r" % ((w, h, planes, bpp, comp),))
    sb = Image.open(bmp_path)
    expect(sb.mode == "P", "bmp mode %s" % sb.mode)
    sb = sb.convert("RGB")
    cell = lambda col, row: sb.crop((col * 13, row * 13, col * 13 + 13, row * 13 + 13))
    for col in (2, 6):
        for row in range(3):
            c = cell(col, row)
            if col == 6:
                c = c.transpose(Image.Transpose.TRANSPOSE)
            mid = [tuple(c.getpixel((x, y)) for x in range(13)) for y in range(3, 10)]
            expect(len(set(mid)) == 1, "bmp thumb %d/%d middle not uniform" % (col, row))
            expect(c.getpixel((6, 6)) != cell(3, 0).getpixel((6, 6)), "bmp thumb like track")
    for col in (3, 7):
        expect(len(set(cell(col, 0).getdata())) == 1, "bmp track %d not plain" % col)
    for col in (0, 1, 4, 5):
        expect(len({cell(col, r).tobytes() for r in range(3)}) == 3, "bmp arrow %d rows" % col)
    # Each arrow points its way: more ink on the pointed side's opposite half.
    def ink_rows(col):
        c = cell(col, 0)
        bg = c.getpixel((0, 0))
        return [sum(1 for x in range(13) if c.getpixel((x, y)) != bg) for y in range(13)]
    up, down = ink_rows(0), ink_rows(1)
    expect(sum(up[:6]) < sum(up[7:]) and sum(down[:6]) > sum(down[7:]), "bmp arrows up/down")
    return len(imgs)


def save_png(img, path):
    img.save(path, "PNG", optimize=False, compress_level=9)


def main():
    global FONT_PATH
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--font", default=DEFAULT_FONT, help="WenQuanYi Zen Hei .ttc")
    ap.add_argument("--out", default=os.path.join(here, "res"), help="resource directory")
    args = ap.parse_args()
    FONT_PATH = args.font
    if not os.path.isfile(FONT_PATH):
        sys.exit("font not found: %s (install fonts-wqy-zenhei or pass --font)" % FONT_PATH)

    png_dir = os.path.join(args.out, "png")
    os.makedirs(png_dir, exist_ok=True)
    art = build()
    expect(sorted(art) == sorted(TABLE), "built ids %r" % sorted(set(art) ^ set(TABLE)))
    for rid in sorted(art):
        img = art[rid]
        want_mode = TABLE[rid][2]
        img = img.convert(want_mode) if img.mode != want_mode else img
        save_png(img, os.path.join(png_dir, "%d.png" % rid))
    bmp_path = os.path.join(args.out, "scrollbar.bmp")
    to_palette(scrollbar_bitmap()).save(bmp_path, "BMP")
    try:
        n = self_check(png_dir, bmp_path)
    except CheckFailed as e:
        sys.exit("self-check FAILED: %s" % e)
    print("wrote %d PNG files and scrollbar.bmp; self-check passed" % n)


if __name__ == "__main__":
    main()
