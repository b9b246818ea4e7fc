// Loads what the console program loads and does nothing: the cost of starting a process linked
// with the window-free Qt libraries, FreeImage and libpng before any work, for comparison with a
// whole conversion of a small picture.
#include <FreeImage.h>
#include <QImage>
#include <QString>

#include <png.h>

int main(int argc, char **) {
  // Never true in a measurement; it keeps every library referenced so none is dropped.
  if (argc > 100) {
    const QImage image(1, 1, QImage::Format_ARGB32);
    return QString::fromLatin1(FreeImage_GetVersion()).size() + image.width() +
           static_cast<int>(png_access_version_number());
  }
  return 0;
}
