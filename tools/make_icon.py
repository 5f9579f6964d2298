#!/usr/bin/python3
"""Draws the application icon res/Veskar.ico (16, 32 and 48 pixels): a blue shield with a tick."""
import os
from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def shield(size):
    scale = 4  # draw large, then shrink for smooth edges
    n = size * scale
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    m = n // 16
    outline = [(m, m * 2), (n // 2, m), (n - m, m * 2), (n - m, n // 2),
               (n // 2, n - m), (m, n // 2)]
    d.polygon(outline, fill=(24, 92, 230, 255))
    inner = [(m * 3, m * 3), (n // 2, m * 2 + m // 2), (n - m * 3, m * 3),
             (n - m * 3, n // 2), (n // 2, n - m * 3), (m * 3, n // 2)]
    d.polygon(inner, fill=(46, 128, 255, 255))
    w = max(scale * 2, n // 10)
    d.line([(n * 5 // 16, n // 2), (n * 7 // 16, n * 5 // 8), (n * 11 // 16, n * 3 // 8)],
           fill=(255, 255, 255, 255), width=w, joint="curve")
    return img.resize((size, size), Image.LANCZOS)


def main():
    big = shield(48)
    big.save(os.path.join(ROOT, "res", "Veskar.ico"), sizes=[(16, 16), (32, 32), (48, 48)],
             append_images=[shield(32), shield(16)])


if __name__ == "__main__":
    main()
