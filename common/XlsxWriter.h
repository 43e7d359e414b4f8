// Spreadsheet files (.xlsx) for lists that leave the program: a thin wrapper over libxlsxwriter
// with one workbook, worksheets added in order, text and number cells, bold headings.
#pragma once

#include <string>

class XlsxWriter {
public:
    explicit XlsxWriter(const std::string& path);
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    // Starts a worksheet; the cells written next go to it. A workbook needs at least one.
    void addSheet(const std::string& name);
    void writeText(int row, int col, const std::string& text);
    void writeHeading(int row, int col, const std::string& text);
    void writeNumber(int row, int col, double value);
    void setColumnWidth(int col, double width);
    // Writes the file; 0, or -1 with the reason in `error`. Nothing may be written afterwards.
    int close(std::string& error);

private:
    struct lxw_workbook* book_ = nullptr;
    struct lxw_worksheet* sheet_ = nullptr;
    struct lxw_format* bold_ = nullptr;
    std::string error_;  // the first failure, reported by close()
    void note(int status);
};
