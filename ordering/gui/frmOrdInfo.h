// The order detail pane: one row per item of the current detail (number, codes, prices), the
// coded items as drop-down lists from the code tables. Edits go straight into the detail the
// order list hands over; `Changed` follows every edit and `PriceChanged` every price edit.
#pragma once

#include <QWidget>
#include <string>

#include "ordering/core/basOrdList.h"

class QComboBox;
class QTableWidget;
class QTableWidgetItem;

class frmOrdInfo : public QWidget {
    Q_OBJECT
public:
    explicit frmOrdInfo(QWidget* parent = nullptr);

    QTableWidget* spdOrderInfo = nullptr;

    // Shows the detail (null: an empty, read-only pane).
    void setDetail(OrdDetail* detail);
    void setLocked(bool locked);
    bool locked() const { return locked_; }
    // Row of an item key; -1 when the pane has none.
    int rowOf(const std::string& key) const;
    // The drop-down of a coded item, or null.
    QComboBox* combo(const std::string& key) const;
    // The shown value of an item (the code of a coded one).
    std::string value(const std::string& key) const;
    // Types a value into an item as the operator would.
    void typeValue(const std::string& key, const std::string& value);

signals:
    void Changed();
    void PriceChanged();

private:
    void onEdited(const std::string& key, const std::string& value);
    void show(const std::string& key);
    OrdDetail* detail_ = nullptr;
    bool locked_ = false;
    bool loading_ = false;
};

// The drop-down entries of a coded item: (shown name, stored value), an empty entry first;
// none for an item typed as text.
std::vector<std::pair<std::string, std::string>> OrdInfoChoices(const std::string& key);

// The lock refusal the panes show on any edit of a locked detail.
void ShowLockedRefusal();
