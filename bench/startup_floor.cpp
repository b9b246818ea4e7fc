// Loads what a console program loads and does nothing: the cost of starting a process linked
// with Qt, FreeImage and libpng before any work, for comparison with a whole conversion of a
// small picture. Built twice: with Qt Gui and FreeImage's shared library, as lumbrix-draw loads
// them, and without Qt Gui, with FreeImage's archive (LUMBRIX_NO_GUI), as lumbrix loads them.
#include <FreeImage.h>
#include <QString>
#ifndef LUMBRIX_NO_GUI
#include <QImage>
#endif

#include <png.h>

int main(int argc, char **) {
  // Never true in a measurement; it keeps every library referenced so none is dropped.
  if (argc > 100) {
    int used = QString::number(FreeImage_GetWidth(nullptr)).size() +
               static_cast<int>(png_access_version_number());
#ifndef LUMBRIX_NO_GUI
    used += QImage(1, 1, QImage::Format_ARGB32).width();
#endif
    return used;
  }
  return 0;
}
