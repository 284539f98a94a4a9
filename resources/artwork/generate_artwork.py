#!/usr/bin/env python3
"""Draws the editor's artwork as SVG and renders every image at full and half size.

    generate_artwork.py --table resources/image_table.txt --out DIR --version 1.0.0
                        [--rsvg rsvg-convert] [--svg-only]
    generate_artwork.py --print-layout

For each row of the image table it writes DIR/svg/<id>.svg (full size, all frames stacked
vertically) and renders DIR/<id>.png at full size and DIR/<id+1>.png at half size with
rsvg-convert. The look: a dark, calm measurement instrument. Every coordinate of the
background follows the editor layout (a 1600 x 1054 plane, one unit per full-size pixel).
"""

import argparse
import math
import os
import struct
import subprocess
import sys
import zlib

# Palette.
INK = "#0b0d10"           # deepest wells
BODY = "#14171b"          # the instrument's body
PANEL = "#1a1e23"         # raised panels
PANEL_EDGE = "#2a3037"
LABEL = "#9aa4ac"         # quiet labels
TITLE = "#c9d1d7"         # panel titles
ACCENT = "#59958e"        # the equaliser colour of the graph
ACCENT_LIGHT = "#8fd3c9"
WARM = "#d8a24a"          # bypass lamp
LCD = "#93b873"           # output read-out plate (the read-out prints in dark green)

SANS = "Roboto"
CONDENSED = "Roboto Condensed"

LAYOUT_WIDTH = 1600
BAND_COUNT = 12

# The control rectangles the background is drawn around (left, top, right, bottom in layout
# units). The editor's control table (editor/layout/control_table.cpp) is where they are
# defined; `--print-layout` prints these and a test checks them against that table.
GRAPH = (0, 0, 1600, 640)
LEGEND = (1356, 24, 1520, 192)
LAYER_SWITCHES = [(1552, 24 + 48 * row, 1576, 48 + 48 * row) for row in range(4)]
SEPARATOR_SWITCH = (1428, 724, 1582, 756)
TARGET_LEVEL_KNOB = (1428, 804, 1582, 836)
FIT_BUTTON = (1428, 848, 1582, 880)
FILE_BUTTON = (1428, 916, 1542, 956)
UNLOAD_BUTTON = (1542, 916, 1582, 956)
OUTPUT_SLIDER = (1420, 1014, 1588, 1050)
OUTPUT_HANDLE_WIDTH = 40
OUTPUT_READOUT = (1532, 982, 1588, 1008)
SPLASH_TOGGLE = (176, 1012, 212, 1048)


def band_column(k):
    """Band k's column, k = 1 .. 12: its knobs start 4 units left of it."""
    return 66 + 114 * (k - 1)


def band_switch_rect(k):
    x = band_column(k)
    return (x - 12, 646, x + 76, 682)


def band_knob_rect(k, quantity):
    """quantity 0 frequency, 1 gain, 2 Q."""
    x, top = band_column(k), (686, 790, 894)[quantity]
    return (x - 4, top, x + 68, top + 72)


def band_readout_rect(k, quantity):
    x, top = band_column(k), (754, 858, 962)[quantity]
    return (x - 12, top, x + 76, top + 32)


def centre(rect):
    return (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2


def layout_rows():
    """Every rectangle above as (name, rect), the form --print-layout writes."""
    rows = [("graph", GRAPH), ("legend", LEGEND)]
    rows += [(f"layer_switch {i}", r) for i, r in enumerate(LAYER_SWITCHES)]
    rows += [("separator_switch", SEPARATOR_SWITCH), ("target_level_knob", TARGET_LEVEL_KNOB),
             ("fit_button", FIT_BUTTON), ("file_button", FILE_BUTTON), ("unload_button", UNLOAD_BUTTON),
             ("output_slider", OUTPUT_SLIDER), ("output_readout", OUTPUT_READOUT),
             ("splash_toggle", SPLASH_TOGGLE)]
    for k in range(1, BAND_COUNT + 1):
        rows.append((f"band_switch {k}", band_switch_rect(k)))
        for quantity in range(3):
            rows.append((f"band_knob {k} {quantity}", band_knob_rect(k, quantity)))
            rows.append((f"band_readout {k} {quantity}", band_readout_rect(k, quantity)))
    return rows


# What each frame of the two type switches shows, in frame order (frame = switch value).
# Band 1 at 0 is a peak, at 1 a low shelf; band 12 at 0 is a high shelf, at 1 a peak: the
# pictures follow what the bands filter as.
TYPE_SWITCH_FRAMES = {
    "band1_type": ("peak", "lowshelf"),
    "band12_type": ("highshelf", "peak"),
}


def svg_document(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}\n</svg>\n')


def text(x, y, content, size, colour, family=CONDENSED, weight="bold", anchor="middle",
         spacing=0.0, extra=""):
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" '
            f'font-weight="{weight}" fill="{colour}" text-anchor="{anchor}" '
            f'letter-spacing="{spacing}" {extra}>{content}</text>')


