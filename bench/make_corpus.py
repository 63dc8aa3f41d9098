#!/usr/bin/env python3
"""Builds the benchmark corpus from Debian's Japanese documentation.

Usage: make_corpus.py OUTDIR

Writes into OUTDIR:
  corpus-10mb.txt, corpus-100mb.txt            CP932, CR LF, exactly 10 MiB and 100 MiB
  corpus-10mb.utf8.txt, corpus-100mb.utf8.txt  the same files converted to UTF-8 (for grep)
  SOURCES                                      the packages and versions the text came from

The lines are those of the HTML pages and manual pages that hold Japanese, in the order of
their sorted paths, repeated until the size is reached. A line that begins with a Japanese
character is prose and is indented with an ideographic space, as paragraphs of a Japanese text
are (the paragraph search looks for such lines); the last line is cut at a character
boundary and padded with blanks so that the size is exact. The same packages give the same
bytes. Nothing is rebuilt when SOURCES already matches this script and the installed packages.
"""

import gzip
import hashlib
import html.parser
import os
import re
import subprocess
import sys

PACKAGES = ["debian-reference-ja", "debian-faq-ja", "manpages-ja"]
HTML_DIRS = ["/usr/share/debian-reference", "/usr/share/doc/debian/FAQ/ja"]
MAN_DIR = "/usr/share/man/ja"
SIZES = {"corpus-10mb": 10 * 1024 * 1024, "corpus-100mb": 100 * 1024 * 1024}

JAPANESE = re.compile("[\u3040-\u30ff\u3400-\u9fff\uff66-\uff9f]")
CONTROL = re.compile("[\x00-\x08\x0b-\x1f\x7f]")


def installed_version(package):
    result = subprocess.run(
        ["dpkg-query", "-W", "-f=${Status}|${Version}", package],
        capture_output=True, text=True)
    status, _, version = result.stdout.partition("|")
    return version if result.returncode == 0 and "install ok installed" in status else None


def install_missing():
    missing = [p for p in PACKAGES if installed_version(p) is None]
    if not missing:
        return
    print("make_corpus: installing " + " ".join(missing), flush=True)
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(sudo + ["apt-get", "update", "-qq"], check=True, env=env)
    subprocess.run(sudo + ["apt-get", "install", "-y", "-qq", "--no-install-recommends"]
                   + missing, check=True, env=env)


class TextOfHtml(html.parser.HTMLParser):
    """The text of a page: tags dropped, a line break at every block, scripts and styles left out."""

    BLOCKS = {"p", "div", "br", "li", "tr", "td", "th", "dt", "dd", "pre", "h1", "h2", "h3",
              "h4", "h5", "h6", "title", "table", "ul", "ol", "dl", "blockquote"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.skip = 0

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "style"):
            self.skip += 1
        elif tag in self.BLOCKS:
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in ("script", "style"):
            self.skip = max(0, self.skip - 1)
        elif tag in self.BLOCKS:
            self.parts.append("\n")

    def handle_data(self, data):
        if not self.skip:
            self.parts.append(data)

    def text(self):
        return "".join(self.parts)


