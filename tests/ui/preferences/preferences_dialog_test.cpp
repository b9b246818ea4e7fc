#include "prefs/themes.h"
#include "support/psd_reader.h"
#include "support/run_binary.h"
#include "support/scripted_dialogs.h"
#include "support/zip_file.h"
#include "ui/command_dispatch.h"
#include "ui/commands.h"
#include "ui/conversion_run.h"
#include "ui/preferences/preference_controls.h"
#include "ui/preferences/preference_pages.h"
#include "ui/preferences/preferences_dialog.h"
#include "ui/preferences/preview_pane.h"
#include "ui/shell_environment.h"
#include "ui/system_fonts.h"
#include "ui/window_job.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace lumbrix;
using Page = PreferencesDialog::Page;

namespace {

QByteArray file_bytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The control a label names on a page, among the rows the page shows.
template <typename T = QWidget>
T *control(PreferencesDialog *dialog, Page page, const char *label) {
  PreferencePage *widget = dialog->page(page);
  for (QLabel *candidate : widget->findChildren<QLabel *>()) {
    if (candidate->text() == QLatin1String(label) && candidate->buddy() &&
        candidate->isVisibleTo(widget))
      return qobject_cast<T *>(candidate->buddy());
  }
  return nullptr;
}

// The first widget of type T inside a compound control (a chooser's list, a number's field).
template <typename T> T *part(QWidget *compound) { return compound->findChild<T *>(); }

void type_into(QAbstractSpinBox *spin, const QString &text) {
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, text);
}

QByteArray png_of(QColor colour, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A theme that draws every "New" icon in one colour, at every size.
bool put_theme(const QString &name, const QString &display, QColor colour) {
  const QByteArray config =
      "[Theme]\r\nName=" + display.toUtf8() + "\r\n[Icons]\r\nNew=new.png\r\n";
  return test::write_zip(
      theme_folder() + name + QLatin1String(".zip"),
      {{QStringLiteral("theme.cfg"), config}, {QStringLiteral("new.png"), png_of(colour, 16)}});
}

QColor icon_colour(const QIcon &icon) {
  return icon.pixmap(icon.availableSizes().value(0, QSize(16, 16))).toImage().pixelColor(8, 8);
}

QAction *toolbar_new_action() { return main_window()->main_toolbar()->actions().constFirst(); }

} // namespace

class PreferencesDialogTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;
  QPointer<PreferencesDialog> dialog;
  QTemporaryDir themes; // the installed themes

  PreferencesDialog *open(Page page = Page::General) {
    window_job().preferences_start_page = page;
    dialog = open_preferences_dialog();
    return dialog;
  }

  // Opens the dialog on settings that config.ini holds too.
  PreferencesDialog *open_with(const std::function<void(Settings &)> &change) {
    test::write_settings(change);
    return open();
  }

