#include "cli/format_catalogue.h"

// Placeholder bodies so the tree links while the catalogue is written.
namespace lumbrix {
void build_input_format_map() {}
void build_output_format_map() {}
InputFormat input_format(const QString &) { return {}; }
OutputFormat output_format(const QString &) { return {}; }
const std::map<QString, InputFormat> &input_format_map() { static std::map<QString, InputFormat> m; return m; }
const std::map<QString, OutputFormat> &output_format_map() { static std::map<QString, OutputFormat> m; return m; }
void build_accepted_extensions() {}
const QStringList &accepted_extensions() { static QStringList l{QStringLiteral("png")}; return l; }
bool is_listed(const QString &text, const QStringList &list) { return list.contains(text); }
bool bpp_allowed(const QString &, int bpp) { return bpp == 0 || bpp == 32; }
bool is_output_extension(const QString &text) { return text == QLatin1String("psd"); }
} // namespace lumbrix
