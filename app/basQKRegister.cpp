#include "app/basQKRegister.h"

#include "common/basLibOpLog.h"

void LIB_RegisterProcedures() {
    registerOpLogProcedures();
}
