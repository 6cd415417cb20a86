#!/usr/bin/env python3
"""Draws the splash picture of Quillmark: a quill resting on a sheet of ruled note paper with a few
lines of handwriting, on a light lavender ground that matches the splash window.

Writes a Windows bitmap of 350 x 200 pixels, 24 bits per pixel, uncompressed, rows bottom-up,
3780 pixels per metre (96 dots per inch): 54 header bytes and 210,400 bytes of pixel rows.
Everything is drawn procedurally with anti-aliased coverage, so the output is the same on every run.

    python3 scripts/make_splash.py [output path]   (default: src/forms/pictures/splash.bmp)
"""

import math
import os
import struct
import sys

WIDTH, HEIGHT = 350, 200
PIXELS_PER_METRE = 3780


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[0.0, 0.0, 0.0] for _ in range(width * height)]

    def set(self, x, y, colour):
        self.pixels[y * self.width + x] = list(colour)

    def blend(self, x, y, colour, alpha):
        if alpha <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(alpha, 1.0)
        pixel = self.pixels[y * self.width + x]
        for i in range(3):
            pixel[i] += (colour[i] - pixel[i]) * alpha

    def bmp_bytes(self):
        row_size = (self.width * 3 + 3) // 4 * 4
        image_size = row_size * self.height
        header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, image_size,
                           PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
        rows = []
        for y in range(self.height - 1, -1, -1):  # bottom-up
            row = bytearray()
            for x in range(self.width):
                r, g, b = (max(0, min(255, int(round(c)))) for c in self.pixels[y * self.width + x])
                row += bytes((b, g, r))
            row += b"\0" * (row_size - len(row))
            rows.append(bytes(row))
        return header + info + b"".join(rows)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def coverage(distance):
    """Share of a pixel covered by a shape whose edge lies `distance` pixels away (inside < 0)."""
    return max(0.0, min(1.0, 0.5 - distance))


def smooth(edge0, edge1, x):
    t = max(0.0, min(1.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------------------------------------
# Background: pale lavender in the middle that deepens to the splash window's own colour at the
# edges, so the picture melts into the window around it.

WINDOW_COLOUR = (192, 192, 255)


def draw_background(canvas):
    top, bottom = (242, 242, 255), (228, 228, 252)
    for y in range(canvas.height):
        for x in range(canvas.width):
            inner = mix(top, bottom, y / (canvas.height - 1))
            across = smooth(0.0, 34.0, min(x + 0.5, canvas.width - x - 0.5))
            down = smooth(0.0, 34.0, min(y + 0.5, canvas.height - y - 0.5))
            canvas.set(x, y, mix(WINDOW_COLOUR, inner, across * down))


# ---------------------------------------------------------------------------------------------
# The note paper: a slightly turned sheet with a soft shadow, blue rules, a red margin line and
# lines of handwriting.

PAPER_CENTRE = (150.0, 101.0)
PAPER_HALF = (92.0, 76.0)
PAPER_ANGLE = math.radians(-4.0)
RULE_SPACING = 17.0
FIRST_RULE = 32.0  # from the top edge of the sheet
MARGIN = 30.0  # from the left edge of the sheet


def paper_local(x, y):
    """Canvas point to sheet coordinates, origin at the sheet's top-left corner."""
    dx, dy = x - PAPER_CENTRE[0], y - PAPER_CENTRE[1]
    c, s = math.cos(-PAPER_ANGLE), math.sin(-PAPER_ANGLE)
    return dx * c - dy * s + PAPER_HALF[0], dx * s + dy * c + PAPER_HALF[1]


def paper_to_canvas(u, v):
    dx, dy = u - PAPER_HALF[0], v - PAPER_HALF[1]
    c, s = math.cos(PAPER_ANGLE), math.sin(PAPER_ANGLE)
    return dx * c - dy * s + PAPER_CENTRE[0], dx * s + dy * c + PAPER_CENTRE[1]


def rounded_box_distance(u, v, half_w, half_h, radius):
    qx = abs(u - half_w) - (half_w - radius)
    qy = abs(v - half_h) - (half_h - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def draw_paper(canvas):
    extent = int(math.hypot(*PAPER_HALF)) + 12
    cx, cy = int(PAPER_CENTRE[0]), int(PAPER_CENTRE[1])
    for y in range(max(0, cy - extent), min(canvas.height, cy + extent)):
        for x in range(max(0, cx - extent), min(canvas.width, cx + extent)):
            # Shadow: the sheet's outline moved down and right, blurred.
            su, sv = paper_local(x - 3.0, y - 4.0)
            d = rounded_box_distance(su, sv, PAPER_HALF[0], PAPER_HALF[1], 3.0)
            canvas.blend(x, y, (70, 70, 130), 0.28 * (1.0 - smooth(-3.0, 6.0, d)))

            u, v = paper_local(x + 0.5, y + 0.5)
            d = rounded_box_distance(u, v, PAPER_HALF[0], PAPER_HALF[1], 3.0)
            cover = coverage(d)
            if cover <= 0.0:
                continue
            paper = mix((255, 254, 247), (249, 246, 232), v / (2 * PAPER_HALF[1]))
            # Blue rules below the heading space, a red margin line.
            if v > FIRST_RULE - 2:
                rule = abs(((v - FIRST_RULE) % RULE_SPACING + RULE_SPACING / 2) % RULE_SPACING
                           - RULE_SPACING / 2)
                paper = mix(paper, (150, 178, 228), 0.75 * coverage(rule - 0.45))
            paper = mix(paper, (226, 120, 120), 0.8 * coverage(abs(u - MARGIN) - 0.5))
            # A faint edge line keeps the sheet crisp against the pale ground.
            paper = mix(paper, (176, 174, 206), coverage(-d - 0.9))
            canvas.blend(x, y, paper, cover)


def stroke_segment(canvas, a, b, width, colour, alpha=1.0):
    """An anti-aliased line of the given width from a to b, with round ends."""
    half = width / 2.0
    x0 = int(math.floor(min(a[0], b[0]) - half - 1))
    x1 = int(math.ceil(max(a[0], b[0]) + half + 1))
    y0 = int(math.floor(min(a[1], b[1]) - half - 1))
    y1 = int(math.ceil(max(a[1], b[1]) + half + 1))
    ax, ay = a
    bx, by = b
    length2 = (bx - ax) ** 2 + (by - ay) ** 2 or 1e-9
    for y in range(max(0, y0), min(canvas.height, y1 + 1)):
        for x in range(max(0, x0), min(canvas.width, x1 + 1)):
            px, py = x + 0.5, y + 0.5
            t = max(0.0, min(1.0, ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / length2))
            d = math.hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay))) - half
            canvas.blend(x, y, colour, alpha * coverage(d))


