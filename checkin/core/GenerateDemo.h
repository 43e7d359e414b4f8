// The demonstration database's check-in: every sent demo order line configured at the
// locations that check it in, and its issues predicted, as a librarian would have done it.
#pragma once

// 0, or -1 after reporting the failure.
int ChkConfigureDemoOrders();
