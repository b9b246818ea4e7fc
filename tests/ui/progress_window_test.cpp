#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/progress_window.h"

#include <QClipboard>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>

using namespace lumbrix;

class ProgressWindowTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;
  QStringList inputs;
  QString huge;
  QString output;
  ConversionRequest request;

  // A run of several pictures big enough that it is still going when the user reacts.
  void prepare_run(const QStringList &files) {
    request = ConversionRequest{};
    for (const QString &input : files)
      request.files.push_back({input, QString()});
    request.output_folder = output;
    request.output_extension = QStringLiteral("psd");
    request.settings = settings();
  }

  // Closes the window at the first file and presses OK at the end.
  void run_with_close_box(ProgressWindow &window) {
    bool closed = false;
    connect(&window, &ProgressWindow::file_shown, &window, [&window, &closed] {
      if (!closed) {
        closed = true;
        window.close();
      }
    });
    connect(&window, &ProgressWindow::finished_shown, &window,
            [&window] { QTest::mouseClick(window.ok_button(), Qt::LeftButton); });
    window.run(request);
    QVERIFY(closed);
  }

  // Runs the request, pressing OK at the end after noting what the finished window shows.
  void run_to_end(ProgressWindow &window, const std::function<void()> &at_end = {}) {
    connect(&window, &ProgressWindow::finished_shown, &window, [&window, at_end] {
      if (at_end)
        at_end();
      QTest::mouseClick(window.ok_button(), Qt::LeftButton);
    });
    window.run(request);
  }

  static QString row(const QString &file, const char *result, const QString &reason = {}) {
    return file + QLatin1Char('\t') + QLatin1String(result) + QLatin1Char('\t') + reason;
  }

  int written() const { return int(QDir(output).entryList({QStringLiteral("*.psd")}).size()); }

