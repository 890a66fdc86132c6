# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads kestrove-cli report --format json from stdin and checks its keys."""
import json
import sys

PORT_KEYS = {"lead", "admission_pct", "admission_deg", "cutoff_pct", "cutoff_deg",
             "release_pct", "release_deg", "compression_pct", "compression_deg",
             "max_steam_opening", "max_exhaust_opening"}
ROW_KEYS = {"setting", "offset", "direction", "closes", "valve_travel", "front", "rear"}

report = json.load(sys.stdin)
assert set(report) == {"mid_gear", "rows"}, report.keys()
assert isinstance(report["mid_gear"], float)
assert len(report["rows"]) == 12, len(report["rows"])
for row in report["rows"]:
    assert set(row) == ROW_KEYS, row.keys()
    assert row["direction"] in ("F", "R")
    assert isinstance(row["closes"], bool)
    assert abs(row["offset"] - (row["setting"] - report["mid_gear"])) < 1e-9
    for port in ("front", "rear"):
        assert set(row[port]) == PORT_KEYS, row[port].keys()
        for key, value in row[port].items():
            assert value is None or isinstance(value, (int, float)), (key, value)
print("ok")
