#include "ui/queued_files_dialog.h"

#include "text/lang.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/window_flags.h"
#include "ui/window_job.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace lumbrix {
namespace {

constexpr QSize starting_size(560, 320);

QString queue_text(const char *key) { return lang(QStringLiteral("Queue"), QLatin1String(key)); }

bool shows_several(const QLineEdit *field) {
  const WindowJob &job = window_job();
  return !job.inputs.empty() && field->text() == job.inputs_caption;
}

} // namespace

QueuedFilesDialog::QueuedFilesDialog(const std::vector<InputFile> &files, QWidget *owner)
    : QDialog(owner), files_(files) {
  setWindowFlags(small_window_flags);
  setWindowTitle(queue_text("Title"));
  list_ = new QListWidget;
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const InputFile &file : files_)
    list_->addItem(file.path);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  // Worded as the other dialogs, from the language table.
  buttons->button(QDialogButtonBox::Ok)
      ->setText(lang(QStringLiteral("Dialog"), QStringLiteral("OK")));
  buttons->button(QDialogButtonBox::Cancel)
      ->setText(lang(QStringLiteral("Dialog"), QStringLiteral("Cancel")));
  remove_ = buttons->addButton(queue_text("Remove"), QDialogButtonBox::ActionRole);
  remove_->setEnabled(false);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(starting_size);
  connect(list_, &QListWidget::itemSelectionChanged, this,
          [this] { remove_->setEnabled(!list_->selectedItems().isEmpty()); });
  connect(remove_, &QPushButton::clicked, this, &QueuedFilesDialog::remove_selected);
  connect(new QShortcut(QKeySequence::Delete, list_), &QShortcut::activated, this,
          &QueuedFilesDialog::remove_selected);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QueuedFilesDialog::remove_selected() {
  // From the last row up, so the rows still to go keep their numbers.
  std::vector<int> rows;
  for (const QListWidgetItem *item : list_->selectedItems())
    rows.push_back(list_->row(item));
  std::sort(rows.rbegin(), rows.rend());
  for (int row : rows) {
    delete list_->takeItem(row);
    files_.erase(files_.begin() + row);
  }
}

void keep_queued_files(const std::vector<InputFile> &kept) {
  if (!kept.empty() && set_input_files(kept))
    return;
  window_job().inputs.clear();
  if (MainWindow *window = main_window())
    window->input_field()->clear();
}

void add_queue_button(QLineEdit *field) {
  QAction *open = field->addAction(field->style()->standardIcon(QStyle::SP_FileDialogListView),
                                   QLineEdit::TrailingPosition);
  open->setToolTip(queue_text("Title"));
  open->setVisible(false);
  QObject::connect(field, &QLineEdit::textChanged, open,
                   [field, open] { open->setVisible(shows_several(field)); });
  QObject::connect(open, &QAction::triggered, field, [field] {
    if (!shows_several(field))
      return;
    QueuedFilesDialog dialog(window_job().inputs, field->window());
    if (dialog.exec() == QDialog::Accepted)
      keep_queued_files(dialog.kept());
  });
}

} // namespace lumbrix
