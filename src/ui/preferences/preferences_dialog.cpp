#include "ui/preferences/preferences_dialog.h"

#include "engine/settings/format_catalogue.h"
#include "prefs/message_boxes.h"
#include "prefs/preference_rules.h"
#include "prefs/preview_render.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/interface_refresh.h"
#include "ui/main_window.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"
#include "ui/preferences/preview_pane.h"
#include "ui/preset_actions.h"
#include "ui/window_flags.h"
#include "ui/window_front.h"
#include "ui/window_job.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace lumbrix {
namespace {

constexpr const char *page_names[] = {"General", "Interface", "Input",
                                      "Output",  "Transform", "Adjustment",
                                      "Frame",   "Watermark", "Advanced"};
constexpr QSize starting_size(600, 350);
constexpr int minimum_tree_width = 120;
constexpr int tree_padding = 12;
constexpr int minimum_button_width = 80;
// What the window manager's frame takes at most, beyond the dialog itself, before it is shown.
constexpr QSize frame_allowance(16, 48);

QPointer<PreferencesDialog> open_dialog;

QString dialog_text(const char *key) { return lang(QStringLiteral("Dialog"), QLatin1String(key)); }

QPushButton *add_button(QHBoxLayout *row, const char *key) {
  auto *button = new QPushButton(dialog_text(key));
  button->setMinimumWidth(minimum_button_width);
  row->addWidget(button);
  return button;
}

PreferencePage *make_page(int index) {
  switch (index) {
  case PreferencesDialog::General:
    return new GeneralPage;
  case PreferencesDialog::Interface:
    return new InterfacePage;
  case PreferencesDialog::Input:
    return new InputPage;
  case PreferencesDialog::Output:
    return new OutputPage;
  case PreferencesDialog::Transform:
    return new TransformPage;
  case PreferencesDialog::Adjustment:
    return new AdjustmentPage;
  case PreferencesDialog::Frame:
    return new FramePage;
  case PreferencesDialog::Watermark:
    return new WatermarkPage;
  default:
    return new AdvancedPage;
  }
}

// A page scrolls when the dialog is smaller than it, but asks for all of its room.
class PageScroll : public QScrollArea {
public:
  explicit PageScroll(QWidget *page) {
    setWidget(page);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
  }
  QSize sizeHint() const override {
    const int bar = verticalScrollBar()->sizeHint().width();
    return widget()->sizeHint() + QSize(bar + 2 * frameWidth(), 2 * frameWidth());
  }
};

} // namespace

PreferencesDialog::PreferencesDialog(QWidget *owner) : QDialog(owner) {
  setWindowFlags(small_window_flags);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  setWindowTitle(preferences_text("Title"));

  tree_ = new QTreeWidget;
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(false);
  int widest = 0;
  for (const char *name : page_names) {
    const QString text = preferences_text(name);
    tree_->addTopLevelItem(new QTreeWidgetItem(QStringList(text)));
    widest = std::max(widest, tree_->fontMetrics().horizontalAdvance(text));
  }
  // Room for the longest name even when a larger font makes the tree scroll.
  tree_->setFixedWidth(
      std::max(minimum_tree_width, widest + tree_padding + 2 * tree_->frameWidth() +
                                       tree_->verticalScrollBar()->sizeHint().width()));

  auto *right = new QVBoxLayout;
  right->addWidget(build_header());
  stack_ = new QStackedWidget;
  right->addWidget(stack_, 1);
  add_pages();

  preview_ = new PreviewPane;
  preview_->hide();

  auto *body = new QHBoxLayout;
  body->addWidget(tree_);
  body->addLayout(right, 1);
  body->addWidget(preview_);

  auto *buttons = new QHBoxLayout;
  defaults_ = add_button(buttons, "Defaults");
  presets_ = new QPushButton(lang(QStringLiteral("Presets"), QStringLiteral("Menu")));
  presets_->setMinimumWidth(minimum_button_width);
  presets_->setMenu(new_preset_menu(
      presets_, [this] { return edited_settings(); },
      [this](const QString &name) { use_preset(name); }));
  buttons->addWidget(presets_);
  buttons->addStretch(1);
  ok_ = add_button(buttons, "OK");
  cancel_ = add_button(buttons, "Cancel");
  ok_->setDefault(true);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);
  resize(fitting_size());

  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem *item) { show_page(tree_->indexOfTopLevelItem(item)); });
  connect(defaults_, &QPushButton::clicked, this, &PreferencesDialog::reset_to_defaults);
  connect(ok_, &QPushButton::clicked, this, &PreferencesDialog::accept_changes);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(this, &PreferencesDialog::edited, this, &PreferencesDialog::update_preview);
  show_page(General);
}

