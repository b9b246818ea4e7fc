#pragma once

#include "engine/settings/settings.h"

#include <QMap>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QVBoxLayout;

namespace lumbrix {

class NumberField;
class PreferenceForm;
class SliderSpin;

// One page of the preferences dialog: forms of labelled rows, the first at the top, the others
// in a scrolling part below it. Controls are reached through their labels' buddies.
class PreferencePage : public QWidget {
  Q_OBJECT

public:
  explicit PreferencePage(QWidget *parent = nullptr);

  // Fills every control from s, then shows, hides, enables and disables rows to match.
  void load(const Settings &s);
  // Writes every control back into s, form by form and row by row.
  void store(Settings &s) const;

signals:
  void edited();

protected:
  // A form added to a scrolling column, or to the top of the page when column is null.
  PreferenceForm *add_form(QVBoxLayout *column = nullptr);
  // A scrolling part below what the page holds so far; forms are added to it top-down.
  QVBoxLayout *add_scrolled_column();
  PreferenceForm *add_scrolled_form() { return add_form(add_scrolled_column()); }

  // Rows that depend on other rows' values, applied on loading and on each change.
  virtual void apply_rules() {}

  void showEvent(QShowEvent *event) override;

private:
  // Every form's labels take the widest label's width, so controls line up across forms.
  void align_labels();

  QVBoxLayout *layout_ = nullptr;
  std::vector<PreferenceForm *> forms_;
  bool has_top_ = false;
  bool loaded_ = false;
  bool aligned_ = false;
};

class GeneralPage final : public PreferencePage {
  Q_OBJECT
public:
  explicit GeneralPage(QWidget *parent = nullptr);
};

class InterfacePage final : public PreferencePage {
  Q_OBJECT
public:
  explicit InterfacePage(QWidget *parent = nullptr);
};

// A format list on top and, below it, the panel of the selected format's options. Entries are
// the non-empty extensions upper-cased, each holding its position in the list.
class FormatPage : public PreferencePage {
  Q_OBJECT
public:
  FormatPage(const char *list_label, const QStringList &extensions, QString Settings::*format,
             QWidget *parent = nullptr);

  // The selected entry's position in the extensions.
  int selected_index() const;
  QString selected_format() const;

protected:
  PreferenceForm *add_panel(const QString &format);
  void apply_rules() override;

private:
  const QStringList &extensions_;
  QComboBox *formats_ = nullptr;
  QVBoxLayout *panels_column_ = nullptr;
  QMap<QString, PreferenceForm *> panels_;
};

class InputPage final : public FormatPage {
  Q_OBJECT
public:
  explicit InputPage(QWidget *parent = nullptr);

protected:
  void apply_rules() override;

private:
  void add_raw_panel();

  PreferenceForm *raw_ = nullptr;
  QComboBox *raw_load_as_ = nullptr;
  std::vector<QWidget *> raw_size_rows_;
  QWidget *raw_tone_mapping_ = nullptr;
};

class OutputPage final : public FormatPage {
  Q_OBJECT
public:
  explicit OutputPage(QWidget *parent = nullptr);

private:
  void add_output_panel(const QString &format);
};

class TransformPage final : public PreferencePage {
  Q_OBJECT
public:
  explicit TransformPage(QWidget *parent = nullptr);

protected:
  void apply_rules() override;

private:
  PreferenceForm *form_ = nullptr;
  QCheckBox *rotate_ = nullptr;
  QCheckBox *resize_ = nullptr;
  std::vector<QWidget *> rotation_rows_;
  std::vector<QWidget *> resize_rows_;
};

class AdjustmentPage final : public PreferencePage {
  Q_OBJECT
public:
  explicit AdjustmentPage(QWidget *parent = nullptr);

protected:
  void apply_rules() override;

private:
  PreferenceForm *form_ = nullptr;
  QCheckBox *threshold_ = nullptr;
  SliderSpin *threshold_level_ = nullptr;
};

class FramePage final : public PreferencePage {
  Q_OBJECT
public:
  explicit FramePage(QWidget *parent = nullptr);

protected:
  void apply_rules() override;

private:
  QComboBox *frame_ = nullptr;
  PreferenceForm *panel_ = nullptr;
};

class WatermarkPage final : public PreferencePage {
  Q_OBJECT
public:
  explicit WatermarkPage(QWidget *parent = nullptr);

protected:
  void apply_rules() override;

private:
  void add_text_panel(QVBoxLayout *column);
  void add_image_panel(QVBoxLayout *column);
  void add_font_row();
  void add_colour_list_row(const char *label_key, QString Settings::*list,
                           QString Settings::*selected);
  void choose_font();
  void choose_image();

  QComboBox *kind_ = nullptr;
  PreferenceForm *text_panel_ = nullptr;
  PreferenceForm *image_panel_ = nullptr;
  QComboBox *font_list_ = nullptr;
  NumberField *font_size_ = nullptr;
  QComboBox *font_style_ = nullptr;
  QLineEdit *image_field_ = nullptr;
  QComboBox *text_size_ = nullptr;
  SliderSpin *text_scale_ = nullptr;
  QComboBox *image_size_ = nullptr;
  SliderSpin *image_scale_ = nullptr;
};

class AdvancedPage final : public PreferencePage {
  Q_OBJECT
public:
  explicit AdvancedPage(QWidget *parent = nullptr);

protected:
  void apply_rules() override;

private:
  PreferenceForm *form_ = nullptr;
  QComboBox *timestamp_ = nullptr;
  QWidget *custom_timestamp_ = nullptr;
};

} // namespace lumbrix
