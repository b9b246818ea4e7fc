#include "support/independent_readers.h"

#include "support/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

namespace lumbrix::test {

QByteArray run_reader(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0)
    return QByteArray();
  return process.readAllStandardOutput();
}

double composite_tolerance(int alpha) { return std::max(2.0, 127.5 / alpha + 1); }

QList<PsdToolsView> read_with_psd_tools(const QStringList &paths) {
  const QByteArray out =
      run_reader(QStringLiteral("/usr/bin/python3"),
                 QStringList{source_dir() + "tests/support/psd_tools_view.py"} + paths);
  QList<PsdToolsView> views;
  for (qsizetype at = 0; at < out.size();) {
    const qsizetype line_end = out.indexOf('\n', at);
    if (line_end < 0)
      return {};
    const QJsonObject summary = QJsonDocument::fromJson(out.mid(at, line_end - at)).object();
    PsdToolsView view;
    view.width = summary["width"].toInt();
    view.height = summary["height"].toInt();
    view.layers = summary["layers"].toInt();
    for (const QJsonValue name : summary["names"].toArray())
      view.names << name.toString();
    view.layer_alpha = summary["layer_alpha"].toBool();
    for (const QJsonValue dpi : summary["dpi"].toArray())
      view.dpi << dpi.toDouble();
    view.icc_profile = QByteArray::fromHex(summary["icc"].toString().toLatin1());
    view.warnings = summary["warnings"].toInt();
    const qsizetype plane = static_cast<qsizetype>(view.width) * view.height * 4;
    if (out.size() < line_end + 1 + 3 * plane)
      return {};
    view.layer = out.mid(line_end + 1, plane);
    view.merged = out.mid(line_end + 1 + plane, plane);
    view.composite = out.mid(line_end + 1 + 2 * plane, plane);
    views.append(view);
    at = line_end + 1 + 3 * plane;
  }
  return views.size() == paths.size() ? views : QList<PsdToolsView>();
}

bool read_with_psd_tools(const QString &path, PsdToolsView &view) {
  const QList<PsdToolsView> views = read_with_psd_tools(QStringList{path});
  if (views.isEmpty())
    return false;
  view = views.front();
  return true;
}

PsdToolsSamples psd_tools_samples(const QString &path) {
  const QJsonObject read =
      QJsonDocument::fromJson(
          run_reader(QStringLiteral("/usr/bin/python3"),
                     {source_dir() + "tests/support/psd_tools_samples.py", path}))
          .object();
  PsdToolsSamples samples;
  samples.depth = read["depth"].toInt();
  for (const QJsonValue value : read["layer"].toArray())
    samples.layer.push_back(value.toInt());
  for (const QJsonValue value : read["composite"].toArray())
    samples.composite.push_back(value.toInt());
  return samples;
}

// identify prints one line per frame: the file's index among those named, then the alpha.
QList<QList<bool>> magick_frame_alphas(const QStringList &paths) {
  QList<QList<bool>> files(paths.size());
  const QString lines = QString::fromUtf8(
      run_reader(QStringLiteral("identify"), QStringList{"-format", "%i|%A\n"} + paths));
  for (const QString &line : lines.split('\n', Qt::SkipEmptyParts)) {
    const QString file = line.section('|', 0, 0);
    const QString alpha = line.section('|', 1);
    const auto index = paths.indexOf(file);
    if (index >= 0)
      files[index].append(alpha != QLatin1String("Undefined") && alpha != QLatin1String("False"));
  }
  return files;
}

} // namespace lumbrix::test
