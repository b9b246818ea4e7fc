#pragma once

#include <QString>

namespace lumbrix {

// The per-user settings folder <config>/<maker>/<product>/, with a trailing separator. Each level
// is created when missing; a failure to create one is not reported (reading then finds nothing
// and writing fails quietly).
QString settings_dir(const QString &maker_folder, const QString &product_folder);

} // namespace lumbrix
