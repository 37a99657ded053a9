"""The flag gallery: one page with every country, its flag image embedded."""

import base64
import html.parser
import subprocess
import sys

from tessamir import Country
from conftest import ROOT

SCRIPT = ROOT / "examples" / "flag_gallery.py"
PREFIX = "data:image/png;base64,"


class Cards(html.parser.HTMLParser):
    """The page's cards by id: the image source, if any, and the text."""

    def __init__(self):
        super().__init__()
        self.cards, self.current = {}, None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "li":
            self.current = self.cards[attrs["id"]] = {"src": None, "text": ""}
        elif tag == "img" and self.current is not None:
            assert self.current["src"] is None
            self.current["src"] = attrs["src"]

    def handle_endtag(self, tag):
        if tag == "li":
            self.current = None

    def handle_data(self, data):
        if self.current is not None:
            self.current["text"] += data


def test_gallery_embeds_the_249_flags(tmp_path):
    subprocess.run([sys.executable, str(SCRIPT)], cwd=tmp_path, check=True, capture_output=True)
    parser = Cards()
    parser.feed((tmp_path / "flag_gallery.html").read_text(encoding="utf-8"))
    countries = Country.members()
    assert list(parser.cards) == [c.code for c in countries]
    images = [card["src"] for card in parser.cards.values() if card["src"] is not None]
    assert len(images) == 249 and all(src.startswith(PREFIX) for src in images)
    for country in countries:
        card = parser.cards[country.code]
        assert card["text"] == f"{country.code} · {country.code3}{country.name}"
        if country.code == "XX":
            assert card["src"] is None
        else:
            png = base64.b64decode(card["src"][len(PREFIX):], validate=True)
            assert png.startswith(b"\x89PNG\r\n\x1a\n") and png == base64.b64decode(country.flag)


def test_gallery_goes_where_it_is_told(tmp_path):
    target = tmp_path / "out" / "flags.html"
    target.parent.mkdir()
    subprocess.run([sys.executable, str(SCRIPT), str(target)], cwd=tmp_path, check=True, capture_output=True)
    assert target.read_text(encoding="utf-8").count(PREFIX) == 249
    assert not (tmp_path / "flag_gallery.html").exists()
