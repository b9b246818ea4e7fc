#pragma once

#include <QSpinBox>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QSlider;
class QToolButton;

namespace lumbrix {

// The compound controls of the preferences pages. Each emits changed() whenever its value does.

// A spin box that takes whatever number is typed and clamps it into its range, where a plain one
// would refuse the keystroke. In hundredths it counts 1/100 steps and shows the value / 100 with
// two decimals.
class ClampingSpinBox : public QSpinBox {
  Q_OBJECT

public:
  enum class Scale { Units, Hundredths };
  ClampingSpinBox(int minimum, int maximum, Scale scale, QWidget *parent = nullptr);

protected:
  QValidator::State validate(QString &text, int &pos) const override;
  int valueFromText(const QString &text) const override;
  QString textFromValue(int value) const override;

private:
  Scale scale_;
};

// A horizontal slider and a spin box showing one value; the slider runs offset higher than the
// spin box (brightness: the spin box -100..100, the slider 0..200).
class SliderSpin : public QWidget {
  Q_OBJECT

public:
  SliderSpin(int minimum, int maximum, int offset, ClampingSpinBox::Scale scale,
             QWidget *parent = nullptr);

  int value() const;
  void set_value(int value);
  QSlider *slider() const { return slider_; }
  ClampingSpinBox *spin_box() const { return spin_; }

signals:
  void changed();

private:
  QSlider *slider_ = nullptr;
  ClampingSpinBox *spin_ = nullptr;
  int offset_ = 0;
};

// A field of digits followed by its unit list (one or two units).
class NumberField : public QWidget {
  Q_OBJECT

public:
  NumberField(const QStringList &units, QWidget *parent = nullptr);

  // An empty field reads as 0.
  int number() const;
  void set_number(int number);
  QLineEdit *field() const { return field_; }
  QComboBox *unit_list() const { return units_; }

signals:
  void changed();

private:
  QLineEdit *field_ = nullptr;
  QComboBox *units_ = nullptr;
};

// A swatch button and the colour's text form beside it; the button opens the colour chooser.
class ColourField : public QWidget {
  Q_OBJECT

public:
  explicit ColourField(QWidget *parent = nullptr);

  // The text form of the colour shown ("000000" for a stored text that is not six characters).
  QString colour_text() const;
  void set_colour_text(const QString &text);
  QToolButton *swatch() const { return swatch_; }
  QLineEdit *text_field() const { return text_; }

signals:
  void changed();

private:
  void choose();

  QToolButton *swatch_ = nullptr;
  QLineEdit *text_ = nullptr;
};

// A control followed by a "..." button that opens a chooser for it.
class ChooserField : public QWidget {
  Q_OBJECT

public:
  ChooserField(QWidget *control, QWidget *parent = nullptr);

  QToolButton *button() const { return button_; }

private:
  QToolButton *button_ = nullptr;
};

// A swatch of the colour for list entries and buttons.
QIcon colour_swatch(const QColor &colour, const QSize &size);

// Colour lists: each entry a swatch, the colour's name and the colour as its data.
void add_colour_entry(QComboBox *list, const QColor &colour);
// Selects the first entry of that colour; false (selection kept) when none has it.
bool select_colour(QComboBox *list, const QColor &colour);
QColor selected_colour(const QComboBox *list);

} // namespace lumbrix
