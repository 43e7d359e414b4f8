// Where selected order details go: the order catalogue tree to pick the target from (a new
// catalogue can be made there), and whether the details move or are copied.
#pragma once

#include <QDialog>
#include <string>

#include "ordering/core/OrdTransfer.h"

class QLabel;
class QPushButton;
class QRadioButton;
class frmOrdTree;

class frmOrdMove : public QDialog {
    Q_OBJECT
public:
    // `count` details of the catalogue publ/year are to go.
    frmOrdMove(const std::string& publ, const std::string& year, int count,
               QWidget* parent = nullptr);

    QLabel* lblSource = nullptr;
    frmOrdTree* m_frmOrdTree = nullptr;
    QRadioButton* optMove = nullptr;
    QRadioButton* optCopy = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Refuses to close without a target catalogue ("请选择目的订购目录！").
    void cmdOk_Click();
    std::string targetPubl() const;
    std::string targetYear() const;
    OrdXferMode mode() const;
};
