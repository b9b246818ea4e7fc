#include "prefs/window_settings.h"
#include "ui/out_folder_history.h"

#include <QtTest>

using namespace lumbrix;

class OutFolderHistoryTest : public QObject {
  Q_OBJECT

  static QString history() { return settings().recent_out_folders; }

private slots:
  void init() {
    settings() = default_settings(SettingsUse::Window);
    settings().recent_out_folders.clear();
  }

  void fieldsAreReadTrimmedAndMissingOnesAreEmpty() {
    settings().recent_out_folders = QStringLiteral(" /a/ \t\t/b/");
    QCOMPARE(recent_out_folder(0), QStringLiteral("/a/"));
    QCOMPARE(recent_out_folder(1), QString());
    QCOMPARE(recent_out_folder(2), QStringLiteral("/b/"));
    QCOMPARE(recent_out_folder(3), QString());
  }

  void newFoldersGoToTheHead() {
    QVERIFY(!remember_out_folder(QString()));
    QVERIFY(history().isEmpty());
    QVERIFY(remember_out_folder(QStringLiteral("/a/")));
    QVERIFY(remember_out_folder(QStringLiteral("/b/")));
    QCOMPARE(history(), QStringLiteral("/b/\t/a/"));
  }

  void onlyAFolderWrittenToIsRemembered() {
    settings().recent_out_folders = QStringLiteral("/old/");
    QVERIFY(!remember_written_folder(QStringLiteral("/failed/"), 0));
    QCOMPARE(history(), QStringLiteral("/old/"));
    QVERIFY(remember_written_folder(QStringLiteral("/written/"), 1));
    QCOMPARE(history(), QStringLiteral("/written/\t/old/"));
  }

  void aSixthFolderKeepsTheNewestFive() {
    for (const char *folder : {"/1/", "/2/", "/3/", "/4/", "/5/"})
      remember_out_folder(QString::fromLatin1(folder));
    QCOMPARE(history(), QStringLiteral("/5/\t/4/\t/3/\t/2/\t/1/"));
    remember_out_folder(QStringLiteral("/6/"));
    QCOMPARE(history(), QStringLiteral("/6/\t/5/\t/4/\t/3/\t/2/"));
  }

  void aFolderDifferingOnlyInCaseMovesToTheHead() {
    settings().recent_out_folders = QStringLiteral("/Photos/\t/Work/\t/Old/");
    remember_out_folder(QStringLiteral("/WORK/"));
    QCOMPARE(history(), QStringLiteral("/WORK/\t/Photos/\t/Old/"));
    QCOMPARE(folder_key(QStringLiteral("/work/ä")), folder_key(QStringLiteral("/WORK/Ä")));
    QVERIFY(folder_key(QStringLiteral("/a/")) != folder_key(QStringLiteral("/b/")));
  }

  void blankFieldsAreDroppedAndTheLimitIsHonoured() {
    settings().out_folders_number = 3;
    settings().recent_out_folders = QStringLiteral("\t/a/\t /b/ \t/c/\t/d/");
    remember_out_folder(QStringLiteral("/new/"));
    // Only the first three old fields are examined; one of them is blank.
    QCOMPARE(history(), QStringLiteral("/new/\t/a/\t/b/"));
  }

  void crcMatchesTheKnownValue() {
    // CRC-32 of "HELLO" (the upper-cased text).
    QCOMPARE(folder_key(QStringLiteral("hello")), quint32(0xC1446436));
  }
};

QTEST_MAIN(OutFolderHistoryTest)
#include "out_folder_history_test.moc"
