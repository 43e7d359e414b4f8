#include "app/basQKRegister.h"

#include "common/basLibOpLog.h"
#include "ordering/basOrdProc.h"

void LIB_RegisterProcedures() {
    registerOpLogProcedures();
    registerOrderProcedures();
}
