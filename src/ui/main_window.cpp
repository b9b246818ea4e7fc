#include "ui/main_window.h"

#include "build_constants.h"
#include "engine/settings/product.h"
#include "prefs/image_tables.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/command_dispatch.h"
#include "ui/commands.h"
#include "ui/mnemonics.h"
#include "ui/preset_actions.h"
#include "ui/queued_files_dialog.h"
#include "ui/window_placement.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <span>

namespace lumbrix {
namespace {

struct MenuEntry {
  const char *key; // nullptr: a separator
  const char *shortcut;
  Command command;
  const char *image;
};

struct MenuTitle {
  const char *key;
  std::span<const MenuEntry> entries;
};

constexpr MenuEntry separator{nullptr, nullptr, Command::New, nullptr};

constexpr MenuEntry file_menu[] = {
    {"New", "Ctrl+N", Command::New, "New"},
    separator,
    {"Select Input File", nullptr, Command::SelectInputFile, "Add"},
    {"Select Output Folder", nullptr, Command::SelectOutputFolder, "OutFolder"},
    separator,
    {"Exit", "Alt+X", Command::Exit, "Exit"},
};

constexpr MenuEntry converter_menu[] = {
    {"Convert", "F5", Command::Convert, "Convert"},
    separator,
    {"Custom Converter", nullptr, Command::CustomConverter, "CustomConverter"},
    separator,
    {"Preferences", nullptr, Command::Preferences, "Preferences"},
};

constexpr MenuEntry help_menu[] = {
    {"Manual", "F1", Command::Manual, "Help"},
    separator,
    {"Send Feedback", nullptr, Command::SendFeedback, "Email"},
    {"Visit Homepage", nullptr, Command::VisitHomepage, "Web"},
    {"Check For New Version", nullptr, Command::CheckForNewVersion, "Updates"},
    separator,
    {"About", nullptr, Command::About, "About"},
};

constexpr MenuTitle menu_titles[] = {
    {"File", file_menu}, {"Converter", converter_menu}, {"Help", help_menu}};

// Tool bar buttons: image, command and the Menu key of the tooltip; nullptr image = separator.
constexpr MenuEntry toolbar_buttons[] = {
    {"New", nullptr, Command::New, "New"},
    {"Select Input File", nullptr, Command::SelectInputFile, "Add"},
    {"Select Output Folder", nullptr, Command::SelectOutputFolder, "OutFolder"},
    separator,
    {"Preferences", nullptr, Command::Preferences, "Preferences"},
    separator,
    {"Convert", nullptr, Command::Convert, "Convert"},
    separator,
    {"Manual", nullptr, Command::Manual, "Help"},
    {"Send Feedback", nullptr, Command::SendFeedback, "Email"},
    {"Visit Homepage", nullptr, Command::VisitHomepage, "Web"},
    {"Check For New Version", nullptr, Command::CheckForNewVersion, "Updates"},
};

// The side buttons: command, tooltip key, menu image.
constexpr MenuEntry side_button_entries[] = {
    {"Select Input File", nullptr, Command::SelectInputFile, "Add"},
    {"Select Output Folder", nullptr, Command::SelectOutputFolder, "OutFolder"},
    {"Output Format Options", nullptr, Command::OutputFormatOptions, "OutFormat"},
};

std::unique_ptr<MainWindow> &main_window_holder() {
  static std::unique_ptr<MainWindow> window;
  return window;
}

QString text(const char *group, const char *key) {
  return lang(QString::fromLatin1(group), QString::fromLatin1(key));
}

QIcon icon_of(ImageTable table, const char *name) {
  return table_icon(table, QString::fromLatin1(name));
}

void send(Command command) { dispatch_command(command); }

void add_menu_entry(QMenu *menu, const MenuEntry &entry, const QString &caption) {
  if (!entry.key) {
    menu->addSeparator();
    return;
  }
  QAction *action = menu->addAction(icon_of(ImageTable::Menus, entry.image), caption);
  action->setData(static_cast<int>(entry.command));
  QObject::connect(action, &QAction::triggered, action,
                   [command = entry.command] { send(command); });
}

QList<QRect> available_screen_areas() {
  QList<QRect> areas;
  for (const QScreen *screen : QGuiApplication::screens())
    areas << screen->availableGeometry();
  return areas;
}

QComboBox *add_list(QWidget *parent, bool editable) {
  auto *list = new QComboBox(parent);
  list->setEditable(editable);
  if (editable) {
    // A typed folder enters the history when a run uses it, not when Return is pressed; folder
    // names differ by letter case here.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->completer()->setCaseSensitivity(Qt::CaseSensitive);
  }
  return list;
}

void refresh_item_icons(QComboBox *list, const char *image) {
  const QIcon icon = icon_of(ImageTable::Menus, image);
  for (int i = 0; i < list->count(); ++i)
    list->setItemIcon(i, icon);
}

} // namespace

MainWindow::MainWindow() {
  setWindowTitle(window_title());
  setAcceptDrops(true);
  build_menus();
  bars_.menu = menuBar()->sizeHint().height();
  build_main_toolbar();
  build_status_bar();
  build_panel();
  add_shortcuts();
  restore_geometry();
  layout_main_window();
}

void MainWindow::restore_geometry() {
  const Settings &s = settings();
  const int height = fixed_main_height(bars_, row_heights());
  setMinimumSize(main_min_width, height);
  setMaximumSize(QWIDGETSIZE_MAX, height);
  resize(bounded_main_size(QSize(s.window_width, s.window_height), height));
  move(s.window_x, s.window_y);
  keep_on_screen();
}

void MainWindow::keep_on_screen() { keep_window_on_screen(this); }

void keep_window_on_screen(QWidget *window) {
  const QRect inner = window->geometry();
  const QRect outer = window->frameGeometry();
  QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                 outer.right() - inner.right(), outer.bottom() - inner.bottom());
  if (frame.isNull()) {
    // Until the desktop has framed the window, the style's window frame stands in for it.
    const QStyle *style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    frame = QMargins(border, style->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
  }
  const QRect placed = fit_onto_screens(QRect(window->pos(), window->size()), frame,
                                        available_screen_areas(), window->minimumSize());
  window->resize(placed.size());
  window->move(placed.topLeft());
}

void MainWindow::build_menus() {
  menuBar()->clear();
  QStringList titles;
  for (const MenuTitle &title : menu_titles)
    titles << text("Menu", title.key);
  titles = with_mnemonics(titles);
  for (std::size_t t = 0; t < std::size(menu_titles); ++t) {
    QMenu *menu = menuBar()->addMenu(titles.at(qsizetype(t)));
    QStringList captions;
    for (const MenuEntry &entry : menu_titles[t].entries) {
      QString caption = entry.key ? text("Menu", entry.key) : QString();
      if (entry.shortcut)
        caption += QLatin1Char('\t') + QString::fromLatin1(entry.shortcut);
      captions << caption;
    }
    // The converter menu ends with the presets, their title lettered with the entries.
    const bool presets = menu_titles[t].entries.data() == converter_menu;
    if (presets)
      captions << text("Presets", "Menu");
    captions = with_mnemonics(captions);
    for (std::size_t i = 0; i < menu_titles[t].entries.size(); ++i)
      add_menu_entry(menu, menu_titles[t].entries[i], captions.at(qsizetype(i)));
    if (presets) {
      QAction *list = menu->addMenu(new_preset_menu(
          menu, [] { return settings(); }, use_preset_in_window));
      list->setText(captions.last());
      list->setIcon(icon_of(ImageTable::Menus, "OutFormat"));
    }
  }
}

void MainWindow::build_main_toolbar() {
  delete toolbar_;
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName(QStringLiteral("main_toolbar"));
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
  const int size = icon_size(settings().ui_size);
  toolbar_->setIconSize(QSize(size, size));
  for (const MenuEntry &button : toolbar_buttons) {
    if (!button.image) {
      toolbar_->addSeparator();
      continue;
    }
    QAction *action =
        toolbar_->addAction(icon_of(ImageTable::Toolbar, button.image), text("Menu", button.key));
    action->setToolTip(text("Menu", button.key));
    action->setData(static_cast<int>(button.command));
    connect(action, &QAction::triggered, this, [command = button.command] { send(command); });
  }
  addToolBar(Qt::TopToolBarArea, toolbar_);
  bars_.toolbar = toolbar_->sizeHint().height();
}

void MainWindow::build_status_bar() {
  status_label_ = new QLabel(statusBar());
  statusBar()->addWidget(status_label_, 1);
  statusBar()->setSizeGripEnabled(false);
  bars_.status = statusBar()->sizeHint().height();
}

void MainWindow::build_panel() {
  auto *body = new QWidget(this);
  setCentralWidget(body);
  panel_ = new QWidget(body);
  const char *const captions[] = {"Input File", "Output Folder", "Output Format"};
  for (std::size_t i = 0; i < labels_.size(); ++i)
    labels_[i] = new QLabel(text("General", captions[i]), panel_);
  input_field_ = new QLineEdit(panel_);
  connect(input_field_, &QLineEdit::returnPressed, this, [] { send(Command::Convert); });
  input_field_->setPlaceholderText(text("Queue", "Drop hint"));
  add_queue_button(input_field_);
  build_side_buttons();
  folder_list_ = add_list(panel_, true);
  format_list_ = add_list(panel_, false);
  connect(folder_list_, &QComboBox::activated, this, [] { control_event(Control::FolderList); });
  connect(format_list_, &QComboBox::activated, this, [] { control_event(Control::FormatList); });

  convert_button_ = new QToolButton(panel_);
  convert_button_->setText(text("General", "Convert"));
  convert_button_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  connect(convert_button_, &QToolButton::clicked, this,
          [] { control_event(Control::ConvertButton); });
  // The notice sits on the window body, below the panel; the body begins under the tool bar.
  notice_label_ = new QLabel(QString::fromUtf8(build::notice), body);
  refresh_main_images();
}

void MainWindow::build_side_buttons() {
  for (std::size_t i = 0; i < side_buttons_.size(); ++i) {
    // A rebuilt button takes the place of the one it replaces.
    const QRect place = side_buttons_[i] ? side_buttons_[i]->geometry() : QRect();
    delete side_buttons_[i];
    const MenuEntry &entry = side_button_entries[i];
    auto *button = new QToolButton(panel_);
    button->setAutoRaise(true);
    // Like the tool bar's buttons they repeat menu entries, so Tab goes from field to field.
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(icon_of(ImageTable::Menus, entry.image));
    button->setToolTip(text("Menu", entry.key));
    button->setGeometry(place);
    connect(button, &QToolButton::clicked, this, [command = entry.command] { send(command); });
    button->show();
    side_buttons_[i] = button;
  }
}

void MainWindow::add_shortcuts() {
  const std::pair<QKeySequence, Command> shortcuts[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), Command::New},
      {QKeySequence(Qt::ALT | Qt::Key_X), Command::Exit},
      {QKeySequence(Qt::CTRL | Qt::Key_Q), Command::Exit},
      {QKeySequence(Qt::Key_F5), Command::Convert},
      {QKeySequence(Qt::Key_F1), Command::Manual},
  };
  for (const auto &[keys, command] : shortcuts) {
    auto *shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [command = command] { send(command); });
  }
  // F10 opens the first menu, as on other desktops' windows.
  auto *menu_key = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menu_key, &QShortcut::activated, this,
          [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
}

