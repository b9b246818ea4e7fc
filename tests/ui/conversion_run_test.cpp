#include "engine/settings/settings_keys.h"
#include "engine/stages/watermark/watermark_font.h"
#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/conversion_run.h"
#include "ui/input_output.h"
#include "ui/progress_window.h"
#include "ui/window_job.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace lumbrix;

namespace {

struct Result {
  QString title;
  QString text;
  QString status_while_running;
  int bar = 0;
  int bar_maximum = 0;
};

// Records what the progress window of the next run shows when it is done.
void press_ok_when_done(Result &result) {
  // Queued first, so it runs while the progress window is up.
  QTimer::singleShot(0, [&result] { result.status_while_running = main_window()->status_text(); });
  test::press_ok_when_done([&result](ProgressWindow *window) {
    result.title = window->windowTitle();
    result.text = window->text_label()->text();
    result.bar = window->progress_bar()->value();
    result.bar_maximum = window->progress_bar()->maximum();
  });
}

} // namespace

class ConversionRunTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;
  QString picture;
  QString output;

  // The output folder is typed, so every run below checks a typed folder as a chosen one.
  void fill(const QString &input, const QString &folder) {
    main_window()->input_field()->setText(input);
    QComboBox *folders = main_window()->folder_list();
    folders->clearEditText();
    QTest::keyClicks(folders->lineEdit(), folder);
    QCOMPARE(folders->currentText(), folder);
  }

  void expect_refusal(const QString &message, const QString &status) {
    start_conversion();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Warning);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Warning"));
    QCOMPARE(dialogs.messages[0].text, message);
    QCOMPARE(main_window()->status_text(), status);
    QVERIFY(QDir(output).isEmpty());
  }

