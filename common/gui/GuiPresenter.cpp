#include "common/gui/GuiPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

// 保存 / 不保存 / 取消: Esc and closing the box answer 取消, so a slip never discards work.
int askSave(QMessageBox& box) {
    QPushButton* save = box.addButton("保存(&S)", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("不保存(&N)", QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton("取消", QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == save) return kMsgOk;
    if (box.clickedButton() == discard) return kMsgNo;
    return kMsgCancel;
}

}  // namespace

int GuiPresenter::show(char type, const std::string& title, const std::string& body) {
    QMessageBox box;
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(body));
    bool asks = type == 'W' || type == 'Q' || type == 'S' || type == 'C';
    switch (type) {
        case 'I':
            box.setIcon(QMessageBox::Information);
            break;
        case 'W':
            box.setIcon(QMessageBox::Warning);
            break;
        case 'Q':
        case 'S':
        case 'C':
            box.setIcon(QMessageBox::Question);
            break;
        default:
            box.setIcon(QMessageBox::Critical);
    }
    if (type == 'E' || asks) QApplication::beep();
    if (type == 'C') return askSave(box);
    if (!asks) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return kMsgOk;
    }
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.button(QMessageBox::Ok)->setText("确定");
    box.button(QMessageBox::Cancel)->setText("取消");
    box.setDefaultButton(type == 'S' ? QMessageBox::Ok : QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok ? kMsgOk : kMsgCancel;
}