RowHeights MainWindow::row_heights() const {
  RowHeights rows;
  for (const QLabel *label : labels_)
    rows.label = std::max(rows.label, label->sizeHint().height());
  const QWidget *const fields[] = {input_field_, folder_list_, format_list_};
  for (const QWidget *field : fields)
    rows.field = std::max(rows.field, field->sizeHint().height());
  rows.notice = notice_label_->sizeHint().height();
  return rows;
}

void MainWindow::layout_main_window() {
  const RowHeights rows = row_heights();
  const int height = fixed_main_height(bars_, rows);
  if (minimumHeight() != height || maximumHeight() != height)
    setFixedHeight(height);
  const MainLayout layout = main_layout(QSize(width(), height), bars_, rows);
  panel_->setGeometry(
      QRect(panel_->x(), layout.panel.y(), layout.panel.width(), layout.panel.height()));
  for (std::size_t i = 0; i < labels_.size(); ++i)
    labels_[i]->setGeometry(layout.labels[i]);
  input_field_->setGeometry(layout.input_field);
  folder_list_->setGeometry(layout.folder_list);
  format_list_->setGeometry(layout.format_list);
  for (std::size_t i = 0; i < side_buttons_.size(); ++i)
    side_buttons_[i]->setGeometry(layout.side_buttons[i]);
  convert_button_->setGeometry(layout.convert_button);
  notice_label_->setGeometry(layout.notice);
  update();
}

