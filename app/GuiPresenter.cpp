#include "app/GuiPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

int GuiPresenter::show(char type, const std::string& title, const std::string& body) {
    QMessageBox box;
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(body));
    bool asks = type == 'W' || type == 'Q' || type == 'S';
    switch (type) {
        case 'I':
            box.setIcon(QMessageBox::Information);
            break;
        case 'W':
            box.setIcon(QMessageBox::Warning);
            break;
        case 'Q':
        case 'S':
            box.setIcon(QMessageBox::Question);
            break;
        default:
            box.setIcon(QMessageBox::Critical);
    }
    if (type == 'E' || asks) QApplication::beep();
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