def handwriting_line(seed, length):
    """A flowing scribble in sheet coordinates that reads as a line of cursive writing."""
    points = []
    u = 0.0
    rnd = seed
    while u < length:
        rnd = (rnd * 1103515245 + 12345) & 0x7FFFFFFF
        word = 14.0 + (rnd % 23)
        step = 0.5
        t = 0.0
        while t < word and u + t < length:
            phase = (u + t) * 0.85 + seed
            loop = math.sin(phase)
            tall = 1.0 + 0.9 * max(0.0, math.sin((u + t) * 0.23 + seed * 1.7)) ** 8
            points.append((u + t + 1.3 * math.cos(phase), -(2.6 + 2.4 * loop) * tall))
            t += step
        points.append(None)  # lift the pen between words
        u += word + 5.0 + (rnd % 4)
    return points


def draw_handwriting(canvas):
    ink = (40, 55, 120)
    lines = [(0, 132), (1, 146), (2, 120), (3, 140), (4, 96), (5, 110)]
    for index, (seed, length) in enumerate(lines):
        baseline = FIRST_RULE + RULE_SPACING * (index + 1) - 3.0
        previous = None
        for point in handwriting_line(seed * 7 + 3, length):
            if point is None:
                previous = None
                continue
            current = paper_to_canvas(MARGIN + 6.0 + point[0], baseline + point[1])
            if previous is not None:
                stroke_segment(canvas, previous, current, 1.05, ink, 0.85)
            previous = current
    # The heading: a bolder, shorter line above the rules.
    previous = None
    for point in handwriting_line(11, 70):
        if point is None:
            previous = None
            continue
        current = paper_to_canvas(MARGIN + 6.0 + point[0] * 1.1, FIRST_RULE - 9.0 + point[1] * 1.2)
        if previous is not None:
            stroke_segment(canvas, previous, current, 1.5, (30, 40, 100), 0.9)
        previous = current


# ---------------------------------------------------------------------------------------------
# The quill: a long feather lying across the sheet, its nib touching the end of the last line.

NIB = (214.0, 152.0)
QUILL_TOP = (334.0, 14.0)
QUILL_BOW = 9.0  # sideways bend of the shaft at its middle
VANE_START = 0.30  # share of the shaft that is bare near the nib


def quill_frame():
    ux, uy = QUILL_TOP[0] - NIB[0], QUILL_TOP[1] - NIB[1]
    length = math.hypot(ux, uy)
    ux, uy = ux / length, uy / length
    return length, (ux, uy), (-uy, ux)


def quill_local(x, y, offset=(0.0, 0.0)):
    """Canvas point to (along the shaft from the nib, across it measured from the bent shaft)."""
    length, (ux, uy), (nx, ny) = quill_frame()
    dx, dy = x - NIB[0] - offset[0], y - NIB[1] - offset[1]
    s = dx * ux + dy * uy
    d = dx * nx + dy * ny
    bow = QUILL_BOW * math.sin(math.pi * max(0.0, min(1.0, s / length)))
    return s, d - bow, length


