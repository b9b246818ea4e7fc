// Renders the "handdrawn" theme: one PNG per image name and size, theme.cfg naming them, and the
// list of files to pack. With --contact-sheet it draws every icon at every size into one picture;
// with --program-icon, the program's desktop icon.

#include "contact_sheet.h"
#include "prefs/image_tables.h"
#include "program_icon.h"
#include "sketch_style.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int sizes[] = {16, 24, 32, 48, 64};
const char *const display_name = "Hand-drawn";

QString stem(const QString &name) { return name.toLower(); }

QImage render_icon(const QString &name, int size) {
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  paint_sketch(painter, name, size);
  return icon;
}

// theme.cfg: CR LF lines, each image name pointing at its stem.
QByteArray theme_config() {
  QByteArray text = "[Theme]\r\nName=" + QByteArray(display_name) + "\r\n";
  for (lumbrix::ImageTable table : {lumbrix::ImageTable::Buttons, lumbrix::ImageTable::Menus}) {
    text += "[" + lumbrix::theme_section(table).toUtf8() + "]\r\n";
    for (const lumbrix::NamedImage &named : lumbrix::image_names(table))
      text += QByteArray(named.name) + "=" + stem(QLatin1String(named.name)).toUtf8() + "\r\n";
  }
  return text;
}

bool write_file(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool render_theme(const QString &folder) {
  if (!QDir().mkpath(folder))
    return false;
  QByteArray files = "theme.cfg\n";
  if (!write_file(folder + "/theme.cfg", theme_config()))
    return false;
  for (const QString &name : lumbrix::pictogram_names()) {
    for (int size : sizes) {
      const QString file = stem(name) + "_" + QString::number(size) + ".png";
      if (!render_icon(name, size).save(folder + "/" + file, "PNG"))
        return false;
      files += file.toUtf8() + "\n";
    }
  }
  return write_file(folder + "/files.txt", files);
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 3 && QByteArray(argv[1]) == "--contact-sheet") {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the labels need fonts
    const bool saved = contact_sheet(lumbrix::pictogram_names(), sizes, render_icon)
                           .save(QString::fromLocal8Bit(argv[2]), "PNG");
    return saved ? 0 : 1;
  }
  if (argc == 3 && QByteArray(argv[1]) == "--program-icon")
    return render_program_icon(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: %s OUTPUT_FOLDER | --contact-sheet FILE.png | --program-icon FOLDER\n",
                 argv[0]);
    return 2;
  }
  return render_theme(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
