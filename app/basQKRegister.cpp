#include "app/basQKRegister.h"

#include "binding/core/basBindProc.h"
#include "common/basLibOpLog.h"
#include "marc/core/MarcProcs.h"
#include "ordering/core/basOrdProc.h"

void LIB_RegisterProcedures() {
    registerOpLogProcedures();
    registerOrderProcedures();
    registerMarcProcedures();
    registerBindingProcedures();
}
