"""Writes one self-contained HTML page with every country, its flag and its codes.

Usage: python examples/flag_gallery.py [OUTPUT]   (default: flag_gallery.html)

The flags are the members' own PNG images, embedded as data: URIs, so the page
needs nothing beside it. A country without a flag image (the "Uncategorized"
member XX) is listed with an empty frame in place of the flag.
"""

import base64
import html
import struct
import sys
from pathlib import Path

from tessamir import Country

SCALE = 2  # the flags are about 23 pixels wide: shown at twice their size

STYLE = """
body { font-family: system-ui, sans-serif; margin: 2em; color: #222; background: #fafafa; }
h1 { font-weight: 600; margin-bottom: 0.2em; }
ul { list-style: none; padding: 0; display: grid; gap: 10px;
     grid-template-columns: repeat(auto-fill, minmax(170px, 1fr)); }
li { background: #fff; border: 1px solid #ddd; border-radius: 6px; padding: 10px;
     display: flex; flex-direction: column; align-items: flex-start; gap: 4px; }
img, .none { image-rendering: pixelated; border: 1px solid #ccc; }
.none { display: inline-block; width: 46px; height: 30px; background: #eee; }
.codes { font-family: ui-monospace, monospace; font-size: 0.95em; }
.name { font-size: 0.85em; color: #555; }
"""


def png_size(png: bytes) -> tuple[int, int]:
    """Width and height from a PNG's header chunk."""
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        raise ValueError("not a PNG image")
    return struct.unpack(">II", png[16:24])


def card(country: Country) -> str:
    name = html.escape(country.name)
    if country.flag:
        width, height = png_size(base64.b64decode(country.flag))
        picture = (f'<img src="data:image/png;base64,{country.flag}" alt="Flag: {name}" '
                   f'width="{width * SCALE}" height="{height * SCALE}">')
    else:
        picture = '<span class="none" title="no flag"></span>'
    return (f'<li id="{country.code}">{picture}<span class="codes">{country.code} · {country.code3}</span>'
            f'<span class="name">{name}</span></li>')


def page(countries: list[Country]) -> str:
    flags = sum(1 for c in countries if c.flag)
    cards = "\n".join(card(c) for c in countries)
    return f"""<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Countries and their flags</title>
<style>{STYLE}</style>
</head>
<body>
<h1>Countries and their flags</h1>
<p>{len(countries)} countries and territories of <code>tessamir.Country</code> in member order,
{flags} with a flag: alpha-2 and alpha-3 code, and name. Written by examples/flag_gallery.py.</p>
<ul>
{cards}
</ul>
</body>
</html>
"""


def main(argv: list[str]) -> None:
    output = Path(argv[1] if len(argv) > 1 else "flag_gallery.html")
    output.write_text(page(Country.members()), encoding="utf-8")
    print(f"wrote {output}")


if __name__ == "__main__":
    main(sys.argv)
