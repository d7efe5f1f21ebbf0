#!/usr/bin/env python3
"""Writes a long manual for navigation figures: chapters, sections and subsections as a
four-level outline whose bookmarks use named destinations (as LaTeX does), cross references on
every page, and an index at the end whose entries link all over the document.

Usage: make-manual-pdf.py PAGES OUTPUT.pdf
"""
import random
import sys

from pdf_file import write_pdf


def main():
    pages = int(sys.argv[1])
    target = sys.argv[2]
    rng = random.Random(7)
    objects = {}
    next_id = [1]

    def new(body=None):
        number = next_id[0]
        next_id[0] += 1
        objects[number] = body
        return number

    catalog, page_tree, outlines, names, font = new(), new(), new(), new(), new()
    objects[font] = b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"
    page_ids = [new() for _ in range(pages)]
    index_pages = max(1, pages // 40)
    body_pages = pages - index_pages

    # Destinations: one per bookmark, named like hyperref's.
    destinations = {}  # name -> (page, top)
    tree = []  # (level, title, name)
    page = 0
    chapter = 0
    while page < body_pages:
        chapter += 1
        name = b"chapter.%d" % chapter
        destinations[name] = (page, 750)
        tree.append((1, b"%d Chapter %d" % (chapter, chapter), name))
        for section in range(1, 5):
            page += rng.randint(1, 4)
            if page >= body_pages:
                break
            name = b"section.%d.%d" % (chapter, section)
            destinations[name] = (page, rng.choice([700, 520, 300]))
            tree.append((2, b"%d.%d Section" % (chapter, section), name))
            for sub in range(1, 4):
                page += rng.randint(0, 2)
                if page >= body_pages:
                    break
                name = b"subsection.%d.%d.%d" % (chapter, section, sub)
                destinations[name] = (page, rng.choice([650, 400, 200]))
                tree.append((3, b"%d.%d.%d Subsection" % (chapter, section, sub), name))
                if sub == 1:
                    name = b"paragraph.%d.%d.%d" % (chapter, section, sub)
                    destinations[name] = (page, 150)
                    tree.append((4, b"Paragraph", name))
        page += 1
    for p in range(pages):
        destinations[b"page.%d" % (p + 1)] = (p, 792)

    names_sorted = sorted(destinations)

    def dest_array(name):
        p, top = destinations[name]
        return b"[%d 0 R /XYZ 72 %d null]" % (page_ids[p], top)

    leaf = b" ".join(b"(%s) %s" % (n, dest_array(n)) for n in names_sorted)
    objects[names] = b"<< /Dests << /Names [%s] >> >>" % leaf

    # Outline: items linked as a tree from the flat list of (level, title, name).
    item_ids = [new() for _ in tree]
    parents = []
    children = {None: []}
    stack = []
    for i, (level, _, _) in enumerate(tree):
        while stack and tree[stack[-1]][0] >= level:
            stack.pop()
        parent = stack[-1] if stack else None
        parents.append(parent)
        children.setdefault(parent, []).append(i)
        children.setdefault(i, [])
        stack.append(i)
    for i, (level, title, name) in enumerate(tree):
        kids = children[i]
        siblings = children[parents[i]]
        k = siblings.index(i)
        entries = [b"/Title (%s)" % title, b"/A << /S /GoTo /D (%s) >>" % name,
                   b"/Parent %d 0 R" % (outlines if parents[i] is None else item_ids[parents[i]])]
        if k > 0:
            entries.append(b"/Prev %d 0 R" % item_ids[siblings[k - 1]])
        if k + 1 < len(siblings):
            entries.append(b"/Next %d 0 R" % item_ids[siblings[k + 1]])
        if kids:
            entries += [b"/First %d 0 R" % item_ids[kids[0]], b"/Last %d 0 R" % item_ids[kids[-1]],
                        b"/Count %d" % (len(kids) if level == 1 else -len(kids))]
        if level == 1:
            entries.append(b"/C [0 0 0.6] /F 2")
        objects[item_ids[i]] = b"<< %s >>" % b" ".join(entries)
    top = children[None]
    objects[outlines] = b"<< /Type /Outlines /First %d 0 R /Last %d 0 R /Count %d >>" % (
        item_ids[top[0]], item_ids[top[-1]], len(top))

    # Pages: a paragraph of text, cross references on body pages, many entries on index pages.
    filler = b" ".join(b"(Line %d of the running text on this page.) Tj T*" % l for l in range(30))
    for p in range(pages):
        annots = []
        if p < body_pages:
            count = rng.randint(2, 6)
        else:
            count = 60
        for a in range(count):
            y = 760 - 12 * (a % 60)
            rect = b"/Rect [72 %d 300 %d]" % (y - 10, y)
            if a % 3 == 0:
                p2 = rng.randrange(pages)
                action = b"/Dest [%d 0 R /XYZ 72 700 null]" % page_ids[p2]
            else:
                action = b"/A << /S /GoTo /D (%s) >>" % rng.choice(names_sorted)
            annots.append(new(b"<< /Type /Annot /Subtype /Link %s /Border [0 0 0] %s >>" % (rect, action)))
        content = b"BT /F1 10 Tf 14 TL 72 760 Td (Page %d) Tj T* %s ET" % (p + 1, filler)
        stream = new(b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
        objects[page_ids[p]] = (
            b"<< /Type /Page /Parent %d 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
            b"/Resources << /Font << /F1 %d 0 R >> >> /Annots [%s] >>"
            % (page_tree, stream, font, b" ".join(b"%d 0 R" % a for a in annots)))
    objects[page_tree] = b"<< /Type /Pages /Count %d /Kids [%s] >>" % (
        pages, b" ".join(b"%d 0 R" % i for i in page_ids))
    objects[catalog] = (b"<< /Type /Catalog /Pages %d 0 R /Outlines %d 0 R /Names %d 0 R "
                        b"/PageMode /UseOutlines /OpenAction [%d 0 R /Fit] /Lang (en-GB) >>"
                        % (page_tree, outlines, names, page_ids[0]))

    write_pdf(objects, catalog, target)


if __name__ == "__main__":
    main()
