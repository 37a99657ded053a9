"""The documentation: the README's examples run, and the reference is fresh and true."""

import ast
import doctest
import re

import pytest

import tessamir
from conftest import tool
from surface import ROOT, attributes, display

README = ROOT / "README.md"
REFERENCE = ROOT / "docs" / "reference.md"


def python_blocks(text, keep_block=lambda section, number: section != RECIPES):
    """The text with every line blanked but those of the ```python blocks that
    `keep_block` keeps (given the block's section and its number in the text),
    so that doctest's line numbers are the README's."""
    lines, inside, section, number = [], False, "", 0
    for line in text.splitlines():
        section = line if line.startswith("## ") else section
        fence = line.startswith("```")
        keep = inside and not fence and keep_block(section, number)
        if fence:
            number += inside
            inside = line == "```python"
        lines.append(line if keep else "")
    return "\n".join(lines) + "\n"


def run_examples(text):
    """The README's examples left in `text`, run: (attempted, failed, report)."""
    test = doctest.DocTestParser().get_doctest(text, {}, "README.md", str(README), 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    report = []
    result = runner.run(test, out=report.append)
    return result.attempted, result.failed, "".join(report)


def test_readme_examples_run():
    attempted, failed, report = run_examples(python_blocks(README.read_text(encoding="utf-8")))
    assert attempted >= 30
    assert failed == 0, report


# The recipes use libraries beyond the module (the docs extra): each block
# stands alone and is skipped where a library it imports is missing.
RECIPES = "## Recipes"


def recipe_blocks():
    """The numbers of the ```python blocks of the recipes."""
    text = README.read_text(encoding="utf-8")
    numbers = [number for number in range(text.count("```python"))
               if python_blocks(text, lambda section, n: section == RECIPES and n == number).strip()]
    assert numbers, "the README has recipes"
    return numbers


def imported_modules(text):
    """The top-level modules the examples of `text` import."""
    names = set()
    for example in doctest.DocTestParser().get_examples(text):
        for node in ast.walk(ast.parse(example.source)):
            if isinstance(node, ast.Import):
                names.update(alias.name.split(".")[0] for alias in node.names)
            elif isinstance(node, ast.ImportFrom) and node.module:
                names.add(node.module.split(".")[0])
    return names


@pytest.mark.parametrize("number", recipe_blocks(), ids=lambda number: f"block{number}")
def test_readme_recipe_runs(number):
    text = python_blocks(README.read_text(encoding="utf-8"),
                         lambda section, n: section == RECIPES and n == number)
    for name in sorted(imported_modules(text)):
        pytest.importorskip(name, reason=f"the recipe needs {name}: pip install '.[docs]'")
    attempted, failed, report = run_examples(text)
    assert attempted > 0
    assert failed == 0, report


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
