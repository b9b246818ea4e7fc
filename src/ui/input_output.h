#pragma once

#include "engine/run/conversion_request.h"

#include <QString>
#include <QStringList>

#include <vector>

class QComboBox;

namespace lumbrix {

// Makes the acceptable files among files the input; several are shown as the first path and how
// many more. False, changing nothing, when none is acceptable.
bool set_input_files(const std::vector<InputFile> &files);

// The files Convert would take now: the several files shown by their caption, else the file the
// field names when it is acceptable; none otherwise.
std::vector<InputFile> shown_inputs();

// Adds the acceptable files among paths that are not listed yet after the files shown, as a
// later start of the program hands them over. False, changing nothing, when none is added.
bool add_input_files(const QStringList &paths);

// What dropping these paths gives: the files as they are, and for a folder every picture in it and
// below it, with its sub-folder.
std::vector<InputFile> dropped_inputs(const QStringList &paths);

// File > Add Input File: the open-file dialog; a chosen acceptable file becomes the input.
void select_input_file();

// File > Select Output Folder: the folder dialog; an existing folder becomes the output folder
// and the head of the history.
void select_output_folder();

// The output folder as typed: without blanks around it, a leading "~" (alone or before "/") taken
// as the home folder, ending with "/"; empty stays empty.
QString typed_output_folder(const QString &text);

// A missing output folder: asks whether to create it and, on Yes, makes it with its parents.
enum class FolderOffer { Created, Declined, Failed };
FolderOffer offer_to_create_output_folder(const QString &folder);

// Refills the output folder list from the history, selecting the run's output folder if listed.
void fill_out_folder_list();

// Fills a drop-down with the output formats (upper-case name, with the description if asked),
// each item's data its index in the output formats, and selects Output Format.
void fill_format_list(QComboBox *list, bool with_description);

// File > New: a fresh run state, empty input and output fields, status "Ready".
void new_job();

// The open-file dialog's filter: every accepted extension, then one entry per description, then
// all files; "description|patterns|" each, patterns separated by ";".
QString input_file_filter();

} // namespace lumbrix
