#include "shell_environment.h"
#include "ui/input_output.h"
#include "ui/queued_files_dialog.h"
#include "ui/window_job.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace lumbrix;

class QueuedFilesDialogTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  std::vector<InputFile> files;

  QAction *queue_button() const {
    const QList<QAction *> actions = main_window()->input_field()->actions();
    return actions.isEmpty() ? nullptr : actions.last();
  }

private slots:
  void initTestCase() {
    settings() = default_settings(SettingsUse::Window);
    for (const char *name : {"a.png", "b.png", "c.png", "d.png"}) {
      const QString path = home.path(QLatin1String(name));
      QVERIFY(test::write_png(path));
      files.push_back({path, QString()});
    }
  }
  void init() { test::start_main_window(); }
  void cleanup() {
    destroy_main_window();
    reset_window_job();
  }

  // Removing rows keeps the others in order, and what is kept becomes the input.
  void removedFilesLeaveTheInput_data() {
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("button");
    const QString a = home.path(QStringLiteral("a.png"));
    const QString c = home.path(QStringLiteral("c.png"));
    QTest::newRow("none") << QList<int>{} << QStringList{"a.png", "b.png", "c.png", "d.png"}
                          << a + QStringLiteral(" (+3 more)") << true;
    QTest::newRow("scattered") << QList<int>{3, 1} << QStringList{"a.png", "c.png"}
                               << a + QStringLiteral(" (+1 more)") << true;
    QTest::newRow("all but one") << QList<int>{0, 1, 3} << QStringList{"c.png"} << c << false;
    QTest::newRow("all") << QList<int>{0, 1, 2, 3} << QStringList{} << QString() << false;
  }
  void removedFilesLeaveTheInput() {
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, kept);
    QFETCH(QString, field);
    QFETCH(bool, button);
    QVERIFY(set_input_files(files));
    QVERIFY(queue_button()->isVisible());
    QueuedFilesDialog dialog(window_job().inputs, main_window());
    QVERIFY(!dialog.remove_button()->isEnabled());
    for (int row : selected)
      dialog.file_list()->item(row)->setSelected(true);
    QCOMPARE(dialog.remove_button()->isEnabled(), !selected.isEmpty());
    dialog.remove_selected();
    QStringList names;
    for (const InputFile &file : dialog.kept())
      names << QFileInfo(file.path).fileName();
    QCOMPARE(names, kept);
    QCOMPARE(dialog.file_list()->count(), kept.size());
    keep_queued_files(dialog.kept());
    QCOMPARE(main_window()->input_field()->text(), field);
    QCOMPARE(shown_inputs().size(), std::size_t(kept.size()));
    QCOMPARE(queue_button()->isVisible(), button);
  }

  void emptyFieldHintsAtDropping() {
    QCOMPARE(main_window()->input_field()->placeholderText(),
             QStringLiteral("Type a file or folder, or drop files and folders here"));
  }
};

QTEST_MAIN(QueuedFilesDialogTest)
#include "queued_files_dialog_test.moc"
