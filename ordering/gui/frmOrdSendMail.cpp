#include "ordering/gui/frmOrdSendMail.h"

#include "ordering/core/OrdOutput.h"

namespace {

SupplierMailForm orderMailForm(const std::string& publ, const std::string& year) {
    SupplierMailForm f;
    f.objectName = "frmOrdSendMail";
    f.title = "发送订单";
    f.askFromName = true;
    f.attachment = publ + "_" + year + ".xlsx";
    f.send = [publ, year](const SupplierMail& m, std::string& error) {
        return intSendOrdMail(publ, year, m, error);
    };
    return f;
}

}  // namespace

frmOrdSendMail::frmOrdSendMail(const std::string& publ, const std::string& year,
                               const SupplierMail& mail, QWidget* parent)
    : frmSupplierMail(mail, orderMailForm(publ, year), parent) {}
