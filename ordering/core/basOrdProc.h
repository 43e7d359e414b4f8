// The order tables' database procedures: creating, re-keying and removing order catalogues,
// and writing order details with their subscriber, fund and distribution lines.
#pragma once

// insert_m_peri_ord_lst, update_m_whole_ordlst, delete02_m_peri_ord_lst,
// insert_m_peri_ord_detl, delete02_m_peri_ord_detl, insert_m_sub_ord_lst,
// insert_m_peri_sub_fund_out and insert_m_peri_ord_dist_lst in the procedure registry.
void registerOrderProcedures();