def rounded(x, y, w, h, r, fill, stroke="none", stroke_width=1, extra=""):
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" ry="{r}" '
            f'fill="{fill}" stroke="{stroke}" stroke-width="{stroke_width}" {extra}/>')


def frame_group(index, frame_height, content):
    return f'<g transform="translate(0 {index * frame_height})">{content}</g>'


# ---------------------------------------------------------------------------------------
# Background (100): the static parts of the layout.

def background(width, height):
    parts = ['<defs>'
             '<linearGradient id="body" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#181b1f"/><stop offset="1" stop-color="#101215"/>'
             '</linearGradient>'
             '<linearGradient id="graph" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#0e1114"/><stop offset="0.5" stop-color="#0b0e10"/>'
             '<stop offset="1" stop-color="#0d1013"/></linearGradient>'
             '<linearGradient id="strip" x1="0" y1="0" x2="0" y2="1">'
             '<stop offset="0" stop-color="#1d2227"/><stop offset="1" stop-color="#171a1e"/>'
             '</linearGradient>'
             '<linearGradient id="lcd" x1="0" y1="0" x2="0" y2="1">'
             f'<stop offset="0" stop-color="#a6c987"/><stop offset="1" stop-color="{LCD}"/>'
             '</linearGradient>'
             '</defs>',
             f'<rect width="{width}" height="{height}" fill="url(#body)"/>']

    # The graph area: a deep well across the top, a hairline frame, faint minor grid.
    graph_bottom = GRAPH[3]
    parts.append(f'<rect x="0" y="0" width="{GRAPH[2]}" height="{graph_bottom}" fill="url(#graph)"/>')
    for y in range(40, graph_bottom, 40):
        parts.append(f'<line x1="0" y1="{y}" x2="{GRAPH[2]}" y2="{y}" stroke="#ffffff" '
                     'stroke-opacity="0.025" stroke-width="1"/>')
    parts.append(f'<line x1="0" y1="{graph_bottom}.5" x2="{GRAPH[2]}" y2="{graph_bottom}.5" '
                 'stroke="#2f363d" stroke-width="1"/>')
    parts.append(f'<line x1="0" y1="{graph_bottom + 2}.5" x2="{GRAPH[2]}" y2="{graph_bottom + 2}.5" '
                 'stroke="#000000" stroke-opacity="0.6"/>')
    # Backdrop of the legend and the layer switches, 12 units around both.
    backdrop = (LEGEND[0] - 12, LEGEND[1] - 12, LAYER_SWITCHES[0][2] + 12, LEGEND[3] + 12)
    parts.append(rounded(backdrop[0], backdrop[1], backdrop[2] - backdrop[0],
                         backdrop[3] - backdrop[1], 8, "#000000", PANEL_EDGE, 1,
                         'fill-opacity="0.45"'))

    # Twelve band strips from the switch down to the Q read-out: the knobs with a faint ring
    # and the read-outs in their wells.
    for k in range(1, BAND_COUNT + 1):
        head = band_switch_rect(k)
        bottom = band_readout_rect(k, 2)[3]
        parts.append(rounded(head[0] + 0.5, head[1] + 0.5, head[2] - head[0] - 1,
                             bottom - head[1] + 1, 8, "url(#strip)", PANEL_EDGE))
        for quantity in range(3):
            # The read-out's digits fill rows top + 7 .. top + 28 of its 32-unit rect.
            left, top, right, bottom = band_readout_rect(k, quantity)
            parts.append(rounded(left + 6, top + 4, right - left - 12, bottom - top - 4, 4, INK,
                                 "#262c32"))
        for quantity in range(3):
            cx, cy = centre(band_knob_rect(k, quantity))
            parts.append(f'<circle cx="{cx:g}" cy="{cy:g}" r="34" fill="none" '
                         'stroke="#000000" stroke-opacity="0.35" stroke-width="2"/>')

    # Row labels in the left margin, beside the knob rows.
    for quantity, label in enumerate(("FREQ", "GAIN", "Q")):
        centre_y = centre(band_knob_rect(1, quantity))[1] + (20, 16, 14)[quantity]
        parts.append(text(0, 0, label, 20, LABEL, spacing=2,
                          extra=f'transform="translate(34 {centre_y:g}) rotate(-90)"'))

    # Measurement panel on the right: title, separator switch, offset knob, the fit button
    # under it, file buttons, each labelled just above it (the fit button names itself).
    panel_left, panel_right = SEPARATOR_SWITCH[0], SEPARATOR_SWITCH[2]
    panel_centre = (panel_left + panel_right) // 2
    parts.append(rounded(panel_left - 15.5, 646.5, panel_right - panel_left + 29, 325, 8, PANEL,
                         PANEL_EDGE))
    parts.append(text(panel_centre - 1, 680, "MEASUREMENT", 19, TITLE, spacing=2))
    parts.append(f'<line x1="{panel_left}" y1="692.5" x2="{panel_right}" y2="692.5" stroke="#2f363d"/>')
    for rect, label in ((SEPARATOR_SWITCH, "SEPARATOR"), (TARGET_LEVEL_KNOB, "OFFSET  dB"),
                        (FILE_BUTTON, "FR FILE")):
        parts.append(text(panel_centre, rect[1] - 7 - (2 if rect is FILE_BUTTON else 0), label,
                          18, LABEL, spacing=1.5))
    parts.append(rounded(TARGET_LEVEL_KNOB[0], TARGET_LEVEL_KNOB[1],
                         TARGET_LEVEL_KNOB[2] - TARGET_LEVEL_KNOB[0],
                         TARGET_LEVEL_KNOB[3] - TARGET_LEVEL_KNOB[1], 5, INK))

    # Output panel: label, the read-out plate and the slider track.
    parts.append(rounded(panel_left - 15.5, 976.5, panel_right - panel_left + 29, 75, 8, PANEL,
                         PANEL_EDGE))
    parts.append(text(panel_left - 6, 1003, "OUTPUT", 19, TITLE, anchor="start", spacing=2))
    # Wide enough for the longest read-out, "-12.0", which is right-aligned in its rect.
    plate = (OUTPUT_READOUT[2] - 80, OUTPUT_READOUT[1] - 2, 84, 30)
    parts.append(rounded(*plate, 4, "url(#lcd)", "#3d4a33", 1))
    parts.append(rounded(*plate, 4, "none", "#000000", 2, 'stroke-opacity="0.25"'))
    # The track under the handle's centre, with a tick at every eighth of the travel.
    slider_left, slider_top, slider_right, slider_bottom = OUTPUT_SLIDER
    track_y = (slider_top + slider_bottom) // 2 - 4
    parts.append(rounded(slider_left + 10, track_y, slider_right - slider_left - 20, 8, 4, INK,
                         "#2a3037"))
    travel = slider_right - slider_left - OUTPUT_HANDLE_WIDTH
    for i in range(9):
        tick_x = slider_left + OUTPUT_HANDLE_WIDTH // 2 + i * travel // 8
        parts.append(f'<line x1="{tick_x}.5" y1="{track_y + 13}" x2="{tick_x}.5" '
                     f'y2="{track_y + (18 if i % 4 else 21)}" stroke="{LABEL}" stroke-opacity="0.6"/>')

    # The bottom bar: product name, information icon (under the splash toggle area).
    icon_x, icon_y = (int(v) for v in centre(SPLASH_TOGGLE))
    parts.append(f'<circle cx="{icon_x:g}" cy="{icon_y:g}" r="15" fill="none" stroke="{LABEL}" stroke-width="2"/>')
    parts.append(f'<circle cx="{icon_x:g}" cy="{icon_y - 8:g}" r="2.4" fill="{LABEL}"/>')
    parts.append(f'<rect x="{icon_x - 2:g}" y="{icon_y - 3:g}" width="4" height="12" rx="1" fill="{LABEL}"/>')
    parts.append(text(icon_x + 32, 1040, "CORVALEN", 27, TITLE, family=SANS, anchor="start", spacing=5))
    parts.append(text(icon_x + 256, 1039, "HEADPHONE CORRECTION EQUALISER", 17, LABEL, anchor="start",
                      spacing=2))
    return svg_document(width, height, "\n".join(parts))


