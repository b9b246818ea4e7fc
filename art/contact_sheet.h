#pragma once

#include <QImage>
#include <QStringList>

#include <functional>
#include <span>

// Every icon at every size on a light ground, and the largest once more on a dark ground, one
// row per name with the name beside it. Needs a QGuiApplication for the labels.
QImage contact_sheet(const QStringList &names, std::span<const int> sizes,
                     const std::function<QImage(const QString &, int)> &render);
