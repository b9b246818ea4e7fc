#pragma once

#include "ui/main_layout.h"

#include <QMainWindow>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class QWidget;

namespace lumbrix {

// The window front's one top-level window: menus, main tool bar, the input field, the output
// folder and output format drop-downs with their side buttons, the Convert button, the notice
// line and the status bar. Every menu entry, button and shortcut goes to dispatch_command.
class MainWindow : public QMainWindow {
  Q_OBJECT

public:
  MainWindow();

  // Each replaces what an earlier call built, so a theme change can run them again.
  void build_menus();
  void build_main_toolbar();
  void build_side_buttons();

  void layout_main_window();
  void refresh_main_images();
  // From now on every resize lays the window out.
  void bind_layout();
  // Un-minimised, on top and active: for a second start of the program.
  void bring_forward();
  // Moved, and shrunk if need be, onto the screen that holds most of the window.
  void keep_on_screen();

  QLineEdit *input_field() const { return input_field_; }
  QComboBox *folder_list() const { return folder_list_; }
  QComboBox *format_list() const { return format_list_; }
  QToolButton *convert_button() const { return convert_button_; }
  QLabel *notice_label() const { return notice_label_; }
  QWidget *panel() const { return panel_; }
  QLabel *label(int index) const { return labels_.at(index); }
  QToolBar *main_toolbar() const { return toolbar_; }
  QToolButton *side_button(int index) const { return side_buttons_.at(index); }
  const BarHeights &bar_heights() const { return bars_; }

  void set_status_text(const QString &text);
  QString status_text() const;

signals:
  // The close box or File/Exit: the event loop is to end.
  void quit_requested();

protected:
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;

private:
  void build_status_bar();
  void build_panel();
  void add_shortcuts();
  // The stored size and position, kept to the screens there are.
  void restore_geometry();
  RowHeights row_heights() const;

  BarHeights bars_;
  bool layout_bound_ = false;
  QToolBar *toolbar_ = nullptr;
  QLabel *status_label_ = nullptr;
  QWidget *panel_ = nullptr;
  std::array<QLabel *, 3> labels_{};
  QLineEdit *input_field_ = nullptr;
  QComboBox *folder_list_ = nullptr;
  QComboBox *format_list_ = nullptr;
  QToolButton *convert_button_ = nullptr;
  QLabel *notice_label_ = nullptr;
  std::array<QToolButton *, 3> side_buttons_{};
};

// The main window of the process; null before build_main_window and after destroy_main_window.
MainWindow *main_window();

// Creates the main window, hidden, at the stored position and size.
MainWindow *build_main_window();
void destroy_main_window();

// The main window's status text; nothing happens without a main window.
void set_status_text(const QString &text);

// Moves a top-level window onto the screen that holds most of it, shrinking it to that screen
// where it is larger.
void keep_window_on_screen(QWidget *window);

// For the preferences: lay the main window out again, and give its controls the images of the
// current theme. Nothing happens without a main window.
void layout_main_window();
void refresh_main_images();

} // namespace lumbrix
