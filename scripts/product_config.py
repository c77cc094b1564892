"""The product configuration as the scripts and tests see it: values read from the
program's own header, assistant/core/ProductConfig.h, so nothing is written down twice.

A value is a string constant (`ProdName = u"" LV_PRODUCT_NAME;`) or a macro
(`#define LV_COMPANY_NAME "..."`), each a row of string literals and macro names that are
joined as the compiler joins them. As a program: product_config.py NAME prints the value."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HEADER = os.path.join(ROOT, "assistant", "core", "ProductConfig.h")

# One piece of a value: a string literal (narrow or u"...") or a macro name.
PIECE = re.compile(r'\s*(?:u?"([^"]*)"|([A-Za-z_]\w*))')


def _definitions(text):
    """Every constant and macro of the header: name -> the text of its value."""
    found = {m.group(1): m.group(2)
             for m in re.finditer(r"^#define\s+(\w+)[ \t]+([^\n]*)$", text, re.M)}
    for m in re.finditer(r"\b(\w+)\s*=\s*([^;]*);", text):
        found.setdefault(m.group(1), m.group(2))
    return found


def _join(expression, definitions, name):
    value, pos = "", 0
    while pos < len(expression.rstrip()):
        m = PIECE.match(expression, pos)
        if not m or m.end() == pos:
            raise SystemExit("ProductConfig.h: %s is not a row of strings" % name)
        if m.group(2) is None:
            value += m.group(1)
        elif m.group(2) in definitions:
            value += _join(definitions[m.group(2)], definitions, m.group(2))
        else:
            raise SystemExit("ProductConfig.h: %s uses %s, which it does not define"
                             % (name, m.group(2)))
        pos = m.end()
    return value


def config_value(name):
    """The text of the string constant or macro `name`."""
    with open(HEADER, encoding="utf-8") as f:
        definitions = _definitions(f.read())
    if name not in definitions:
        raise SystemExit("ProductConfig.h has no %s" % name)
    return _join(definitions[name], definitions, name)


if __name__ == "__main__":
    print(config_value(sys.argv[1]))
