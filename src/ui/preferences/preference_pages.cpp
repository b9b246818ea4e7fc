#include "ui/preferences/preference_pages.h"

#include "ui/preferences/preference_form.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace lumbrix {
namespace {

constexpr int scroll_step = 10;

} // namespace

PreferencePage::PreferencePage(QWidget *parent) : QWidget(parent) {
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
}

void PreferencePage::load(const Settings &s) {
  for (const PreferenceForm *form : forms_)
    form->load(s);
  loaded_ = true;
  apply_rules();
}

void PreferencePage::store(Settings &s) const {
  for (const PreferenceForm *form : forms_)
    form->store(s);
}

PreferenceForm *PreferencePage::add_form(QVBoxLayout *column) {
  auto *form = new PreferenceForm(this);
  if (column) {
    column->insertWidget(column->count() - 1, form); // above the closing stretch
    // Below a top row the scrolling rows continue its column without a gap.
    if (has_top_) {
      QMargins margins = form->layout()->contentsMargins();
      margins.setTop(0);
      form->layout()->setContentsMargins(margins);
    }
  } else {
    layout_->addWidget(form);
    has_top_ = true;
  }
  forms_.push_back(form);
  connect(form, &PreferenceForm::edited, this, [this] {
    // While the page is being built its rows are still incomplete.
    if (loaded_)
      apply_rules();
    emit edited();
  });
  return form;
}

QVBoxLayout *PreferencePage::add_scrolled_column() {
  auto *area = new QScrollArea(this);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setFocusPolicy(Qt::NoFocus);
  area->verticalScrollBar()->setSingleStep(scroll_step);
  area->horizontalScrollBar()->setSingleStep(scroll_step);
  auto *content = new QWidget(area);
  auto *column = new QVBoxLayout(content);
  column->setContentsMargins(0, 0, 0, 0);
  column->addStretch(1);
  area->setWidget(content);
  layout_->addWidget(area, 1);
  return column;
}

void PreferencePage::showEvent(QShowEvent *event) {
  if (!aligned_) {
    align_labels();
    aligned_ = true;
  }
  QWidget::showEvent(event);
}

void PreferencePage::align_labels() {
  int width = 0;
  for (const PreferenceForm *form : forms_) {
    for (const QLabel *label : form->labels())
      width = std::max(width, label->sizeHint().width());
  }
  for (const PreferenceForm *form : forms_) {
    for (QLabel *label : form->labels())
      label->setMinimumWidth(width);
  }
}

} // namespace lumbrix
