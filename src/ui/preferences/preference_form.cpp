#include "ui/preferences/preference_form.h"

#include "engine/settings/settings_keys.h"
#include "prefs/preference_rules.h"
#include "text/lang.h"
#include "ui/preferences/preference_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <climits>

namespace lumbrix {
namespace {

const SettingKey &key_of(const SettingName &name) {
  const SettingKey *key = find_setting_key(QLatin1String(name.section), QLatin1String(name.key));
  Q_ASSERT_X(key, name.key, "not a key of config.ini");
  return *key;
}

// The custom timestamp counts local wall-clock seconds as if they were UTC.
QDateTime timestamp_time(int seconds) { return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC); }

} // namespace

QString preferences_text(const char *key) {
  return lang(QStringLiteral("Preferences"), QLatin1String(key));
}

QStringList preferences_texts(const std::vector<const char *> &keys) {
  QStringList texts;
  for (const char *key : keys)
    texts << preferences_text(key);
  return texts;
}

PreferenceForm::PreferenceForm(QWidget *parent) : QWidget(parent) {
  layout_ = new QFormLayout(this);
  layout_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  layout_->setRowWrapPolicy(QFormLayout::DontWrapRows);
  layout_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  layout_->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PreferenceForm::add_row(const char *label_key, QWidget *field) {
  auto *label = new QLabel(preferences_text(label_key), this);
  label->setBuddy(field);
  layout_->addRow(label, field);
}

QComboBox *PreferenceForm::add_fixed_list(const char *label_key,
                                          const std::vector<const char *> &choice_keys) {
  auto *list = new QComboBox(this);
  list->addItems(preferences_texts(choice_keys));
  return add_control(label_key, list, &QComboBox::currentIndexChanged);
}

QComboBox *PreferenceForm::add_list(const char *label_key,
                                    const std::vector<const char *> &choice_keys,
                                    const SettingName &setting) {
  QComboBox *list = add_fixed_list(label_key, choice_keys);
  bind_index(list, setting);
  return list;
}

QCheckBox *PreferenceForm::add_check(const char *label_key, const SettingName &setting) {
  auto *check = new QCheckBox(this);
  // As tall as the other rows, so rows are evenly spaced.
  check->setMinimumHeight(QComboBox().sizeHint().height());
  add_control(label_key, check, &QCheckBox::toggled);
  const SettingKey *key = &key_of(setting);
  bind([check, key](const Settings &s) { check->setChecked(key_int(s, *key) != 0); },
       [check, key](Settings &s) { set_key_int(s, *key, check->isChecked() ? 1 : 0); });
  return check;
}

NumberField *PreferenceForm::add_number(const char *label_key,
                                        const std::vector<const char *> &unit_keys,
                                        const SettingName &setting, const SettingName *unit) {
  auto *number = add_control(label_key, new NumberField(preferences_texts(unit_keys), this),
                             &NumberField::changed);
  const SettingKey *key = &key_of(setting);
  bind([number, key](const Settings &s) { number->set_number(key_int(s, *key)); },
       [number, key](Settings &s) { set_key_int(s, *key, number->number()); });
  if (unit)
    bind_index(number->unit_list(), *unit);
  return number;
}

SliderSpin *PreferenceForm::add_slider(const char *label_key, const SpinRange &range,
                                       const SettingName &setting) {
  auto *slider = add_control(label_key,
                             new SliderSpin(range.minimum, range.maximum, range.offset,
                                            ClampingSpinBox::Scale::Units, this),
                             &SliderSpin::changed);
  const SettingKey *key = &key_of(setting);
  bind([slider, key](const Settings &s) { slider->set_value(key_int(s, *key)); },
       [slider, key](Settings &s) { set_key_int(s, *key, slider->value()); });
  return slider;
}

SliderSpin *PreferenceForm::add_gamma(const char *label_key, const SettingName &setting) {
  auto *slider =
      add_control(label_key, new SliderSpin(1, 999, 0, ClampingSpinBox::Scale::Hundredths, this),
                  &SliderSpin::changed);
  const SettingKey *key = &key_of(setting);
  bind([slider,
        key](const Settings &s) { slider->set_value(gamma_to_hundredths(key_float(s, *key))); },
       [slider, key](Settings &s) {
         set_key_float(s, *key, static_cast<float>(slider->value()) / 100.0f);
       });
  return slider;
}

ColourField *PreferenceForm::add_colour(const char *label_key, const SettingName &setting) {
  auto *colour = add_control(label_key, new ColourField(this), &ColourField::changed);
  const SettingKey *key = &key_of(setting);
  bind([colour, key](const Settings &s) { colour->set_colour_text(key_text(s, *key)); },
       [colour, key](Settings &s) { set_key_text(s, *key, colour->colour_text()); });
  return colour;
}

QLineEdit *PreferenceForm::add_text(const char *label_key, const SettingName &setting) {
  auto *text = add_control(label_key, new QLineEdit(this), &QLineEdit::textChanged);
  const SettingKey *key = &key_of(setting);
  bind(
      [text, key](const Settings &s) {
        text->setText(key_text(s, *key));
        text->setCursorPosition(0); // a long text shows its beginning
      },
      [text, key](Settings &s) { set_key_text(s, *key, cleaned_text(text->text())); });
  return text;
}

QDateTimeEdit *PreferenceForm::add_date(const char *label_key, const SettingName &setting) {
  auto *date = new QDateTimeEdit(this);
  date->setTimeSpec(Qt::UTC);
  date->setDateTimeRange(timestamp_time(0), timestamp_time(INT_MAX));
  date->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm"));
  date->setCalendarPopup(true);
  add_control(label_key, date, &QDateTimeEdit::dateTimeChanged);
  const SettingKey *key = &key_of(setting);
  bind([date, key](const Settings &s) { date->setDateTime(timestamp_time(key_int(s, *key))); },
       [date, key](Settings &s) {
         set_key_int(s, *key, static_cast<int>(date->dateTime().toSecsSinceEpoch()));
       });
  return date;
}

void PreferenceForm::bind_index(QComboBox *list, const SettingName &setting) {
  const SettingKey *key = &key_of(setting);
  // An entry that does not exist selects nothing, and nothing selected keeps the setting.
  bind([list, key](const Settings &s) { list->setCurrentIndex(key_int(s, *key)); },
       [list, key](Settings &s) {
         if (list->currentIndex() >= 0)
           set_key_int(s, *key, list->currentIndex());
       });
}

void PreferenceForm::bind(std::function<void(const Settings &)> load,
                          std::function<void(Settings &)> store) {
  bindings_.push_back({std::move(load), std::move(store)});
}

void PreferenceForm::load(const Settings &s) const {
  for (const Binding &binding : bindings_)
    binding.load(s);
}

void PreferenceForm::store(Settings &s) const {
  for (const Binding &binding : bindings_)
    binding.store(s);
}

void PreferenceForm::set_row_enabled(QWidget *field, bool enabled) {
  field->setEnabled(enabled);
  if (QLabel *label = label_of(field))
    label->setEnabled(enabled);
}

void PreferenceForm::set_row_visible(QWidget *field, bool visible) {
  layout_->setRowVisible(field, visible);
}

QLabel *PreferenceForm::label_of(QWidget *field) const {
  return qobject_cast<QLabel *>(layout_->labelForField(field));
}

QList<QLabel *> PreferenceForm::labels() const {
  QList<QLabel *> result;
  for (int row = 0; row < layout_->rowCount(); ++row) {
    if (QLayoutItem *item = layout_->itemAt(row, QFormLayout::LabelRole))
      result << qobject_cast<QLabel *>(item->widget());
  }
  return result;
}

} // namespace lumbrix