private slots:
  void initTestCase() {
    test::load_tables();
    settings() = default_settings(SettingsUse::Window);
    output = home.folder(QStringLiteral("out"));
    const QString folder = home.folder(QStringLiteral("in"));
    for (int i = 0; i < 5; ++i) {
      inputs << folder + QStringLiteral("big%1.png").arg(i);
      QVERIFY(test::write_png(inputs.last(), 1600, 1200));
    }
    huge = folder + QStringLiteral("huge.png");
    QVERIFY(test::write_png(huge, 4000, 3000));
  }

  void init() {
    dialogs = test::ScriptedDialogs();
    QDir(output).removeRecursively();
    QDir().mkpath(output);
  }

  void shortensTheMiddleOfLongTexts() {
    QCOMPARE(shorten_middle(QStringLiteral("abcdefghij"), 10), QStringLiteral("abcdefghij"));
    QCOMPARE(shorten_middle(QStringLiteral("abcdefghijk"), 10), QStringLiteral("abc...ijk"));
    QCOMPARE(shorten_middle(QStringLiteral("abcdefghijkl"), 9), QStringLiteral("abc...jkl"));
    QCOMPARE(shorten_middle(QString(), 3), QString());
    const QString path = QStringLiteral("/home/user/pictures/2024/holidays/at-the-sea/picture.png");
    const QString shown = shorten_middle(path, 40);
    QCOMPARE(shown, path.left(18) + QStringLiteral("...") + path.right(18));
  }

  void asksTheBreakQuestionAsAWarning() {
    dialogs.answer = true;
    QVERIFY(ask_break_conversion());
    QCOMPARE(dialogs.questions.size(), 1);
    QCOMPARE(dialogs.questions[0].icon, MessageIcon::Warning);
    QCOMPARE(dialogs.questions[0].title, QStringLiteral("Warning"));
    QCOMPARE(dialogs.questions[0].text, QStringLiteral("Do you want to break the conversion?"));
  }

  void measuresTheCharacterWidthOfItsFont() {
    ProgressWindow window(nullptr);
    const int width =
        QFontMetrics(window.font()).horizontalAdvance(QStringLiteral("abc123:\\-")) / 9;
    QCOMPARE(window.average_char_width(), width > 0 ? width : 7);
    QCOMPARE(window.max_chars(), 280 / window.average_char_width());
    QCOMPARE(window.size(), QSize(300, 110));
    QVERIFY(!window.ok_button()->isEnabled());
    QVERIFY(!window.stop_button()->isHidden());
  }

  void showsEachFileWithItsCountAndAShortenedPath() {
    const QString deep = home.folder(QStringLiteral(
        "in/a-rather-long-folder-name/with-another-long-level/and-one-more-for-good-measure"));
    const QString input = deep + QStringLiteral("picture-with-a-long-name.png");
    QVERIFY(QFile::copy(inputs.first(), input));
    prepare_run({input});
    ProgressWindow window(nullptr);
    QString title;
    QString text;
    connect(&window, &ProgressWindow::file_shown, &window, [&] {
      title = window.windowTitle();
      text = window.text_label()->text();
    });
    connect(&window, &ProgressWindow::finished_shown, &window,
            [&window] { QTest::mouseClick(window.ok_button(), Qt::LeftButton); });
    window.run(request);
    QCOMPARE(title, QStringLiteral("Converting (1/1)"));
    // Head and tail of the path, as long as the measured width allows and never wider.
    QVERIFY(text.contains(QStringLiteral("...")));
    const int half = int(text.size() - 3) / 2;
    QVERIFY(half <= (window.max_chars() - 3) / 2);
    QCOMPARE(text, shorten_middle(input, 2 * half + 3));
    QVERIFY(window.text_label()->fontMetrics().horizontalAdvance(text) <= 280);
    QCOMPARE(window.text_label()->text(), QStringLiteral("Files converted: 1 of 1"));
  }

  void breakAnsweredNoLetsTheRunFinish() {
    prepare_run(inputs);
    dialogs.answer = false;
    ProgressWindow window(nullptr);
    run_with_close_box(window);
    QCOMPARE(dialogs.questions.size(), 1);
    QVERIFY(!window.break_requested());
    QCOMPARE(window.windowTitle(), QStringLiteral("Conversion complete (5/5)"));
    QCOMPARE(window.text_label()->text(), QStringLiteral("Files converted: 5 of 5"));
    QCOMPARE(written(), 5);
  }

  // The files in progress are abandoned, unless already on disk when the answer came, and no
  // further file is started.
  void breakAnsweredYesAbandonsTheFilesInProgress() {
    prepare_run(inputs);
    int started_at_question = 0;
    ProgressWindow window(nullptr);
    dialogs.on_question = [&started_at_question, &window] {
      // The window holds the progress lock while it asks, so the record is steady here.
      started_at_question = window.progress_record().files_started;
      return true;
    };
    run_with_close_box(window);
    QVERIFY(window.break_requested());
    QVERIFY(started_at_question >= 1 && started_at_question < 5);
    const int converted = window.progress_record().files_converted;
    QCOMPARE(window.progress_record().files_started, started_at_question);
    QVERIFY(converted <= started_at_question);
    QCOMPARE(written(), converted);
    QCOMPARE(QDir(output).entryList(QDir::Files).size(), converted);
    QCOMPARE(window.text_label()->text(), QStringLiteral("Conversion stopped"));
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Conversion stopped (%1/5)").arg(started_at_question));
    const QStringList shown = window.report_text().split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), 5);
    QCOMPARE(shown.filter(QStringLiteral("\tconverted\t")).size(), converted);
    QCOMPARE(shown.last(), row(inputs.last(), "not converted"));
  }

  // A stop while a large picture is on its way leaves the earlier file of that name as it was.
  void stopKeepsTheEarlierOutputAndLeavesNoTemporaryFile() {
    const QString earlier = output + QStringLiteral("huge.psd");
    QFile file(earlier);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("earlier");
    file.close();
    prepare_run({huge});
    dialogs.answer = true;
    ProgressWindow window(nullptr);
    run_with_close_box(window);
    QCOMPARE(QDir(output).entryList(QDir::Files), QStringList{QStringLiteral("huge.psd")});
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier"));
    QCOMPARE(window.report_text(), row(huge, "not converted"));
  }

  void theBarRisesThroughOneLargeFile() {
    prepare_run({huge});
    ProgressWindow window(nullptr);
    QList<int> seen;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, &window, [&] {
      if (seen.isEmpty() || seen.last() != window.progress_bar()->value())
        seen << window.progress_bar()->value();
    });
    sampler.start(5);
    connect(&window, &ProgressWindow::finished_shown, &window,
            [&window] { QTest::mouseClick(window.ok_button(), Qt::LeftButton); });
    window.run(request);
    QVERIFY2(seen.size() >= 4, qPrintable(QString::number(seen.size())));
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(window.progress_bar()->value(), window.progress_bar()->maximum());
  }

  // What went wrong is named with the file, and nothing is left in the output folder.
  void failuresNameTheFileAndTheReason() {
    const QString fake = home.file(QStringLiteral("fake.png"), "plain text");
    QVERIFY(!fake.isEmpty());
    const QString locked = home.path(QStringLiteral("locked.png"));
    QVERIFY(QFile::copy(inputs.first(), locked));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    const QString closed_folder = home.folder(QStringLiteral("closed"));
    QVERIFY(QFile::setPermissions(closed_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const struct {
      QString input;
      QString folder;
      QString line;
    } cases[] = {
        {fake, output, row(fake, "failed", QStringLiteral("not a PNG file"))},
        {locked, output,
         row(locked, "failed", QStringLiteral("cannot be read: permission denied"))},
        {inputs.first(), closed_folder,
         row(inputs.first(), "failed",
             QStringLiteral("cannot write to ") + closed_folder.chopped(1) +
                 QStringLiteral(": permission denied"))},
    };
    for (const auto &c : cases) {
      prepare_run({c.input});
      request.output_folder = c.folder;
      ProgressWindow window(nullptr);
      run_to_end(window);
      QCOMPARE(window.windowTitle(), QStringLiteral("Conversion failed (1/1)"));
      QCOMPARE(window.report_text(), c.line);
      QVERIFY(!window.file_list()->isHidden());
      QVERIFY(QDir(c.folder).entryList(QDir::Files).isEmpty());
    }
  }

  // A run of several files says what became of each, in the order given.
  void severalFilesAreListedWithTheirResults() {
    const QString fake = home.file(QStringLiteral("notes.png"), "plain text");
    QVERIFY(!fake.isEmpty());
    prepare_run({inputs[0], fake, inputs[1]});
    ProgressWindow window(nullptr);
    run_to_end(window);
    QCOMPARE(window.report_text(),
             QStringList({row(inputs[0], "converted"),
                          row(fake, "failed", QStringLiteral("not a PNG file")),
                          row(inputs[1], "converted")})
                 .join(QLatin1Char('\n')));
    QCOMPARE(window.windowTitle(), QStringLiteral("Converted 2 of 3, 1 failed"));
    QCOMPARE(written(), 2);
  }

  // Stop, Escape and the close box ask the same question and stop the run the same way.
  void stopAndEscapeBreakAlike() {
    const std::function<void(ProgressWindow &)> ways[] = {
        [](ProgressWindow &w) { QTest::mouseClick(w.stop_button(), Qt::LeftButton); },
        [](ProgressWindow &w) { QTest::keyClick(&w, Qt::Key_Escape); },
    };
    for (const auto &press : ways) {
      init();
      prepare_run(inputs);
      dialogs.answer = true;
      ProgressWindow window(nullptr);
      bool pressed = false;
      connect(&window, &ProgressWindow::file_shown, &window, [&] {
        if (!std::exchange(pressed, true))
          press(window);
      });
      bool stop_hidden_at_end = false;
      run_to_end(window, [&] { stop_hidden_at_end = window.stop_button()->isHidden(); });
      QCOMPARE(dialogs.questions.size(), 1);
      QCOMPARE(dialogs.questions[0].text, QStringLiteral("Do you want to break the conversion?"));
      QVERIFY(window.break_requested());
      QVERIFY(written() < 5);
      QVERIFY(window.windowTitle().startsWith(QStringLiteral("Conversion stopped (")));
      QVERIFY(stop_hidden_at_end);
    }
  }

  // The finished window names the folder, opens it on request (or says it could not) and copies
  // its list.
  void theFinishedWindowLeadsToItsFolder() {
    for (const bool desktop_takes_it : {true, false}) {
      init();
      prepare_run({inputs[0], inputs[1]});
      dialogs.open_result = desktop_takes_it;
      ProgressWindow window(nullptr);
      QString folder_text;
      run_to_end(window, [&] {
        folder_text = window.folder_label()->text();
        QVERIFY(!window.open_folder_button()->isHidden());
        QTest::mouseClick(window.open_folder_button(), Qt::LeftButton);
        QTest::mouseClick(window.copy_button(), Qt::LeftButton);
      });
      QCOMPARE(folder_text, QStringLiteral("Output folder: ") + output);
      QCOMPARE(dialogs.opened, QStringList{output});
      QCOMPARE(dialogs.messages.size(), desktop_takes_it ? 0 : 1);
      if (!desktop_takes_it)
        QVERIFY(dialogs.messages[0].text.endsWith(output));
      QCOMPARE(QGuiApplication::clipboard()->text(),
               row(inputs[0], "converted") + QLatin1Char('\n') + row(inputs[1], "converted"));
    }
  }

  void closeBoxAfterTheEndClosesWithoutAsking() {
    prepare_run({inputs.first()});
    ProgressWindow window(nullptr);
    connect(&window, &ProgressWindow::finished_shown, &window, [&window] { window.close(); });
    window.run(request);
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(!window.isVisible());
  }
};

int main(int argc, char **argv) {
  if (!test::drop_root_privileges())
    return 1;
  QApplication application(argc, argv);
  ProgressWindowTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "progress_window_test.moc"
