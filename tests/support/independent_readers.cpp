#include "support/independent_readers.h"

#include "support/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace lumbrix::test {

QByteArray run_reader(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0)
    return QByteArray();
  return process.readAllStandardOutput();
}

bool read_with_psd_tools(const QString &path, PsdToolsView &view) {
  const QByteArray out = run_reader(QStringLiteral("/usr/bin/python3"),
                                    {source_dir() + "tests/support/psd_tools_view.py", path});
  const qsizetype line_end = out.indexOf('\n');
  if (line_end < 0)
    return false;
  const QJsonObject summary = QJsonDocument::fromJson(out.left(line_end)).object();
  view = PsdToolsView{};
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
  if (out.size() != line_end + 1 + 3 * plane)
    return false;
  view.layer = out.mid(line_end + 1, plane);
  view.merged = out.mid(line_end + 1 + plane, plane);
  view.composite = out.mid(line_end + 1 + 2 * plane, plane);
  return true;
}

QList<MagickFrame> read_with_magick(const QString &path) {
  QList<MagickFrame> frames;
  const QString alphas =
      QString::fromUtf8(run_reader(QStringLiteral("identify"), {"-format", "%A\n", path}));
  for (const QString &alpha : alphas.split('\n', Qt::SkipEmptyParts)) {
    const QString frame = path + QStringLiteral("[%1]").arg(frames.size());
    frames.append({alpha != QLatin1String("Undefined") && alpha != QLatin1String("False"),
                   run_reader(QStringLiteral("convert"), {frame, "-depth", "8", "rgba:-"})});
  }
  return frames;
}

} // namespace lumbrix::test
