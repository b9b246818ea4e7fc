#pragma once

#include "engine/run/conversion_request.h"

#include <QString>

#include <vector>

namespace lumbrix {

// The pictures a run takes from a folder: every file with an accepted extension, by name, and
// with recursive also those of every folder below, each with its sub-folder relative to folder
// (ending with "/") so that Keep Subfolders can mirror the tree. Links are not followed, so a
// loop of links cannot make the walk endless: a link named as a picture, a picture whose path is
// too long to open and a folder too deep to enter are each taken with the refusal that fails it.
std::vector<InputFile> folder_inputs(const QString &folder, bool recursive);

// The lines of a list, from a file or any stream such as a pipe (UTF-8, one path a line; blank
// lines are skipped, a relative path is taken from the current folder), each path once; a line
// with a NUL byte is taken with the refusal that fails it. False with the reason when the list
// cannot be read or is too large to be one.
bool read_input_list(const QString &path, std::vector<InputFile> &files, QString &reason);

} // namespace lumbrix
