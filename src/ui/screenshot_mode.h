#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace lumbrix {

// Renders the main window with sample data and writes it as Lumbrix1.jpg, and 180 pixels wide as
// Lumbrix1x.jpg, into folder (the current folder when empty). Returns the exit status: 0, or 1
// after an "Error: " line naming the folder that does not exist or the file that cannot be
// written. Needs a QApplication.
int run_screenshot_mode(const QString &folder);

// The sample input names, each with one accepted input extension chosen at random.
QStringList sample_input_names();

// The vendor's address drawn into the lower right corner of a window picture.
void draw_vendor_address(QImage &picture);

// The picture scaled without smoothing to `width` pixels wide, the height in proportion, rounded.
QImage thumbnail(const QImage &picture, int width);

} // namespace lumbrix
