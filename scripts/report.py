"""Writes a GoogleTest-style XML report for tests that are not GoogleTest programs.

Usage as a program:  report.py FILE SUITE NAME pass|fail [MESSAGE]
Usage as a module:   Report(path).add(suite, name, ok, message); Report.write()
"""
import sys
from xml.sax.saxutils import quoteattr


class Report:
    def __init__(self, path):
        self.path = path
        self.cases = []

    def add(self, suite, name, ok, message=""):
        self.cases.append((suite, name, ok, message))

    def write(self):
        failed = sum(1 for c in self.cases if not c[2])
        with open(self.path, "w", encoding="utf-8") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
            f.write(f'<testsuites tests="{len(self.cases)}" failures="{failed}">\n')
            for suite, name, ok, message in self.cases:
                f.write(f'  <testcase classname={quoteattr(suite)} name={quoteattr(name)}>')
                if not ok:
                    f.write(f"<failure message={quoteattr(message[:2000])}/>")
                f.write("</testcase>\n")
            f.write("</testsuites>\n")


if __name__ == "__main__":
    r = Report(sys.argv[1])
    r.add(sys.argv[2], sys.argv[3], sys.argv[4] == "pass", " ".join(sys.argv[5:]))
    r.write()
