#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace lumbrix {

// The address the system is asked to open for a target: web and mail addresses as they are, any
// other text as a local file, a relative name taken from the current folder.
QUrl document_url(const QString &target);

// Hands the target to the desktop's "open" handler (browser, mail program, help viewer). done, if
// given, is told once from the event loop whether the desktop took it: false for a local file
// that does not exist, a handler that cannot be started, or one that reports a failure. Needs a
// running QCoreApplication.
void open_document(const QString &target, std::function<void(bool opened)> done = {});

} // namespace lumbrix
