// The subscriber pane: the detail's subscriber lines (spdSubOrdLst), the current subscriber's
// own items (spdSubInfo), its fund lines (spdFundSrc, fund sources offered by its location) and
// its distribution lines (spdDistLoca). Edits go straight into the detail; `Changed` follows
// each. Nothing is written to the database here.
#pragma once

#include <QWidget>
#include <string>

#include "db/LibArray.h"
#include "ordering/core/basOrdList.h"

class QComboBox;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class frmOrdInfo;

class frmOrdSubInfo : public QWidget {
    Q_OBJECT
public:
    explicit frmOrdSubInfo(QWidget* parent = nullptr);

    QTableWidget* spdSubOrdLst = nullptr;
    QTableWidget* spdSubInfo = nullptr;
    QTableWidget* spdFundSrc = nullptr;
    QTableWidget* spdDistLoca = nullptr;
    QComboBox* cboLocation = nullptr;  // the current subscriber's location and check-in nature
    QComboBox* cboChkFlag = nullptr;
    QPushButton *cmdAddSub = nullptr, *cmdDelSub = nullptr, *cmdAddFund = nullptr,
                *cmdDelFund = nullptr, *cmdAddDist = nullptr, *cmdDelDist = nullptr;

    // Follows the detail pane's price changes (fund amounts).
    void SetOrdInfoForm(frmOrdInfo* info);
    void SetLocked(bool locked);
    // Shows a detail's subscribers (null clears the pane).
    void DataReset(OrdDetail* detail);
    // The pane's own check of the current subscriber before it is left; false after showing
    // "操作不能继续：" with the reasons.
    bool QueryClose();

    int currentSubscriber() const { return cur_; }
    // Makes another subscriber current, after the check of the one being left.
    bool selectSubscriber(int index);
    // Fund sources offered for a location: (code, name).
    std::vector<std::pair<std::string, std::string>> fundSources(const std::string& location) const;

signals:
    void Changed();

private:
    bool refuseWhenLocked();
    void addSubscriber();
    void deleteSubscriber();
    void addFund();
    void deleteFund();
    void addDist();
    void deleteDist();
    template <typename Edit>
    void editLines(Edit edit);
    void onPriceChanged();
    void onSubItemEdited(int row, const std::string& value);
    void onLineEdited(QTableWidget* grid, int row, int column, const std::string& value);
    void showList();
    void showCurrent();
    void edited();
    QComboBox* lineCombo(QTableWidget* grid, int row,
                         const std::vector<std::pair<std::string, std::string>>& choices,
                         const std::string& value);
    OrdSubscriber* current();

    OrdDetail* detail_ = nullptr;
    frmOrdInfo* info_ = nullptr;
    int cur_ = -1;
    bool locked_ = false;
    bool loading_ = false;
    LibArray subAcct_;
};
