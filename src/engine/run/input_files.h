#pragma once

#include "engine/run/conversion_request.h"

#include <QString>

#include <vector>

namespace lumbrix {

// The pictures a run takes from a folder: every file with an accepted extension, by name, and
// with recursive also those of every folder below, each with its sub-folder relative to folder
// (ending with "/") so that Keep Subfolders can mirror the tree. Links to folders are not
// followed, so a loop of links cannot make the walk endless.
std::vector<InputFile> folder_inputs(const QString &folder, bool recursive);

// The lines of a list file (UTF-8, one path a line; blank lines are skipped, a relative path is
// taken from the current folder), each path once. False with the reason when the file cannot be
// read or is too large to be a list.
bool read_input_list(const QString &path, std::vector<InputFile> &files, QString &reason);

} // namespace lumbrix
