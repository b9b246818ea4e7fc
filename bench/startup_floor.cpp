// Loads what the console program loads and does nothing: the cost of starting a process linked
// with Qt, FreeImage and libpng before any work, for comparison with a whole conversion of a
// small picture. Built twice: with Qt Gui, as the program is, and without it (LUMBRIX_NO_GUI),
// the least any console program on Qt Core and FreeImage could load.
#include <FreeImage.h>
#include <QString>
#ifndef LUMBRIX_NO_GUI
#include <QImage>
#endif

#include <png.h>

int main(int argc, char **) {
  // Never true in a measurement; it keeps every library referenced so none is dropped.
  if (argc > 100) {
    int used = QString::fromLatin1(FreeImage_GetVersion()).size() +
               static_cast<int>(png_access_version_number());
#ifndef LUMBRIX_NO_GUI
    used += QImage(1, 1, QImage::Format_ARGB32).width();
#endif
    return used;
  }
  return 0;
}
