"""The built tool for the module's tests: its JSON answers are what the module must give."""

import json
import os
import subprocess

import pytest


def viscosity_json(*args):
    """The built viscosity tool's answer to args, read from its JSON."""
    done = subprocess.run([os.environ["PROJECT1_VISCOSITY"], *args, "--format", "json"],
                          capture_output=True, text=True, check=False)
    assert done.returncode == 0, done.stderr
    return json.loads(done.stdout)


def viscosity_error(*args):
    """The built tool's message for args it refuses, without its "viscosity: " prefix."""
    done = subprocess.run([os.environ["PROJECT1_VISCOSITY"], *args],
                          capture_output=True, text=True, check=False)
    assert done.returncode != 0, done.stdout
    return done.stderr.strip().removeprefix("viscosity: ")


@pytest.fixture(autouse=True)
def no_user_oils(tmp_path, monkeypatch):
    """An application data folder holding no oils of the user's, unless a test writes some."""
    monkeypatch.setenv("XDG_DATA_HOME", str(tmp_path / "data"))
