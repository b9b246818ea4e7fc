#include "platform/open_document.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

namespace lumbrix {

QUrl document_url(const QString &target) {
  // A scheme of two letters or more ("https:", "mailto:"); one letter would be a drive.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(target).hasMatch())
    return QUrl(target, QUrl::TolerantMode);
  return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

void open_document(const QString &target, std::function<void(bool opened)> done) {
  const auto tell = [done](bool opened) {
    if (done)
      done(opened);
  };
  const QUrl url = document_url(target);
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
    QTimer::singleShot(0, qApp, [tell] { tell(false); });
    return;
  }
  // The desktop's opener says by its exit status whether a handler took the target; Qt's own
  // call only says whether the opener could be started.
  auto *opener = new QProcess(qApp);
  QObject::connect(opener, &QProcess::finished, opener, [opener, tell](int code, QProcess::ExitStatus how) {
    tell(how == QProcess::NormalExit && code == 0);
    opener->deleteLater();
  });
  QObject::connect(opener, &QProcess::errorOccurred, opener,
                   [opener, tell](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart)
                       return;
                     tell(false);
                     opener->deleteLater();
                   });
  opener->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace lumbrix
