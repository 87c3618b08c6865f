"""Writes the interoperability decks with the C++ generator (QUORV_DECKS_TOOL) into a temporary
directory, once per test process."""

import os
import pathlib
import subprocess
import tempfile
import unittest

_DIR = None


def deck_dir():
    """The directory holding every deck the generator writes; SkipTest without the generator."""
    global _DIR
    if _DIR is None:
        tool = os.environ.get("QUORV_DECKS_TOOL")
        if not tool or not os.path.exists(tool):
            raise unittest.SkipTest("QUORV_DECKS_TOOL does not name the interop_decks program")
        _DIR = pathlib.Path(tempfile.mkdtemp(prefix="quorv-decks-"))
        subprocess.run([tool, str(_DIR)], check=True, timeout=600)
    return _DIR


def deck(name):
    path = deck_dir() / (name + ".ppt")
    if not path.exists():
        raise AssertionError(f"the generator wrote no {path.name}")
    return path
