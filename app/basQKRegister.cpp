#include "app/basQKRegister.h"

#include "common/basLibOpLog.h"
#include "marc/MarcProcs.h"

void LIB_RegisterProcedures() {
    registerOpLogProcedures();
    registerMarcProcedures();
}
