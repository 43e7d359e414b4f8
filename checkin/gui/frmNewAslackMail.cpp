#include "checkin/gui/frmNewAslackMail.h"

#include "common/OperatorState.h"
#include "db/basLibDB.h"

namespace {

SupplierMailForm claimMailForm(const std::vector<ClaimCandidate>& rows) {
    SupplierMailForm f;
    f.objectName = "frmNewAslackMail";
    f.title = "邮件催缺";
    f.copyToMe = true;
    f.listHeaders = claimListHeaders();
    const std::string today = LIB_DB_GetServerDate().substr(0, 10);
    for (const ClaimCandidate& c : rows)
        f.listRows.push_back(claimListRow(c, today, g_strWkrNo, true));
    f.send = [rows](const SupplierMail& m, std::string& error) {
        bool dbFailed = false;
        if (claimSendMail(m, rows, error, dbFailed) == 0) return 0;
        if (dbFailed) {
            LIB_DB_ShowError();
            error.clear();
        }
        return -1;
    };
    return f;
}

}  // namespace

frmNewAslackMail::frmNewAslackMail(const ClaimMail& mail, const std::vector<ClaimCandidate>& rows,
                                   QWidget* parent)
    : frmSupplierMail(mail, claimMailForm(rows), parent) {}
