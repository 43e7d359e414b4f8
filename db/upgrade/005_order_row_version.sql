-- Each change of an order detail counts up its version; a save that read an older version is
-- refused instead of overwriting what another workstation wrote in between.
ALTER TABLE m_peri_ord_detl ADD COLUMN row_version INTEGER DEFAULT 0;
UPDATE m_peri_ord_detl SET row_version = 0 WHERE row_version IS NULL;
