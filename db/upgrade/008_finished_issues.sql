-- An expected issue is finished (finish_flag '1') once every receiving subscriber location of
-- its order line has all the copies it subscribes; the claim search reads only the others.
UPDATE m_peri_chk_vol SET finish_flag=CASE WHEN NOT EXISTS (SELECT 1 FROM m_sub_ord_lst s WHERE s.publ_code=m_peri_chk_vol.publ_code AND s.peri_ord_year=m_peri_chk_vol.peri_ord_year AND s.asord_no=m_peri_chk_vol.asord_no AND s.chk_stat='1') OR EXISTS (SELECT 1 FROM m_sub_ord_lst s WHERE s.publ_code=m_peri_chk_vol.publ_code AND s.peri_ord_year=m_peri_chk_vol.peri_ord_year AND s.asord_no=m_peri_chk_vol.asord_no AND s.chk_stat='1' AND s.sub_peri_qty>(SELECT COUNT(*) FROM m_peri_item i WHERE i.peri_id=m_peri_chk_vol.peri_id AND i.location=s.location)) THEN '0' ELSE '1' END;

-- The open issues' index holds those alone.
DROP INDEX M_PERI_CHK_VOL_OPEN_IDX;
CREATE INDEX M_PERI_CHK_VOL_OPEN_IDX ON m_peri_chk_vol (aslack_date) WHERE finish_flag='0';
