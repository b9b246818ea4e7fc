#pragma once

#include <QString>
#include <QUrl>

namespace lumbrix {

// The address the system is asked to open for a target: web and mail addresses as they are, any
// other text as a local file, a relative name taken from the current folder.
QUrl document_url(const QString &target);

// Hands the target to the desktop's "open" handler (browser, mail program, help viewer). What the
// handler does with it is not examined.
void open_document(const QString &target);

} // namespace lumbrix
