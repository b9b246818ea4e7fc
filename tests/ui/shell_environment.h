#pragma once

#include "engine/settings/settings_file.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"
#include "ui/window_front.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <grp.h>
#include <unistd.h>

namespace lumbrix::test {

// Permissions mean nothing to root, so a test of unreadable and unwritable files runs as the
// unprivileged user when started as root. Call before anything is created.
inline bool drop_root_privileges() {
  if (::geteuid() != 0)
    return true;
  constexpr gid_t nobody = 65534;
  return ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
}

// A home of the test's own: settings and the runtime folder (instance locks) live below it.
class TemporaryHome {
public:
  TemporaryHome() {
    QDir(root.path()).mkpath(QStringLiteral("config"));
    QDir(root.path()).mkpath(QStringLiteral("runtime"));
    QDir(root.path()).mkpath(QStringLiteral("data"));
    QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", config().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime().toUtf8());
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
  }
  QString config() const { return root.filePath(QStringLiteral("config")); }
  QString runtime() const { return root.filePath(QStringLiteral("runtime")); }
  QString settings_file() const { return settings_file_location(); }
  QString path(const QString &name) const { return root.filePath(name); }

  // A file below the home holding bytes (a text named .png, say); its path, or "" on failure.
  QString file(const QString &name, const QByteArray &bytes) const {
    QFile file(root.filePath(name));
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    return written ? file.fileName() : QString();
  }

  // A fresh folder below the home, with a trailing separator.
  QString folder(const QString &name) const {
    QDir(root.path()).mkpath(name);
    return root.filePath(name) + QLatin1Char('/');
  }

  QTemporaryDir root;
};

// The window front's tables without the main window: language, images.
inline void load_tables() { load_window_tables(); }

// A main window as start-up leaves it, from the settings as they stand.
inline MainWindow *start_main_window() {
  load_tables();
  build_main_window();
  post_window_init(RunMode::Normal);
  return main_window();
}

// Settings as the window front starts them, written as config.ini.
inline void write_settings(const std::function<void(Settings &)> &change) {
  settings() = default_settings(SettingsUse::Window);
  change(settings());
  write_settings_file(settings_file_location(), settings());
}

// Reads config.ini back into the settings record.
inline void reread_settings() { load_window_settings(settings_file_location(), QSize(1920, 1080)); }

// A PNG with a simple pattern, as a picture file the converter accepts.
inline bool write_png(const QString &path, int width = 24, int height = 16) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgba(x * 10 % 256, y * 15 % 256, 90, 255));
  }
  return image.save(path, "PNG");
}

// Watches for the progress window of the next run: once it shows the result, calls done (if
// any) with it and presses OK. Call just before the run starts.
inline void press_ok_when_done(std::function<void(ProgressWindow *)> done = nullptr) {
  QTimer::singleShot(0, [done = std::move(done)] {
    auto *window = main_window()->findChild<ProgressWindow *>();
    QVERIFY(window);
    auto finish = [done, window] {
      if (done)
        done(window);
      QTest::mouseClick(window->ok_button(), Qt::LeftButton);
    };
    if (window->ok_button()->isEnabled())
      finish();
    else
      QObject::connect(window, &ProgressWindow::finished_shown, window, finish);
  });
}

// True when path holds a PSD document: its signature and version 1.
inline bool is_psd_file(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(6) == QByteArray("8BPS\x00\x01", 6);
}

// The program itself, built beside the test binaries.
inline QString program_binary() {
  return QDir(QCoreApplication::applicationDirPath())
      .absoluteFilePath(QStringLiteral("../lumbrix"));
}

} // namespace lumbrix::test
