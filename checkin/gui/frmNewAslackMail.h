// The claim mail to one supplier: the supplier mail form with the claim list it carries;
// sending records the claims only if the mail goes.
#pragma once

#include <vector>

#include "checkin/core/basChkClaim.h"
#include "common/gui/frmSupplierMail.h"

class frmNewAslackMail : public frmSupplierMail {
    Q_OBJECT
public:
    frmNewAslackMail(const ClaimMail& mail, const std::vector<ClaimCandidate>& rows,
                     QWidget* parent = nullptr);
};
