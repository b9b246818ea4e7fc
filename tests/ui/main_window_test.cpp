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

QList<Entry> menu_entries(QMenu *menu) {
  QList<Entry> entries;
  for (QAction *action : menu->actions())
    entries.append({action->isSeparator() ? QStringLiteral("-") : action->text(),
                    action->isSeparator() ? -1 : action->data().toInt()});
  return entries;
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
    QCOMPARE(titles[0]->text(), QStringLiteral("File"));
    QCOMPARE(titles[1]->text(), QStringLiteral("Converter"));
    QCOMPARE(titles[2]->text(), QStringLiteral("Help"));
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
    QCOMPARE(window->panel()->findChildren<QToolButton *>().size(), 4); // 3 side + Convert
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

  void sideButtonsAndControlsSitWhereTheLayoutPutsThem() {
    MainWindow *window = main_window();
    QCOMPARE(window->side_button(0)->toolTip(), QStringLiteral("Add Input File..."));
    QCOMPARE(window->side_button(1)->toolTip(), QStringLiteral("Select Output Folder..."));
    QCOMPARE(window->side_button(2)->toolTip(), QStringLiteral("Options..."));
    // Created at 396, the third side button joins the others' column at the first layout.
    MainWindow created;
    QCOMPARE(created.side_button(2)->geometry(), QRect(396, 99, 24, 24));
    created.layout_main_window();
    QCOMPARE(created.side_button(2)->geometry(), QRect(364, 99, 24, 24));
    QCOMPARE(window->side_button(2)->geometry(), QRect(364, 99, 24, 24));
    window->resize(800, 400);
    QCOMPARE(window->size(), QSize(800, 260));
    QCOMPARE(window->input_field()->width(), 640);
    QCOMPARE(window->folder_list()->width(), 640);
    QCOMPARE(window->side_button(1)->x(), 654);
    QCOMPARE(window->convert_button()->geometry(), QRect(690, 20, 100, 100));
    window->resize(300, 260);
    QCOMPARE(window->width(), 510);
    QCOMPARE(window->notice_label()->text(),
             QString::fromUtf8("Copyright © 2026 Vantrel. All rights reserved."));
  }

  void droppingSeveralFilesTakesTheFirst() {
    const QString first = home.path(QStringLiteral("first.png"));
    const QString second = home.path(QStringLiteral("second.png"));
    QVERIFY(test::write_png(first));
    QVERIFY(test::write_png(second));
    drop(main_window(), {first, second});
    QCOMPARE(main_window()->input_field()->text(), first);
  }

  void droppingAFileOfAnotherKindChangesNothing() {
    const QString text = home.path(QStringLiteral("notes.txt"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    drop(main_window(), {text});
    QVERIFY(main_window()->input_field()->text().isEmpty());
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
