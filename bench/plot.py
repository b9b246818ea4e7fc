#!/usr/bin/python3
"""Draws the benchmark tables of docs/benchmarks.md as SVG plots and links them from a "Plots"
section of the same file: seconds and peak memory against megapixels for the converter,
ImageMagick and the decode floor, and the photograph rows (if any) as bars. Reads only the
"Seconds and peak RSS (MB)" table that bench/run.sh writes, so it redraws the committed numbers
as well as fresh ones.

Usage: plot.py BENCHMARKS.md PLOT-FOLDER
"""
import os
import re
import sys

import matplotlib

matplotlib.use("svg")
import matplotlib.pyplot as plt  # noqa: E402

TABLE = "## Seconds and peak RSS (MB)"
SECTION = "## Plots"
# (label in the plots, column of seconds, column of peak RSS)
TOOLS = [("Lumbrix", "default", "default rss"),
         ("ImageMagick", "imagemagick", "imagemagick rss"),
         ("decode floor", "floor", "floor rss")]


def read_table(lines):
    """The table's rows as {column (lower case): cell}, the input's title under "input"."""
    start = lines.index(TABLE)
    table = []
    for line in lines[start + 1:]:
        if line.startswith("## "):
            break
        if line.startswith("|"):
            table.append([cell.strip() for cell in line.strip().strip("|").split("|")])
    header = [cell.lower() for cell in table[0]]
    return [dict(zip(header, row)) for row in table[2:]]


def number(row, column):
    try:
        return float(row.get(column, "-"))
    except ValueError:
        return None


def megapixels(title):
    size = re.search(r"(\d+)\s*x\s*(\d+)", title)
    return int(size.group(1)) * int(size.group(2)) / 1e6 if size else None


def is_photograph(row):
    return "photo" in row["input"].lower()


def figure():
    plt.rcParams["svg.hashsalt"] = "lumbrix"  # the same numbers give the same file
    return plt.subplots(figsize=(7, 4.5))


def save(fig, path):
    fig.tight_layout()
    fig.savefig(path, format="svg", metadata={"Date": None})
    plt.close(fig)


def against_megapixels(rows, column_of, ylabel, title, path):
    """One line per tool through the rows it has a number for; False when none has any."""
    fig, ax = figure()
    drawn = False
    for (label, *columns), marker in zip(TOOLS, "os^"):
        points = sorted((megapixels(r["input"]), number(r, columns[column_of]), r["input"])
                        for r in rows if number(r, columns[column_of]) is not None)
        if not points:
            continue
        drawn = True
        ax.plot([p[0] for p in points], [p[1] for p in points], marker=marker, linestyle="none",
                label=label)
    if not drawn:
        plt.close(fig)
        return False
    for row in rows:
        ax.annotate(row["input"], (megapixels(row["input"]), number(row, TOOLS[0][column_of + 1])
                                   or 1), fontsize=7, xytext=(4, -10), textcoords="offset points")
    ax.set_xscale("log")
    ax.set_yscale("log")
    ax.set_xlabel("megapixels")
    ax.set_ylabel(ylabel)
    ax.set_title(title)
    ax.grid(True, which="both", alpha=0.3)
    ax.legend()
    save(fig, path)
    return True


def photograph_bars(rows, path):
    """Seconds and peak RSS of each photograph row, a bar per tool; False without such rows."""
    photos = [r for r in rows if is_photograph(r)]
    if not photos:
        return False
    fig, axes = plt.subplots(1, 2, figsize=(10, 4.5))
    width = 0.8 / len(TOOLS)
    for ax, column_of, ylabel in ((axes[0], 0, "seconds"), (axes[1], 1, "peak RSS (MB)")):
        for i, (label, *columns) in enumerate(TOOLS):
            values = [number(r, columns[column_of]) for r in photos]
            ax.bar([x + i * width for x in range(len(photos))], [v or 0 for v in values], width,
                   label=label)
        ax.set_xticks([x + width * (len(TOOLS) - 1) / 2 for x in range(len(photos))])
        ax.set_xticklabels([r["input"] for r in photos], fontsize=7, rotation=15)
        ax.set_ylabel(ylabel)
        ax.legend()
    fig.suptitle("Photographs")
    save(fig, path)
    return True


def with_section(lines, links, notes):
    """The document with its Plots section (dropped if there was one) after the seconds table."""
    if SECTION in lines:
        start = lines.index(SECTION)
        end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")),
                   len(lines))
        lines = lines[:start] + lines[end:]
    after = lines.index(TABLE) + 1
    at = next((i for i in range(after, len(lines)) if lines[i].startswith("## ")), len(lines))
    section = [SECTION, "",
               "Drawn by `bench/plot.py` from the table above; both axes are logarithmic in the "
               "plots against megapixels.", ""]
    section += [line for text, link in links for line in (f"![{text}]({link})", "")]
    section += [line for note in notes for line in (note, "")]
    return lines[:at] + section + lines[at:]


def main():
    doc, folder = sys.argv[1:3]
    lines = open(doc, encoding="utf-8").read().split("\n")
    rows = [r for r in read_table(lines) if megapixels(r["input"])]
    os.makedirs(folder, exist_ok=True)
    relative = os.path.relpath(folder, os.path.dirname(os.path.abspath(doc)))
    noise = [r for r in rows if not is_photograph(r)]
    plots = [("Seconds against megapixels", "seconds.svg",
              lambda p: against_megapixels(noise, 0, "seconds", "Seconds per conversion", p)),
             ("Peak memory against megapixels", "memory.svg",
              lambda p: against_megapixels(noise, 1, "peak RSS (MB)", "Peak memory", p)),
             ("Photographs: seconds and peak memory", "photographs.svg",
              lambda p: photograph_bars(rows, p))]
    links = [(text, f"{relative}/{name}") for text, name, draw in plots
             if draw(os.path.join(folder, name))]
    notes = []
    if not any(number(r, TOOLS[2][2]) is not None for r in noise):
        notes.append("The table has no peak memory of the decode floor yet (`bench/run.sh` "
                     "records it from its next run), so the memory plot leaves the floor out.")
    if not any(is_photograph(r) for r in rows):
        notes.append("The table has no photograph rows yet, so there are no photograph bars.")
    open(doc, "w", encoding="utf-8").write("\n".join(with_section(lines, links, notes)))


if __name__ == "__main__":
    main()
