#!/usr/bin/env python3
"""Fails when a source file includes a header of a folder above its own, or a Qt Widgets header
outside the window library.

Usage: layering_check.py SOURCE_DIR WIDGETS_INCLUDE_DIR LAYER... (lowest layer first)
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def widgets_headers(widgets_dir):
    """Every name a Widgets header can be included by: QComboBox and QtWidgets/QComboBox."""
    names = {"QtWidgets", "QtWidgets/QtWidgets"}
    for entry in os.listdir(widgets_dir):
        if entry.startswith("Q") and "." not in entry:
            names.add(entry)
            names.add("QtWidgets/" + entry)
    return names


def violations(source_dir, layers, widgets):
    rank = {layer: i for i, layer in enumerate(layers)}
    found = []
    for layer in layers:
        folder = os.path.join(source_dir, layer)
        for name in sorted(os.listdir(folder)):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    bracket, header = match.groups()
                    where = f"{layer}/{name}:{number}: {header}"
                    top = header.split("/", 1)[0]
                    if bracket == '"' and top in rank and rank[top] > rank[layer]:
                        found.append(f"{where} (includes the {top} layer, above {layer})")
                    if bracket == "<" and layer != "ui" and header in widgets:
                        found.append(f"{where} (a Widgets header outside ui)")
    return found


def main():
    source_dir, widgets_dir, layers = sys.argv[1], sys.argv[2], sys.argv[3:]
    actual = {e for e in os.listdir(source_dir) if os.path.isdir(os.path.join(source_dir, e))}
    unlisted = sorted(actual - set(layers))
    problems = violations(source_dir, layers, widgets_headers(widgets_dir))
    problems += [f"{folder}/ is not in the layer order" for folder in unlisted]
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{len(layers)} layers in order: " + " -> ".join(layers))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