# ---------------------------------------------------------------------------------------
# Controls.

def band_switch(width, frame_height):
    """Band on/off: a plate the band number is printed on; a lit lamp and edge when on."""
    frames = []
    for on in (False, True):
        fill = "#1f3a37" if on else "#22272d"
        edge = ACCENT if on else "#343c44"
        lamp = ACCENT_LIGHT if on else "#3b434b"
        body = rounded(3.5, 3.5, width - 7, frame_height - 7, 6, fill, edge, 1)
        # The number covers the middle of the plate down to near its bottom edge, so the
        # lamp sits at the left, level with the digits, where the text never reaches.
        if on:
            body += f'<circle cx="17" cy="18" r="6" fill="{ACCENT_LIGHT}" fill-opacity="0.25"/>'
        body += f'<circle cx="17" cy="18" r="3.5" fill="{lamp}"/>'
        frames.append(body)
    return frames


def layer_switch(width, frame_height):
    frames = []
    for on in (False, True):
        if on:
            body = rounded(3.5, 3.5, width - 7, frame_height - 7, 4, "#c9d1d7", "#e4eaee")
            body += ('<path d="M7 12.5 L10.5 16 L17 8.5" fill="none" stroke="#101315" '
                     'stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>')
        else:
            body = rounded(3.5, 3.5, width - 7, frame_height - 7, 4, INK, "#5a646c")
        frames.append(body)
    return frames


