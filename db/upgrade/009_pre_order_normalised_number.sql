-- Pre-order numbers get the normalised form order details have (2-15 and 0002-0015 alike),
-- so that searching and pairing by number find them whichever way they were written: the
-- first hyphen after one to four bytes splits the number, and each part of fewer than four
-- digits is padded with zeros.
ALTER TABLE peri_asord_detl ADD COLUMN fmt_asord_no VARCHAR(40);
UPDATE peri_asord_detl SET fmt_asord_no = CASE
  WHEN substr(asord_no, 1, 1)='-' THEN asord_no
  WHEN substr(asord_no, 2, 1)='-' THEN CASE WHEN octet_length(substr(asord_no, 1, 1))<=4
    THEN (CASE WHEN substr(asord_no, 1, 1)<>'' AND trim(substr(asord_no, 1, 1), '0123456789')='' AND length(substr(asord_no, 1, 1))<4 THEN lpad(substr(asord_no, 1, 1), 4, '0') ELSE substr(asord_no, 1, 1) END)
      || '-' || (CASE WHEN substr(asord_no, 3)<>'' AND trim(substr(asord_no, 3), '0123456789')='' AND length(substr(asord_no, 3))<4 THEN lpad(substr(asord_no, 3), 4, '0') ELSE substr(asord_no, 3) END)
    ELSE asord_no END
  WHEN substr(asord_no, 3, 1)='-' THEN CASE WHEN octet_length(substr(asord_no, 1, 2))<=4
    THEN (CASE WHEN substr(asord_no, 1, 2)<>'' AND trim(substr(asord_no, 1, 2), '0123456789')='' AND length(substr(asord_no, 1, 2))<4 THEN lpad(substr(asord_no, 1, 2), 4, '0') ELSE substr(asord_no, 1, 2) END)
      || '-' || (CASE WHEN substr(asord_no, 4)<>'' AND trim(substr(asord_no, 4), '0123456789')='' AND length(substr(asord_no, 4))<4 THEN lpad(substr(asord_no, 4), 4, '0') ELSE substr(asord_no, 4) END)
    ELSE asord_no END
  WHEN substr(asord_no, 4, 1)='-' THEN CASE WHEN octet_length(substr(asord_no, 1, 3))<=4
    THEN (CASE WHEN substr(asord_no, 1, 3)<>'' AND trim(substr(asord_no, 1, 3), '0123456789')='' AND length(substr(asord_no, 1, 3))<4 THEN lpad(substr(asord_no, 1, 3), 4, '0') ELSE substr(asord_no, 1, 3) END)
      || '-' || (CASE WHEN substr(asord_no, 5)<>'' AND trim(substr(asord_no, 5), '0123456789')='' AND length(substr(asord_no, 5))<4 THEN lpad(substr(asord_no, 5), 4, '0') ELSE substr(asord_no, 5) END)
    ELSE asord_no END
  WHEN substr(asord_no, 5, 1)='-' THEN CASE WHEN octet_length(substr(asord_no, 1, 4))<=4
    THEN (CASE WHEN substr(asord_no, 1, 4)<>'' AND trim(substr(asord_no, 1, 4), '0123456789')='' AND length(substr(asord_no, 1, 4))<4 THEN lpad(substr(asord_no, 1, 4), 4, '0') ELSE substr(asord_no, 1, 4) END)
      || '-' || (CASE WHEN substr(asord_no, 6)<>'' AND trim(substr(asord_no, 6), '0123456789')='' AND length(substr(asord_no, 6))<4 THEN lpad(substr(asord_no, 6), 4, '0') ELSE substr(asord_no, 6) END)
    ELSE asord_no END
  ELSE asord_no END;
CREATE INDEX PERI_ASORD_DETL_FMT_IDX ON peri_asord_detl (fmt_asord_no);
