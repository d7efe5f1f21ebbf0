#!/usr/bin/env python3
"""Writes a PDF of N pages with one top-level bookmark per page, for planning figures.

Usage: make-outline-pdf.py PAGES OUTPUT.pdf
"""
import sys

from pdf_file import write_pdf


def main():
    pages = int(sys.argv[1])
    target = sys.argv[2]
    # Objects: 1 catalog, 2 pages, 3 outlines, 4 the shared content; then per page i a page
    # object and a bookmark.
    page_id = lambda i: 5 + 2 * i
    mark_id = lambda i: 6 + 2 * i
    objects = {
        1: b"<< /Type /Catalog /Pages 2 0 R /Outlines 3 0 R >>",
        2: b"<< /Type /Pages /Count %d /Kids [%s] >>"
        % (pages, b" ".join(b"%d 0 R" % page_id(i) for i in range(pages))),
        3: b"<< /Type /Outlines /First %d 0 R /Last %d 0 R /Count %d >>"
        % (mark_id(0), mark_id(pages - 1), pages),
    }
    content = b"BT /F1 12 Tf 72 720 Td (Page) Tj ET"
    objects[4] = b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content)
    for i in range(pages):
        objects[page_id(i)] = (
            b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
            b"/Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >> >>"
        )
        links = b""
        if i > 0:
            links += b" /Prev %d 0 R" % mark_id(i - 1)
        if i + 1 < pages:
            links += b" /Next %d 0 R" % mark_id(i + 1)
        objects[mark_id(i)] = b"<< /Title (Chapter %d) /Parent 3 0 R /Dest [%d 0 R /XYZ 0 720 null]%s >>" % (
            i + 1, page_id(i), links)
    write_pdf(objects, 1, target)


if __name__ == "__main__":
    main()
