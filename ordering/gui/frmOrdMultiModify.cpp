// The multi-modify dialog reads ticks and editors into a change list; the manager hands it to
// the core. A dialog accepted with nothing ticked says so and stays open.
#include "ordering/gui/frmOrdMultiModify.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/basLibMsg.h"
#include "ordering/gui/frmOrdInfo.h"

frmOrdMultiModify::frmOrdMultiModify(int count, QWidget* parent) : QDialog(parent) {
    setObjectName("frmOrdMultiModify");
    setWindowTitle("批量修改订购明细");
    lblCount = new QLabel(QString("将修改选中的 %1 条订购明细中勾选的项目：").arg(count), this);
    lblCount->setObjectName("lblCount");
    auto* grid = new QGridLayout;
    QWidget* last = nullptr;
    int row = 0;
    for (const OrdMultiField& f : OrdMultiModifyFields()) {
        auto* tick = new QCheckBox(QString::fromUtf8(f.caption), this);
        tick->setObjectName(QString("chk") + f.key);
        QWidget* editor = nullptr;
        const auto list = OrdInfoChoices(f.key);
        if (list.empty()) {
            auto* text = new QLineEdit(this);
            text->setObjectName(QString("txt") + f.key);
            editor = text;
        } else {
            auto* box = new QComboBox(this);
            box->setObjectName(QString("cbo") + f.key);
            for (const auto& [name, code] : list)
                box->addItem(QString::fromStdString(name), QString::fromStdString(code));
            editor = box;
        }
        editor->setEnabled(false);
        editor->setMinimumWidth(220);
        connect(tick, &QCheckBox::toggled, editor, &QWidget::setEnabled);
        if (f.frozenByCheckIn) tick->setToolTip("已经开始签收的明细不能修改此项");
        grid->addWidget(tick, row, 0);
        grid->addWidget(editor, row, 1);
        if (last) setTabOrder(last, tick);
        setTabOrder(tick, editor);
        last = editor;
        ticks[f.key] = tick;
        editors[f.key] = editor;
        ++row;
    }
    grid->setColumnStretch(1, 1);
    cmdOk = new QPushButton("确定", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdOk->setToolTip("修改勾选的项目 (Enter)");
    cmdCancel->setToolTip("不修改 (Esc)");
    setTabOrder(last, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCount);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    connect(cmdOk, &QPushButton::clicked, this, &frmOrdMultiModify::take);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<OrdFieldChange> frmOrdMultiModify::changes() const {
    std::vector<OrdFieldChange> out;
    for (const OrdMultiField& f : OrdMultiModifyFields()) {
        if (!ticks.at(f.key)->isChecked()) continue;
        QWidget* e = editors.at(f.key);
        const QString v = qobject_cast<QComboBox*>(e)
                              ? qobject_cast<QComboBox*>(e)->currentData().toString()
                              : qobject_cast<QLineEdit*>(e)->text();
        out.push_back({f.key, v.trimmed().toStdString()});
    }
    return out;
}

void frmOrdMultiModify::take() {
    if (changes().empty()) {
        LIB_ShowMsg("I请选择要修改的项目！");
        return;
    }
    accept();
}
