#!/usr/bin/env python3
"""Checks that an exported page parses as HTML: its declared charset decodes
it, every element that is opened is closed in order, void elements are never
closed, and no block element sits inside a paragraph (which a browser would
silently split). Prints the problems found and exits with 1 if there are any."""

import re
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
BLOCK = {"p", "ul", "ol", "h1", "h2", "h3", "div", "table", "pre"}


class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.errors = []

    def error_at(self, text):
        line, col = self.getpos()
        self.errors.append(f"{line}:{col}: {text}")

    def handle_starttag(self, tag, attrs):
        if tag in BLOCK and any(open_tag == "p" for open_tag, _ in self.stack):
            self.error_at(f"<{tag}> inside <p>")
        if tag not in VOID:
            self.stack.append((tag, self.getpos()))

    def handle_endtag(self, tag):
        if tag in VOID:
            self.error_at(f"</{tag}> closes a void element")
        elif not self.stack or self.stack[-1][0] != tag:
            expected = self.stack[-1][0] if self.stack else "nothing"
            self.error_at(f"</{tag}> where </{expected}> was due")
        else:
            self.stack.pop()


def main(path):
    raw = open(path, "rb").read()
    head = raw[:1024].decode("ascii", errors="replace")
    match = re.search(r"charset=([\w-]+)", head)
    if not match:
        print(f"{path}: no charset declared")
        return 1
    try:
        text = raw.decode(match.group(1))
    except (LookupError, UnicodeDecodeError) as e:
        print(f"{path}: does not decode as {match.group(1)}: {e}")
        return 1
    checker = Checker()
    checker.feed(text)
    checker.close()
    for tag, (line, col) in checker.stack:
        checker.errors.append(f"{line}:{col}: <{tag}> never closed")
    for error in checker.errors:
        print(f"{path}:{error}")
    return 1 if checker.errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
