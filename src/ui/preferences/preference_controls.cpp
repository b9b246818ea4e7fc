#include "ui/preferences/preference_controls.h"

#include "prefs/message_boxes.h"
#include "prefs/preference_rules.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolButton>

#include <climits>

namespace lumbrix {
namespace {

const QSize swatch_size(34, 12);
constexpr int unit_length = 7; // characters of the longest unit name

QHBoxLayout *row_layout(QWidget *owner) {
  auto *layout = new QHBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  return layout;
}

} // namespace

ClampingSpinBox::ClampingSpinBox(int minimum, int maximum, Scale scale, QWidget *parent)
    : QSpinBox(parent), scale_(scale) {
  setRange(minimum, maximum);
  setKeyboardTracking(true);
}

QValidator::State ClampingSpinBox::validate(QString &text, int &) const {
  // Any number may be typed; valueFromText clamps it.
  static const QRegularExpression units(QStringLiteral("^[+-]?\\d{0,9}$"));
  static const QRegularExpression hundredths(QStringLiteral("^[+-]?\\d{0,9}(\\.\\d*)?$"));
  const QRegularExpression &pattern = scale_ == Scale::Units ? units : hundredths;
  return pattern.match(text).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

int ClampingSpinBox::valueFromText(const QString &text) const {
  if (scale_ == Scale::Hundredths)
    return gamma_hundredths(text);
  return clamped_spin_value(text, minimum(), maximum());
}

QString ClampingSpinBox::textFromValue(int value) const {
  return scale_ == Scale::Hundredths ? gamma_text(value) : QString::number(value);
}

SliderSpin::SliderSpin(int minimum, int maximum, int offset, ClampingSpinBox::Scale scale,
                       QWidget *parent)
    : QWidget(parent), offset_(offset) {
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setRange(minimum + offset, maximum + offset);
  spin_ = new ClampingSpinBox(minimum, maximum, scale, this);
  QHBoxLayout *layout = row_layout(this);
  layout->addWidget(slider_, 1);
  layout->addWidget(spin_);
  // Setting a spin box rewrites its text even to the same value, which would break into typing.
  connect(slider_, &QSlider::valueChanged, this, [this](int v) {
    if (spin_->value() != v - offset_)
      spin_->setValue(v - offset_);
  });
  connect(spin_, &QSpinBox::valueChanged, this, [this](int v) {
    slider_->setValue(v + offset_);
    emit changed();
  });
}

int SliderSpin::value() const { return spin_->value(); }

void SliderSpin::set_value(int value) {
  spin_->setValue(value);
  // Setting the value the spin box already has moves nothing.
  slider_->setValue(spin_->value() + offset_);
}

NumberField::NumberField(const QStringList &units, QWidget *parent) : QWidget(parent) {
  field_ = new QLineEdit(this);
  // Digits only, and few enough that the value fits an int.
  field_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), field_));
  units_ = new QComboBox(this);
  units_->addItems(units);
  // At least as wide as the longest English unit, so the number fields of a page line up.
  units_->setMinimumContentsLength(unit_length);
  QHBoxLayout *layout = row_layout(this);
  layout->addWidget(field_, 1);
  layout->addWidget(units_);
  connect(field_, &QLineEdit::textChanged, this, &NumberField::changed);
  connect(units_, &QComboBox::currentIndexChanged, this, &NumberField::changed);
}

int NumberField::number() const { return clamped_spin_value(field_->text(), INT_MIN, INT_MAX); }

void NumberField::set_number(int number) { field_->setText(QString::number(number)); }

ColourField::ColourField(QWidget *parent) : QWidget(parent) {
  swatch_ = new QToolButton(this);
  swatch_->setIconSize(swatch_size);
  text_ = new QLineEdit(this);
  text_->setReadOnly(true);
  QHBoxLayout *layout = row_layout(this);
  layout->addWidget(swatch_);
  layout->addWidget(text_, 1);
  connect(swatch_, &QToolButton::clicked, this, &ColourField::choose);
}

QString ColourField::colour_text() const {
  return colour_text_form(colour_from_text(text_->text()));
}

void ColourField::set_colour_text(const QString &text) {
  const QColor colour = colour_from_text(text);
  swatch_->setIcon(colour_swatch(colour, swatch_size));
  text_->setText(colour_text_form(colour));
  emit changed();
}

void ColourField::choose() {
  const QColor current = colour_from_text(text_->text());
  const std::optional<QColor> chosen = system_dialogs().choose_colour(current);
  if (chosen && chosen->rgb() != current.rgb())
    set_colour_text(colour_text_form(*chosen));
}

ChooserField::ChooserField(QWidget *control, QWidget *parent) : QWidget(parent) {
  control->setParent(this);
  button_ = new QToolButton(this);
  button_->setText(QStringLiteral("..."));
  QHBoxLayout *layout = row_layout(this);
  layout->addWidget(control, 1);
  layout->addWidget(button_);
}

QIcon colour_swatch(const QColor &colour, const QSize &size) {
  QPixmap swatch(size);
  swatch.fill(colour);
  // An outline, so white shows on a white list.
  QPainter painter(&swatch);
  painter.setPen(Qt::darkGray);
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  return QIcon(swatch);
}

void add_colour_entry(QComboBox *list, const QColor &colour) {
  list->addItem(colour_swatch(colour, QSize(16, 16)), colour_name(colour), colour);
}

bool select_colour(QComboBox *list, const QColor &colour) {
  for (int i = 0; i < list->count(); ++i) {
    if (list->itemData(i).value<QColor>().rgb() == colour.rgb()) {
      list->setCurrentIndex(i);
      return true;
    }
  }
  return false;
}

QColor selected_colour(const QComboBox *list) { return list->currentData().value<QColor>(); }

} // namespace lumbrix