def arc_path(cx, cy, r, start_deg, end_deg):
    """An arc clockwise from start to end, angles in degrees from twelve o'clock."""
    def point(a):
        rad = math.radians(a)
        return cx + r * math.sin(rad), cy - r * math.cos(rad)
    x1, y1 = point(start_deg)
    x2, y2 = point(end_deg)
    large = 1 if end_deg - start_deg > 180 else 0
    return f'M{x1:.3f} {y1:.3f} A{r} {r} 0 {large} 1 {x2:.3f} {y2:.3f}'


def knob(width, frame_height, count):
    """Band knob: a dark dial in a value ring; 270 degrees from frame 0 to the last frame."""
    cx, cy = width / 2, frame_height / 2
    defs = ('<defs><radialGradient id="dial" cx="0.4" cy="0.32" r="0.8">'
            '<stop offset="0" stop-color="#4a535b"/><stop offset="0.6" stop-color="#262c32"/>'
            '<stop offset="1" stop-color="#15181c"/></radialGradient></defs>')
    frames = []
    for i in range(count):
        angle = -135.0 + 270.0 * i / (count - 1)
        body = f'<path d="{arc_path(cx, cy, 31, -135, 135)}" fill="none" stroke="#2a3138" stroke-width="4" stroke-linecap="round"/>'
        if i > 0:
            body += (f'<path d="{arc_path(cx, cy, 31, -135, angle)}" fill="none" stroke="{ACCENT}" '
                     'stroke-width="4" stroke-linecap="round"/>')
        body += f'<circle cx="{cx}" cy="{cy + 1.5}" r="25" fill="#000000" fill-opacity="0.45"/>'
        body += f'<circle cx="{cx}" cy="{cy}" r="24" fill="url(#dial)" stroke="#0a0c0e" stroke-width="1.5"/>'
        body += f'<circle cx="{cx}" cy="{cy}" r="18" fill="none" stroke="#ffffff" stroke-opacity="0.05"/>'
        rad = math.radians(angle)
        inner = (cx + 9 * math.sin(rad), cy - 9 * math.cos(rad))
        outer = (cx + 20 * math.sin(rad), cy - 20 * math.cos(rad))
        body += (f'<line x1="{inner[0]:.3f}" y1="{inner[1]:.3f}" x2="{outer[0]:.3f}" y2="{outer[1]:.3f}" '
                 'stroke="#e8eef1" stroke-width="3.2" stroke-linecap="round"/>')
        frames.append(body)
    return frames, defs


