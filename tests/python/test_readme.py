"""The examples of python/README.md run and print what they say."""

import contextlib
import io
import os
import pathlib
import re

import numpy
import project1
import pytest

README = pathlib.Path(os.environ["PROJECT1_SOURCE_DIR"]) / "python" / "README.md"
BLOCKS = re.findall(r"```python\n(.*?)```", README.read_text(), re.S)


def test_the_pandas_example_is_five_lines_and_tables_the_catalogue_from_20_to_120():
    example = next(block for block in BLOCKS if "pandas" in block)
    assert len(example.strip().splitlines()) == 5
    shown = io.StringIO()
    scope = {}
    with contextlib.redirect_stdout(shown):
        exec(example, scope)
    table = scope["table"]
    assert list(table.index) == [oil["name"] for oil in project1.catalogue()]
    assert list(table.columns) == list(range(20, 121, 10))
    assert table.loc["SHC 632", 40] == project1.kinematic_at(320, 35, 40)
    assert table.loc["SHC 624", 110] == project1.kinematic_at(31, 5.8, 110)
    assert "SHC 639" in shown.getvalue()


def test_the_first_example_gives_the_values_and_the_message_it_shows():
    lines = BLOCKS[0].splitlines()
    scope = {"project1": project1}
    assert numpy.array_repr(eval(lines[1].removeprefix(">>> "), scope)) == lines[2]
    with pytest.raises(ValueError) as raised:
        eval(lines[3].removeprefix(">>> "), scope)
    assert lines[4] == "ValueError: " + str(raised.value)
