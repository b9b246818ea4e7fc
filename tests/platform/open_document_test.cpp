#include "platform/open_document.h"

#include <QDir>
#include <gtest/gtest.h>

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

} // namespace
} // namespace lumbrix