def curve_icon(kind, x, y, colour):
    """A 30 x 18 filter-shape icon: 'peak', 'lowshelf' or 'highshelf'."""
    paths = {
        "peak": "M0 14 C9 14 10 2 15 2 C20 2 21 14 30 14",
        "lowshelf": "M0 3 C8 3 10 3 13 8.5 C16 14 20 14 30 14",
        "highshelf": "M0 14 C10 14 14 14 17 8.5 C20 3 22 3 30 3",
    }
    return (f'<g transform="translate({x} {y})"><line x1="0" y1="14.5" x2="30" y2="14.5" stroke="{colour}" '
            f'stroke-opacity="0.3"/><path d="{paths[kind]}" fill="none" stroke="{colour}" '
            'stroke-width="2.2" stroke-linecap="round"/></g>')


def type_switch(width, frame_height, kinds):
    frames = []
    for kind in kinds:
        label = {"peak": "PEAK", "lowshelf": "SHELF", "highshelf": "SHELF"}[kind]
        body = rounded(3.5, 3.5, width - 7, frame_height - 7, 6, "#22272d", "#343c44")
        body += curve_icon(kind, 7, 11, ACCENT_LIGHT)
        body += text(63, 27, label, 16, TITLE)
        frames.append(body)
    return frames


def push_button(width, frame_height, content):
    """Two frames: up and pressed (darker, content one unit lower)."""
    frames = []
    for pressed in (False, True):
        fill = "#1b1f24" if pressed else "#2a3037"
        edge = ACCENT if pressed else "#3d454d"
        body = rounded(2.5, 2.5, width - 5, frame_height - 5, 6, fill, edge)
        if not pressed:
            body += f'<line x1="8" y1="3.5" x2="{width - 8}" y2="3.5" stroke="#ffffff" stroke-opacity="0.08"/>'
        body += f'<g transform="translate(0 {1 if pressed else 0})">{content}</g>'
        frames.append(body)
    return frames


def file_button(width, frame_height):
    folder = ('<path d="M14 13 h8 l3 3 h12 v13 h-23 z" fill="none" stroke="#c9d1d7" '
              'stroke-width="1.8" stroke-linejoin="round"/>')
    return push_button(width, frame_height, folder + text(76, 27, "LOAD", 18, TITLE, spacing=1.5))


def fit_button(width, frame_height):
    """A measured curve settling onto the dashed target line, then the word."""
    settle = ('<g transform="translate(44 7)">'
              '<line x1="0" y1="9.5" x2="30" y2="9.5" stroke="#8c8c8c" stroke-dasharray="3 2.5"/>'
              '<path d="M0 9.5 C3 -1 7 -1 10 9.5 S16 16 19 9.5 S25 7 30 9.5" fill="none" '
              f'stroke="{ACCENT_LIGHT}" stroke-width="2.2" stroke-linecap="round"/></g>')
    return push_button(width, frame_height, settle + text(98, 23, "FIT", 18, TITLE, spacing=1.5))


def unload_button(width, frame_height):
    cross = ('<path d="M14 14 L26 26 M26 14 L14 26" stroke="#c9d1d7" stroke-width="2.6" '
             'stroke-linecap="round"/>')
    return push_button(width, frame_height, cross)


def separator_switch(width, frame_height):
    half = width / 2
    frames = []
    for chosen in (0, 1):
        body = rounded(1.5, 1.5, width - 3, frame_height - 3, 5, INK, "#343c44")
        left = 3 if chosen == 0 else half
        body += rounded(left, 3, half - 3, frame_height - 6, 4, "#1f3a37", ACCENT)
        for index, label in enumerate(("COMMA  ,", "TAB  \u21e5")):
            colour = TITLE if index == chosen else "#5d666e"
            body += text(half * index + half / 2, 22, label, 16, colour, spacing=0.5)
        frames.append(body)
    return frames


def offset_plate(width, height):
    """The reference-offset display the value is printed on; chevrons hint at dragging."""
    body = rounded(0.5, 0.5, width - 1, height - 1, 5, "#0d1013", "#343c44")
    body += f'<line x1="6" y1="2.5" x2="{width - 6}" y2="2.5" stroke="#000000" stroke-opacity="0.6" stroke-width="2"/>'
    body += ('<path d="M14 12 L10 16 L14 20" fill="none" stroke="#5d666e" stroke-width="2" '
             'stroke-linecap="round" stroke-linejoin="round"/>')
    body += (f'<path d="M{width - 14} 12 L{width - 10} 16 L{width - 14} 20" fill="none" stroke="#5d666e" '
             'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')
    return [body]


