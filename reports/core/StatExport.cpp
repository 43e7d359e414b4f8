#include "reports/core/StatExport.h"

#include <fstream>

#include "common/XlsxWriter.h"
#include "common/print/ListPrint.h"

namespace {

std::string csvCell(const std::string& v) {
    if (v.find_first_of(",\"\r\n") == std::string::npos) return v;
    std::string q = "\"";
    for (char ch : v)
        q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}

// A grid cell that the column calls a number and that reads as one whole.
bool asNumber(const StatTable& t, std::size_t col, const std::string& v, double& value) {
    if (col >= t.numeric.size() || !t.numeric[col] || v.empty()) return false;
    std::size_t used = 0;
    try {
        value = std::stod(v, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == v.size();
}

}  // namespace

int statWriteCsv(const std::string& path, const StatTable& t, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "无法创建文件 " + path;
        return -1;
    }
    out << "\xEF\xBB\xBF";
    auto line = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out << (i ? "," : "") << csvCell(cells[i]);
        out << "\r\n";
    };
    line(t.columns);
    t.forEachGridRow(line);
    out.close();
    if (!out) {
        error = "写入文件失败 " + path;
        return -1;
    }
    return 0;
}

int statWriteXlsx(const std::string& path, const StatTable& t, std::string& error) {
    XlsxWriter book(path);
    book.addSheet(t.title.empty() ? "统计" : t.title);
    for (std::size_t c = 0; c < t.columns.size(); ++c) {
        book.writeHeading(0, static_cast<int>(c), t.columns[c]);
        book.setColumnWidth(static_cast<int>(c), 14);
    }
    int r = 1;
    t.forEachGridRow([&](const std::vector<std::string>& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            double value = 0;
            if (asNumber(t, c, row[c], value))
                book.writeNumber(r, static_cast<int>(c), value);
            else if (!row[c].empty())
                book.writeText(r, static_cast<int>(c), row[c]);
        }
        ++r;
    });
    return book.close(error);
}

QString statPrintHtml(const StatTable& t, const QString& extraHtml) {
    QStringList columns;
    for (const std::string& c : t.columns)
        columns << QString::fromStdString(c);
    PrintSection s;
    QStringList header;
    for (const std::string& h : t.header)
        header << QString::fromStdString(h);
    s.heading = header.join("    ");
    t.forEachGridRow([&s](const std::vector<std::string>& row) {
        QStringList cells;
        for (const std::string& v : row)
            cells << QString::fromStdString(v);
        s.rows.push_back(cells);
    });
    s.total = QString::fromStdString(t.footer);
    return printedListHtml(QString::fromStdString(t.title), columns, {s},
                           printedByFooter() + extraHtml);
}

int statWritePdf(const std::string& path, const StatTable& t, std::string& error,
                 const QString& extraHtml) {
    PrintSession session;
    if (!printedListToPdf(statPrintHtml(t, extraHtml), QString::fromStdString(path))) {
        error = "无法写入 PDF 文件 " + path;
        return -1;
    }
    return 0;
}
