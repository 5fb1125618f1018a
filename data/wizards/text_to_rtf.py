#!/usr/bin/env python3
"""Turns a licence text (UTF-8, paragraphs separated by blank lines) into the
RTF the setup's licence page streams in. The first paragraph is the title
(bold); a paragraph that starts with "N. Heading." gets that heading in bold.
Every character outside ASCII is written as an RTF \\uN escape, so the file
reads the same whatever the reader's code page.

    text_to_rtf.py IN.txt OUT.rtf
"""
import re
import sys

HEADING = re.compile(r"^(\d+\.\s[^.]+\.)(.*)$", re.S)


def escape(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\n":
            out.append(" ")
        elif code < 128:
            out.append(ch)
        else:
            if code > 0xFFFF:
                raise SystemExit("text_to_rtf: characters beyond U+FFFF are not supported")
            out.append("\\u%d?" % (code - 65536 if code > 32767 else code))
    return "".join(out)


def convert(text):
    paragraphs = [p.strip() for p in re.split(r"\n\s*\n", text.strip()) if p.strip()]
    lines = [r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Tahoma;}}",
             r"\viewkind4\uc1\pard\f0\fs16"]
    for index, paragraph in enumerate(paragraphs):
        if index > 0:
            lines.append(r"\par")
        heading = HEADING.match(paragraph)
        if index == 0:
            lines.append(r"{\b %s}\par" % escape(paragraph))
        elif heading:
            lines.append(r"{\b %s}%s\par" % (escape(heading.group(1)), escape(heading.group(2))))
        else:
            lines.append(escape(paragraph) + r"\par")
    lines.append("}")
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        rtf = convert(source.read())
    with open(sys.argv[2], "w", encoding="ascii", newline="\n") as target:
        target.write(rtf)


if __name__ == "__main__":
    main()