QWidget *PreferencesDialog::build_header() {
  // The page title on a white strip, whatever the colour scheme.
  auto *strip = new QFrame;
  strip->setFrameShape(QFrame::StyledPanel);
  strip->setAutoFillBackground(true);
  QPalette palette = strip->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  strip->setPalette(palette);
  title_ = new QLabel(strip);
  QFont font = title_->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() + 1);
  title_->setFont(font);
  auto *layout = new QHBoxLayout(strip);
  layout->addWidget(title_);
  return strip;
}

void PreferencesDialog::add_pages() {
  for (int i = 0; i < page_count; ++i) {
    PreferencePage *page = make_page(i);
    stack_->addWidget(new PageScroll(page));
    pages_.push_back(page);
    page->load(settings());
    connect(page, &PreferencePage::edited, this, &PreferencesDialog::edited);
  }
}

void PreferencesDialog::show_page(int index) {
  if (index < 0 || index >= page_count)
    return;
  title_->setText(preferences_text(page_names[index]));
  stack_->setCurrentIndex(index);
  const bool previewed = index >= Transform && index <= Watermark;
  preview_->setVisible(previewed);
  update_preview();
  if (tree_->indexOfTopLevelItem(tree_->currentItem()) != index)
    tree_->setCurrentItem(tree_->topLevelItem(index));
}

int PreferencesDialog::current_page() const { return stack_->currentIndex(); }

QSize PreferencesDialog::fitting_size() {
  // One size for every page: room for the largest page beside the preview, as far as the screen
  // allows; below that the preview gives up its width first, then the pages scroll.
  const bool hidden = preview_->isHidden();
  preview_->show();
  QSize wanted = sizeHint().expandedTo(starting_size);
  preview_->setHidden(hidden);
  if (const QScreen *display = screen())
    wanted = wanted.boundedTo(display->availableGeometry().size() - frame_allowance);
  return wanted;
}

void PreferencesDialog::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  share_width();
}

void PreferencesDialog::share_width() {
  // The page keeps the width it asks for while the preview can shrink to its smallest.
  int page_width = 0;
  for (int i = 0; i < stack_->count(); ++i)
    page_width = std::max(page_width, stack_->widget(i)->sizeHint().width());
  const int spacing = layout()->spacing();
  const int left = width() - tree_->width() - page_width - 2 * spacing -
                   layout()->contentsMargins().left() - layout()->contentsMargins().right();
  preview_->setMaximumWidth(std::max(preview_->minimumSizeHint().width(), left));
}

void PreferencesDialog::update_preview() {
  if (preview_->isHidden())
    return;
  const MainWindow *window = main_window();
  const QString input = window ? window->input_field()->text().trimmed() : QString();
  preview_->request(is_acceptable_input(input) ? input : sample_picture_path(), edited_settings());
}

void PreferencesDialog::use_preset(const QString &name) {
  Settings s = edited_settings();
  if (!apply_preset(name, s))
    return;
  for (PreferencePage *page : pages_)
    page->load(s);
  emit edited();
}

Settings PreferencesDialog::edited_settings() const {
  Settings s = settings();
  for (const PreferencePage *page : pages_)
    page->store(s);
  s.do_image_color_correction = needs_colour_correction(s) ? 1 : 0;
  return s;
}

void PreferencesDialog::accept_changes() {
  const Settings before = settings();
  settings() = edited_settings();
  finish(before);
}

void PreferencesDialog::reset_to_defaults() {
  if (!ask_yes_no(lang(QStringLiteral("Msg"), QStringLiteral("Reset to Defaults")),
                  lang(QStringLiteral("Msg"), QStringLiteral("Ask reset to defaults")),
                  MessageIcon::Question))
    return;
  const Settings before = settings();
  settings() = default_settings(SettingsUse::Window, desktop_size());
  finish(before);
}

void PreferencesDialog::finish(const Settings &before) {
  save_window_settings();
  refresh_interface(interface_change(before, settings()));
  accept();
}

PreferencesDialog *open_preferences_dialog() {
  // A closed dialog may still wait for its deletion.
  if (!open_dialog || !open_dialog->isVisible()) {
    QWidget *owner = main_window();
    open_dialog = new PreferencesDialog(owner);
    open_dialog->show_page(window_job().preferences_start_page);
    if (owner)
      QObject::connect(open_dialog, &QDialog::finished, owner,
                       [owner] { owner->activateWindow(); });
  }
  open_dialog->show();
  open_dialog->raise();
  open_dialog->activateWindow();
  open_dialog->page_tree()->setFocus();
  return open_dialog;
}

} // namespace lumbrix
