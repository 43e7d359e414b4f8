#include "common/gui/FilterRow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>

#include "db/basLibDB.h"

QDate LIB_ServerToday() {
    const QDate d =
        QDate::fromString(QString::fromStdString(LIB_DB_GetServerDate()).left(10), "yyyy-MM-dd");
    return d.isValid() ? d : QDate::currentDate();
}

FilterRow::FilterRow(QWidget* owner, const QString& any)
    : owner_(owner), any_(any), grid_(new QGridLayout) {}

FilterRow::~FilterRow() {
    if (!grid_->parent()) delete grid_;
}

QComboBox* FilterRow::choice(const char* objectName,
                             const std::vector<std::pair<std::string, std::string>>& items) {
    auto* c = new QComboBox(owner_);
    c->setObjectName(objectName);
    c->addItem(any_, QString());
    for (const auto& [code, name] : items)
        c->addItem(QString::fromStdString(name.empty() ? code : code + " " + name),
                   QString::fromStdString(code));
    return c;
}

QComboBox* FilterRow::tableChoice(const char* objectName, const LibArray& table) {
    std::vector<std::pair<std::string, std::string>> items;
    for (int r = 2; r < table.rows(); ++r)
        items.emplace_back(table(0, r).str(), table.cols() > 1 ? table(1, r).str() : "");
    return choice(objectName, items);
}

QDateEdit* FilterRow::date(const char* objectName, const QDate& value) {
    return LIB_DateEdit(owner_, objectName, value);
}

QDateEdit* LIB_DateEdit(QWidget* parent, const char* objectName, const QDate& value) {
    auto* d = new QDateEdit(value, parent);
    d->setObjectName(objectName);
    d->setCalendarPopup(true);
    d->setDisplayFormat("yyyy-MM-dd");
    return d;
}

void FilterRow::place(const QString& caption) {
    if (!caption.isEmpty()) grid_->addWidget(new QLabel(caption, owner_), row_, col_++);
}

FilterRow& FilterRow::add(const QString& caption, QWidget* control, int span) {
    place(caption);
    const int rows = span < 0 ? -span : 1;
    const int cols = span < 0 ? 1 : span;
    grid_->addWidget(control, row_, col_, rows, cols);
    col_ += cols;
    return *this;
}

FilterRow& FilterRow::add(const QString& caption, QLayout* controls, int span) {
    place(caption);
    grid_->addLayout(controls, row_, col_, 1, span);
    col_ += span;
    return *this;
}

FilterRow& FilterRow::newRow() {
    ++row_;
    col_ = 0;
    return *this;
}

std::string FilterRow::chosen(const QComboBox* combo) {
    const QString text = combo->currentText();
    // The "any" entry is the first one, without a code.
    if (combo->count() > 0 && text == combo->itemText(0) && combo->itemData(0).toString().isEmpty())
        return "";
    // Text typed into an editable drop-down leaves the entry chosen before as the current one.
    const int at = combo->currentIndex();
    const QString code =
        at >= 0 && combo->itemText(at) == text ? combo->itemData(at).toString() : QString();
    return (code.isEmpty() ? text : code).trimmed().toStdString();
}
