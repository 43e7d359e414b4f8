-- Claims are written to the operation log under their own type.
INSERT INTO log_type (log_type, log_name) VALUES ('50032', '期刊催缺');

-- The claim search reads only the issues still open.
CREATE INDEX M_PERI_CHK_VOL_OPEN_IDX ON m_peri_chk_vol (finish_flag, aslack_date);
