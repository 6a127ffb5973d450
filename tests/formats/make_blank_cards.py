#!/usr/bin/python3
"""Writes the small blank cards the format tests read into the folder given:

    form.pdf       one A4 page, a fillable form: a one-line text field (9 pt), a multi-line
                   right-aligned field, a check box, a group of two radio buttons, a choice
                   list and a push button
    plain-a5.pdf   two A5 pages with printed text and no form
    locked.pdf     a one-page PDF that opens only with a password
    wide.pdf       one page 1.2 m wide
    crowded.pdf    one page with 600 text fields
    bare.png       a white picture of 600 x 900 pixels that does not say its resolution
    two-sided.pdf  two A4 pages, each a fillable form under a black band across its top; with
                   a number it has that many text fields on each page
"""
import os
import struct
import sys
import zlib

from reportlab.lib.pagesizes import A4, A5
from reportlab.pdfgen import canvas


def form(path):
    c = canvas.Canvas(path, pagesize=A4)
    c.drawString(72, 800, "NAMES")
    f = c.acroForm
    f.textfield(name="names", x=72, y=760, width=300, height=20, fontSize=9, borderWidth=1)
    f.textfield(name="notes", x=72, y=600, width=200, height=100, fontSize=0,
                fieldFlags="multiline", borderWidth=1)
    f.checkbox(name="stayman", x=400, y=760, size=12, buttonStyle="check")
    f.radio(name="strength", value="strong", x=400, y=700, size=12, selected=True)
    f.radio(name="strength", value="weak", x=430, y=700, size=12)
    f.choice(name="leads", value="4th", options=["4th", "3rd/5th"], x=72, y=500,
             width=120, height=20)
    c.save()
    # The alignment of the multi-line field: reportlab writes /Q only through the annotation
    # flags, so it is set in the file itself, in place of the field's /MaxLen (as many bytes,
    # so that the cross-reference table stays right).
    data = open(path, "rb").read()
    marker = data.index(b"/T (notes)")
    start = data.rindex(b" obj", 0, marker)
    end = data.index(b"endobj", marker)
    widget = data[start:end]
    assert b"/MaxLen 100" in widget
    widget = widget.replace(b"/MaxLen 100", b"/Q 2".ljust(len(b"/MaxLen 100")), 1)
    open(path, "wb").write(data[:start] + widget + data[end:])


def plain(path):
    c = canvas.Canvas(path, pagesize=A5)
    for page in range(2):
        c.drawString(50, 500, "Systemkort side %d" % (page + 1))
        c.showPage()
    c.save()


def locked(path):
    c = canvas.Canvas(path, pagesize=A4, encrypt="secret")
    c.drawString(72, 800, "locked")
    c.save()


def wide(path):
    c = canvas.Canvas(path, pagesize=(1.2 * 72 / 0.0254, 500))
    c.drawString(72, 100, "wide")
    c.save()


def crowded(path):
    c = canvas.Canvas(path, pagesize=A4)
    c.drawString(20, 820, "crowded")
    for i in range(600):
        c.acroForm.textfield(name="f%d" % i, x=20 + (i % 20) * 28, y=20 + (i // 20) * 26,
                             width=25, height=20)
    c.save()


def bare_png(path, width=600, height=900):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\x00" + b"\xff" * width for _ in range(height))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(rows)))
        out.write(chunk(b"IEND", b""))


def two_sided(path, fields_per_page=3):
    c = canvas.Canvas(path, pagesize=A4)
    for page in range(2):
        c.setFillColorRGB(0, 0, 0)
        c.rect(0, 780, 595, 62, stroke=0, fill=1)
        for i in range(fields_per_page):
            c.acroForm.textfield(name="p%d.f%d" % (page + 1, i), x=20 + (i % 10) * 56,
                                 y=40 + (i // 10) * 24, width=50, height=20, fontSize=8)
        if page == 1:
            c.acroForm.checkbox(name="back.tick", x=500, y=700, size=12)
        c.showPage()
    c.save()


def main():
    if len(sys.argv) == 3:
        two_sided(sys.argv[1], int(sys.argv[2]))
        return
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    form(os.path.join(out, "form.pdf"))
    plain(os.path.join(out, "plain-a5.pdf"))
    locked(os.path.join(out, "locked.pdf"))
    wide(os.path.join(out, "wide.pdf"))
    crowded(os.path.join(out, "crowded.pdf"))
    bare_png(os.path.join(out, "bare.png"))
    two_sided(os.path.join(out, "two-sided.pdf"))


if __name__ == "__main__":
    main()