def vane_widths(s, length):
    """Half-widths of the feather's two sides at s along the shaft (0 outside the vane)."""
    start = VANE_START * length
    if s < start or s > length:
        return 0.0, 0.0
    f = (s - start) / (length - start)
    body = math.sin(math.pi * min(1.0, f * 1.08)) ** 0.65 if f * 1.08 < 1.0 else 0.0
    tip_round = math.sqrt(max(0.0, 1.0 - max(0.0, (f - 0.8) / 0.2) ** 2))
    left = 24.0 * body * tip_round
    right = 15.0 * body * tip_round
    # Two small splits in the vane, the way a used feather parts.
    left *= 1.0 - 0.45 * math.exp(-((f - 0.46) / 0.025) ** 2)
    right *= 1.0 - 0.55 * math.exp(-((f - 0.63) / 0.03) ** 2)
    return left, right


def quill_shape_distance(s, d, length):
    """Distance to the feather's outline (vane, bare shaft and nib); negative inside."""
    left, right = vane_widths(s, length)
    width = left if d > 0 else right
    vane = abs(d) - width if width > 0 else 99.0
    if s < 0 or s > length + 2:
        shaft = 99.0
    elif s < 11.0:  # the cut nib narrows to a point
        shaft = abs(d) - 0.25 - 1.6 * (s / 11.0)
    else:
        shaft = abs(d) - 1.6 - 0.4 * max(0.0, 1.0 - s / length)
    return min(vane, shaft)


def draw_quill(canvas):
    length, _, _ = quill_frame()
    xs = [NIB[0], QUILL_TOP[0]]
    ys = [NIB[1], QUILL_TOP[1]]
    x0, x1 = int(min(xs)) - 30, int(max(xs)) + 30
    y0, y1 = int(min(ys)) - 30, int(max(ys)) + 30
    for y in range(max(0, y0), min(canvas.height, y1)):
        for x in range(max(0, x0), min(canvas.width, x1)):
            px, py = x + 0.5, y + 0.5
            # Soft shadow cast down and to the left onto whatever lies below.
            s, d, _ = quill_local(px, py, offset=(-4.0, 6.0))
            shadow = quill_shape_distance(s, d, length)
            canvas.blend(x, y, (60, 60, 120), 0.22 * (1.0 - smooth(-2.0, 5.0, shadow)))

            s, d, _ = quill_local(px, py)
            dist = quill_shape_distance(s, d, length)
            cover = coverage(dist)
            if cover <= 0.0:
                continue
            f = max(0.0, min(1.0, s / length))
            left, right = vane_widths(s, length)
            width = left if d > 0 else right
            if s < 11.0:
                # The nib, dark with ink.
                colour = mix((32, 36, 70), (120, 112, 96), s / 11.0)
            elif width <= 0 or abs(d) <= 1.6:
                # Bare shaft and the rachis along the vane: pale horn.
                colour = mix((236, 230, 206), (250, 248, 240), f)
                if abs(d) > 0.9:
                    colour = mix(colour, (150, 140, 120), 0.5)
            else:
                # The vane: white feather tinted lavender near its root, with fine barbs.
                across = abs(d) / max(width, 1.0)
                colour = mix((172, 166, 236), (252, 251, 255), min(1.0, (f - VANE_START) * 1.6))
                colour = mix(colour, (214, 210, 248), 0.35 * across)
                barb = math.sin((s * 0.9 - abs(d) * 0.75) * 2.1)
                colour = mix(colour, (120, 114, 196), 0.10 + 0.08 * barb)
                if d < 0:  # the narrow side lies in the feather's own shade
                    colour = mix(colour, (130, 124, 200), 0.12)
                # A crisp edge so the feather reads on the pale paper.
                colour = mix(colour, (104, 98, 178), 0.8 * coverage(-dist - 1.0))
            canvas.blend(x, y, colour, cover)
    # A drop of fresh ink where the nib touches the paper.
    for y in range(int(NIB[1]) - 3, int(NIB[1]) + 4):
        for x in range(int(NIB[0]) - 4, int(NIB[0]) + 3):
            d = math.hypot((x + 0.5 - (NIB[0] - 1.0)) / 1.4, y + 0.5 - (NIB[1] + 0.5)) - 1.3
            canvas.blend(x, y, (30, 40, 100), 0.9 * coverage(d))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "src", "forms", "pictures", "splash.bmp")
    canvas = Canvas(WIDTH, HEIGHT)
    draw_background(canvas)
    draw_paper(canvas)
    draw_handwriting(canvas)
    draw_quill(canvas)
    data = canvas.bmp_bytes()
    assert len(data) == 210454, len(data)
    with open(target, "wb") as output:
        output.write(data)
    print(f"{os.path.normpath(target)}: {len(data)} bytes")


if __name__ == "__main__":
    main()