private slots:
  void initTestCase() {
    test::write_settings([](Settings &) {});
    test::reread_settings(); // the dialog writes where the window front read
    test::start_main_window();
    set_theme_folder(themes.path() + QLatin1Char('/'));
    QVERIFY(put_theme(QStringLiteral("handdrawn"), QStringLiteral("Hand-drawn"), Qt::gray));
    scan_themes();
  }
  void cleanupTestCase() {
    destroy_main_window();
    set_theme_folder(QString());
  }
  void init() {
    dialogs = test::ScriptedDialogs();
    test::write_settings([](Settings &) {});
  }
  void cleanup() { delete dialog; }

  void okWithoutChangesLeavesTheFileAsItWas() {
    test::write_settings([](Settings &s) {
      s.image_gamma = 2.2f;
      s.image_brightness = -40;
      s.do_image_color_correction = 1;
      s.do_frame = FrameKind::Solid;
      s.solid_left_color = QStringLiteral("12AB34");
      s.do_watermark = WatermarkKind::Image;
      s.file_timestamp = TimestampKind::Custom;
      s.custom_timestamp = 1234567891; // seconds the date field does not show
      s.font_color = QStringLiteral("FF0000");
    });
    const QByteArray before = file_bytes(home.settings_file());
    QTest::mouseClick(open()->ok_button(), Qt::LeftButton);
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCOMPARE(file_bytes(home.settings_file()), before);
  }

  void everyKindOfControlIsStoredAndShownAgain() {
    const QString picture = home.path(QStringLiteral("mark.png"));
    dialogs.next_colour = QColor(255, 0, 0);
    dialogs.next_font = QFont(QStringLiteral("DejaVu Serif"), 22);
    dialogs.next_font->setItalic(true);
    dialogs.next_file = picture;
    open();

    control<QComboBox>(dialog, Page::General, "Check for Updates:")->setCurrentIndex(5);
    control<QComboBox>(dialog, Page::Interface, "Icon Size:")->setCurrentIndex(1);
    control<QComboBox>(dialog, Page::Output, "Bits Per Pixel:")->setCurrentIndex(1);
    control<QCheckBox>(dialog, Page::Transform, "Image Resize:")->click();
    auto *width = control<NumberField>(dialog, Page::Transform, "Image Width:");
    QTest::keyClicks(width->field(), QStringLiteral("x64"));
    width->unit_list()->setCurrentIndex(1);
    type_into(control<SliderSpin>(dialog, Page::Adjustment, "Image Brightness:")->spin_box(),
              QStringLiteral("-5"));
    auto *gamma = control<SliderSpin>(dialog, Page::Adjustment, "Gamma Correction:");
    type_into(gamma->spin_box(), QStringLiteral("2.5"));
    QCOMPARE(gamma->slider()->value(), 250);
    control<QComboBox>(dialog, Page::Frame, "Frame:")->setCurrentIndex(1);
    QTest::mouseClick(control<ColourField>(dialog, Page::Frame, "Left Color:")->swatch(),
                      Qt::LeftButton);
    control<QComboBox>(dialog, Page::Watermark, "Watermark:")->setCurrentIndex(1);
    control<QLineEdit>(dialog, Page::Watermark, "Text:")
        ->setText(QStringLiteral(" Shot by\r\n me\t"));
    auto *font = control(dialog, Page::Watermark, "Font:");
    QTest::mouseClick(part<QToolButton>(font), Qt::LeftButton);
    QTest::mouseClick(part<QToolButton>(control(dialog, Page::Watermark, "Font Color:")),
                      Qt::LeftButton);
    // The image panel's chooser, reached through the other kind of watermark.
    control<QComboBox>(dialog, Page::Watermark, "Watermark:")->setCurrentIndex(2);
    QTest::mouseClick(part<QToolButton>(control(dialog, Page::Watermark, "Image:")),
                      Qt::LeftButton);
    control<QComboBox>(dialog, Page::Watermark, "Watermark:")->setCurrentIndex(1);
    control<QComboBox>(dialog, Page::Advanced, "File Timestamp:")->setCurrentIndex(2);
    control<QDateTimeEdit>(dialog, Page::Advanced, "Custom Timestamp:")
        ->setDateTime(QDateTime(QDate(2021, 3, 4), QTime(5, 6), Qt::UTC));
    QCOMPARE(dialogs.font_requests.value(0).family(), QStringLiteral("Arial"));
    QCOMPARE(dialogs.font_requests.value(0).pointSize(), 14);
    QTest::mouseClick(dialog->ok_button(), Qt::LeftButton);

    test::reread_settings();
    const Settings &s = settings();
    QCOMPARE(s.update_range, 5);
    QCOMPARE(s.ui_size, 1);
    QCOMPARE(s.psd_bpp, 32);
    QCOMPARE(s.do_image_resize, 1);
    QCOMPARE(s.image_width, 64);
    QCOMPARE(s.image_width_unit, 1);
    QCOMPARE(s.image_brightness, -5);
    QCOMPARE(s.image_gamma, 2.5f);
    QCOMPARE(s.do_image_color_correction, 1);
    QCOMPARE(s.do_frame, FrameKind::Solid);
    QCOMPARE(s.solid_left_color, QStringLiteral("FF0000"));
    QCOMPARE(s.do_watermark, WatermarkKind::Text);
    QCOMPARE(s.text, QStringLiteral("Shot by me"));
    QCOMPARE(s.font, QStringLiteral("DejaVu Serif"));
    QCOMPARE(s.fonts, QStringLiteral("Arial,Tahoma,Verdana,DejaVu Serif"));
    QCOMPARE(s.font_size, 22);
    QCOMPARE(s.font_style, 2);
    QCOMPARE(s.font_color, QStringLiteral("FF0000"));
    QCOMPARE(s.image, picture);
    QCOMPARE(s.file_timestamp, TimestampKind::Custom);
    QCOMPARE(s.custom_timestamp, 1614834360);

    open();
    QCOMPARE(control<NumberField>(dialog, Page::Transform, "Image Width:")->number(), 64);
    QCOMPARE(control<SliderSpin>(dialog, Page::Adjustment, "Image Brightness:")->slider()->value(),
             95);
    QCOMPARE(control<SliderSpin>(dialog, Page::Adjustment, "Gamma Correction:")->spin_box()->text(),
             QStringLiteral("2.50"));
    QCOMPARE(control<ColourField>(dialog, Page::Frame, "Left Color:")->text_field()->text(),
             QStringLiteral("FF0000"));
    QCOMPARE(part<QComboBox>(control(dialog, Page::Watermark, "Font:"))->currentText(),
             QStringLiteral("DejaVu Serif"));
    QCOMPARE(part<QComboBox>(control(dialog, Page::Watermark, "Font Color:"))->currentText(),
             QStringLiteral("Red"));
    QCOMPARE(control<QLineEdit>(dialog, Page::Watermark, "Text:")->text(),
             QStringLiteral("Shot by me"));
  }

  void choosersAddNewEntriesOnceAndAtOnce() {
    open();
    control<QComboBox>(dialog, Page::Watermark, "Watermark:")->setCurrentIndex(1);
    auto *colours = part<QComboBox>(control(dialog, Page::Watermark, "Background Color:"));
    QToolButton *more = part<QToolButton>(control(dialog, Page::Watermark, "Background Color:"));
    const int offered = colours->count();
    dialogs.next_colour = QColor(0x12, 0x34, 0x56);
    QTest::mouseClick(more, Qt::LeftButton);
    QTest::mouseClick(more, Qt::LeftButton);
    dialogs.next_colour = Qt::white;
    QTest::mouseClick(more, Qt::LeftButton);
    QCOMPARE(colours->count(), offered + 1);
    QCOMPARE(colours->currentText(), QStringLiteral("White"));
    QCOMPARE(colours->itemText(offered), QStringLiteral("Color #123456"));
    // Kept even though the dialog is cancelled.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(settings().back_colors.endsWith(QLatin1String(",123456")));
    QCOMPARE(settings().back_colors.count(QLatin1String("123456")), 1);
  }

  void rowsFollowTheirSwitchesFromTheStart() {
    open_with([](Settings &s) {
      s.do_image_rotation = 0;
      s.do_frame = FrameKind::Solid;
      s.do_watermark = WatermarkKind::Image;
      s.file_timestamp = TimestampKind::Custom;
    });
    QWidget *angle = control(dialog, Page::Transform, "Rotation Angle:");
    QVERIFY(!angle->isEnabled());
    QVERIFY(control(dialog, Page::Frame, "Opacity:"));
    QVERIFY(control(dialog, Page::Watermark, "Image:"));
    QVERIFY(!control(dialog, Page::Watermark, "Text:"));
    QVERIFY(!control(dialog, Page::Watermark, "Scale:"));
    QVERIFY(control(dialog, Page::Advanced, "Custom Timestamp:")->isEnabled());
    QVERIFY(!control(dialog, Page::Advanced, "Keep Subfolders:"));

    control<QCheckBox>(dialog, Page::Transform, "Image Rotation:")->click();
    QVERIFY(angle->isEnabled());
    control<QComboBox>(dialog, Page::Frame, "Frame:")->setCurrentIndex(0);
    QVERIFY(!control(dialog, Page::Frame, "Opacity:"));
    control<QComboBox>(dialog, Page::Watermark, "Watermark:")->setCurrentIndex(0);
    QVERIFY(!control(dialog, Page::Watermark, "Image:"));
    control<QComboBox>(dialog, Page::Advanced, "File Timestamp:")->setCurrentIndex(1);
    QVERIFY(!control(dialog, Page::Advanced, "Custom Timestamp:")->isEnabled());
  }

  void defaultsAsksFirst() {
    open_with([](Settings &s) { s.image_contrast = 30; });
    auto *contrast = control<SliderSpin>(dialog, Page::Adjustment, "Image Contrast:");
    contrast->set_value(50);
    QTest::mouseClick(dialog->defaults_button(), Qt::LeftButton);
    QCOMPARE(dialogs.questions.value(0).title, QStringLiteral("Reset to Defaults"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(contrast->value(), 50);
    QCOMPARE(settings().image_contrast, 30);

    dialogs.answer = true;
    QTest::mouseClick(dialog->defaults_button(), Qt::LeftButton);
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    test::reread_settings();
    QCOMPARE(settings().image_contrast, 0);
    QCOMPARE(settings().keep_aspect_ratio, 1);
  }

  void optionsButtonOpensTheOutputPageUntilTheNextJob() {
    dispatch_command(Command::OutputFormatOptions);
    dialog = open_preferences_dialog();
    QCOMPARE(dialog->current_page(), int(Page::Output));
    QCOMPARE(dialog->page_title()->text(), QStringLiteral("Output"));
    QVERIFY(control(dialog, Page::Output, "Bits Per Pixel:"));
    delete dialog;
    dispatch_command(Command::Preferences);
    dialog = open_preferences_dialog();
    QCOMPARE(dialog->current_page(), int(Page::Output));
    delete dialog;
    dispatch_command(Command::New);
    dispatch_command(Command::Preferences);
    dialog = open_preferences_dialog();
    QCOMPARE(dialog->current_page(), int(Page::General));
  }

  void themeAndIconSizeChangesRedrawTheMainWindow() {
    QVERIFY(put_theme(QStringLiteral("blue"), QStringLiteral("Blue"), Qt::blue));
    QVERIFY(put_theme(QStringLiteral("red"), QStringLiteral("Red"), Qt::red));
    scan_themes();
    const auto choose_theme = [this](const char *name) {
      open();
      control<QComboBox>(dialog, Page::Interface, "Theme:")->setCurrentText(QLatin1String(name));
      QTest::mouseClick(dialog->ok_button(), Qt::LeftButton);
    };

    choose_theme("Blue");
    QCOMPARE(icon_colour(toolbar_new_action()->icon()), QColor(Qt::blue));
    choose_theme("Red");
    QCOMPARE(settings().ui_theme, QStringLiteral("red"));
    QCOMPARE(icon_colour(toolbar_new_action()->icon()), QColor(Qt::red));
    const QAction *menu_entry =
        main_window()->menuBar()->actions().constFirst()->menu()->actions().constFirst();
    QCOMPARE(icon_colour(menu_entry->icon()), QColor(Qt::red));

    // A new icon size rebuilds the tool bar only.
    QPointer<const QAction> kept = menu_entry;
    open();
    control<QComboBox>(dialog, Page::Interface, "Icon Size:")->setCurrentIndex(0);
    QTest::mouseClick(dialog->ok_button(), Qt::LeftButton);
    QCOMPARE(main_window()->main_toolbar()->iconSize(), QSize(16, 16));
    QVERIFY(!kept.isNull());

    QFile::remove(theme_folder() + QStringLiteral("blue.zip"));
    QFile::remove(theme_folder() + QStringLiteral("red.zip"));
    scan_themes();
  }

  void tabVisitsEveryControlInReadingOrder() {
    open_with([](Settings &s) {
      s.do_image_rotation = 1;
      s.do_image_resize = 1;
      s.do_frame = FrameKind::Solid;
      s.do_watermark = WatermarkKind::Text;
    });
    for (int index = 0; index < PreferencesDialog::page_count; ++index) {
      dialog->show_page(index);
      PreferencePage *page = dialog->page(index);
      QList<QWidget *> expected;
      for (QWidget *w : page->findChildren<QWidget *>()) {
        if (w->isVisibleTo(page) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && !qobject_cast<QAbstractScrollArea *>(w))
          expected << w;
      }
      const auto reading_order = [page](QWidget *a, QWidget *b) {
        const QRect ra(a->mapTo(page, QPoint()), a->size());
        const QRect rb(b->mapTo(page, QPoint()), b->size());
        if (ra.bottom() < rb.top() || rb.bottom() < ra.top())
          return ra.top() < rb.top();
        return ra.left() < rb.left();
      };
      QVERIFY(!expected.isEmpty());
      std::sort(expected.begin(), expected.end(), reading_order);

      dialog->page_tree()->setFocus();
      QList<QWidget *> visited;
      for (int step = 0; step < 200 && visited.size() < expected.size(); ++step) {
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QWidget *focus = dialog->focusWidget();
        while (focus && !expected.contains(focus) && focus != dialog->defaults_button())
          focus = focus->parentWidget();
        if (focus == dialog->defaults_button())
          break;
        if (focus && !visited.contains(focus))
          visited << focus;
      }
      QCOMPARE(visited, expected);
    }
  }

  void previewFollowsTheEditedValuesOfItsPages() {
    const QString input = home.path(QStringLiteral("input.png"));
    QVERIFY(test::write_png(input, 60, 40));
    main_window()->input_field()->setText(input);
    open_with([](Settings &s) {
      s.do_frame = FrameKind::Solid;
      s.solid_left = 6;
      s.solid_left_color = QStringLiteral("0000FF");
    });
    PreviewPane *preview = dialog->preview();
    QVERIFY(preview->isHidden());
    QSignalSpy shown(preview, &PreviewPane::shown);
    dialog->show_page(Page::Frame);
    QVERIFY(!preview->isHidden());
    QVERIFY(shown.wait());
    const auto left_band = [preview] {
      const QImage picture = preview->picture();
      return picture.pixelColor(1, picture.height() / 2);
    };
    QCOMPARE(left_band(), QColor(Qt::blue));

    // Edits in quick succession give one picture, of the last value.
    auto *left = control<NumberField>(dialog, Page::Frame, "Left:");
    left->field()->setText(QStringLiteral("0"));
    dialogs.next_colour = QColor(0, 255, 0);
    QTest::mouseClick(control<ColourField>(dialog, Page::Frame, "Left Color:")->swatch(),
                      Qt::LeftButton);
    left->field()->setText(QStringLiteral("6"));
    QVERIFY(shown.wait());
    QCOMPARE(left_band(), QColor(0, 255, 0));
    QCOMPARE(settings().solid_left_color, QStringLiteral("0000FF"));

    dialog->show_page(Page::Advanced);
    QVERIFY(preview->isHidden());
    main_window()->input_field()->clear();
  }

  void dialogValuesConvertAsTheirConsoleOptionsDo() {
    const QString input = home.path(QStringLiteral("photo.png"));
    QVERIFY(test::write_png(input, 120, 80));
    const QString window_output = home.folder(QStringLiteral("window"));
    const QString console_output = home.folder(QStringLiteral("console"));
    settle_watermark_font(settings()); // as the window front does when it starts
    open(Page::Transform);
    control<QCheckBox>(dialog, Page::Transform, "Image Resize:")->click();
    control<NumberField>(dialog, Page::Transform, "Image Width:")->set_number(90);
    control<NumberField>(dialog, Page::Transform, "Image Height:")->set_number(50);
    control<QCheckBox>(dialog, Page::Transform, "Keep Proportions:")->click();
    control<QComboBox>(dialog, Page::Frame, "Frame:")->setCurrentIndex(1);
    control<NumberField>(dialog, Page::Frame, "Left:")->set_number(3);
    control<NumberField>(dialog, Page::Frame, "Bottom:")->set_number(5);
    dialogs.next_colour = QColor(255, 0, 0);
    QTest::mouseClick(control<ColourField>(dialog, Page::Frame, "Left Color:")->swatch(),
                      Qt::LeftButton);
    control<SliderSpin>(dialog, Page::Frame, "Opacity:")->set_value(200);
    control<QComboBox>(dialog, Page::Watermark, "Watermark:")->setCurrentIndex(1);
    control<QLineEdit>(dialog, Page::Watermark, "Text:")->setText(QStringLiteral("Hi there"));
    control<QComboBox>(dialog, Page::Watermark, "Position:")->setCurrentIndex(4);
    QTest::mouseClick(dialog->ok_button(), Qt::LeftButton);

    main_window()->input_field()->setText(input);
    main_window()->folder_list()->addItem(window_output);
    main_window()->folder_list()->setCurrentIndex(main_window()->folder_list()->count() - 1);
    test::press_ok_when_done();
    start_conversion();
    const test::RunResult console = test::run_lumbrix(
        {"-q", "-i", input, "-o", console_output, "--width=90", "--height=50", "--fr-solid-left=3",
         "--fr-solid-bottom=5", "--fr-solid-left-color=FF0000", "--fr-solid-opacity=200",
         "--wm-text=Hi there", "--wm-text-position=MIDDLECENTER"});
    QCOMPARE(console.exit_code, 0);

    const QByteArray converted = file_bytes(window_output + QStringLiteral("photo.psd"));
    QVERIFY(test::is_psd_file(window_output + QStringLiteral("photo.psd")));
    QCOMPARE(converted, file_bytes(console_output + QStringLiteral("photo.psd")));
    // And the settings did reach the picture.
    test::PsdImage image;
    QVERIFY(test::read_psd(window_output + QStringLiteral("photo.psd"), image));
    QCOMPARE(QSize(image.width, image.height), QSize(90, 50));
    QVERIFY(!image.planes.empty());
    QVERIFY(image.at(0, 1, 25) > 180 && image.at(1, 1, 25) < 100); // the red left band
  }

  // One size for every page, the preview's included, within the screen; the preview gives way
  // before the pages, which never scroll sideways on this screen.
  void sizeStaysWithinTheScreenOnEveryPage() {
    open(Page::Advanced);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const QSize first = dialog->size();
    const QSize screen = dialog->screen()->availableGeometry().size();
    QVERIFY(first.width() <= screen.width() && first.height() <= screen.height());
    for (int i = 0; i < PreferencesDialog::page_count; ++i) {
      dialog->show_page(i);
      QCoreApplication::processEvents();
      QCOMPARE(dialog->size(), first);
      const auto *scroll =
          qobject_cast<QScrollArea *>(dialog->page(i)->parentWidget()->parentWidget());
      QVERIFY(scroll && !scroll->horizontalScrollBar()->isVisible());
      if (!dialog->preview()->isHidden())
        QVERIFY(dialog->preview()->width() >= dialog->preview()->minimumSizeHint().width());
    }
    // Narrower: the preview shrinks, the page keeps the width it asks for.
    dialog->show_page(Page::Transform);
    dialog->resize(first.width() - 120, first.height());
    QCoreApplication::processEvents();
    const QWidget *page = dialog->page(Page::Transform);
    QVERIFY2(page->width() >= page->sizeHint().width(), qPrintable(QString::number(page->width())));
    QVERIFY(dialog->preview()->width() < dialog->preview()->sizeHint().width());
  }

  void keyboardClosesAndNavigates() {
    open();
    QTreeWidget *tree = dialog->page_tree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(dialog->page_title()->text(), QStringLiteral("Interface"));
    QTest::keyClick(tree, Qt::Key_End);
    QCOMPARE(dialog->current_page(), int(Page::Advanced));
    QTest::keyClick(tree, Qt::Key_Up);
    QCOMPARE(dialog->current_page(), int(Page::Watermark));

    const QByteArray before = file_bytes(home.settings_file());
    auto *mask = control<QLineEdit>(dialog, Page::Advanced, "Filename Mask:");
    mask->setText(QStringLiteral("escaped"));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCOMPARE(file_bytes(home.settings_file()), before);
    QVERIFY(settings().filename_mask != QLatin1String("escaped"));

    open(Page::Advanced);
    mask = control<QLineEdit>(dialog, Page::Advanced, "Filename Mask:");
    mask->setFocus();
    mask->setText(QStringLiteral("%filename%-copy.%ext%"));
    QTest::keyClick(mask, Qt::Key_Return);
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCOMPARE(settings().filename_mask, QStringLiteral("%filename%-copy.%ext%"));
  }
};

QTEST_MAIN(PreferencesDialogTest)
#include "preferences_dialog_test.moc"
