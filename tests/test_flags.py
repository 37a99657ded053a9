"""Country flags: every text is a Base64 PNG file that a reader accepts."""

import base64
import struct
import zlib

import pytest

from tessamir import Country

ENTRIES = Country.members()[:-1]

# The territories that show another entry's flag, with that entry first.
SHARED = [{"AU", "HM"}, {"NL", "BQ"}, {"NO", "BV", "SJ"},
          {"FR", "GF", "GP", "MQ", "YT", "RE", "BL", "MF", "PM", "WF"}, {"GB", "SH"}, {"US", "UM"}]

# Samples per row of each PNG colour type, for the inflated size of the image.
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunks(png):
    """The (type, data) chunks of a PNG file, each checked against its CRC."""
    position = 8
    while position < len(png):
        (length,) = struct.unpack(">I", png[position:position + 4])
        kind = png[position + 4:position + 8]
        data = png[position + 8:position + 8 + length]
        (crc,) = struct.unpack(">I", png[position + 8 + length:position + 12 + length])
        assert len(data) == length and zlib.crc32(kind + data) == crc, kind
        yield kind, data
        position += 12 + length
    assert position == len(png)


@pytest.mark.parametrize("country", ENTRIES, ids=str)
def test_flag_is_a_small_valid_png(country):
    text = country.flag
    assert 124 <= len(text) <= 1272 and text.isascii()
    png = base64.b64decode(text, validate=True)
    assert base64.b64encode(png).decode() == text  # standard alphabet, padded, one line
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    found = list(chunks(png))
    kinds = [kind for kind, _ in found]
    assert kinds[0] == b"IHDR" and kinds[-1] == b"IEND" and b"IDAT" in kinds
    width, height, depth, colour = struct.unpack(">IIBB", found[0][1][:10])
    assert 0 < width <= 43 and 0 < height <= 20
    if colour == 3:
        assert b"PLTE" in kinds
    pixels = zlib.decompress(b"".join(data for kind, data in found if kind == b"IDAT"))
    row = (width * depth * CHANNELS[colour] + 7) // 8
    assert len(pixels) == height * (1 + row)  # each row: a filter byte, then the samples


def test_sharing_groups_are_exact_and_all_other_flags_differ():
    by_text = {}
    for country in ENTRIES:
        by_text.setdefault(country.flag, set()).add(country.code)
    assert len(by_text) == 234
    assert sorted(map(sorted, (g for g in by_text.values() if len(g) > 1))) == sorted(map(sorted, SHARED))


def test_most_flags_are_23_pixels_wide():
    widths = [struct.unpack(">I", base64.b64decode(c.flag)[16:20])[0] for c in ENTRIES]
    assert widths.count(23) > 240


def test_uncategorized_has_no_flag():
    assert Country("XX").flag == ""
