// A report leaves the program as it shows on screen: CSV (UTF-8 with a byte-order mark, so that
// spreadsheet programs read the Chinese text), XLSX with numbers as numbers, or a printed PDF
// under the header block of title, filters, date of tabulation and operator.
#pragma once

#include <QString>
#include <string>

#include "reports/core/StatReports.h"

// Each returns 0, or -1 with the reason in `error`.
int statWriteCsv(const std::string& path, const StatTable& t, std::string& error);
int statWriteXlsx(const std::string& path, const StatTable& t, std::string& error);
// The printed page (for print preview and PDF); `extraHtml` (a chart) follows the footer.
QString statPrintHtml(const StatTable& t, const QString& extraHtml = {});
int statWritePdf(const std::string& path, const StatTable& t, std::string& error,
                 const QString& extraHtml = {});
