#include "binding/gui/frmOldClassSerial.h"

#include "binding/gui/BindGrid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <limits>

#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

frmOldClassSerial::frmOldClassSerial(const QString& clsId, QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldClassSerial");
    setWindowTitle("分类种次号维护");
    cmbClsCode = new QComboBox(this);
    cmbClsCode->setObjectName("cmbClsCode");
    fillSchemeCombo(cmbClsCode, clsId);
    spdSerial =
        BindGrid::make(this, "spdSerial", {"分类号", "前缀", "最大种次号", "文献类型", "馆群"},
                       "frmOldClassSerial/spdSerial");
    txtClsNo = new QLineEdit(this);
    txtClsNo->setObjectName("txtClsNo");
    txtPrefix = new QLineEdit(this);
    txtPrefix->setObjectName("txtPrefix");
    txtMaxSerial = new QSpinBox(this);
    txtMaxSerial->setObjectName("txtMaxSerial");
    txtMaxSerial->setRange(0, std::numeric_limits<int>::max());
    cmdNew = bindButton(this, "新增", "cmdNew", QKeySequence::New);
    cmdOk = bindButton(this, "保存", "cmdOk", QKeySequence::Save);
    cmdDelete = bindButton(this, "删除", "cmdDelete", QKeySequence::Delete);
    cmdCancel = bindButton(this, "退出", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("分类法：", this));
    top->addWidget(cmbClsCode, 1);
    auto* form = new QFormLayout;
    form->addRow("分类号：", txtClsNo);
    form->addRow("前缀：", txtPrefix);
    form->addRow("最大种次号：", txtMaxSerial);
    setListEditorLayout(this, top, spdSerial.view, form, {cmdNew, cmdOk, cmdDelete}, cmdCancel);

    connect(cmbClsCode, &QComboBox::currentIndexChanged, this, &frmOldClassSerial::loadSeries);
    connect(cmdNew, &QPushButton::clicked, this, [this] {
        showSeries(nullptr);
        txtClsNo->setFocus();
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmOldClassSerial::cmdOk_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmOldClassSerial::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(spdSerial.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] {
                int row = spdSerial.currentRow();
                if (row >= 0 && row < static_cast<int>(series_.size())) showSeries(&series_[row]);
            });
    loadSeries();
}

void frmOldClassSerial::loadSeries() {
    series_.clear();
    intListClassSerials(t(cmbClsCode->currentData().toString()), series_);
    std::vector<QStringList> rows;
    for (const ClassSerial& c : series_)
        rows.push_back({s(c.key.clsNo), s(c.prefix), QString::number(c.maxSerial), s(c.key.docType),
                        s(c.key.grpCode)});
    spdSerial.setRows(rows);
    showSeries(nullptr);
}

void frmOldClassSerial::showSeries(const ClassSerial* row) {
    editing_.reset();
    if (row) editing_ = row->key;
    txtClsNo->setText(row ? s(row->key.clsNo) : QString());
    txtClsNo->setReadOnly(row != nullptr);  // the key of a series stays, only its values change
    txtPrefix->setText(row ? s(row->prefix) : QString());
    txtMaxSerial->setValue(row ? row->maxSerial : 0);
}

void frmOldClassSerial::cmdOk_Click() {
    ClassKey key =
        editing_ ? *editing_
                 : ClassKey{"11", t(cmbClsCode->currentData().toString()), t(txtClsNo->text())};
    if (intSaveClassSerial({key, t(txtPrefix->text()), txtMaxSerial->value()},
                           !editing_.has_value()) != 0)
        return;
    loadSeries();
    for (std::size_t i = 0; i < series_.size(); ++i)
        if (series_[i].key.clsNo == key.clsNo) spdSerial.selectRow(static_cast<int>(i));
    emit seriesChanged();
}

void frmOldClassSerial::cmdDelete_Click() {
    if (!editing_) {
        LIB_ShowMsg("E请选择要删除的分类。");
        return;
    }
    if (intDeleteClassSerial(*editing_) != 0) return;
    loadSeries();
    emit seriesChanged();
}
