#include "ui/run_report.h"

#include "text/lang.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace lumbrix {
namespace {

QString status_word(FileStatus status) {
  switch (status) {
  case FileStatus::Failed:
    return lang_msg("Failed");
  case FileStatus::NotConverted:
    return lang_msg("Not converted");
  default:
    return lang_msg("Converted");
  }
}

} // namespace

bool heading_has_counts(const RunResult &result, int total, bool stopped_by_user) {
  return !stopped_by_user && result.files_converted > 0 && result.files_converted < total;
}

QString run_heading(const RunResult &result, int total, bool stopped_by_user) {
  const int converted = result.files_converted;
  if (converted >= total)
    return lang_msg("Conversion complete");
  if (stopped_by_user)
    return lang_msg("Conversion is not complete");
  if (converted == 0)
    return lang_msg("Conversion failed");
  return lang_format(lang_msg("Converted with failures"), QString::number(converted),
                     QString::number(total), QString::number(total - converted));
}

void fill_run_report(QTreeWidget *list, const ConversionRequest &request, const RunResult &result) {
  list->clear();
  list->setHeaderLabels({lang_msg("File"), lang_msg("Result"), lang_msg("Reason")});
  for (std::size_t i = 0; i < result.files.size() && i < request.files.size(); ++i) {
    const FileResult &file = result.files[i];
    const QString reason = file.status == FileStatus::Failed ? file.reason : QString();
    auto *row = new QTreeWidgetItem({request.files[i].path, status_word(file.status), reason});
    row->setToolTip(0, request.files[i].path);
    row->setToolTip(2, reason);
    list->addTopLevelItem(row);
  }
  for (int column = 0; column < 2; ++column)
    list->resizeColumnToContents(column);
}

QString run_report_text(const QTreeWidget *list) {
  QStringList lines;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem *row = list->topLevelItem(i);
    QStringList columns;
    for (int column = 0; column < list->columnCount(); ++column)
      columns << row->text(column);
    lines << columns.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n'));
}

} // namespace lumbrix
