// The binding list that goes to the binder with a batch: one page of records per batch, then a
// slip per volume that travels with its issues to the binder and back, carrying what the
// binder prints on the spine and, once accessioned, the volume's property number.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

#include "binding/core/basBindFunc.h"

// Records grouped by binder and batch as given; `binderNames` maps binder codes to names.
QString bindListHtml(const std::vector<BindRecord>& records,
                     const std::map<std::string, std::string>& binderNames);
// The list of a batch (both empty: every record), read from the database; -1 after the
// message.
int intBindListHtml(const std::string& binder, const std::string& batchNo, QString& html);
