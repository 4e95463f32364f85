#!/usr/bin/python3
"""Checks that every relative link in the repository's Markdown files leads
somewhere: the file or folder exists, and an anchor (#section) names a
heading or an explicit anchor of the file it points into, as GitHub makes
them (lower case, punctuation dropped, each space a hyphen, a repeated
heading numbered -1, -2, ...). Links to other sites (https:, mailto:, ...)
are not followed: the test must not depend on the network.

Usage: tools/markdown_links.py [ROOT]   (default: the repository holding
this file). Prints one line per broken link and exits 1 if there is any.
Standard library only, for Debian's /usr/bin/python3.
"""

import html
import os
import re
import subprocess
import sys
import unicodedata
import urllib.parse

FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})")
ATX_HEADING = re.compile(r"^ {0,3}#{1,6}(?:[ \t]+(.*?))?(?:[ \t]+#+)?[ \t]*$")
SETEXT_UNDERLINE = re.compile(r"^ {0,3}(=+|-+)[ \t]*$")
CODE_SPAN = re.compile(r"(`+)((?:(?!\n[ \t]*\n).)+?)\1", re.S)
INLINE_LINK = re.compile(
    r"!?\[((?:[^\[\]]|\[[^\[\]]*\])*)\]\(\s*(<[^>]*>|[^)\s]+)(?:\s+(?:\"[^\"]*\"|'[^']*'|\([^)]*\)))?\s*\)")
REFERENCE_LINK = re.compile(r"\[((?:[^\[\]]|\[[^\[\]]*\])*)\]\[[^\]]*\]")
REFERENCE_DEFINITION = re.compile(r"^ {0,3}\[[^\]]+\]:[ \t]*(<[^>]*>|\S+)", re.M)
HTML_LINK = re.compile(r"""\b(?:href|src)\s*=\s*["']([^"']*)["']""", re.I)
HTML_ANCHOR = re.compile(r"""<[a-z][^>]*\b(?:id|name)\s*=\s*["']([^"']+)["']""", re.I)
HTML_TAG = re.compile(r"</?[a-zA-Z][^>]*>")
SCHEME = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")
LINE_ANCHOR = re.compile(r"^L\d+(-L\d+)?$")
# Emphasis with underscores renders as its text; an underscore inside a
# word (snake_case) stays, and GitHub keeps it in the anchor.
UNDERSCORE_EMPHASIS = re.compile(r"(?<![A-Za-z0-9_])(_{1,3})(?=\S)(.+?)(?<=\S)\1(?![A-Za-z0-9_])")


def slug(text):
    """The anchor GitHub gives a heading whose rendered text is TEXT:
    lower case, every character that is no letter, mark, number, space,
    hyphen or underscore dropped, and each space a hyphen (not collapsed)."""
    kept = (c for c in text.lower()
            if c in " -_" or unicodedata.category(c)[0] in "LMN")
    return "".join(kept).replace(" ", "-")


def rendered_text(markdown):
    """The text a heading's Markdown shows: code spans as their content,
    links and images as their text, emphasis, HTML tags and escapes
    removed."""
    parts = []
    position = 0
    for code in CODE_SPAN.finditer(markdown):
        parts.append(_rendered_prose(markdown[position:code.start()]))
        content = code.group(2)
        # As CommonMark: one space on each side is padding, not content.
        if content.startswith(" ") and content.endswith(" ") and content.strip():
            content = content[1:-1]
        parts.append(content)
        position = code.end()
    parts.append(_rendered_prose(markdown[position:]))
    return "".join(parts).strip()


def _rendered_prose(text):
    # An escaped underscore is no emphasis: set it aside until the end.
    text = text.replace("\\_", "\ue000")
    text = INLINE_LINK.sub(lambda m: m.group(1), text)
    text = REFERENCE_LINK.sub(lambda m: m.group(1), text)
    text = HTML_TAG.sub("", text)
    previous = None
    while previous != text:
        previous = text
        text = UNDERSCORE_EMPHASIS.sub(lambda m: m.group(2), text)
    text = re.sub(r"\\([!-/:-@\[-`{-~])", r"\1", text)
    return html.unescape(text).replace("\ue000", "_")


def _code_placeholder(code):
    # A placeholder keeps a link whose text is all code ([`x`](y)) a link,
    # and the line breaks keep the line numbers; a code span stops at a
    # blank line.
    return "code" + "\n" * code.group(0).count("\n")


