#pragma once

#include "engine/run/conversion_request.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace lumbrix {

// The files waiting behind "(+N more)", one a line; Remove (or Delete) takes the selected ones
// off the list, OK makes what is left the input.
class QueuedFilesDialog : public QDialog {
  Q_OBJECT

public:
  QueuedFilesDialog(const std::vector<InputFile> &files, QWidget *owner);

  QListWidget *file_list() const { return list_; }
  QPushButton *remove_button() const { return remove_; }
  void remove_selected();
  // The files left, in their order.
  std::vector<InputFile> kept() const { return files_; }

private:
  std::vector<InputFile> files_;
  QListWidget *list_ = nullptr;
  QPushButton *remove_ = nullptr;
};

// Makes kept the input: several as "(+N more)", one as itself, none leaves the field empty.
void keep_queued_files(const std::vector<InputFile> &kept);

// A button at the end of field, shown while it holds several files, that opens the dialog.
void add_queue_button(QLineEdit *field);

} // namespace lumbrix
