#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace lumbrix {

// One recognised input extension: the canonical extension it stands for and its description.
struct InputFormat {
  QString canonical;
  QString description;
};

// One output format: writer id (FreeImage format id, or a DevIL type code from 1024 up),
// canonical extension, description and the allowed bit depths ("1,4,8,24").
struct OutputFormat {
  int id = 0;
  QString canonical;
  QString description;
  QString bit_depths;
};

inline constexpr int devil_psd_type = 0x0439;

// Fill the two maps with the fixed tables (input map first). Both fronts call these once at
// start; lookups before that find nothing.
void build_input_format_map();
void build_output_format_map();

// Lookups match the key exactly (case-sensitive); a missing key gives an empty entry.
InputFormat input_format(const QString &extension);
OutputFormat output_format(const QString &extension);
const std::map<QString, InputFormat> &input_format_map();
const std::map<QString, OutputFormat> &output_format_map();

// Every input-map key whose canonical extension is one of the given formats, format by format,
// keys in map order.
QStringList extensions_of_formats(const QStringList &canonical_formats);

// Every input-map key whose canonical extension is one of the build's input formats.
void build_accepted_extensions();
const QStringList &accepted_extensions();

bool is_listed(const QString &text, const QStringList &list);
bool bpp_allowed(const QString &extension, int bpp);
bool is_output_extension(const QString &text);

} // namespace lumbrix
