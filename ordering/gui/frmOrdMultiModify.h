// Multi-modify: the fields many details may get at once, each with a tick that says it is to
// change and its editor (a code list, or text), enabled once ticked. Keyboard: Tab moves tick,
// editor, tick…; Space ticks; Enter takes the changes, Esc leaves without any.
#pragma once

#include <QDialog>
#include <map>
#include <vector>

#include "ordering/core/OrdMultiModify.h"

class QCheckBox;
class QLabel;
class QPushButton;

class frmOrdMultiModify : public QDialog {
    Q_OBJECT
public:
    // `count`: how many details the changes go to.
    explicit frmOrdMultiModify(int count, QWidget* parent = nullptr);

    QLabel* lblCount = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    // By grid key: the tick and the editor (a QComboBox or a QLineEdit).
    std::map<std::string, QCheckBox*> ticks;
    std::map<std::string, QWidget*> editors;

    // The ticked fields with the values chosen, in the dialog's order.
    std::vector<OrdFieldChange> changes() const;

private:
    void take();
};
