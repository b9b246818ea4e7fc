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

// Constant data, valid at any time. Lookups match the key exactly (case-sensitive); a missing key
// gives an empty entry.
InputFormat input_format(const QString &extension);
OutputFormat output_format(const QString &extension);
const std::map<QString, InputFormat> &input_format_map();
const std::map<QString, OutputFormat> &output_format_map();

// Every input-map key whose canonical extension is one of the given formats, format by format,
// keys in map order.
QStringList extensions_of_formats(const QStringList &canonical_formats);

// Every input-map key whose canonical extension is one of the build's input formats.
const QStringList &accepted_extensions();

// A file of at least one byte whose extension is an accepted one: what may enter a run.
bool is_acceptable_input(const QString &path);

bool is_listed(const QString &text, const QStringList &list);
bool bpp_allowed(const QString &extension, int bpp);
bool is_output_extension(const QString &text);

} // namespace lumbrix
