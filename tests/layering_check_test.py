#!/usr/bin/env python3
"""The layering check against a small tree with one planted include per case: each forbidden form
must be reported, each allowed one must not."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layering_check  # noqa: E402

LAYERS = ["platform", "engine", "cli", "ui"]
PROGRAMS = {"main.cpp": "cli", "window_main.cpp": "ui"}
HEADERS = ["platform/files.h", "cli/options.h", "ui/window.h", "engine/image/image.h",
           "engine/png/loader.h", "engine/psd/writer.h", "engine/stages/stages.h",
           "engine/stages/watermark/text.h", "engine/run/pipeline.h", "engine/settings/keys.h"]

# (file, include line, expected fault or None when the include is allowed)
CASES = [
    ("engine/psd/planes.cpp", '#include "engine/stages/stages.h"', "engine/psd may not include engine/stages"),
    ("engine/psd/planes.cpp", '#include "engine/run/pipeline.h"', "engine/psd may not include engine/run"),
    ("engine/png/loader.cpp", '#include "engine/psd/writer.h"', "engine/png may not include engine/psd"),
    ("engine/stages/frame.cpp", '#include "engine/psd/writer.h"', "engine/stages may not include engine/psd"),
    ("engine/stages/watermark/text.cpp", '#include "../../run/pipeline.h"', "engine/stages may not include engine/run"),
    ("engine/image/image.cpp", '#include "engine/settings/keys.h"', "engine/image may not include engine/settings"),
    ("engine/psd/planes.cpp", "#include <engine/stages/stages.h>", "engine/psd may not include engine/stages"),
    ("engine/psd/planes.cpp", '#include "../stages/stages.h"', "engine/psd may not include engine/stages"),
    ("engine/run/pipeline.cpp", '#include "engine/psd/writer.h"', None),
    ("engine/stages/frame.cpp", '#include "engine/stages/watermark/text.h"', None),
    ("engine/stages/watermark/text.cpp", '#include "../stages.h"', None),
    ("engine/stages/watermark/text.cpp", '#include "text.h"', None),
    ("engine/png/loader.cpp", "#include <png.h>", None),
    ("engine/png/loader.cpp", "#include <QString>", None),
    ("platform/files.cpp", "#include <cli/options.h>", "includes the cli layer, above platform"),
    ("platform/files.cpp", '#include "../cli/options.h"', "includes the cli layer, above platform"),
    ("engine/run/sub/deep.hpp", '#include "ui/window.h"', "includes the ui layer, above engine"),
    ("engine/loose.cpp", '#include "engine/image/image.h"', "in none of the engine's parts"),
    ("cli/options.cpp", "#include <QtWidgets/qwidget.h>", "a Widgets header outside ui"),
    ("cli/options.cpp", "#include <qwidget.h>", "a Widgets header outside ui"),
    ("cli/options.cpp", "#include <QWidget>", "a Widgets header outside ui"),
    ("cli/options.cpp", "#include <QtWidgets>", "a Widgets header outside ui"),
    ("ui/window.cpp", "#include <QWidget>", None),
    ("main.cpp", '#include "ui/window.h"', "includes the ui layer, above cli"),
    ("main.cpp", "#include <QComboBox>", "a Widgets header outside ui"),
    ("window_main.cpp", '#include "ui/window.h"', None),
    ("stray.cpp", '#include "cli/options.h"', "belongs to no layer or program"),
]


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


class LayeringCheckTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.TemporaryDirectory()
        self.src = os.path.join(self.root.name, "src")
        self.widgets = os.path.join(self.root.name, "QtWidgets")
        for name in ("QWidget", "qwidget.h", "QComboBox", "qcombobox.h"):
            write(os.path.join(self.widgets, name), "")
        for header in HEADERS:
            write(os.path.join(self.src, header), "#pragma once\n")

    def tearDown(self):
        self.root.cleanup()

    def problems(self):
        widgets = layering_check.widgets_headers(self.widgets)
        return layering_check.violations(self.src, LAYERS, widgets, PROGRAMS)

    def test_the_clean_tree_passes(self):
        self.assertEqual(self.problems(), [])

    def test_each_planted_include(self):
        for path, line, fault in CASES:
            with self.subTest(path=path, line=line):
                planted = os.path.join(self.src, path)
                write(planted, line + "\n")
                found = self.problems()
                os.remove(planted)
                if fault is None:
                    self.assertEqual(found, [])
                else:
                    self.assertEqual(len(found), 1, found)
                    self.assertIn(fault, found[0])
                    self.assertTrue(found[0].startswith(path), found[0])


if __name__ == "__main__":
    unittest.main()