def html_text(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        parser = TextOfHtml()
        parser.feed(f.read())
        parser.close()
    return parser.text()


TEXT_MACROS = {"SH", "SS", "B", "I", "BR", "IR", "RB", "BI", "IB", "RI", "SM", "SB"}
ROFF_ESCAPES = re.compile(
    r"\\f(\[[^\]]*\]|\(..|.)"      # font changes
    r"|\\s[+-]?\d+"                 # size changes
    r"|\\\*(\[[^\]]*\]|\(..|.)"    # strings
    r"|\\[\[][^\]]*\]"              # named characters
    r"|\\\(..")                     # two-letter characters
SIMPLE_ESCAPES = {"\\-": "-", "\\e": "\\", "\\&": "", "\\/": "", "\\,": "", "\\^": "",
                  "\\|": "", "\\ ": " ", "\\~": " ", "\\c": "", "\\%": ""}


def roff_line(line):
    if line.startswith((".", "'")):
        macro, _, rest = line[1:].strip().partition(" ")
        if macro not in TEXT_MACROS:
            return None
        line = rest.replace('"', "")
    line = ROFF_ESCAPES.sub("", line)
    for escape, text in SIMPLE_ESCAPES.items():
        line = line.replace(escape, text)
    return line


def man_text(path):
    with gzip.open(path, "rb") as f:
        source = f.read().decode("utf-8", errors="replace")
    lines = (roff_line(line) for line in source.split("\n"))
    return "\n".join(line for line in lines if line is not None)


def source_files():
    pages = []
    for folder in HTML_DIRS:
        for root, _, names in os.walk(folder):
            pages += [os.path.join(root, n) for n in names if n.endswith(".ja.html")]
    manuals = []
    for root, _, names in os.walk(MAN_DIR):
        manuals += [os.path.join(root, n) for n in names if n.endswith(".gz")]
    return sorted(pages), sorted(p for p in manuals if not os.path.islink(p))


def japanese_lines():
    pages, manuals = source_files()
    texts = [html_text(p) for p in pages] + [man_text(p) for p in manuals]
    for text in texts:
        for line in text.split("\n"):
            line = CONTROL.sub("", line).strip()
            if line and JAPANESE.search(line):
                yield "\u3000" + line if JAPANESE.match(line) else line


def iconv(data, source, target):
    # -c leaves out what CP932 cannot hold; iconv then exits with 1, which is expected here.
    result = subprocess.run(["iconv", "-c", "-f", source, "-t", target], input=data,
                            capture_output=True)
    if result.returncode not in (0, 1) or not result.stdout:
        sys.exit("make_corpus: iconv %s -> %s failed: %s" % (source, target,
                                                          result.stderr.decode()))
    return result.stdout


def cut_to_width(line_cp932, width):
    """The longest prefix of a CP932 line that ends on a character boundary within width bytes."""
    i = 0
    while i < len(line_cp932):
        byte = line_cp932[i]
        step = 2 if (0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC) else 1
        if i + step > width:
            break
        i += step
    return line_cp932[:i]


def repeated(lines, size):
    out = bytearray()
    k = 0
    while True:
        line = lines[k % len(lines)]
        # Keep at least CR LF's room for the last, padded line.
        if len(out) + len(line) + 2 > size - 2:
            break
        out += line + b"\r\n"
        k += 1
    rest = size - len(out) - 2
    last = cut_to_width(lines[k % len(lines)], rest)
    out += last + b" " * (rest - len(last)) + b"\r\n"
    assert len(out) == size
    return bytes(out)


def stamp():
    with open(os.path.abspath(__file__), "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    versions = ["%s %s" % (p, installed_version(p)) for p in PACKAGES]
    return "make_corpus %s\n%s\n" % (digest, "\n".join(versions))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_corpus.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    install_missing()
    sources = os.path.join(outdir, "SOURCES")
    expected = stamp()
    names = [n + ext for n in SIZES for ext in (".txt", ".utf8.txt")]
    if (os.path.exists(sources) and open(sources).read() == expected
            and all(os.path.exists(os.path.join(outdir, n)) for n in names)):
        print("make_corpus: corpus up to date in " + outdir)
        return
    utf8 = "\n".join(japanese_lines()).encode("utf-8")
    lines = [line for line in iconv(utf8, "UTF-8", "CP932").split(b"\n") if line.strip()]
    for name, size in SIZES.items():
        data = repeated(lines, size)
        with open(os.path.join(outdir, name + ".txt"), "wb") as f:
            f.write(data)
        with open(os.path.join(outdir, name + ".utf8.txt"), "wb") as f:
            f.write(iconv(data, "CP932", "UTF-8"))
    with open(sources, "w") as f:
        f.write(expected)
    print("make_corpus: %d lines, %d bytes of CP932 before repeating, in %s"
          % (len(lines), sum(len(x) + 2 for x in lines), outdir))


if __name__ == "__main__":
    main()