private slots:
  void initTestCase() {
    picture = home.path(QStringLiteral("picture.png"));
    QVERIFY(test::write_png(picture));
    output = home.folder(QStringLiteral("out"));
  }

  void init() {
    settings() = default_settings(SettingsUse::Window);
    dialogs = test::ScriptedDialogs();
    test::start_main_window();
  }
  void cleanup() {
    destroy_main_window();
    QDir(output).removeRecursively();
    QDir().mkpath(output);
  }

  void inputOfAnotherKindIsRefused() {
    const QString text = home.path(QStringLiteral("picture.txt"));
    QVERIFY(QFile::copy(picture, text) || QFile::exists(text));
    fill(text, output);
    expect_refusal(
        QStringLiteral("No input file(s) found. Please, add valid file(s) and try again!"),
        QStringLiteral("Conversion stopped"));
  }

  void emptyOutputFolderIsRefused() {
    fill(picture, QString());
    expect_refusal(QStringLiteral("The output folder's field is empty. Please, select existed "
                                  "output folder and try again!"),
                   QStringLiteral("Conversion stopped"));
  }

  // A missing output folder is offered to be made: declined, the run stops quietly; made, it
  // converts; when it cannot be made, the warning names it with its separator.
  void missingOutputFolderIsOfferedToBeCreated() {
    const struct {
      QString typed;
      bool answer;
      QString warning_folder; // empty: no warning
      bool converts;
    } cases[] = {
        {home.path(QStringLiteral("nowhere/deeper")), false, QString(), false},
        {home.path(QStringLiteral("made/deeper")), true, QString(), true},
        {picture + QStringLiteral("/below"), true, picture + QStringLiteral("/below/"), false},
    };
    for (const auto &c : cases) {
      dialogs = test::ScriptedDialogs();
      dialogs.answer = c.answer;
      fill(picture, c.typed);
      Result result;
      if (c.converts)
        press_ok_when_done(result);
      start_conversion();
      QCOMPARE(dialogs.questions.size(), 1);
      QVERIFY(dialogs.questions[0].text.contains(c.typed + QLatin1Char('/')));
      QCOMPARE(QFileInfo(c.typed).isDir(), c.converts);
      QCOMPARE(test::is_psd_file(c.typed + QStringLiteral("/picture.psd")), c.converts);
      QCOMPARE(dialogs.messages.size(), c.warning_folder.isEmpty() ? 0 : 1);
      if (!c.warning_folder.isEmpty())
        QVERIFY(dialogs.messages[0].text.contains(QStringLiteral("invalid or doesn't exist:\r\n") +
                                                  c.warning_folder + "\r\n"));
      if (!c.converts)
        QCOMPARE(main_window()->status_text(), QStringLiteral("Conversion stopped"));
    }
  }

  void zeroResizeSizesAreRefusedWidthFirst() {
    settings().do_image_resize = 1;
    settings().image_width = 0;
    settings().image_height = 0;
    fill(picture, output);
    expect_refusal(QStringLiteral("Invalid resize width value!"),
                   QStringLiteral("Conversion stopped"));
    dialogs.messages.clear();
    settings().image_width = 50;
    expect_refusal(QStringLiteral("Invalid resize height value!"),
                   QStringLiteral("Conversion stopped"));
  }

  void unusableWatermarkFontIsNamedAndTheStatusStaysPreparing() {
    settings().do_watermark = WatermarkKind::Text;
    settings().font = QStringLiteral("Sans");
    settings().font_size = 0;
    fill(picture, output);
    expect_refusal(QStringLiteral("Unable to load selected font for a watermark: Sans"),
                   QStringLiteral("Preparing..."));
  }

  void missingWatermarkImageIsRefused() {
    settings().do_watermark = WatermarkKind::Image;
    settings().image.clear();
    fill(picture, output);
    expect_refusal(QStringLiteral("Selected watermark image is invalid/empty!"),
                   QStringLiteral("Preparing..."));
    QFile text(home.path(QStringLiteral("notes.png")));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("plain text, not a picture") > 0);
    text.close();
    for (const QString &image : {home.path(QStringLiteral("no-such-mark.png")), text.fileName()}) {
      dialogs.messages.clear();
      settings().image = image;
      expect_refusal(QStringLiteral("Unable to load selected file as a watermark image: ") + image,
                     QStringLiteral("Preparing..."));
    }
  }

  void realConversionEndsComplete() {
    // Typed without the separator and with blanks around it: both are taken care of.
    fill(QStringLiteral("  ") + picture + QStringLiteral(" "),
         QStringLiteral(" ") + output.chopped(1));
    Result result;
    press_ok_when_done(result);
    start_conversion();
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(result.status_while_running, QStringLiteral("Converting..."));
    QCOMPARE(result.title, QStringLiteral("Conversion complete (1/1)"));
    QCOMPARE(result.text, QStringLiteral("Files converted: 1 of 1"));
    QCOMPARE(result.bar, result.bar_maximum);
    QCOMPARE(main_window()->status_text(), QStringLiteral("Conversion complete"));
    QVERIFY(test::is_psd_file(output + QStringLiteral("picture.psd")));
    QCOMPARE(window_job().output_folder, output);
    QVERIFY(settings().recent_out_folders.startsWith(output));
    QVERIFY(main_window()->isEnabled());
  }

  // Each ending has its own words, the first reason outlives the progress window in the status
  // bar, and only a folder that was written to joins the history.
  void eachEndingIsNamedInTheStatusBar() {
    const QString fake = home.file(QStringLiteral("fake.png"), "plain text");
    const QString batch = home.folder(QStringLiteral("batch"));
    QStringList batch_files;
    for (const char *name : {"a.png", "b.png", "c.png"}) {
      batch_files << batch + QLatin1String(name);
      QVERIFY(test::write_png(batch_files.last()));
    }
    batch_files << fake;
    const QString reason = QStringLiteral(": not a PNG file");
    const struct {
      QStringList inputs;
      QString title;
      QString status;
      bool remembered;
    } cases[] = {
        {{fake},
         QStringLiteral("Conversion failed (1/1)"),
         QStringLiteral("Conversion failed: ") + fake + reason,
         false},
        {batch_files, QStringLiteral("Converted 3 of 4, 1 failed"),
         QStringLiteral("Converted 3 of 4, 1 failed: ") + fake + reason, true},
    };
    for (const auto &c : cases) {
      settings().recent_out_folders.clear();
      fill(c.inputs.first(), output);
      if (c.inputs.size() > 1)
        QVERIFY(add_input_files(c.inputs));
      Result result;
      press_ok_when_done(result);
      start_conversion();
      QCOMPARE(result.title, c.title);
      QCOMPARE(main_window()->status_text(), c.status);
      QCOMPARE(settings().recent_out_folders.startsWith(output), c.remembered);
    }
  }

  void textWatermarkConverts() {
    settings().do_watermark = WatermarkKind::Text;
    settings().font = QStringLiteral("Sans");
    settings().font_size = 12;
    fill(picture, output);
    Result result;
    press_ok_when_done(result);
    start_conversion();
    QCOMPARE(result.text, QStringLiteral("Files converted: 1 of 1"));
  }

  // The console's range checks hold in the window too: nothing runs, the reason is shown.
  void outOfRangeValuesAreRefused() {
    const struct {
      std::function<void(Settings &)> change;
      QString message;
    } cases[] = {
        {[](Settings &s) { s.psd_bpp = 24; },
         QStringLiteral("Invalid output bit depth for PSD: 24!")},
        {[](Settings &s) { s.do_image_color_correction = 1, s.image_brightness = 101; },
         QStringLiteral("Invalid brightness value (-100 to 100)!")},
        {[](Settings &s) { s.do_image_color_correction = 1, s.image_contrast = -101; },
         QStringLiteral("Invalid contrast value (-100 to 100)!")},
        {[](Settings &s) { s.do_image_color_correction = 1, s.image_gamma = 10.0f; },
         QStringLiteral("Invalid gamma value (0.01 to 9.99)!")},
    };
    for (const auto &c : cases) {
      dialogs = test::ScriptedDialogs();
      settings() = default_settings(SettingsUse::Window);
      c.change(settings());
      fill(picture, output);
      expect_refusal(c.message, QStringLiteral("Conversion stopped"));
      QVERIFY(!QFile::exists(output + QStringLiteral("picture.psd")));
    }
  }
};

QTEST_MAIN(ConversionRunTest)
#include "conversion_run_test.moc"
