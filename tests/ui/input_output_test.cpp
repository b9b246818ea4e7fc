#include "platform/paths.h"
#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/input_output.h"
#include "ui/window_job.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace lumbrix;

class InputOutputTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;

  QComboBox *folders() const { return main_window()->folder_list(); }
  QString input_text() const { return main_window()->input_field()->text(); }

private slots:
  void init() {
    settings() = default_settings(SettingsUse::Window);
    dialogs = test::ScriptedDialogs();
    test::start_main_window();
  }
  void cleanup() { destroy_main_window(); }

  void chosenFileWithNoFolderShownBringsItsOwnFolder() {
    const QString folder = home.folder(QStringLiteral("pictures"));
    QVERIFY(test::write_png(folder + QStringLiteral("cat.png")));
    dialogs.next_file = folder + QStringLiteral("cat.png");
    select_input_file();
    QCOMPARE(input_text(), folder + QStringLiteral("cat.png"));
    QCOMPARE(window_job().output_folder, folder);
    QCOMPARE(settings().recent_out_folders, folder);
    QCOMPARE(folders()->currentText(), folder);
    // Convert reads the field again, so the chosen path is not kept in the run state.
    QVERIFY(window_job().last_input.isEmpty());
  }

  void chosenFileKeepsAFolderAlreadyShown() {
    const QString shown = home.folder(QStringLiteral("out"));
    const QString elsewhere = home.folder(QStringLiteral("elsewhere"));
    settings().recent_out_folders = shown;
    fill_out_folder_list();
    QCOMPARE(folders()->currentText(), shown);
    QVERIFY(test::write_png(elsewhere + QStringLiteral("dog.png")));
    dialogs.next_file = elsewhere + QStringLiteral("dog.png");
    select_input_file();
    QCOMPARE(input_text(), elsewhere + QStringLiteral("dog.png"));
    QCOMPARE(folders()->currentText(), shown);
    QCOMPARE(settings().recent_out_folders, shown);
  }

  void fileDialogGetsTheFilterTitleAndInitialFile() {
    window_job().last_input = QStringLiteral("/srv/last.png");
    select_input_file();
    QCOMPARE(dialogs.file_requests.size(), 1);
    QCOMPARE(dialogs.file_requests[0].title, QStringLiteral("Select Input Files"));
    QCOMPARE(dialogs.file_requests[0].text,
             QStringLiteral("All Supported Files|*.png|Portable Network Graphics|*.png|"
                            "All Files (*.*)|*.*#/srv/last.png"));
  }

  void onlyAcceptableFilesBecomeTheInput() {
    const QString folder = home.folder(QStringLiteral("mixed"));
    QVERIFY(test::write_png(folder + QStringLiteral("LOUD.PNG")));
    home.folder(QStringLiteral("mixed/album.png"));
    QFile empty(folder + QStringLiteral("empty.png"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    for (const char *name : {"album.png", "empty.png", "missing.png"}) {
      dialogs.next_file = folder + QLatin1String(name);
      select_input_file();
      QVERIFY2(input_text().isEmpty(), name);
    }
    QVERIFY(dialogs.messages.isEmpty());
    dialogs.next_file = folder + QStringLiteral("LOUD.PNG");
    select_input_file();
    QCOMPARE(input_text(), folder + QStringLiteral("LOUD.PNG"));
  }

  // Several files chosen, or a folder dropped, become one input of many pictures.
  void severalFilesAndDroppedFoldersBecomeTheInput() {
    const QString folder = home.folder(QStringLiteral("batch"));
    const QString sub = home.folder(QStringLiteral("batch/sub"));
    for (const QString &path : {folder + QStringLiteral("a.png"), sub + QStringLiteral("b.png")})
      QVERIFY(test::write_png(path));
    dialogs.next_files = {folder + QStringLiteral("a.png"), folder + QStringLiteral("missing.png"),
                          sub + QStringLiteral("b.png")};
    select_input_file();
    QCOMPARE(input_text(), folder + QStringLiteral("a.png (+1 more)"));
    QCOMPARE(window_job().inputs.size(), std::size_t(2));

    const std::vector<InputFile> dropped = dropped_inputs({folder});
    QCOMPARE(dropped.size(), std::size_t(2));
    QVERIFY(set_input_files(dropped));
    QCOMPARE(window_job().inputs.back().relative_subfolder, QStringLiteral("sub/"));
    // One file on its own is an ordinary input again.
    QVERIFY(set_input_files({dropped.front()}));
    QCOMPARE(input_text(), dropped.front().path);
    QVERIFY(window_job().inputs.empty());
  }

  void folderDialogStartsFromTheShownFolderAndRemembersTheChoice() {
    const QString shown = home.folder(QStringLiteral("shown"));
    const QString chosen = home.folder(QStringLiteral("chosen"));
    settings().recent_out_folders = shown;
    fill_out_folder_list();
    dialogs.next_folder = chosen.chopped(1); // dialogs answer without the separator
    select_output_folder();
    QCOMPARE(dialogs.folder_requests[0].text, shown);
    QCOMPARE(dialogs.folder_requests[0].title, QStringLiteral("Select Output Folder"));
    QCOMPARE(window_job().output_folder, chosen);
    QCOMPARE(settings().recent_out_folders, chosen + QLatin1Char('\t') + shown);
    QCOMPARE(folders()->currentText(), chosen);
  }

  void folderDialogWithoutAShownFolderStartsFromTheRunState() {
    folders()->setCurrentIndex(-1);
    window_job().output_folder = QStringLiteral("/srv/state/");
    dialogs.next_folder = home.path(QStringLiteral("does-not-exist"));
    select_output_folder();
    QCOMPARE(dialogs.folder_requests[0].text, QStringLiteral("/srv/state/"));
    QCOMPARE(window_job().output_folder, QStringLiteral("/srv/state/"));
    QVERIFY(settings().recent_out_folders.isEmpty());
  }

  void folderListSkipsBlankFieldsAndSelectsTheRunFolder() {
    settings().recent_out_folders = QStringLiteral(" \t/srv/a/\t/srv/b/");
    window_job().output_folder = QStringLiteral("/srv/b/");
    fill_out_folder_list();
    QCOMPARE(folders()->count(), 2);
    QCOMPARE(folders()->itemText(0), QStringLiteral("/srv/a/"));
    QCOMPARE(folders()->currentText(), QStringLiteral("/srv/b/"));
    QVERIFY(!folders()->itemIcon(0).isNull());
  }

  void newJobKeepsTheItemsButSelectsNone() {
    settings().recent_out_folders = QStringLiteral("/srv/a/\t/srv/b/");
    window_job().output_folder = QStringLiteral("/srv/a/");
    main_window()->input_field()->setText(QStringLiteral("/srv/in.png"));
    new_job();
    QCOMPARE(folders()->count(), 2);
    QCOMPARE(folders()->currentIndex(), -1);
    QVERIFY(folders()->currentText().isEmpty());
    QVERIFY(input_text().isEmpty());
    QVERIFY(window_job().output_folder.isEmpty());
    QCOMPARE(main_window()->status_text(), QStringLiteral("Ready"));
  }

  void formatListShowsNamesWithDescriptions() {
    QComboBox list;
    fill_format_list(&list, true);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.itemText(0), QStringLiteral("PSD (Adobe Photoshop)"));
    QCOMPARE(list.itemData(0).toInt(), 0);
    QCOMPARE(list.currentIndex(), 0);
    fill_format_list(&list, false);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.itemText(0), QStringLiteral("PSD"));
  }

  // Only a leading "~" alone or before "/" is the home folder.
  void typedOutputFolderExpandsTheHomeFolder() {
    const QString home = QDir::homePath();
    const struct {
      const char *typed;
      QString folder;
    } cases[] = {
        {" ~ ", home + "/"},
        {"~/out", home + "/out/"},
        {"~other/out", "~other/out/"},
        {"/srv/~/x", "/srv/~/x/"},
        {"  ", ""},
    };
    for (const auto &c : cases)
      QCOMPARE(typed_output_folder(QString::fromUtf8(c.typed)), c.folder);
  }

  void pathHelpers() {
    QCOMPARE(folder_part(QStringLiteral("/a/b/c.png")), QStringLiteral("/a/b/"));
    QCOMPARE(folder_part(QStringLiteral("c.png")), QString());
    QCOMPARE(with_separator(QStringLiteral("/a")), QStringLiteral("/a/"));
    QCOMPARE(with_separator(QStringLiteral("/a/")), QStringLiteral("/a/"));
  }
};

QTEST_MAIN(InputOutputTest)
#include "input_output_test.moc"
