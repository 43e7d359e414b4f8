-- The owed copies carry their issue's order line, running number, volume and issue and dates,
-- so that the claim search reads them without looking up each issue.
ALTER TABLE m_peri_chk_lack ADD COLUMN publ_code VARCHAR(20);
ALTER TABLE m_peri_chk_lack ADD COLUMN peri_ord_year VARCHAR(6);
ALTER TABLE m_peri_chk_lack ADD COLUMN asord_no VARCHAR(40);
ALTER TABLE m_peri_chk_lack ADD COLUMN peri_no INTEGER;
ALTER TABLE m_peri_chk_lack ADD COLUMN publ_year VARCHAR(4);
ALTER TABLE m_peri_chk_lack ADD COLUMN cover_vol VARCHAR(40);
ALTER TABLE m_peri_chk_lack ADD COLUMN cover_issue VARCHAR(40);
ALTER TABLE m_peri_chk_lack ADD COLUMN expect_date VARCHAR(10);
ALTER TABLE m_peri_chk_lack ADD COLUMN aslack_date VARCHAR(10);
UPDATE m_peri_chk_lack SET publ_code=a.publ_code, peri_ord_year=a.peri_ord_year, asord_no=a.asord_no, peri_no=a.peri_no, publ_year=a.publ_year, cover_vol=a.cover_vol, cover_issue=a.cover_issue, expect_date=a.expect_date, aslack_date=a.aslack_date FROM m_peri_chk_vol a WHERE a.peri_id=m_peri_chk_lack.peri_id;
