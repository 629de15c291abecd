"""Counts the test cases of every GoogleTest XML result, per label, and
prints the closing line: 'tests: N passed, N failed'."""
import glob
import os
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
rows = []
for folder in sys.argv[1:]:
    for path in sorted(glob.glob(os.path.join(folder, "*.xml"))):
        label = os.path.splitext(os.path.basename(path))[0]
        ok = bad = skip = 0
        for case in ET.parse(path).getroot().iter("testcase"):
            if case.find("failure") is not None or case.find("error") is not None:
                bad += 1
            elif case.get("result") == "skipped" or case.find("skipped") is not None:
                skip += 1
            else:
                ok += 1
        rows.append((label, ok, bad, skip))
        passed, failed, skipped = passed + ok, failed + bad, skipped + skip

for label, ok, bad, skip in rows:
    print(f"  {label:<12} {ok:4d} passed, {bad} failed, {skip} skipped")
if not rows:
    print("test: no test results were written")
    sys.exit(1)
print(f"tests: {passed} passed, {failed} failed" + (f", {skipped} skipped" if skipped else ""))
sys.exit(1 if failed else 0)
