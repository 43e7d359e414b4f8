// The printed claim list: one section per supplier with the list's columns, headed by the
// claim date and the supplier, with its total.
#pragma once

#include <QString>
#include <vector>

#include "checkin/core/basChkClaim.h"

// `newClaim` as for claimListRow.
QString claimListHtml(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                      bool newClaim);
