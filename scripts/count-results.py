#!/usr/bin/env python3
"""Adds up the GoogleTest XML reports under a build tree and prints the
closing line: '<N> passed, <N> failed, <N> skipped'."""
import pathlib
import sys
import xml.etree.ElementTree as ET

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build")
passed = failed = skipped = 0
for report in sorted(root.glob("**/results/*.xml")):
    try:
        suites = ET.parse(report).getroot()
    except ET.ParseError:
        print(f"unreadable report {report}")
        failed += 1
        continue
    for case in suites.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
print(f"test cases: {passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed or passed == 0 else 0)
