"""The product configuration as the scripts and tests see it: values read from the
program's own header, assistant/core/ProductConfig.h, so nothing is written down twice."""
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HEADER = os.path.join(ROOT, "assistant", "core", "ProductConfig.h")


def config_value(name):
    """The text of the string constant `name` (narrow or u"..." literal)."""
    with open(HEADER, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"\b%s\s*=\s*u?\"([^\"]*)\"" % re.escape(name), text)
    if not m:
        raise SystemExit("ProductConfig.h has no %s" % name)
    return m.group(1)
