// The new-record dialog reads its controls into the record to make; one without a title says so
// and stays open.
#include "ordering/gui/frmOrdMarcAdd.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdMarcCmds.h"

namespace {

// A code list as "code name" entries carrying the code; `current` chosen (an empty entry first).
QComboBox* codeBox(const LibArray& table, const std::string& current, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItem("", "");
    for (int r = 2; r < table.rows(); ++r) {
        const QString code = QString::fromStdString(table(0, r).str()).trimmed();
        box->addItem(code + " " + QString::fromStdString(table(1, r).str()), code);
    }
    const int at =
        box->findData(QString::fromStdString(current), Qt::UserRole, Qt::MatchFixedString);
    box->setCurrentIndex(at < 0 ? 0 : at);
    return box;
}

QLineEdit* line(const std::string& text, const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(320);
    return edit;
}

}  // namespace

frmOrdMarcAdd::frmOrdMarcAdd(const OrdNewMarc& start, QWidget* parent) : QDialog(parent) {
    setObjectName("frmOrdMarcAdd");
    setWindowTitle("新建书目记录");
    cmbFormat = new QComboBox(this);
    cmbFormat->setObjectName("cmbFormat");
    cmbFormat->addItem("CNMARC（中文）", "C");
    cmbFormat->addItem("USMARC（外文）", "U");
    cmbFormat->setCurrentIndex(start.marcType == "U" ? 1 : 0);
    txtTitle = line(start.title, "txtTitle", this);
    txtIssn = line(start.issn, "txtIssn", this);
    txtPublisher = line(start.publisher, "txtPublisher", this);
    txtPlace = line(start.place, "txtPlace", this);
    cmbLanguage = codeBox(g_arrLanguage, start.language, this);
    cmbLanguage->setObjectName("cmbLanguage");
    cmbCountry = codeBox(g_arrCountry, start.country, this);
    cmbCountry->setObjectName("cmbCountry");
    auto* form = new QFormLayout;
    form->addRow("书目格式(&F)", cmbFormat);
    form->addRow("刊名(&T)", txtTitle);
    form->addRow("ISSN(&I)", txtIssn);
    form->addRow("出版者(&P)", txtPublisher);
    form->addRow("出版地(&D)", txtPlace);
    form->addRow("语种(&L)", cmbLanguage);
    form->addRow("国别(&C)", cmbCountry);
    cmdOk = new QPushButton("确定", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdOk->setToolTip("为订购明细建立这条书目记录 (Enter)");
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip("不建立书目记录 (Esc)");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmOrdMarcAdd::take);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The title is what the template leaves to type.
    txtTitle->setFocus(Qt::OtherFocusReason);
}

OrdNewMarc frmOrdMarcAdd::record() const {
    auto text = [](const QLineEdit* e) { return e->text().trimmed().toStdString(); };
    auto code = [](const QComboBox* b) { return b->currentData().toString().toStdString(); };
    return {code(cmbFormat), text(txtTitle),    text(txtIssn),   text(txtPublisher),
            text(txtPlace),  code(cmbLanguage), code(cmbCountry)};
}

void frmOrdMarcAdd::take() {
    if (const std::string error = strOrdNewMarcError(record()); !error.empty()) {
        LIB_ShowMsg("E" + error);
        txtTitle->setFocus(Qt::OtherFocusReason);
        return;
    }
    accept();
}
