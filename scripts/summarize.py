"""Counts test cases from the XML reports of a test run and prints "N passed, N failed".

Every GoogleTest program (and every script test) writes <name>.xml into reports/host or
reports/win. A CTest test that left no report of its own (a crash, a time-out) counts as
one failed case, taken from CTest's JUnit output. Exit status 1 when anything failed.
"""
import os
import sys
import xml.etree.ElementTree as ET


def count_report(path):
    passed = failed = 0
    for case in ET.parse(path).iter("testcase"):
        if case.get("status") == "notrun" or case.find("skipped") is not None:
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            print(f"FAILED: {case.get('classname')}.{case.get('name')}  ({os.path.basename(path)})")
        else:
            passed += 1
    return passed, failed


def main(reports):
    passed = failed = 0
    for side in ("host", "win"):
        folder = os.path.join(reports, side)
        have = set()
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            if name.endswith(".xml"):
                have.add(name[:-4])
                try:
                    p, f = count_report(os.path.join(folder, name))
                except ET.ParseError:
                    p, f = 0, 1
                    print(f"FAILED: unreadable report {name}")
                passed += p
                failed += f
        ctest = os.path.join(reports, f"{side}-ctest.xml")
        if os.path.exists(ctest):
            for case in ET.parse(ctest).iter("testcase"):
                name = case.get("name")
                if name in have:
                    continue
                if case.get("status") == "fail" or case.find("failure") is not None:
                    failed += 1
                    print(f"FAILED: {name} (no report: crashed or timed out)")
                elif case.get("status") == "run":
                    passed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
