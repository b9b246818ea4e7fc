#include "engine/settings/format_catalogue.h"

#include "engine/settings/product.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace lumbrix {
namespace {

// Extensions that share one canonical format and one description, blank-separated.
struct InputGroup {
  const char *canonical;
  const char *description;
  const char *extensions;
};

// Within a group the canonical extension comes first, so its aliases read as copies of it.
constexpr InputGroup input_groups[] = {
    {"bmp", "Windows or OS/2 Bitmap", "bmp rle dib"},
    {"dds", "DirectDraw Surface File", "dds"},
    {"emf", "Enhanced Metafile Format", "emf emz"},
    {"gif", "GIF File", "gif"},
    {"hdr", "High Dynamic Range File", "hdr hdri"},
    {"ico", "Windows Icon", "ico"},
    {"jpg", "JPEG File", "jpg jpeg jpe jif"},
    {"pcd", "Kodak PhotoCD File", "pcd pcd1 pcds ppcd"},
    {"pcx", "ZSoft Paintbrush File", "pcx"},
    {"pic", "Macintosh PICT", "pic pict pct"},
    {"png", "Portable Network Graphics", "png"},
    {"psd", "Adobe Photoshop File", "psd"},
    {"tga", "Truevision Targa", "tga targa"},
    {"tiff", "Tagged Image File Format", "tiff tif"},
    {"wmf", "Windows Metafile Format", "wmf wmz"},
    {"wmf", "Aldus Placeable Metafile", "apm"},
    {"raw", "Camera RAW Image", "raw raw1 raw2"},
    {"raw", "Hasselblad Camera RAW Image", "3fr"},
    {"raw", "Sony Camera RAW Image", "arw sr2 srf"},
    {"raw", "Casio Camera RAW Image", "bay"},
    {"raw", "NuCore RAW Image", "bmq"},
    {"raw", "Phase One Camera RAW Image", "cap iiq eip"},
    {"raw", "Phantom RAW Image", "cine"},
    {"raw", "Canon Camera RAW Image", "cr2 crw"},
    {"raw", "Capture Shop RAW Image", "cs1"},
    {"raw", "Kodak Camera RAW Image", "dc2 dcr drf dsc k25 kc2 kdc dcs"},
    {"raw", "Adobe Digital Negative Image", "dng"},
    {"raw", "Epson Camera RAW Image", "erf"},
    {"raw", "Imacon Camera RAW Image", "fff"},
    {"raw", "Sinar RAW Image", "ia sti"},
    {"raw", "Minolta Camera RAW Image", "mdc mrw"},
    {"raw", "Mamiya Camera RAW Image", "mef mos"},
    {"raw", "Nikon Camera RAW Image", "nef nrw"},
    {"raw", "Olympus Camera RAW Image", "orf"},
    {"raw", "Pentax Camera RAW Image", "pef ptx"},
    {"raw", "Logitech Camera RAW Image", "pxn"},
    {"raw", "Apple Quicktake Camera RAW Image", "qtk"},
    {"raw", "Fuji Camera RAW Image", "raf"},
    {"raw", "Digital Foto Maker RAW Image", "rdc"},
    {"raw", "Panasonic Camera RAW Image", "rw2"},
    {"raw", "Rawzor Camera RAW Image", "rwz"},
    {"raw", "Sigma Camera RAW Image", "x3f"},
    {"raw", "ARRI RAW Image", "ari"},
    {"raw", "RED RAW Image", "r3d"},
    {"raw", "Leica Camera RAW Image", "rwl"},
};

struct OutputRow {
  const char *extension;
  int id;
  const char *description;
  const char *bit_depths;
};

// Ids below 1024 are the image library's format ids; PSD, DDS and PCX are written through the
// other library and carry its image type codes.
constexpr OutputRow output_rows[] = {
    {"bmp", 0, "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {"exr", 29, "ILM OpenEXR", "96"},
    {"gif", 25, "Graphics Interchange Format", "8"},
    {"hdr", 26, "High Dynamic Range Image", "96"},
    {"ico", 1, "Windows Icon", "1,4,8,16,24,32"},
    {"j2k", 30, "JPEG-2000 Codestream", "8,24,32,48"},
    {"jng", 3, "JPEG Network Graphics", "24,32"},
    {"jp2", 31, "JPEG-2000 File Format", "8,24,32,48"},
    {"jpg", 2, "JPEG File Format", "8,24"},
    {"jxr", 36, "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {"pbm", 7, "Portable Bitmap", "1"},
    {"pfm", 32, "Portable Floatmap", "96"},
    {"pgm", 11, "Portable Greymap", "8"},
    {"png", 13, "Portable Network Graphics", "1,4,8,24,32,48"},
    {"ppm", 14, "Portable Pixelmap", "24,48"},
    {"tga", 17, "Truevision Targa", "8,16,24,32"},
    {"tiff", 18, "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {"wbmp", 19, "Wireless Bitmap", "1"},
    {"webp", 35, "Google WebP Image Format", "24,32"},
    {"xpm", 23, "X11 Pixmap Format", "24"},
    {"psd", devil_psd_type, "Adobe Photoshop", "32,64"},
    {"dds", 0x0437, "DirectDraw Surface", "32"},
    {"pcx", 0x0428, "ZSoft Paintbrush", "24"},
};

std::map<QString, InputFormat> make_input_map() {
  std::map<QString, InputFormat> map;
  for (const InputGroup &group : input_groups) {
    const InputFormat format{QLatin1String(group.canonical), QLatin1String(group.description)};
    const QStringList extensions =
        QString::fromLatin1(group.extensions).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &extension : extensions)
      map[extension] = format;
  }
  return map;
}

std::map<QString, OutputFormat> make_output_map() {
  std::map<QString, OutputFormat> map;
  for (const OutputRow &row : output_rows) {
    const QString extension = QLatin1String(row.extension);
    map[extension] = OutputFormat{row.id, extension, QLatin1String(row.description),
                                  QLatin1String(row.bit_depths)};
  }
  return map;
}

} // namespace

// Built on first use from the constant tables; never changed afterwards.
const std::map<QString, InputFormat> &input_format_map() {
  static const std::map<QString, InputFormat> map = make_input_map();
  return map;
}

const std::map<QString, OutputFormat> &output_format_map() {
  static const std::map<QString, OutputFormat> map = make_output_map();
  return map;
}

InputFormat input_format(const QString &extension) {
  const auto found = input_format_map().find(extension);
  return found == input_format_map().end() ? InputFormat{} : found->second;
}

OutputFormat output_format(const QString &extension) {
  const auto found = output_format_map().find(extension);
  return found == output_format_map().end() ? OutputFormat{} : found->second;
}

QStringList extensions_of_formats(const QStringList &canonical_formats) {
  QStringList extensions;
  for (const QString &canonical : canonical_formats) {
    for (const auto &[extension, format] : input_format_map()) {
      if (format.canonical == canonical)
        extensions.append(extension);
    }
  }
  return extensions;
}

const QStringList &accepted_extensions() {
  static const QStringList list = extensions_of_formats(input_formats());
  return list;
}

bool is_acceptable_input(const QString &path) {
  return file_size(path) >= 1 && is_listed(file_extension(path), accepted_extensions());
}

bool is_listed(const QString &text, const QStringList &list) {
  return list.contains(text, Qt::CaseSensitive);
}

bool bpp_allowed(const QString &extension, int bpp) {
  if (bpp == 0)
    return true;
  const QStringList depths = output_format(extension).bit_depths.split(QLatin1Char(','));
  for (const QString &depth : depths) {
    bool ok = false;
    if (depth.trimmed().toInt(&ok) == bpp && ok)
      return true;
  }
  return false;
}

bool is_output_extension(const QString &text) { return is_listed(text, output_formats()); }

} // namespace lumbrix
