#!/usr/bin/env python3
"""The README's tables of directives and steps name what `hostrun --help` names, and no others.

Usage: readme_language.py README HOSTRUN.EXE

A name is a directive's first word, or a step's two ("user click"; "user next|back" names two).
The FormwellChecks section's table is held to the FormwellChecks part of the help; every other
table to the WiraxUI directives and the steps together, since the pages' table also lists a
directive of their own.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FORMWELL_HEADING = "## FormwellChecks scenarios"
FORMWELL_SECTION = "FormwellChecks scenarios"


def names(syntax):
    words = syntax.replace("\\|", "|").split()
    if not words:
        return set()
    if words[0] in ("user", "host") and len(words) > 1:
        return {words[0] + " " + action for action in words[1].split("|")}
    return {words[0]}


def readme_names(path):
    wirax, formwell = set(), set()
    heading = ""
    in_table = False
    with open(path, encoding="utf-8") as readme:
        for line in readme:
            if line.startswith("## "):
                heading = line.strip()
            if re.match(r"^\| (Directive|Step) \|", line):
                in_table = True
                continue
            if in_table and line.startswith("|---"):
                continue
            if in_table and line.startswith("| "):
                first_cell = re.split(r"(?<!\\)\|", line)[1]
                target = formwell if heading == FORMWELL_HEADING else wirax
                for span in re.findall(r"`([^`]+)`", first_cell):
                    target |= names(span)
                continue
            in_table = False
    return wirax, formwell


def help_names(hostrun):
    command = [os.path.join(ROOT, "scripts", "wine-exec.sh"), hostrun, "--help"]
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
    if done.returncode != 0:
        sys.exit(f"FAIL: hostrun --help answered {done.returncode}:\n{done.stderr}")
    wirax, formwell = set(), set()
    section = None
    for line in done.stdout.splitlines():
        if line and not line.startswith(" "):
            # The options come first; then a heading for each part of the language.
            section = None
            for start, part in (("WiraxUI scenarios", wirax), ("Steps on a page", wirax), (FORMWELL_SECTION, formwell)):
                if line.startswith(start):
                    section = part
            continue
        if section is not None and re.match(r"^  \S", line):
            section |= names(re.split(r"\s{2,}", line.strip())[0])
    return wirax, formwell


def main():
    readme, hostrun = sys.argv[1], sys.argv[2]
    failures = []
    for part, in_readme, in_help in zip(("WiraxUI", "FormwellChecks"), readme_names(readme), help_names(hostrun)):
        if not in_help:
            failures.append(f"{part}: hostrun --help names nothing")
        for name in sorted(in_help - in_readme):
            failures.append(f"{part}: '{name}' is in hostrun --help but in no table of the README")
        for name in sorted(in_readme - in_help):
            failures.append(f"{part}: '{name}' is in a table of the README but not in hostrun --help")
        print(f"{part}: {len(in_help)} names in hostrun --help, {len(in_readme)} in the README's tables")
    if failures:
        print("\n".join("FAIL: " + failure for failure in failures))
        return 1
    print("the README's tables agree with hostrun --help")
    return 0


if __name__ == "__main__":
    sys.exit(main())
