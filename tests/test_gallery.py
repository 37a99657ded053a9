"""The flag gallery: one page with every country, its flag image embedded."""

import base64
import html.parser
import subprocess
import sys

from tessamir import Country
from surface import ROOT

PREFIX = "data:image/png;base64,"


class Cards(html.parser.HTMLParser):
    """The page's cards in order, as [id, image source or None, text]."""

    def __init__(self, page):
        super().__init__()
        self.cards = []
        self.feed(page)

    def handle_starttag(self, tag, attrs):
        if tag == "li":
            self.cards.append([dict(attrs)["id"], None, ""])
        elif tag == "img":
            assert self.cards[-1][1] is None
            self.cards[-1][1] = dict(attrs)["src"]

    def handle_data(self, data):
        if self.cards:
            self.cards[-1][2] += data.strip()


def test_gallery_embeds_the_249_flags(tmp_path):
    script = ROOT / "examples" / "flag_gallery.py"
    subprocess.run([sys.executable, script], cwd=tmp_path, check=True, capture_output=True)
    subprocess.run([sys.executable, script, tmp_path / "named.html"], check=True, capture_output=True)
    page = (tmp_path / "flag_gallery.html").read_text(encoding="utf-8")
    assert (tmp_path / "named.html").read_text(encoding="utf-8") == page
    cards = Cards(page).cards
    countries = Country.members()
    assert [card[0] for card in cards] == [c.code for c in countries]
    assert sum(src is not None for _, src, _ in cards) == 249
    for (_, src, text), country in zip(cards, countries):
        assert text == f"{country.code} · {country.code3}{country.name}"
        if country.code == "XX":
            assert src is None
        else:
            png = base64.b64decode(src.removeprefix(PREFIX), validate=True)
            assert src.startswith(PREFIX) and png.startswith(b"\x89PNG\r\n\x1a\n")
            assert png == base64.b64decode(country.flag)
