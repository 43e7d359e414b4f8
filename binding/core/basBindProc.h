// Database procedures of binding and accession: the item and property-account writes shared
// with the rest of the library system, the call-number register and class serials, and the
// property-number sections with their recycle lists.
#pragma once

void registerBindingProcedures();
