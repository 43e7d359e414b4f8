#include "app/basQKRegister.h"

#include "common/basLibOpLog.h"
#include "marc/MarcProcs.h"
#include "ordering/basOrdProc.h"

void LIB_RegisterProcedures() {
    registerOpLogProcedures();
    registerOrderProcedures();
    registerMarcProcedures();
}
