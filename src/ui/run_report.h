#pragma once

#include "engine/run/conversion_request.h"
#include "engine/run/conversion_worker.h"

#include <QString>

class QTreeWidget;

namespace lumbrix {

// How a finished run is called in the progress window's title and the status bar: complete when
// every file was converted, stopped when the user broke it, failed when no file was converted,
// and otherwise how many of how many were converted and how many failed.
QString run_heading(const RunResult &result, int total, bool stopped_by_user);

// Whether the heading already carries the counts, so that no "(started/total)" is added.
bool heading_has_counts(const RunResult &result, int total, bool stopped_by_user);

// Fills a three-column list (file, result, reason) with a row for each file of the request.
void fill_run_report(QTreeWidget *list, const ConversionRequest &request, const RunResult &result);

// The list as text: one line per row, its columns separated by tabs.
QString run_report_text(const QTreeWidget *list);

} // namespace lumbrix
