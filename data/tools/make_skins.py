#!/usr/bin/env python3
"""Draws the window skins (SVG) and their settings files into data/install/skin.

Every frame piece and button state is a separate element whose bounding box is its
size in pixels; a transparent rectangle spans each box so that rounded corners keep
their fully transparent outer pixels (the window's shape) and soft, half transparent
edges.
Run from anywhere: python3 data/tools/make_skins.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'install', 'skin')

FRAME = '#232a36'
FRAME_EDGE = '#3b4556'
GLYPH = '#aeb7c4'


def box(ident, x, y, w, h, body):
    return (f'<g id="{ident}">'
            f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#000000" fill-opacity="0"/>'
            f'{body}</g>\n')


def skin(title_h, accent, accent_dark, side=6, bottom=8, corner=12):
    parts = []
    # Title bar: rounded top corners, a soft vertical gradient and an accent hairline.
    parts.append(box('border_topleft', 0, 0, corner, title_h,
        f'<path d="M0,{corner} A{corner},{corner} 0 0 1 {corner},0 L{corner},{title_h} L0,{title_h} Z" '
        f'fill="url(#title)"/>'
        f'<path d="M0,{corner} A{corner},{corner} 0 0 1 {corner},0 L{corner},1 '
        f'A{corner - 1},{corner - 1} 0 0 0 1,{corner} Z" fill="#ffffff" fill-opacity="0.18"/>'
        f'<rect x="0" y="{title_h - 1}" width="{corner}" height="1" fill="{accent}" fill-opacity="0.8"/>'))
    parts.append(box('border_top', 20, 0, 40, title_h,
        f'<rect x="20" y="0" width="40" height="{title_h}" fill="url(#title2)"/>'
        f'<rect x="20" y="0" width="40" height="1" fill="#ffffff" fill-opacity="0.18"/>'
        f'<rect x="20" y="{title_h - 1}" width="40" height="1" fill="{accent}" fill-opacity="0.8"/>'))
    parts.append(box('border_topright', 70, 0, corner, title_h,
        f'<path d="M70,0 A{corner},{corner} 0 0 1 {70 + corner},{corner} L{70 + corner},{title_h} L70,{title_h} Z" '
        f'fill="url(#title3)"/>'
        f'<path d="M70,0 A{corner},{corner} 0 0 1 {70 + corner},{corner} L{70 + corner - 1},{corner} '
        f'A{corner - 1},{corner - 1} 0 0 0 70,1 Z" fill="#ffffff" fill-opacity="0.18"/>'
        f'<rect x="70" y="{title_h - 1}" width="{corner}" height="1" fill="{accent}" fill-opacity="0.8"/>'))
    # Side edges: a dark band with a faint outer highlight.
    y0 = title_h + 10
    parts.append(box('border_left', 0, y0, side, 20,
        f'<rect x="0" y="{y0}" width="{side}" height="20" fill="{FRAME}"/>'
        f'<rect x="0" y="{y0}" width="1" height="20" fill="{FRAME_EDGE}"/>'))
    parts.append(box('border_right', 20, y0, side, 20,
        f'<rect x="20" y="{y0}" width="{side}" height="20" fill="{FRAME}"/>'
        f'<rect x="{20 + side - 1}" y="{y0}" width="1" height="20" fill="{FRAME_EDGE}"/>'))
    # Bottom: rounded corners of radius equal to the bottom's height.
    y1 = y0 + 40
    r = bottom
    parts.append(box('border_bottomleft', 0, y1, corner, bottom,
        f'<path d="M0,{y1} L{corner},{y1} L{corner},{y1 + bottom} L{r},{y1 + bottom} '
        f'A{r},{r} 0 0 1 0,{y1} Z" fill="{FRAME}"/>'))
    parts.append(box('border_bottom', 20, y1, 40, bottom,
        f'<rect x="20" y="{y1}" width="40" height="{bottom}" fill="{FRAME}"/>'
        f'<rect x="20" y="{y1 + bottom - 1}" width="40" height="1" fill="{FRAME_EDGE}"/>'))
    parts.append(box('border_bottomright', 70, y1, corner, bottom,
        f'<path d="M70,{y1} L{70 + corner},{y1} A{r},{r} 0 0 1 {70 + corner - r},{y1 + bottom} '
        f'L70,{y1 + bottom} Z" fill="{FRAME}"/>'))

    # Buttons, 26 x 18: a glyph on nothing, on a soft plate when hovered, on the accent
    # when pressed. The close button warns in red.
    bw, bh = 26, 18
    glyphs = {
        'minimize': lambda x, y, c: f'<rect x="{x + 8}" y="{y + 12}" width="10" height="1.6" fill="{c}"/>',
        'maximize': lambda x, y, c: (f'<rect x="{x + 8.5}" y="{y + 4.5}" width="9" height="9" fill="none" '
                                     f'stroke="{c}" stroke-width="1.4"/>'),
        'close': lambda x, y, c: (f'<path d="M{x + 9},{y + 5} L{x + 17},{y + 13} M{x + 17},{y + 5} '
                                  f'L{x + 9},{y + 13}" stroke="{c}" stroke-width="1.6" '
                                  f'stroke-linecap="round"/>'),
    }
    plates = {
        'minimize': ('#3a4456', accent_dark),
        'maximize': ('#3a4456', accent_dark),
        'close': ('#b0413e', '#8a2f2d'),
    }
    y2 = y1 + 30
    for row, name in enumerate(['minimize', 'maximize', 'close']):
        for col, state in enumerate(['normal', 'hover', 'pressed']):
            x = col * 40
            y = y2 + row * 30
            body = ''
            if state != 'normal':
                fill = plates[name][0] if state == 'hover' else plates[name][1]
                body += f'<rect x="{x}" y="{y}" width="{bw}" height="{bh}" rx="4" fill="{fill}"/>'
            body += glyphs[name](x, y, GLYPH if state == 'normal' else '#ffffff')
            parts.append(box(f'{name}_button_{state}', x, y, bw, bh, body))

    height = y2 + 100
    defs = (f'<defs>'
            f'<linearGradient id="title" x1="0" y1="0" x2="0" y2="{title_h}" gradientUnits="userSpaceOnUse">'
            f'<stop offset="0" stop-color="#303a4b"/><stop offset="1" stop-color="#1f2530"/></linearGradient>'
            f'<linearGradient id="title2" x1="0" y1="0" x2="0" y2="{title_h}" gradientUnits="userSpaceOnUse">'
            f'<stop offset="0" stop-color="#303a4b"/><stop offset="1" stop-color="#1f2530"/></linearGradient>'
            f'<linearGradient id="title3" x1="0" y1="0" x2="0" y2="{title_h}" gradientUnits="userSpaceOnUse">'
            f'<stop offset="0" stop-color="#303a4b"/><stop offset="1" stop-color="#1f2530"/></linearGradient>'
            f'</defs>\n')
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="120" height="{height}" '
            f'viewBox="0 0 120 {height}">\n' + defs + ''.join(parts) + '</svg>\n')


def ini(svg, background, title_color, font):
    return ('[Skin]\n'
            f'Skinpfad={svg}\n'
            f'Hintergrundfarbe={background}\n'
            f'Titelfarbe={title_color}\n'
            'Alpha=1.0\n'
            f'Titelschrift="{font}"\n')


def write(name, text):
    with open(os.path.join(OUT, name), 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    write('skin.svg', skin(32, '#3fb6c6', '#2a8896'))
    write('skin.ini', ini('skin/skin.svg', '1a1f28', '#d8dee9', 'Sans Serif,10,-1,5,63,0,0,0,0,0'))
    write('exporter.svg', skin(28, '#e0a84a', '#b07f2c'))
    write('exporter.ini', ini('skin/exporter.svg', '1a1f28', '#d8dee9', 'Sans Serif,9,-1,5,63,0,0,0,0,0'))
