// The database procedures of every area, registered once before the session is used: by the
// client, by serialsctl and by the tests.
#pragma once

void LIB_RegisterProcedures();
