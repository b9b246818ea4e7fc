#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumbrix::test {

// Readers that are not ours, so a writer and reader that agree on a mistake cannot pass.

// Runs program and returns its standard output; empty when it fails or takes over a minute.
QByteArray run_reader(const QString &program, const QStringList &arguments);

// How far psd-tools' composite may be from the picture at this alpha: a composite over white
// keeps a colour only to 255 / alpha, and psd-tools truncates as it takes the white away, so it
// is off by up to half that plus one; 2 from alpha 128 up.
double composite_tolerance(int alpha);

// A PSD as psd-tools reads it; pixels are RGBA, rows from the top.
struct PsdToolsView {
  int width = 0;
  int height = 0;
  int layers = 0;
  QStringList names;
  bool layer_alpha = false; // the first layer has a transparency channel
  QList<double> dpi;        // horizontal, vertical; empty without ResolutionInfo
  QByteArray icc_profile;   // empty without one
  int warnings = 0;         // complaints psd-tools logged while reading
  QByteArray layer;         // the first layer's pixels
  QByteArray merged;        // the merged image's four channels as stored
  QByteArray composite;     // topil(): the merged image with its white matte removed
};
bool read_with_psd_tools(const QString &path, PsdToolsView &view);
// Many files in one run of psd-tools, in order; empty when any is unreadable.
QList<PsdToolsView> read_with_psd_tools(const QStringList &paths);

// The samples psd-tools decodes at the file's depth: the first layer's (empty without layers)
// and the composite's, RGBA interleaved, rows from the top; depth 0 when it cannot read the file.
struct PsdToolsSamples {
  int depth = 0;
  std::vector<int> layer;
  std::vector<int> composite;
};
PsdToolsSamples psd_tools_samples(const QString &path);

// ImageMagick's view of PSDs, in one run: per file, whether each frame (the composite, then
// each layer) has alpha.
QList<QList<bool>> magick_frame_alphas(const QStringList &paths);

} // namespace lumbrix::test
