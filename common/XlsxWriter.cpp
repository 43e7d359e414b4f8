#include "common/XlsxWriter.h"

#include <xlsxwriter.h>

XlsxWriter::XlsxWriter(const std::string& path) {
    book_ = workbook_new(path.c_str());
    if (!book_) {
        error_ = "无法创建文件 " + path;
        return;
    }
    bold_ = workbook_add_format(book_);
    format_set_bold(bold_);
}

XlsxWriter::~XlsxWriter() {
    std::string ignored;
    close(ignored);
}

void XlsxWriter::note(int status) {
    if (status != LXW_NO_ERROR && error_.empty())
        error_ = lxw_strerror(static_cast<lxw_error>(status));
}

void XlsxWriter::addSheet(const std::string& name) {
    if (!book_) return;
    sheet_ = workbook_add_worksheet(book_, name.empty() ? nullptr : name.c_str());
    if (!sheet_ && error_.empty()) error_ = "无法添加工作表 " + name;
}

void XlsxWriter::writeText(int row, int col, const std::string& text) {
    if (sheet_) note(worksheet_write_string(sheet_, row, col, text.c_str(), nullptr));
}

void XlsxWriter::writeHeading(int row, int col, const std::string& text) {
    if (sheet_) note(worksheet_write_string(sheet_, row, col, text.c_str(), bold_));
}

void XlsxWriter::writeNumber(int row, int col, double value) {
    if (sheet_) note(worksheet_write_number(sheet_, row, col, value, nullptr));
}

void XlsxWriter::setColumnWidth(int col, double width) {
    if (sheet_) note(worksheet_set_column(sheet_, col, col, width, nullptr));
}

int XlsxWriter::close(std::string& error) {
    if (!book_) {
        error = error_;
        return error_.empty() ? 0 : -1;
    }
    if (!sheet_) addSheet("");
    note(workbook_close(book_));
    book_ = nullptr;
    sheet_ = nullptr;
    error = error_;
    return error_.empty() ? 0 : -1;
}
