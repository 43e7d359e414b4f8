// The list of pre-order items of one pre-order catalogue: the order manager's data form for a
// distributor's offer list, from which titles are taken into an order catalogue.
#pragma once

#include "ordering/gui/OrdDataForm.h"

class frmOrdAsordList : public OrdDataForm {
    Q_OBJECT
public:
    explicit frmOrdAsordList(QWidget* parent = nullptr);

    // The pre-order list is read and added to, not edited: the editing calls are the read-only
    // form's.
    int ImportReviewFile(const std::string& path) override;
    int InitPrintData(std::vector<DataFormRow>& rows) override;
    int CheckDataValid() override;

private:
    void showRow(int row) override;
    int loadRows(std::vector<OrdDetail>& rows) override;
};
