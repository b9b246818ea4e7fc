#include "platform/open_document.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumbrix {

QUrl document_url(const QString &target) {
  // A scheme of two letters or more ("https:", "mailto:"); one letter would be a drive.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(target).hasMatch())
    return QUrl(target, QUrl::TolerantMode);
  return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

void open_document(const QString &target) { QDesktopServices::openUrl(document_url(target)); }

} // namespace lumbrix
