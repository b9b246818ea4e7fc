#include "prefs/message_boxes.h"

#include "text/lang.h"

namespace lumbrix {
namespace {

class SilentDialogs final : public SystemDialogs {
public:
  void message(MessageIcon, const QString &, const QString &) override {}
  bool question(MessageIcon, const QString &, const QString &) override { return false; }
  QString open_file(const QString &, const QString &, const QString &) override { return {}; }
  QString choose_folder(const QString &, const QString &) override { return {}; }
  std::optional<QColor> choose_colour(const QColor &) override { return std::nullopt; }
  std::optional<QFont> choose_font(const QFont &) override { return std::nullopt; }
  void open_url(const QString &, std::function<void(bool)> done) override {
    if (done)
      done(false);
  }
};

SilentDialogs silent;
SystemDialogs *installed = &silent;

QString qt_patterns(const QString &patterns) {
  QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString &pattern : list) {
    if (pattern == QLatin1String("*.*"))
      pattern = QStringLiteral("*");
  }
  return list.join(QLatin1Char(' '));
}

} // namespace

SystemDialogs &system_dialogs() { return *installed; }

SystemDialogs *set_system_dialogs(SystemDialogs *dialogs) {
  SystemDialogs *previous = installed == &silent ? nullptr : installed;
  installed = dialogs ? dialogs : &silent;
  return previous;
}

void show_error(const QString &text) {
  system_dialogs().message(MessageIcon::Error, lang(QStringLiteral("Msg"), QStringLiteral("Error")),
                           text);
}

void show_warning(const QString &text) {
  system_dialogs().message(MessageIcon::Warning,
                           lang(QStringLiteral("Msg"), QStringLiteral("Warning")), text);
}

void show_info(const QString &title, const QString &text) {
  system_dialogs().message(MessageIcon::Information, title, text);
}

bool ask_yes_no(const QString &title, const QString &text, MessageIcon icon) {
  return system_dialogs().question(icon, title, text);
}

QStringList name_filters(const QString &filter) {
  const QStringList fields = filter.split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
    QString description = fields[i];
    const QString own = QLatin1String(" (") + fields[i + 1] + QLatin1Char(')');
    if (description.endsWith(own))
      description.chop(own.size());
    result << description + QLatin1String(" (") + qt_patterns(fields[i + 1]) + QLatin1Char(')');
  }
  return result;
}

void open_or_report(const QString &target) {
  system_dialogs().open_url(target, [target](bool opened) {
    if (!opened)
      show_error(lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Unable to open target")),
                             target));
  });
}

} // namespace lumbrix