def scan(markdown):
    """Returns (anchors, links) of a Markdown document: the set of anchors
    its headings and HTML elements define, and the (line number, target)
    of every link and image outside code."""
    anchors = set()
    occurrences = {}

    def add_heading(text):
        base = slug(rendered_text(text))
        name = base
        # As GitHub numbers repeats: the second "Usage" is usage-1, and a
        # later heading that happens to be "Usage 1" does not collide.
        while name in occurrences:
            occurrences[base] += 1
            name = f"{base}-{occurrences[base]}"
        occurrences[name] = 0
        anchors.add(name)

    fence = None
    previous = ""  # the last line of the current paragraph, for setext headings
    prose = []  # the document with its fenced code blocks blanked out
    for line in markdown.splitlines():
        opening = FENCE.match(line)
        if fence:
            if opening and opening.group(1)[0] == fence[0] and \
                    len(opening.group(1)) >= len(fence) and \
                    not line.strip().lstrip(fence[0]):
                fence = None
            prose.append("")
            continue
        if opening:
            fence = opening.group(1)
            previous = ""
            prose.append("")
            continue
        prose.append(line)
        heading = ATX_HEADING.match(line)
        if heading:
            add_heading(heading.group(1) or "")
            previous = ""
        elif SETEXT_UNDERLINE.match(line) and previous and \
                not previous.lstrip().startswith(("|", ">", "-", "*", "+")):
            add_heading(previous.strip())
            previous = ""
        else:
            previous = line if line.strip() else ""

    # Links, and code spans, may run over the lines of a paragraph.
    text = CODE_SPAN.sub(_code_placeholder, "\n".join(prose))
    anchors.update(HTML_ANCHOR.findall(text))
    found = [(m.start(2), m.group(2)) for m in INLINE_LINK.finditer(text)
             if "\n\n" not in m.group(0)]
    found += [(m.start(1), m.group(1)) for m in HTML_LINK.finditer(text)]
    found += [(m.start(1), m.group(1)) for m in REFERENCE_DEFINITION.finditer(text)]
    links = []
    for offset, target in sorted(found):
        if target.startswith("<") and target.endswith(">"):
            target = target[1:-1]
        links.append((text.count("\n", 0, offset) + 1, target))
    return anchors, links


def markdown_files(root):
    """The Markdown files of the checkout at ROOT, relative to it: those git
    tracks and those it would track (new, not ignored); outside git, every
    one below ROOT but build folders."""
    try:
        listed = subprocess.run(
            ["git", "-C", root, "ls-files", "-z", "--cached", "--others",
             "--exclude-standard", "--", "*.md"],
            check=True, capture_output=True).stdout.decode().split("\0")
        return sorted({f for f in listed if f and os.path.isfile(os.path.join(root, f))})
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, subfolders, files in os.walk(root):
            subfolders[:] = [d for d in subfolders
                             if not (d.startswith(".") or d.startswith("build") or
                                     d in ("node_modules", "__pycache__"))]
            found += [os.path.relpath(os.path.join(folder, f), root)
                      for f in files if f.endswith(".md")]
        return sorted(found)


def broken_links(root, files):
    """Returns (problems, links): one message per link of FILES (relative
    to ROOT) that does not resolve, as "file:line: target: why", and the
    number of links checked."""
    root = os.path.realpath(root)
    scanned = {}

    def anchors_of(path):
        if path not in scanned:
            with open(path, encoding="utf-8") as f:
                scanned[path] = scan(f.read())
        return scanned[path][0]

    problems = []
    checked = 0
    for name in files:
        source = os.path.join(root, name)
        anchors_of(source)
        for number, target in scanned[source][1]:
            if SCHEME.match(target) or target.startswith("//"):
                continue
            checked += 1
            why = _why_broken(root, source, target, anchors_of)
            if why:
                problems.append(f"{name}:{number}: {target}: {why}")
    return problems, checked


def _why_broken(root, source, target, anchors_of):
    path, _, anchor = target.partition("#")
    path = urllib.parse.unquote(path.split("?")[0])
    anchor = urllib.parse.unquote(anchor)
    if not path:
        resolved = source
    elif path.startswith("/"):  # GitHub reads these from the repository's root
        resolved = os.path.normpath(os.path.join(root, path.lstrip("/")))
    else:
        resolved = os.path.normpath(os.path.join(os.path.dirname(source), path))
    if os.path.commonpath([root, os.path.realpath(resolved)]) != root:
        return "leads out of the repository"
    if not os.path.exists(resolved):
        return "no such file or folder"
    if not anchor:
        return None
    if os.path.isdir(resolved):  # GitHub shows the folder's README
        resolved = os.path.join(resolved, "README.md")
        if not os.path.isfile(resolved):
            return "an anchor into a folder without README.md"
    if resolved.endswith(".md"):
        if anchor not in anchors_of(resolved):
            return f"no heading or anchor '{anchor}' in {os.path.relpath(resolved, root)}"
        return None
    if not LINE_ANCHOR.match(anchor):
        return "an anchor into a file that is not Markdown (only #L12 or #L12-L20 there)"
    return None


def main(argv):
    root = argv[1] if len(argv) > 1 else \
        os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    files = markdown_files(root)
    if not files:
        print(f"markdown_links: no Markdown files under {root}", file=sys.stderr)
        return 1
    problems, links = broken_links(root, files)
    for problem in problems:
        print(problem)
    if problems:
        print(f"markdown_links: {len(problems)} of {links} relative links broken", file=sys.stderr)
        return 1
    print(f"markdown_links: all {links} relative links in {len(files)} Markdown files resolve")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
