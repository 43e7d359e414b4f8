// The list of pre-order items of one pre-order catalogue: the order manager's data form for a
// distributor's offer list, from which titles are taken into an order catalogue.
#pragma once

#include "ordering/gui/OrdDataForm.h"

class frmOrdAsordList : public OrdDataForm {
    Q_OBJECT
public:
    explicit frmOrdAsordList(QWidget* parent = nullptr);

    // The pre-order list is read here, not edited: the editing calls of the contract refuse
    // (-1) and the manager keeps their commands disabled for this form.
    int ImportReviewFile(const std::string& path) override;
    int UpdatePrice(const std::vector<AsordPair>& pairs) override;
    int UpdateFreq(const std::vector<AsordPair>& pairs) override;
    int InitPrintData(std::vector<DataFormRow>& rows) override;
    int InsertAsordData(const std::string& publ, const std::string& yearMonth,
                        const std::vector<std::string>& asordNos) override;
    int DeleteItem(bool withMarc) override;
    int InsertMarcField(const std::string& tag, const std::string& ind,
                        const std::string& data) override;
    int DeleteMarcField(const std::string& tag) override;
    int NewItem() override;
    int SaveItem() override;
    int SaveAllItems() override;
    void Cancel() override;
    bool QueryClose() override;
    int MarcFind(const std::string& text) override;
    int CheckRepeat() override;
    void ChangeGray(bool gray) override;
    FormState State() const override;
    int CheckDataValid() override;

private:
    void showRow(int row) override;
    int loadRows(std::vector<OrdDetail>& rows) override;
};
