#!/usr/bin/env python3
"""One line per test suite, and why each skipped test was skipped, from CTest's JUnit file.

    test_summary.py JUNIT_FILE

A suite is what comes before the first dot of a test's name (GoogleTest's suite, or the
folder of a scripted test such as packaging.install). The reason of a skip is the line
after GoogleTest's "Skipped" mark, or a script's "SKIP: ..." line.
"""

import collections
import re
import sys
import xml.etree.ElementTree as ET


def skip_reason(output):
    lines = output.splitlines()
    for i, line in enumerate(lines):
        if line.endswith(": Skipped") and i + 1 < len(lines) and lines[i + 1].strip():
            return lines[i + 1].strip()
        if line.startswith("SKIP: "):
            return line[len("SKIP: "):]
    return "no reason given"


def main():
    suites = collections.OrderedDict()
    skipped = []
    for case in ET.parse(sys.argv[1]).getroot().iter("testcase"):
        name = case.get("name")
        suite = re.split(r"\.", name, maxsplit=1)[0]
        counts = suites.setdefault(suite, collections.Counter())
        if case.find("skipped") is not None:
            counts["skipped"] += 1
            skipped.append((name, skip_reason(case.findtext("system-out") or "")))
        elif case.find("failure") is not None or case.get("status") == "fail":
            counts["failed"] += 1
        else:
            counts["passed"] += 1
    width = max((len(suite) for suite in suites), default=0)
    print("Tests by suite:")
    for suite, counts in suites.items():
        parts = [f"{counts[k]} {k}" for k in ("passed", "failed", "skipped") if counts[k]]
        print(f"  {suite:<{width}}  {', '.join(parts)}")
    for name, reason in skipped:
        print(f"Skipped {name}: {reason}")


if __name__ == "__main__":
    main()