def output_handle(width, height):
    body = ('<defs><linearGradient id="cap" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#dfe5e9"/><stop offset="1" stop-color="#8d979f"/>'
            '</linearGradient></defs>')
    body += rounded(5, 3, width - 10, height - 5, 4, "#000000", extra='fill-opacity="0.5"')
    body += rounded(4.5, 1.5, width - 9, height - 5, 4, "url(#cap)", "#50585f")
    body += f'<line x1="{width / 2}" y1="6" x2="{width / 2}" y2="{height - 8}" stroke="#14171b" stroke-width="2"/>'
    return [body]


def bypass_switch(width, frame_height):
    frames = []
    for bypassed in (False, True):
        colour = WARM if bypassed else "#6b757d"
        body = rounded(3.5, 3.5, width - 7, frame_height - 7, 6, "#3a2d17" if bypassed else "#22272d",
                       WARM if bypassed else "#343c44")
        cx, cy = width / 2, frame_height / 2
        body += (f'<path d="{arc_path(cx, cy, 9, 35, 325)}" fill="none" stroke="{colour}" '
                 'stroke-width="2.4" stroke-linecap="round"/>')
        body += (f'<line x1="{cx}" y1="{cy - 12}" x2="{cx}" y2="{cy - 2}" stroke="{colour}" '
                 'stroke-width="2.4" stroke-linecap="round"/>')
        frames.append(body)
    return frames


def splash(width, height, version):
    body = ('<defs><linearGradient id="splashfill" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#1b2025"/><stop offset="1" stop-color="#111418"/>'
            '</linearGradient></defs>')
    body += rounded(8, 10, width - 12, height - 14, 16, "#000000", extra='fill-opacity="0.5"')
    body += rounded(2, 2, width - 8, height - 8, 14, "url(#splashfill)", ACCENT, 2)
    body += text(width / 2, 120, "CORVALEN", 76, TITLE, family=SANS, spacing=14)
    body += text(width / 2, 162, "HEADPHONE CORRECTION EQUALISER", 20, ACCENT_LIGHT, spacing=4)
    body += text(width / 2, 196, f"Version {version}  \u00b7  VST2 effect for Windows x64", 17,
                 LABEL, weight="normal")
    # A small picture of what the product does: a measured curve, its correction, the flat line.
    body += '<g transform="translate(110 236)">'
    body += rounded(0, 0, 700, 170, 8, INK, PANEL_EDGE)
    body += '<line x1="20" y1="85.5" x2="680" y2="85.5" stroke="#8c8c8c" stroke-dasharray="6 6"/>'
    measured = [(20 + i * 11, 85 + 38 * math.sin(i / 6.0) * math.exp(-i / 90.0) - 14 * math.sin(i / 2.3) * (i / 60.0)) for i in range(61)]
    corrected = [(x, 85 + 0.18 * (y - 85)) for x, y in measured]
    for points, colour in ((measured, "#a06278"), (corrected, "#a4a88a")):
        d = "M" + " L".join(f"{x:.1f} {y:.1f}" for x, y in points)
        body += f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="3" stroke-linejoin="round"/>'
    body += '</g>'
    lines = [
        "Load your headphone's measured frequency response (csv or txt),",
        "set the reference level that counts as on target, and shape the",
        "twelve bands until the corrected curve lies on the flat target line.",
    ]
    for i, line in enumerate(lines):
        body += text(width / 2, 456 + 30 * i, line, 19, "#aeb8bf", family=SANS, weight="normal")
    body += '<line x1="110" y1="560.5" x2="810" y2="560.5" stroke="#2f363d"/>'
    body += text(width / 2, 596, "12 parametric bands  \u00b7  shelf or peak at both ends  \u00b7  "
                 "64-bit processing", 16, LABEL, weight="normal", spacing=0.5)
    body += text(width / 2, 626, "Click the i symbol beside the product name to close this panel.",
                 17, "#8a949c", weight="normal")
    return [body]


# ---------------------------------------------------------------------------------------

