#pragma once

#include "shell/CsvExport.h"

struct ReportResult;

// The rows of a report for a CSV file: its detail lines, and the group
// footers that are rows of the columns (a line per category in a summary),
// under the column captions. Money and numbers go back to exact plain
// decimals and dates to ISO, for a column whose every detail text reads as
// one; other columns keep their texts.
CsvTable ReportCsvTable(const ReportResult& result);
