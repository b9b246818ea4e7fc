#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/main_window.h"
#include "ui/window_job.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using namespace lumbrix;

namespace {

struct Entry {
  QString text;
  int command;
};

// A caption as the menu shows it: without the mnemonic's marker.
QString shown(QString caption) {
  return caption.replace("&&", "\x01").remove('&').replace('\x01', '&');
}

QList<Entry> menu_entries(QMenu *menu) {
  QList<Entry> entries;
  for (QAction *action : menu->actions())
    entries.append({action->isSeparator() ? QStringLiteral("-") : shown(action->text()),
                    action->isSeparator() ? -1 : action->data().toInt()});
  return entries;
}

// A widget's rectangle in window coordinates.
QRect placed(const QWidget *widget) {
  return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

void drop(MainWindow *window, const QStringList &paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString &path : paths)
    urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  const QPoint at(20, 100);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &dropped);
}

} // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;

private slots:
  void init() {
    settings() = default_settings(SettingsUse::Window);
    test::start_main_window();
  }
  void cleanup() { destroy_main_window(); }

  void menusCarryTextsShortcutsAndCommands() {
    const QList<QAction *> titles = main_window()->menuBar()->actions();
    QCOMPARE(titles.size(), 3);
    QCOMPARE(shown(titles[0]->text()), QStringLiteral("File"));
    QCOMPARE(shown(titles[1]->text()), QStringLiteral("Converter"));
    QCOMPARE(shown(titles[2]->text()), QStringLiteral("Help"));
    QCOMPARE(QKeySequence::mnemonic(titles[0]->text()), QKeySequence(Qt::ALT | Qt::Key_F));
    const QList<Entry> file = menu_entries(titles[0]->menu());
    QCOMPARE(file.size(), 6);
    QCOMPARE(file[0].text, QStringLiteral("New\tCtrl+N"));
    QCOMPARE(file[0].command, 0);
    QCOMPARE(file[1].text, QStringLiteral("-"));
    QCOMPARE(file[2].text, QStringLiteral("Add Input File..."));
    QCOMPARE(file[2].command, 5);
    QCOMPARE(file[3].command, 7);
    QCOMPARE(file[5].text, QStringLiteral("Exit\tAlt+X"));
    QCOMPARE(file[5].command, 3);
    const QList<Entry> converter = menu_entries(titles[1]->menu());
    QCOMPARE(converter[0].text, QStringLiteral("Convert\tF5"));
    QCOMPARE(converter[2].text, QStringLiteral("Find a File Converter..."));
    QCOMPARE(converter[2].command, 16);
    QCOMPARE(converter[4].command, 17);
    const QList<Entry> help = menu_entries(titles[2]->menu());
    QCOMPARE(help.size(), 7);
    QCOMPARE(help[0].text, QStringLiteral("User Manual...\tF1"));
    QCOMPARE(help[2].command, 21);
    QCOMPARE(help[3].text, QStringLiteral("Visit the Program's Homepage"));
    QCOMPARE(help[4].command, 23);
    QCOMPARE(help[6].text, QStringLiteral("About..."));
    QCOMPARE(help[6].command, 24);
    for (QAction *title : titles) {
      for (QAction *action : title->menu()->actions())
        QVERIFY(action->isSeparator() || !action->icon().isNull());
    }
  }

  void rebuildingMenusAndBarsReplacesThem() {
    MainWindow *window = main_window();
    window->build_menus();
    window->build_main_toolbar();
    window->build_side_buttons();
    QCOMPARE(window->menuBar()->actions().size(), 3);
    QCOMPARE(window->findChildren<QToolBar *>().size(), 1);
    QCOMPARE(window->panel()->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly).size(),
             4); // 3 side + Convert
  }

  void toolbarButtonsHaveCommandsAndTooltips() {
    QList<QAction *> buttons;
    for (QAction *action : main_window()->main_toolbar()->actions()) {
      if (!action->isSeparator())
        buttons << action;
    }
    QCOMPARE(buttons.size(), 9);
    const int commands[] = {0, 5, 7, 17, 14, 18, 21, 22, 23};
    for (int i = 0; i < 9; ++i)
      QCOMPARE(buttons[i]->data().toInt(), commands[i]);
    QCOMPARE(buttons[1]->toolTip(), QStringLiteral("Add Input File..."));
    QCOMPARE(buttons[8]->toolTip(), QStringLiteral("Check For a New Version"));
    QCOMPARE(main_window()->main_toolbar()->iconSize(), QSize(32, 32));
  }

  void uiSizeOutsideTheRangeGivesSmallIcons() {
    settings().ui_size = 9;
    main_window()->build_main_toolbar();
    QCOMPARE(main_window()->main_toolbar()->iconSize(), QSize(16, 16));
    settings().ui_size = 4;
    main_window()->build_main_toolbar();
    QCOMPARE(main_window()->main_toolbar()->iconSize(), QSize(64, 64));
  }

  void sideButtonsAndControlsFollowTheWidth() {
    MainWindow *window = main_window();
    QCOMPARE(window->side_button(0)->toolTip(), QStringLiteral("Add Input File..."));
    QCOMPARE(window->side_button(1)->toolTip(), QStringLiteral("Select Output Folder..."));
    QCOMPARE(window->side_button(2)->toolTip(), QStringLiteral("Options..."));
    QCoreApplication::sendPostedEvents(); // the first layout, with the lists filled
    QCOMPARE(window->size(), QSize(510, 260));
    const int field = window->folder_list()->width();
    const QRect convert = window->convert_button()->geometry();
    window->resize(800, 400);
    QCOMPARE(window->size(), QSize(800, 260));
    QCOMPARE(window->folder_list()->width(), field + 290);
    QCOMPARE(window->convert_button()->geometry(), convert.translated(290, 0));
    // A rebuilt side button keeps its place.
    const QRect side = window->side_button(2)->geometry();
    window->build_side_buttons();
    QCOMPARE(window->side_button(2)->geometry(), side);
    window->resize(300, 260);
    QCOMPARE(window->width(), 510);
    QCOMPARE(window->notice_label()->text(),
             QString::fromUtf8("Copyright © 2026 Vantrel. All rights reserved."));
  }

  // A large font grows the window instead of letting the labels run into their fields.
  void largeFontsGrowTheWindowAndKeepLabelsClear() {
    destroy_main_window();
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSize(normal.pointSize() * 3);
    QApplication::setFont(large);
    test::start_main_window();
    const auto restore = qScopeGuard([&normal] {
      destroy_main_window();
      QApplication::setFont(normal);
    });
    MainWindow *window = main_window();
    QVERIFY(window->height() > 260);
    const QWidget *fields[] = {window->input_field(), window->folder_list(), window->format_list()};
    for (int i = 0; i < 3; ++i)
      QVERIFY(placed(window->label(i)).bottom() < placed(fields[i]).top());
    QVERIFY(placed(fields[2]).bottom() < placed(window->notice_label()).top());
    QVERIFY(placed(window->centralWidget()).contains(placed(window->notice_label())));
  }

  void droppingSeveralFilesTakesThemAll() {
    const QString first = home.path(QStringLiteral("first.png"));
    const QString second = home.path(QStringLiteral("second.png"));
    QVERIFY(test::write_png(first));
    QVERIFY(test::write_png(second));
    drop(main_window(), {first, second});
    QCOMPARE(main_window()->input_field()->text(), first + QStringLiteral(" (+1 more)"));
  }

  void droppingAFileOfAnotherKindChangesNothing() {
    const QString text = home.file(QStringLiteral("notes.txt"), "not a picture");
    QVERIFY(!text.isEmpty());
    drop(main_window(), {text});
    QVERIFY(main_window()->input_field()->text().isEmpty());
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