def build_svg(name, width, height, frames, version):
    frame_height = height // frames
    defs = ""
    if name == "background":
        return background(width, height)
    if name == "band_switch":
        bodies = band_switch(width, frame_height)
    elif name == "layer_switch":
        bodies = layer_switch(width, frame_height)
    elif name == "band_knob":
        bodies, defs = knob(width, frame_height, frames)
    elif name in TYPE_SWITCH_FRAMES:
        bodies = type_switch(width, frame_height, TYPE_SWITCH_FRAMES[name])
    elif name == "file_button":
        bodies = file_button(width, frame_height)
    elif name == "separator_switch":
        bodies = separator_switch(width, frame_height)
    elif name == "offset_plate":
        bodies = offset_plate(width, frame_height)
    elif name == "unload_button":
        bodies = unload_button(width, frame_height)
    elif name == "fit_button":
        bodies = fit_button(width, frame_height)
    elif name == "output_handle":
        bodies = output_handle(width, frame_height)
    elif name == "bypass_switch":
        bodies = bypass_switch(width, frame_height)
    elif name == "splash":
        bodies = splash(width, frame_height, version)
    else:
        raise SystemExit(f"no artwork for image '{name}'")
    if len(bodies) != frames:
        raise SystemExit(f"image '{name}': {len(bodies)} frames drawn, {frames} expected")
    content = defs + "".join(frame_group(i, frame_height, b) for i, b in enumerate(bodies))
    return svg_document(width, height, content)


def read_table(path):
    rows = []
    with open(path, encoding="utf-8") as table:
        for line in table:
            fields = line.split()
            if not fields or fields[0].startswith("#"):
                continue
            image_id, width, height, frames = (int(v) for v in fields[:4])
            if image_id % 2 or width % 2 or height % 2 or height % frames or (height // frames) % 2:
                raise SystemExit(f"image {image_id}: sizes must halve into whole frames")
            rows.append((image_id, width, height, frames, fields[4]))
    return rows


def render(rsvg, svg_path, png_path, width, height):
    subprocess.run([rsvg, "--format=png", f"--width={width}", f"--height={height}",
                    "--output", png_path, svg_path], check=True)
    ensure_rgba(png_path)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def ensure_rgba(path):
    """Rewrites an opaque 8-bit RGB render as 8-bit RGBA, the one format the editor ships."""
    with open(path, "rb") as png:
        data = png.read()
    position, header, compressed = 8, None, b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        position += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if colour_type == 6 and depth == 8:
        return
    if colour_type != 2 or depth != 8 or interlace != 0:
        raise SystemExit(f"{path}: unexpected PNG format from the renderer")
    raw = zlib.decompress(compressed)
    stride = width * 3
    previous = bytearray(stride)
    out = bytearray()
    for row in range(height):
        start = row * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - 3] if i >= 3 else 0
            up = previous[i]
            upper_left = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                estimate = left + up - upper_left
                pa, pb, pc = abs(estimate - left), abs(estimate - up), abs(estimate - upper_left)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else upper_left)
                line[i] = (line[i] + predictor) & 0xFF
        out.append(0)
        for x in range(width):
            out += line[x * 3:x * 3 + 3] + b"\xff"
        previous = line
    with open(path, "wb") as png:
        png.write(b"\x89PNG\r\n\x1a\n")
        png.write(png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        png.write(png_chunk(b"IDAT", zlib.compress(bytes(out), 9)))
        png.write(png_chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table")
    parser.add_argument("--out")
    parser.add_argument("--version", default="0")
    parser.add_argument("--print-layout", action="store_true",
                        help="print the control rectangles and type-switch frames drawn around, "
                             "one 'name... left top right bottom' line each, and stop")
    parser.add_argument("--rsvg", default="rsvg-convert")
    parser.add_argument("--svg-only", action="store_true")
    args = parser.parse_args()
    if args.print_layout:
        for name, rect in layout_rows():
            print(name, *rect)
        for name, kinds in TYPE_SWITCH_FRAMES.items():
            print("frames", name, *kinds)
        return 0
    if not args.table or not args.out:
        parser.error("--table and --out are required")

    svg_dir = os.path.join(args.out, "svg")
    os.makedirs(svg_dir, exist_ok=True)
    for image_id, width, height, frames, name in read_table(args.table):
        svg_path = os.path.join(svg_dir, f"{image_id}.svg")
        with open(svg_path, "w", encoding="utf-8") as svg:
            svg.write(build_svg(name, width, height, frames, args.version))
        if args.svg_only:
            continue
        render(args.rsvg, svg_path, os.path.join(args.out, f"{image_id}.png"), width, height)
        render(args.rsvg, svg_path, os.path.join(args.out, f"{image_id + 1}.png"),
               width // 2, height // 2)
    return 0


if __name__ == "__main__":
    sys.exit(main())