void MainWindow::refresh_main_images() {
  convert_button_->setIcon(icon_of(ImageTable::Buttons, "Convert"));
  convert_button_->setIconSize(table_image(ImageTable::Buttons, QStringLiteral("Convert")).size());
  refresh_item_icons(folder_list_, "FavFolder");
  refresh_item_icons(format_list_, "New");
}

void MainWindow::bind_layout() { layout_bound_ = true; }

void MainWindow::bring_forward() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void MainWindow::set_status_text(const QString &text) { status_label_->setText(text); }

QString MainWindow::status_text() const { return status_label_->text(); }

void MainWindow::closeEvent(QCloseEvent *event) {
  event->accept();
  emit quit_requested();
}

void MainWindow::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  if (layout_bound_)
    layout_main_window();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
  if (!event->mimeData()->hasUrls())
    return;
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void MainWindow::dropEvent(QDropEvent *event) {
  QStringList paths;
  for (const QUrl &url : event->mimeData()->urls())
    paths << url.toLocalFile();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  drop_files(paths);
}

MainWindow *main_window() { return main_window_holder().get(); }

MainWindow *build_main_window() {
  main_window_holder() = std::make_unique<MainWindow>();
  return main_window();
}

void destroy_main_window() { main_window_holder().reset(); }

void set_status_text(const QString &text) {
  if (MainWindow *window = main_window())
    window->set_status_text(text);
}

void layout_main_window() {
  if (MainWindow *window = main_window())
    window->layout_main_window();
}

void refresh_main_images() {
  if (MainWindow *window = main_window())
    window->refresh_main_images();
}

} // namespace lumbrix
