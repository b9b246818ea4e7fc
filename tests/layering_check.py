#!/usr/bin/env python3
"""Fails when a source file includes a header it may not see:

- a header of a layer above its own (the layers are the folders of src/, lowest first);
- inside the engine, a header of a part its part may not use (ENGINE_PARTS);
- a Qt Widgets header outside the window library.

Every .cpp, .h and .hpp below src/ is read, sub-folders included, and both include forms count:
"cli/x.h" and <cli/x.h>, and a path with "." or ".." is resolved from the including file's
folder first. A file directly in src/ is the main file of a program, named with --program.

Usage: layering_check.py SOURCE_DIR WIDGETS_INCLUDE_DIR [--program FILE=LAYER]... LAYER...
(lowest layer first)
"""
import os
import posixpath
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_ENDINGS = (".cpp", ".h", ".hpp")

# What each part of the engine may include besides itself. The picture and the settings are
# the ground every part stands on; the PNG reader, the PSD writer and the stages know nothing of
# one another; only run/ puts them together.
ENGINE_PARTS = {
    "image": set(),
    "settings": set(),
    "png": {"image"},
    "psd": {"image"},
    "stages": {"image", "settings"},
    "run": {"image", "settings", "png", "psd", "stages"},
}


def widgets_headers(widgets_dir):
    """Every name a Widgets header can be included by, lower-cased: qcombobox, qcombobox.h."""
    names = {"qtwidgets"}
    for entry in os.listdir(widgets_dir):
        if entry.lower().startswith("q"):
            names.add(entry.lower())
    return names


def is_widgets_header(header, widgets):
    name = header.lower()
    if name.startswith("qtwidgets/"):
        return True
    return name in widgets


def source_files(source_dir):
    """Paths of every source file below source_dir, relative to it, with "/" separators."""
    found = []
    for folder, subfolders, names in os.walk(source_dir):
        subfolders.sort()
        for name in sorted(names):
            if name.endswith(SOURCE_ENDINGS):
                relative = os.path.relpath(os.path.join(folder, name), source_dir)
                found.append(relative.replace(os.sep, "/"))
    return found


def resolve(source_dir, including, header):
    """The included file's path relative to source_dir, or None when it lies outside."""
    candidates = [posixpath.join(posixpath.dirname(including), header), header]
    for candidate in candidates:
        path = posixpath.normpath(candidate)
        if not path.startswith("../") and os.path.isfile(os.path.join(source_dir, path)):
            return path
    # A header that does not exist still names the layer its path points into.
    path = posixpath.normpath(header)
    return None if path.startswith("../") or path.startswith("/") else path


class Checker:
    def __init__(self, source_dir, layers, widgets, programs):
        self.source_dir = source_dir
        self.rank = {layer: i for i, layer in enumerate(layers)}
        self.widgets = widgets
        self.programs = programs

    def layer_of(self, path):
        """(layer, engine part) of a path relative to source_dir; part is None outside the engine."""
        parts = path.split("/")
        if len(parts) == 1:
            return self.programs.get(path), None
        layer = parts[0] if parts[0] in self.rank else None
        part = parts[1] if layer == "engine" and len(parts) > 2 else None
        return layer, part

    def check_include(self, path, layer, part, bracket, header):
        problems = []
        if is_widgets_header(header, self.widgets) and layer != "ui":
            problems.append("a Widgets header outside ui")
        target = resolve(self.source_dir, path, header)
        if target is None or (bracket == "<" and "/" not in target):
            return problems
        top, top_part = self.layer_of(target)
        if top is None or top not in self.rank:
            return problems
        if self.rank[top] > self.rank[layer]:
            problems.append(f"includes the {top} layer, above {layer}")
        elif top == layer == "engine" and part != top_part and top_part not in ENGINE_PARTS[part]:
            problems.append(f"engine/{part} may not include engine/{top_part}")
        return problems

    def check_file(self, path):
        layer, part = self.layer_of(path)
        if layer is None:
            return [f"{path} belongs to no layer or program"]
        if layer == "engine" and part not in ENGINE_PARTS:
            return [f"{path} is in none of the engine's parts"]
        found = []
        with open(os.path.join(self.source_dir, path), encoding="utf-8") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if match:
                    bracket, header = match.groups()
                    for problem in self.check_include(path, layer, part, bracket, header):
                        found.append(f"{path}:{number}: {header} ({problem})")
        return found


def violations(source_dir, layers, widgets, programs):
    checker = Checker(source_dir, layers, widgets, programs)
    found = []
    for path in source_files(source_dir):
        found += checker.check_file(path)
    return sorted(set(found))


def parse_arguments(arguments):
    source_dir, widgets_dir = arguments[0], arguments[1]
    programs, layers = {}, []
    rest = iter(arguments[2:])
    for argument in rest:
        if argument == "--program":
            name, layer = next(rest).split("=", 1)
            programs[name] = layer
        else:
            layers.append(argument)
    return source_dir, widgets_dir, programs, layers


def main(arguments):
    source_dir, widgets_dir, programs, layers = parse_arguments(arguments)
    actual = {e for e in os.listdir(source_dir) if os.path.isdir(os.path.join(source_dir, e))}
    problems = violations(source_dir, layers, widgets_headers(widgets_dir), programs)
    problems += [f"{folder}/ is not in the layer order" for folder in sorted(actual - set(layers))]
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{len(layers)} layers in order: " + " -> ".join(layers))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
