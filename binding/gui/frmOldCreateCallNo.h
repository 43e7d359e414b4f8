// Giving a record its call number: the class number typed, then the book number taken as the
// class's next serial (F1) or the author number of the record's author (F2); F4 lists the call
// numbers the class has already given out. Confirming keeps the call number for the record and,
// for a serial, takes the serial then, so two workstations never share one.
#pragma once

#include <QWidget>
#include <optional>

#include "binding/core/basCallNo.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmOldCreateCallNo : public QWidget {
    Q_OBJECT
public:
    explicit frmOldCreateCallNo(const QString& marcRecNo = {}, const QString& author = {},
                                QWidget* parent = nullptr);

    QLineEdit* txtMarcRecNo = nullptr;
    QComboBox* cmbClsCode = nullptr;  // classification scheme
    QLineEdit* txtAuthor = nullptr;
    QLineEdit* txtCallNo = nullptr;
    QListWidget* lstUsed = nullptr;  // call numbers the class has given out (F4)
    QPushButton *cmdSerial, *cmdAuthor, *cmdUsed, *cmdOk, *cmdCancel;

    void txtCallNo_F1();  // the class's next serial
    void txtCallNo_F2();  // the author number
    void txtCallNo_F4();  // call numbers already used
    void cmdOk_Click();
    // The call number confirmed; empty until then.
    QString confirmed() const { return confirmed_; }

signals:
    void callNoConfirmed(const QString& callNo);

private:
    ClassKey classKey() const;
    std::optional<ClassKey> serialFrom_;  // set while txtCallNo holds a proposed serial
    QString proposed_;
    QString confirmed_;
};
