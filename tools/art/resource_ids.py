"""The resource identifiers of Vornel, read from src/resources/ResourceIds.h."""

import os
import re
import types

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RESOURCES = os.path.join(ROOT, "src", "resources")


def read_ids():
    """{name: value} of every constant in ResourceIds.h."""
    with open(os.path.join(RESOURCES, "ResourceIds.h"), encoding="utf-8") as f:
        return {m.group(1): int(m.group(2)) for m in re.finditer(r"constexpr\s+int\s+(\w+)\s*=\s*(\d+)\s*;", f.read())}


# The identifiers as attributes: ids.IDB_BULLET.
ids = types.SimpleNamespace(**read_ids())
# The busy indicator's pictures in the order they are shown; the last is also its idle picture.
INDICATOR_FRAMES = [ids.IDB_FRAME_FIRST + i for i in range(7)] + [ids.IDB_FRAME_LAST]
