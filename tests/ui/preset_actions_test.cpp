#include "cli/profile.h"
#include "shell_environment.h"
#include "support/run_binary.h"
#include "support/scripted_dialogs.h"
#include "ui/conversion_run.h"
#include "ui/preferences/preference_pages.h"
#include "ui/preferences/preferences_dialog.h"
#include "ui/preset_actions.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace lumbrix;

class PresetActionsTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;

  static QByteArray file_bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

private slots:
  void init() {
    settings() = default_settings(SettingsUse::Window);
    dialogs = test::ScriptedDialogs();
    QDir(presets_folder()).removeRecursively();
  }

  // Names are typed by the user: what is refused writes nothing, and a replace asks first.
  void savingAsksAndRefuses_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<int>("questions");
    QTest::newRow("new name") << QStringLiteral(" Web 90 ") << false << false << true << 0 << 0;
    QTest::newRow("replace, yes") << QStringLiteral("Web 90") << true << true << true << 0 << 1;
    QTest::newRow("replace, no") << QStringLiteral("Web 90") << true << false << false << 0 << 1;
    QTest::newRow("empty") << QString() << false << false << false << 1 << 0;
    QTest::newRow("parent") << QStringLiteral("..") << false << false << false << 1 << 0;
    QTest::newRow("separator") << QStringLiteral("../x") << false << false << false << 1 << 0;
  }
  void savingAsksAndRefuses() {
    QFETCH(QString, typed);
    QFETCH(bool, existing);
    QFETCH(bool, answer);
    QFETCH(bool, saved);
    QFETCH(int, warnings);
    QFETCH(int, questions);
    const QString path = preset_path(QStringLiteral("Web 90"));
    if (existing) {
      QVERIFY(QDir().mkpath(presets_folder()));
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    dialogs.next_text = typed;
    dialogs.answer = answer;
    settings().image_brightness = 17;
    QCOMPARE(save_preset_as(settings()), saved);
    QCOMPARE(dialogs.messages.size(), warnings);
    QCOMPARE(dialogs.questions.size(), questions);
    QCOMPARE(file_bytes(path) == "old", existing && !saved);
    Settings read = default_settings(SettingsUse::Window);
    QCOMPARE(load_profile(path, read) && read.image_brightness == 17, saved);
    QCOMPARE(QDir(presets_folder()).entryList(QDir::Files).size(), saved || existing ? 1 : 0);
  }

  void cancellingWritesNothing() {
    QVERIFY(!save_preset_as(settings()));
    QVERIFY(preset_names().isEmpty());
  }

  // The window's conversion and the console's with the preset of the same settings agree
  // byte for byte, though the two fronts start from different defaults.
  void presetConvertsInTheConsoleAsInTheWindow() {
    const QString picture = home.path(QStringLiteral("preset.png"));
    QVERIFY(test::write_png(picture, 40, 30));
    const QString window_out = home.folder(QStringLiteral("window"));
    const QString console_out = home.folder(QStringLiteral("console"));
    test::start_main_window();
    PreferencesDialog *dialog = open_preferences_dialog();
    Settings &s = settings();
    s.do_image_resize = 1;
    s.image_width = 50;
    s.image_width_unit = 1;
    s.image_height = 50;
    s.image_height_unit = 1;
    s.do_image_rotation = 1;
    s.image_rotation = 90;
    s.image_gamma = 1.6f;
    s.psd_compression = 0;
    for (int i = 0; i < PreferencesDialog::page_count; ++i)
      dialog->page(i)->load(s);
    dialogs.next_text = QStringLiteral("Web 90");
    QVERIFY(save_preset_as(dialog->edited_settings()));
    dialog->accept_changes();

    main_window()->input_field()->setText(picture);
    main_window()->folder_list()->clearEditText();
    QTest::keyClicks(main_window()->folder_list()->lineEdit(), window_out);
    test::press_ok_when_done();
    start_conversion();
    destroy_main_window();
    const QByteArray from_window = file_bytes(window_out + QStringLiteral("preset.psd"));
    QVERIFY2(!from_window.isEmpty(), qPrintable(dialogs.messages.value(0).text));

    const test::RunResult run =
        test::run_lumbrix({QStringLiteral("-i"), picture, QStringLiteral("-o"), console_out,
                           QStringLiteral("--profile=Web 90")});
    QCOMPARE(run.exit_code, 0);
    QCOMPARE(file_bytes(console_out + QStringLiteral("preset.psd")), from_window);
  }

  // Loading a preset in the dialog changes its controls, not the stored settings.
  void preferencesLoadAPresetIntoTheControls() {
    Settings preset = settings();
    preset.image_contrast = -40;
    QVERIFY(QDir().mkpath(presets_folder()));
    QVERIFY(write_preset_file(preset_path(QStringLiteral("Flat")), preset));
    test::start_main_window();
    PreferencesDialog *dialog = open_preferences_dialog();
    dialog->use_preset(QStringLiteral("Flat"));
    QCOMPARE(dialog->edited_settings().image_contrast, -40);
    QCOMPARE(settings().image_contrast, 0);
    dialog->reject();
    destroy_main_window();
  }
};

QTEST_MAIN(PresetActionsTest)
#include "preset_actions_test.moc"
