#include "marc/gui/dlgMarcSearch.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marc/core/SearchInput.h"

dlgMarcSearch::dlgMarcSearch(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgMarcSearch");
    setWindowTitle("查找书目记录");
    panel = new MarcSearchPanel("marc/dlgMarcSearch/grdRecords", this);
    // Enter belongs to the search box and the grid; neither button takes it by default.
    cmdOK = new QPushButton("确定(&O)", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setAutoDefault(false);
    cmdOK->setEnabled(false);
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAutoDefault(false);
    // Esc reaches the dialog through the grid's filter box first, which it empties.
    cmdCancel->setToolTip("取消 (Esc)");
    cmdOK->setToolTip("选用当前记录 (Enter)");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    resize(900, 520);

    connect(panel, &MarcSearchPanel::currentRecordChanged, this,
            [this](const QString& recNo) { cmdOK->setEnabled(!recNo.isEmpty()); });
    connect(panel, &MarcSearchPanel::recordChosen, this, [this] { take(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { take(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    panel->cmbContent->setFocus();
}

void dlgMarcSearch::startWith(const std::string& text) {
    panel->setGroup(!MarcIssnInput(text).empty()   ? "03"
                    : !MarcIsbnInput(text).empty() ? kMarcIsbnGroup
                                                   : "01");
    panel->cmbContent->setText(QString::fromStdString(text));
    if (text.empty() || panel->subSearch() <= 0) {
        panel->cmbContent->setFocus();
        panel->cmbContent->selectAll();
    }
}

void dlgMarcSearch::take() {
    MarcFound found = panel->currentRecord();
    if (found.recNo.empty()) return;
    chosen_ = found;
    accept();
}
