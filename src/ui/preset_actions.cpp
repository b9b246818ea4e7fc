#include "ui/preset_actions.h"

#include "cli/profile.h"
#include "engine/settings/settings_file.h"
#include "platform/files.h"
#include "prefs/message_boxes.h"
#include "prefs/preference_rules.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/interface_refresh.h"

#include <QDir>
#include <QMenu>

namespace lumbrix {
namespace {

QString preset_text(const char *key) { return lang(QStringLiteral("Presets"), QLatin1String(key)); }

} // namespace

bool save_preset_as(const Settings &s) {
  const std::optional<QString> typed = system_dialogs().ask_text(
      preset_text("Save").remove(QStringLiteral("...")), preset_text("Name"), QString());
  if (!typed)
    return false;
  const QString name = typed->trimmed();
  const QString path = preset_path(name);
  if (path.isEmpty()) {
    show_warning(preset_text("Bad Name"));
    return false;
  }
  if (file_exists(path) &&
      !ask_yes_no(preset_text("Menu"), lang_format(preset_text("Replace"), name),
                  MessageIcon::Question))
    return false;
  QString reason;
  QDir().mkpath(presets_folder());
  if (!write_preset_file(path, s, &reason)) {
    show_warning(lang_format(preset_text("Unable to save"), path, reason));
    return false;
  }
  return true;
}

bool apply_preset(const QString &name, Settings &s) {
  const QString path = preset_path(name);
  QString reason;
  if (!load_profile(path, s, &reason)) {
    show_warning(lang_format(preset_text("Unable to load"), name, reason));
    return false;
  }
  return true;
}

void use_preset_in_window(const QString &name) {
  Settings s = settings();
  if (!apply_preset(name, s))
    return;
  const Settings before = settings();
  settings() = s;
  save_window_settings();
  refresh_interface(interface_change(before, settings()));
}

void fill_preset_menu(QMenu *menu, const std::function<Settings()> &current,
                      const std::function<void(const QString &)> &chosen) {
  menu->clear();
  QObject::connect(menu->addAction(preset_text("Save")), &QAction::triggered, menu,
                   [current] { save_preset_as(current()); });
  menu->addSeparator();
  const QStringList names = preset_names();
  if (names.isEmpty())
    menu->addAction(preset_text("Empty"))->setEnabled(false);
  for (const QString &name : names) {
    QAction *entry = menu->addAction(name);
    QObject::connect(entry, &QAction::triggered, menu, [chosen, name] { chosen(name); });
  }
}

QMenu *new_preset_menu(QWidget *parent, const std::function<Settings()> &current,
                       const std::function<void(const QString &)> &chosen) {
  auto *menu = new QMenu(preset_text("Menu"), parent);
  QObject::connect(menu, &QMenu::aboutToShow, menu,
                   [menu, current, chosen] { fill_preset_menu(menu, current, chosen); });
  return menu;
}

} // namespace lumbrix
