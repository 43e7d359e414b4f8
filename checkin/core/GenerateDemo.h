// The demonstration database's check-in: every sent demo order line configured at the
// locations that check it in, its issues predicted, and the issues due by the day the database
// is made received as a librarian would have received them.
#pragma once

// 0, or -1 after reporting the failure.
int ChkConfigureDemoOrders();
// Receives the demo issues due by the server's date through the check-in itself: lines whose
// check-in was finished and one in three of the others arrive in full, one in three gets only
// one copy of every third issue, and one in three never gets every fifth issue (so those become
// claimable once their claim date passes). Run after ChkConfigureDemoOrders. 0, or -1 (shown).
int ChkReceiveDemoArrivals();
