#include "platform/shipped_files.h"

#include "build_constants.h"
#include "platform/program_path.h"

#include <QDir>
#include <QFileInfo>

namespace lumbrix {
namespace {

QString &program_folder_override() {
  static QString folder;
  return folder;
}

} // namespace

QString shipped_path(const QString &program_folder, Shipped kind, const QString &name) {
  const QString beside = program_folder + name;
  if (QFileInfo::exists(beside))
    return beside;
  // The console program is installed in bin/, the window program in libexec/lumbrix/.
  const bool data = kind == Shipped::data;
  for (const char *relative :
       {data ? build::data_from_program : build::documentation_from_program,
        data ? build::data_from_window_program : build::documentation_from_window_program}) {
    // cleanPath drops a folder's trailing separator, which the callers append to.
    QString installed =
        QDir::cleanPath(program_folder + QString::fromUtf8(relative) + QLatin1Char('/') + name);
    if (name.endsWith(QLatin1Char('/')))
      installed += QLatin1Char('/');
    if (QFileInfo::exists(installed))
      return installed;
  }
  return beside;
}

QString shipped_path(Shipped kind, const QString &name) {
  const QString &chosen = program_folder_override();
  return shipped_path(chosen.isEmpty() ? program_folder() : chosen, kind, name);
}

void set_shipped_program_folder(const QString &folder) { program_folder_override() = folder; }

} // namespace lumbrix
