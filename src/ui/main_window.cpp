#include "ui/main_window.h"

#include "build_constants.h"
#include "engine/product.h"
#include "prefs/image_tables.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/command_dispatch.h"
#include "ui/commands.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

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

constexpr QPoint side_button_origins[] = {{364, 19}, {364, 59}, {396, 99}};

std::unique_ptr<MainWindow> &main_window_holder() {
  static std::unique_ptr<MainWindow> window;
  return window;
}

QString text(const char *group, const char *key) {
  return lang(QString::fromLatin1(group), QString::fromLatin1(key));
}

QIcon table_icon(ImageTable table, const char *name) {
  return QIcon(QPixmap::fromImage(table_image(table, QString::fromLatin1(name))));
}

void send(Command command) { dispatch_command(command); }

QLabel *add_label(QWidget *parent, const QString &caption, const QRect &geometry) {
  auto *label = new QLabel(caption, parent);
  label->setGeometry(geometry);
  return label;
}

QComboBox *add_list(QWidget *parent, const QRect &geometry) {
  auto *list = new QComboBox(parent);
  list->setEditable(false);
  list->setGeometry(geometry);
  return list;
}

void refresh_item_icons(QComboBox *list, const char *image) {
  const QIcon icon = table_icon(ImageTable::Menus, image);
  for (int i = 0; i < list->count(); ++i)
    list->setItemIcon(i, icon);
}

} // namespace

MainWindow::MainWindow() {
  const Settings &s = settings();
  setWindowTitle(window_title());
  setMinimumSize(main_min_width, main_height);
  setMaximumSize(QWIDGETSIZE_MAX, main_height);
  const QSize size = bounded_main_size(QSize(s.window_width, s.window_height));
  resize(size);
  move(s.window_x, s.window_y);
  setAcceptDrops(true);
  build_menus();
  bars_.menu = menuBar()->sizeHint().height();
  build_main_toolbar();
  build_status_bar();
  build_panel();
  add_shortcuts();
}

void MainWindow::build_menus() {
  menuBar()->clear();
  for (const MenuTitle &title : menu_titles) {
    QMenu *menu = menuBar()->addMenu(text("Menu", title.key));
    for (const MenuEntry &entry : title.entries) {
      if (!entry.key) {
        menu->addSeparator();
        continue;
      }
      QString caption = text("Menu", entry.key);
      if (entry.shortcut)
        caption += QLatin1Char('\t') + QString::fromLatin1(entry.shortcut);
      QAction *action = menu->addAction(table_icon(ImageTable::Menus, entry.image), caption);
      action->setData(static_cast<int>(entry.command));
      connect(action, &QAction::triggered, this, [command = entry.command] { send(command); });
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
    QAction *action = toolbar_->addAction(table_icon(ImageTable::Toolbar, button.image),
                                          text("Menu", button.key));
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
  const Settings &s = settings();
  auto *body = new QWidget(this);
  setCentralWidget(body);
  panel_ = new QWidget(body);
  panel_->setGeometry(0, panel_offset, s.window_width, s.window_height - 130);
  add_label(panel_, text("General", "Input File"), QRect(10, 5, 350, 20));
  input_field_ = new QLineEdit(panel_);
  input_field_->setGeometry(10, 20, 350, 20);
  build_side_buttons();
  add_label(panel_, text("General", "Output Folder"), QRect(10, 45, 350, 20));
  folder_list_ = add_list(panel_, QRect(10, 60, 350, 21));
  add_label(panel_, text("General", "Output Format"), QRect(10, 85, 350, 20));
  format_list_ = add_list(panel_, QRect(10, 100, 350, 21));
  connect(folder_list_, &QComboBox::activated, this, [] { control_event(Control::FolderList); });
  connect(format_list_, &QComboBox::activated, this, [] { control_event(Control::FormatList); });

  convert_button_ = new QToolButton(panel_);
  convert_button_->setGeometry(400, 20, 100, 100);
  convert_button_->setText(text("General", "Convert"));
  convert_button_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  connect(convert_button_, &QToolButton::clicked, this,
          [] { control_event(Control::ConvertButton); });
  // The notice sits on the window body, below the panel; the body begins under the tool bar.
  notice_label_ = add_label(body, QString::fromUtf8(build::notice),
                            QRect(10, s.window_height - 70 - bars_.toolbar, 350, 20));
  refresh_main_images();
}

void MainWindow::build_side_buttons() {
  for (std::size_t i = 0; i < side_buttons_.size(); ++i) {
    delete side_buttons_[i];
    const MenuEntry &entry = side_button_entries[i];
    auto *button = new QToolButton(panel_);
    button->setAutoRaise(true);
    button->setIcon(table_icon(ImageTable::Menus, entry.image));
    button->setToolTip(text("Menu", entry.key));
    button->setGeometry(QRect(side_button_origins[i], QSize(24, 24)));
    connect(button, &QToolButton::clicked, this, [command = entry.command] { send(command); });
    button->show();
    side_buttons_[i] = button;
  }
}

void MainWindow::add_shortcuts() {
  const std::pair<QKeySequence, Command> shortcuts[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), Command::New},
      {QKeySequence(Qt::ALT | Qt::Key_X), Command::Exit},
      {QKeySequence(Qt::Key_F5), Command::Convert},
      {QKeySequence(Qt::Key_F1), Command::Manual},
  };
  for (const auto &[keys, command] : shortcuts) {
    auto *shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [command = command] { send(command); });
  }
}

void MainWindow::layout_main_window() {
  const MainLayout layout = main_layout(size(), bars_);
  panel_->setGeometry(
      QRect(panel_->x(), layout.panel.y(), layout.panel.width(), layout.panel.height()));
  input_field_->setGeometry(layout.input_field);
  folder_list_->setGeometry(layout.folder_list);
  format_list_->setGeometry(layout.format_list);
  for (std::size_t i = 0; i < side_buttons_.size(); ++i)
    side_buttons_[i]->setGeometry(layout.side_buttons[i]);
  convert_button_->setGeometry(layout.convert_button);
  update();
}

void MainWindow::refresh_main_images() {
  const QImage convert = table_image(ImageTable::Buttons, QStringLiteral("Convert"));
  convert_button_->setIcon(QIcon(QPixmap::fromImage(convert)));
  convert_button_->setIconSize(convert.size());
  refresh_item_icons(folder_list_, "FavFolder");
  refresh_item_icons(format_list_, "New");
}

void MainWindow::bind_layout() { layout_bound_ = true; }

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
