#pragma once

#include "engine/settings/settings.h"

#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace lumbrix {

class ColourField;
class NumberField;
class SliderSpin;

// Texts of the Preferences group, by key.
QString preferences_text(const char *key);
QStringList preferences_texts(const std::vector<const char *> &keys);

// A setting of config.ini, by section and key.
struct SettingName {
  const char *section;
  const char *key;
};

// A slider with its spin box: the spin box's range and how far the slider runs above it.
struct SpinRange {
  int minimum;
  int maximum;
  int offset = 0;
};

// One column of labelled rows, each control bound to the setting it edits. load() fills every
// control from a settings value and store() writes them back, both in row order. Labels and
// choices are keys of the Preferences group.
class PreferenceForm : public QWidget {
  Q_OBJECT

public:
  explicit PreferenceForm(QWidget *parent = nullptr);

  // A row whose control the caller binds (or that edits no setting).
  void add_row(const char *label_key, QWidget *field);
  // The same for a control that reports its changes through signal.
  template <typename Control, typename Signal>
  Control *add_control(const char *label_key, Control *control, Signal signal) {
    add_row(label_key, control);
    connect(control, signal, this, &PreferenceForm::edited);
    return control;
  }
  // A list storing the selected entry's index; without a setting it is shown only.
  QComboBox *add_list(const char *label_key, const std::vector<const char *> &choice_keys,
                      const SettingName &setting);
  QComboBox *add_fixed_list(const char *label_key, const std::vector<const char *> &choice_keys);
  QCheckBox *add_check(const char *label_key, const SettingName &setting);
  // A number with its units; a second setting, when given, stores the unit's index.
  NumberField *add_number(const char *label_key, const std::vector<const char *> &unit_keys,
                          const SettingName &setting, const SettingName *unit = nullptr);
  SliderSpin *add_slider(const char *label_key, const SpinRange &range, const SettingName &setting);
  // The gamma slider: hundredths of the stored real number.
  SliderSpin *add_gamma(const char *label_key, const SettingName &setting);
  ColourField *add_colour(const char *label_key, const SettingName &setting);
  // Text is stored cleaned of line breaks, tabs and outer blanks.
  QLineEdit *add_text(const char *label_key, const SettingName &setting);
  QDateTimeEdit *add_date(const char *label_key, const SettingName &setting);

  void bind(std::function<void(const Settings &)> load, std::function<void(Settings &)> store);
  // A list storing the selected entry's index.
  void bind_index(QComboBox *list, const SettingName &setting);
  void load(const Settings &s) const;
  void store(Settings &s) const;

  // A row is enabled or shown as a whole: label and control.
  void set_row_enabled(QWidget *field, bool enabled);
  void set_row_visible(QWidget *field, bool visible);
  QLabel *label_of(QWidget *field) const;
  QList<QLabel *> labels() const;

signals:
  // Any control changed its value.
  void edited();

private:
  QFormLayout *layout_ = nullptr;
  struct Binding {
    std::function<void(const Settings &)> load;
    std::function<void(Settings &)> store;
  };
  std::vector<Binding> bindings_;
};

} // namespace lumbrix
