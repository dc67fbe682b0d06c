#!/usr/bin/env python3
"""Fails when a source folder includes a folder above it: each layer may use only the layers
below it (and its own folder). Prints every offending include."""
import os
import re
import sys

# Bottom to top; folders on one line share a layer and must not include each other, except
# script, which binds the toolkit (gui never includes script).
LAYERS = [
    ["core"],
    ["input", "gl2d", "audio", "options"],
    ["gui"],
    ["script"],
    ["world"],
    ["net"],
    ["match"],
    ["frontend"],
    ["app"],
]
RANK = {}
for rank, layer in enumerate(LAYERS):
    for folder in layer:
        RANK[folder] = rank

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/', re.M)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    bad = []
    for folder in sorted(os.listdir(root)):
        path = os.path.join(root, folder)
        if not os.path.isdir(path):
            continue
        if folder not in RANK:
            bad.append(f"src/{folder}/: a folder that no layer names")
            continue
        for dirpath, _, files in os.walk(path):
            for name in sorted(files):
                file = os.path.join(dirpath, name)
                with open(file, errors="replace") as text:
                    for target in INCLUDE.findall(text.read()):
                        if target == folder:
                            continue
                        if target not in RANK or RANK[target] >= RANK[folder]:
                            bad.append(f"{os.path.relpath(file, os.path.join(root, '..'))} -> {target}/")
    for line in bad:
        print(line)
    if bad:
        print(f"{len(bad)} includes point up the layers (or sideways)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
