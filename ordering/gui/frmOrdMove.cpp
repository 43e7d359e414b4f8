#include "ordering/gui/frmOrdMove.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include "db/basLibMsg.h"
#include "ordering/gui/frmOrdTree.h"

frmOrdMove::frmOrdMove(const std::string& publ, const std::string& year, int count, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmOrdMove");
    setWindowTitle("移动订购明细");
    resize(460, 520);
    lblSource =
        new QLabel(QString("将发行商 %1、年度批次 %2 的 %3 条订购明细转到下面选择的订购目录：")
                       .arg(QString::fromStdString(publ), QString::fromStdString(year))
                       .arg(count),
                   this);
    lblSource->setObjectName("lblSource");
    lblSource->setWordWrap(true);
    m_frmOrdTree = new frmOrdTree(this);
    m_frmOrdTree->setToolTip("选择目的订购目录；右键可新建订购目录");
    // The details are in this one already.
    if (QTreeWidgetItem* own = m_frmOrdTree->catalogueNode(publ, year)) own->setDisabled(true);
    optMove = new QRadioButton("移动（从原目录中删除，已发订的明细不能移动）", this);
    optMove->setObjectName("optMove");
    optCopy = new QRadioButton("复制（原目录中保留）", this);
    optCopy->setObjectName("optCopy");
    optMove->setChecked(true);
    cmdOk = new QPushButton("确定", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdOk->setToolTip("转到选定的订购目录 (Enter)");
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip("不转移，关闭 (Esc)");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSource);
    layout->addWidget(m_frmOrdTree, 1);
    layout->addWidget(optMove);
    layout->addWidget(optCopy);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmOrdMove::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOrdMove::cmdOk_Click() {
    if (targetPubl().empty()) {
        LIB_ShowMsg("E请选择目的订购目录！");
        return;
    }
    accept();
}

std::string frmOrdMove::targetPubl() const {
    return m_frmOrdTree->currentPubl();
}

std::string frmOrdMove::targetYear() const {
    return m_frmOrdTree->currentYear();
}

OrdXferMode frmOrdMove::mode() const {
    return optCopy->isChecked() ? OrdXferMode::Copy : OrdXferMode::Move;
}
