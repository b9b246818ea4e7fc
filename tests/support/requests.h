#pragma once

#include "engine/run/conversion_request.h"
#include "engine/settings/settings.h"

namespace lumbrix::test {

// A run that writes PSDs into folder (given with its trailing "/") with the defaults of use.
inline ConversionRequest psd_request(const QString &folder, SettingsUse use = SettingsUse::Window) {
  ConversionRequest request;
  request.output_folder = folder;
  request.output_extension = QStringLiteral("psd");
  request.settings = default_settings(use);
  return request;
}

} // namespace lumbrix::test
