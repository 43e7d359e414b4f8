// Giving a record its call number: the class number typed, then the book number taken as the
// class's next serial (F1) or the author number of the record's author (F2) from the Chinese or
// Western tables; F4 lists the call numbers the class has already given out. Confirming keeps
// the call number for the record and, for a serial, takes the serial then, so two workstations
// never share one. The loan grade and circulation type chosen go with the call number to the
// accession that asked for it.
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
    QComboBox* cmbClsCode = nullptr;   // classification scheme
    QComboBox* cmbAuthLang = nullptr;  // author tables: 中文 or 西文 (system parameter 20)
    QComboBox* cmbLendGrad = nullptr;  // loan grade, data the code ("" none)
    QComboBox* cmbCircType = nullptr;  // circulation type, data the code ("" none)
    QLineEdit* txtAuthor = nullptr;
    QLineEdit* txtCallNo = nullptr;
    QListWidget* lstUsed = nullptr;  // call numbers the class has given out (F4)
    QPushButton *cmdSerial, *cmdAuthor, *cmdUsed, *cmdClsMan, *cmdOk, *cmdCancel;

    void txtCallNo_F1();  // the class's next serial
    void txtCallNo_F2();  // the author number
    void txtCallNo_F4();  // call numbers already used
    void cmdClsMan_Click();
    void cmdOk_Click();
    // The call number confirmed; empty until then.
    QString confirmed() const { return confirmed_; }
    // Presets the loan grade and circulation type (codes).
    void setCirculation(const QString& lendGrade, const QString& circType);

signals:
    // With the call number, the loan grade and circulation type chosen (codes, "" for none).
    void callNoConfirmed(const QString& callNo, const QString& lendGrade, const QString& circType);

private:
    ClassKey classKey() const;
    std::optional<ClassKey> serialFrom_;  // set while txtCallNo holds a proposed serial
    QString proposed_;
    QString confirmed_;
};
