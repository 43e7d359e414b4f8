// The order mail to a catalogue's distributor: the supplier mail form; sending attaches the
// catalogue's details as a spreadsheet. Nothing is written to the database.
#pragma once

#include <string>

#include "common/gui/frmSupplierMail.h"

class frmOrdSendMail : public frmSupplierMail {
    Q_OBJECT
public:
    frmOrdSendMail(const std::string& publ, const std::string& year, const SupplierMail& mail,
                   QWidget* parent = nullptr);
};
