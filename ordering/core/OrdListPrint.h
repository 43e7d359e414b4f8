// The printed order list as the page shows it, for print preview and PDF: one section per place
// (one for the whole catalogue), each with its heading and its footer counts. Needs Qt Gui
// only, so serialsctl writes the same PDF the client previews.
#pragma once

#include <QString>
#include <string>

#include "ordering/core/OrdOutput.h"

// The list of the catalogue; false with a database failure left in g_ErrInfo.
bool ordListHtml(const std::string& publ, const std::string& year, OrdPrintBy by, QString& html);
