#pragma once

#include <QString>

namespace lumbrix {

// The per-user settings folder <config>/<maker>/<product>/, with a trailing separator. It is
// created with every missing parent; a failure is not reported here (reading then finds nothing,
// and writing the settings reports why it failed).
QString settings_dir(const QString &maker_folder, const QString &product_folder);

// The per-user data folder <data>/<maker>/<product>/, with a trailing separator, created as
// settings_dir is; empty when the system names no data folder.
QString data_dir(const QString &maker_folder, const QString &product_folder);

} // namespace lumbrix
