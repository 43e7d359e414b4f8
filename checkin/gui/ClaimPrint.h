// The printed claim list: one section per supplier with the list's columns, its header (claim
// date, supplier) and footer (total, date printed, printed by), shown in print preview or
// written to PDF.
#pragma once

#include <QString>
#include <vector>

#include "checkin/core/basChkClaim.h"

class QObject;
class QTextDocument;
class QWidget;

// The document of the list; `newClaim` as for claimListRow.
QTextDocument* claimListDocument(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                                 bool newClaim, QObject* parent);
// Writes the list to a PDF file; false when the file cannot be written.
bool claimListToPdf(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                    bool newClaim, const QString& path);
// Opens the print preview of the list (the operator prints or saves it from there).
void claimListPreview(const std::vector<ClaimCandidate>& rows, const QString& claimDate,
                      bool newClaim, QWidget* parent);
