#include "platform/open_document.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

#include <optional>

namespace lumbrix {
namespace {

TEST(DocumentUrlTest, AddressesStayAddresses) {
  EXPECT_EQ(document_url(QStringLiteral("https://www.vantrel.example/find/png-psd/")),
            QUrl(QStringLiteral("https://www.vantrel.example/find/png-psd/")));
  const QUrl mail = document_url(
      QStringLiteral("mailto:support@vantrel.example?subject=Vantrel PNG to PSD 2.2 Feedback"));
  EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(mail.path(), QStringLiteral("support@vantrel.example"));
  EXPECT_EQ(mail.query(QUrl::FullyDecoded),
            QStringLiteral("subject=Vantrel PNG to PSD 2.2 Feedback"));
}

TEST(DocumentUrlTest, FileNamesBecomeLocalFiles) {
  EXPECT_EQ(document_url(QStringLiteral("Lumbrix.html")).toLocalFile(),
            QDir::current().absoluteFilePath(QStringLiteral("Lumbrix.html")));
  EXPECT_EQ(document_url(QStringLiteral("/opt/lumbrix/help file.html")).toLocalFile(),
            QStringLiteral("/opt/lumbrix/help file.html"));
}

// A file that is not there is never handed to the desktop, and the caller hears so.
TEST(OpenDocumentTest, AMissingFileIsReportedNotOpened) {
  int argc = 1;
  char name[] = "test";
  char *argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  std::optional<bool> opened;
  open_document(QStringLiteral("/no/such/manual.html"), [&](bool result) {
    opened = result;
    QCoreApplication::quit();
  });
  QCoreApplication::exec();
  EXPECT_EQ(opened, false);
}

} // namespace
} // namespace lumbrix
