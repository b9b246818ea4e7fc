#include "platform/web_get.h"
#include "support/local_http_server.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::http_answer;
using test::LocalHttpServer;

QString fetch(LocalHttpServer &server) {
  return web_get(server.address(), QStringLiteral("Vantrel PNG to PSD 2.2"));
}

TEST(WebGetTest, SendsAPlainHttp10RequestWithHostPathAndUserAgent) {
  LocalHttpServer server({http_answer("221")});
  EXPECT_EQ(fetch(server), QStringLiteral("221"));
  EXPECT_EQ(server.request(), QByteArray("GET /files/Lumbrix.dat HTTP/1.0\r\n"
                                         "Host: 127.0.0.1\r\n"
                                         "Accept: */*\r\n"
                                         "User-Agent: Vantrel PNG to PSD 2.2\r\n"
                                         "Connection: close\r\n\r\n"));
}

TEST(WebGetTest, AnAddressWithoutPathAsksForTheRoot) {
  LocalHttpServer server({http_answer("220")});
  EXPECT_EQ(web_get(server.address(QString()), QStringLiteral("agent")), QStringLiteral("220"));
  EXPECT_TRUE(server.request().startsWith("GET / HTTP/1.0\r\n"));
}

TEST(WebGetTest, ReturnsTheFirstThreeCharactersOfTheTrimmedBody) {
  const std::pair<QByteArray, QString> cases[] = {
      {" 221", QStringLiteral("221")},
      {"\r\n099\r\n", QStringLiteral("099")},
      {"1000", QStringLiteral("100")},
      {"abc", QStringLiteral("abc")},
      {"22\r\n\r\n1", QStringLiteral("22")},
      {"", QString()},
      {QByteArray("2\0"
                  "21",
                  4),
       QStringLiteral("2")},
  };
  for (const auto &[body, expected] : cases) {
    LocalHttpServer server({http_answer(body)});
    EXPECT_EQ(fetch(server), expected) << body.toStdString();
  }
}

TEST(WebGetTest, AnAnswerWithoutEmptyLineAfterItsHeadersGivesNothing) {
  LocalHttpServer server({"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n221"});
  EXPECT_TRUE(fetch(server).isEmpty());
}

TEST(WebGetTest, AnAnswerInSeveralPiecesIsReadWhole) {
  LocalHttpServer split_headers({"HTTP/1.0 200 OK\r\nContent-", "Type: text/plain\r\n\r", "\n221"});
  EXPECT_EQ(fetch(split_headers), QStringLiteral("221"));
  LocalHttpServer split_body({http_answer("2"), "21"});
  EXPECT_EQ(fetch(split_body), QStringLiteral("221"));
}

TEST(WebGetTest, ReadsNoMoreThanTheAnswerLimit) {
  const QByteArray headers =
      "HTTP/1.0 200 OK\r\nX-Padding: " + QByteArray(web_get_answer_limit - 30, 'x') + "\r\n";
  // The empty line ending the headers falls beyond the limit.
  LocalHttpServer server({headers, QByteArray(64, 'y') + "\r\n\r\n221"});
  EXPECT_TRUE(fetch(server).isEmpty());
}

TEST(WebGetTest, FailuresToReachTheServerGiveNothing) {
  const QString agent = QStringLiteral("agent");
  EXPECT_TRUE(
      web_get(QStringLiteral("http://127.0.0.1:%1/x").arg(test::closed_port()), agent).isEmpty());
  EXPECT_TRUE(web_get(QString(), agent).isEmpty());
  EXPECT_TRUE(web_get(QStringLiteral("http://127.0.0.1:port/x"), agent).isEmpty());
  EXPECT_TRUE(web_get(QStringLiteral("http://127.0.0.1:0/x"), agent).isEmpty());
}

TEST(WebGetTest, GivesUpOnAServerThatNeverAnswers) {
  const test::ListeningSocket silent;
  EXPECT_TRUE(web_get(silent.address(), QStringLiteral("agent"), 100).isEmpty());
}

TEST(WebGetTest, LineBreaksCannotSmuggleHeadersIntoTheRequest) {
  LocalHttpServer server({http_answer("221")});
  EXPECT_TRUE(
      web_get(server.address(QStringLiteral("/x\r\nEvil: 1")), QStringLiteral("a")).isEmpty());
  EXPECT_TRUE(web_get(server.address(), QStringLiteral("a\r\nEvil: 1")).isEmpty());
}

} // namespace
} // namespace lumbrix
