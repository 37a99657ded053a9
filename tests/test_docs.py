"""The documentation: the README's examples run, and the reference is fresh and true."""

import doctest
import re

import pytest

import tessamir
from conftest import tool
from surface import ROOT, attributes, display

README = ROOT / "README.md"
REFERENCE = ROOT / "docs" / "reference.md"


def python_blocks(text):
    """The text with every line outside the ```python blocks blanked, so that
    doctest's line numbers are the README's."""
    lines, inside = [], False
    for line in text.splitlines():
        fence = line.startswith("```")
        keep = inside and not fence
        inside = (line == "```python") if fence else inside
        lines.append(line if keep else "")
    return "\n".join(lines) + "\n"


def test_readme_examples_run():
    text = python_blocks(README.read_text(encoding="utf-8"))
    test = doctest.DocTestParser().get_doctest(text, {}, "README.md", str(README), 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    report = []
    result = runner.run(test, out=report.append)
    assert result.attempted >= 30
    assert result.failed == 0, "".join(report)


def test_reference_is_a_fresh_generation():
    assert REFERENCE.read_text(encoding="utf-8") == tool("make_reference").render(tessamir), \
        "run python tools/make_reference.py"


def sections(text):
    """Each class section's table rows, split into cells, by class name."""
    found = {}
    for name, body in re.findall(r"^## (\w+)\n(.*?)(?=^## |\Z)", text, re.M | re.S):
        rows = [line.strip("| ").split(" | ") for line in body.splitlines() if line.startswith("| ")]
        found[name] = rows[2:]  # past the header and the rule
    return found


@pytest.mark.parametrize("name", tessamir.__all__)
def test_reference_table_names_every_member(name):
    cls = getattr(tessamir, name)
    rows = sections(REFERENCE.read_text(encoding="utf-8"))[name]
    members = cls.members()
    assert len(rows) == len(members)
    for index, (row, member) in enumerate(zip(rows, members)):
        assert row[0] == str(index) and row[2] == f"`{display(member)}`"
        attribute = row[1].strip("`")
        if attribute == "—":
            assert member not in attributes(cls).values()
        else:
            assert vars(cls)[attribute] == member
