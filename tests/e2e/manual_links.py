#!/usr/bin/python3
"""Checks an HTML manual: every local link and image names an existing file, and every "#name"
link an element with that id. Prints each broken one; exits 1 when there is any.

Usage: manual_links.py MANUAL.html
"""
import os
import sys
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit


class Targets(HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids = set()
        self.links = []  # (tag, attribute value)

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name == "id":
                self.ids.add(value)
            elif name in ("href", "src") and value is not None:
                self.links.append((tag, value))


def main() -> int:
    manual = sys.argv[1]
    parser = Targets()
    with open(manual, encoding="utf-8") as text:
        parser.feed(text.read())
    folder = os.path.dirname(os.path.abspath(manual))
    broken = []
    for tag, link in parser.links:
        parts = urlsplit(link)
        if parts.scheme or parts.netloc:
            continue  # web and mail addresses are the browser's business
        if parts.path and not os.path.isfile(os.path.join(folder, unquote(parts.path))):
            broken.append(f"<{tag}> {link}: no such file")
        elif not parts.path and parts.fragment not in parser.ids:
            broken.append(f"<{tag}> {link}: no such anchor")
    images = sum(1 for tag, _ in parser.links if tag == "img")
    for line in broken:
        print(line)
    print(f"{len(parser.links)} links and images, {images} images, {len(broken)} broken")
    return 1 if broken or images == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
