// The database procedures of the three record families: header insert and update, data rows,
// index rows, deletes, and record numbering.
#pragma once

void registerMarcProcedures();
