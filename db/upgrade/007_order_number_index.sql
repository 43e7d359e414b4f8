-- The order search finds an order number typed in its normalised form.
CREATE INDEX M_PERI_ORD_DETL_FMT_IDX ON m_peri_ord_detl (fmt_asord_no);
