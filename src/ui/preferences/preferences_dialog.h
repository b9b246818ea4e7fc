#pragma once

#include "engine/settings/settings.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

namespace lumbrix {

class PreferencePage;
class PreviewPane;

// The editor of the conversion and interface settings: a tree of nine pages, the selected
// page's title above it, Defaults, OK and Cancel. Its controls hold the edited values; the
// settings change only on OK or Defaults (and when a chooser adds a font or colour to the
// offered ones). The main window takes no input while it is open.
class PreferencesDialog : public QDialog {
  Q_OBJECT

public:
  enum Page {
    General,
    Interface,
    Input,
    Output,
    Transform,
    Adjustment,
    Frame,
    Watermark,
    Advanced
  };
  static constexpr int page_count = Advanced + 1;

  explicit PreferencesDialog(QWidget *owner);

  QTreeWidget *page_tree() const { return tree_; }
  QLabel *page_title() const { return title_; }
  PreferencePage *page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  QPushButton *defaults_button() const { return defaults_; }
  // Its menu saves the edited values as a preset or loads one into the controls.
  QPushButton *presets_button() const { return presets_; }
  QPushButton *ok_button() const { return ok_; }
  QPushButton *cancel_button() const { return cancel_; }
  // Beside the Transform, Adjustment, Frame and Watermark pages: the input file, or the sample
  // picture without one, as the edited values would convert it.
  PreviewPane *preview() const { return preview_; }

  void show_page(int index);
  int current_page() const;

  // The settings as OK would store them.
  Settings edited_settings() const;

  // OK: stores every control, page by page, writes config.ini, refreshes the main window and
  // closes.
  void accept_changes();
  // Defaults: on Yes to the question, the window defaults replace every setting, are written and
  // the dialog closes; on No nothing changes.
  void reset_to_defaults();
  // Loads the named preset over the edited values, into the controls; nothing is stored yet.
  void use_preset(const QString &name);

protected:
  void resizeEvent(QResizeEvent *event) override;

signals:
  // A control changed its value.
  void edited();

private:
  QWidget *build_header();
  void add_pages();
  QSize fitting_size();
  void share_width();
  void update_preview();
  void finish(const Settings &before);

  QTreeWidget *tree_ = nullptr;
  QLabel *title_ = nullptr;
  QStackedWidget *stack_ = nullptr;
  std::vector<PreferencePage *> pages_;
  QPushButton *defaults_ = nullptr;
  QPushButton *presets_ = nullptr;
  QPushButton *ok_ = nullptr;
  QPushButton *cancel_ = nullptr;
  PreviewPane *preview_ = nullptr;
};

// Opens the dialog over the main window on the run's start page, filled from the settings, and
// returns at once. An open dialog is brought to the front instead.
PreferencesDialog *open_preferences_dialog();

} // namespace lumbrix
