-- Demonstration check-in for the claims: the first half year of two of this year's titles of
-- the postal distribution bureau at the serials department (QK01). 2-10 is complete up to
-- issue 3, issue 4 came with one copy of two; 2-17 lacks issue 3 although issue 4 has come,
-- and issue 3 was claimed once in May. Claims repeat after 30 days.
UPDATE m_peri_ord_detl SET aslack_second=30, aslack_third=30 WHERE publ_code='YZFX' AND peri_ord_year='${YEAR}01';

INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, cover_vol, cover_issue, cover_issue_total, expect_date, aslack_date, publ_year, peri_no, finish_flag, peri_type) VALUES
('0000900001', 'YZFX', '${YEAR}01', '2-10', '45', '1', '1', '${YEAR}-01-10', '${YEAR}-02-09', '${YEAR}', 1, '1', '0'),
('0000900002', 'YZFX', '${YEAR}01', '2-10', '45', '2', '2', '${YEAR}-02-10', '${YEAR}-03-09', '${YEAR}', 2, '1', '0'),
('0000900003', 'YZFX', '${YEAR}01', '2-10', '45', '3', '3', '${YEAR}-03-10', '${YEAR}-04-09', '${YEAR}', 3, '1', '0'),
('0000900004', 'YZFX', '${YEAR}01', '2-10', '45', '4', '4', '${YEAR}-04-10', '${YEAR}-05-09', '${YEAR}', 4, '0', '0'),
('0000900005', 'YZFX', '${YEAR}01', '2-10', '45', '5', '5', '${YEAR}-05-10', '${YEAR}-06-09', '${YEAR}', 5, '0', '0'),
('0000900006', 'YZFX', '${YEAR}01', '2-10', '45', '6', '6', '${YEAR}-06-10', '${YEAR}-07-09', '${YEAR}', 6, '0', '0'),
('0000900007', 'YZFX', '${YEAR}01', '2-17', '45', '1', '1', '${YEAR}-01-10', '${YEAR}-02-09', '${YEAR}', 1, '1', '0'),
('0000900008', 'YZFX', '${YEAR}01', '2-17', '45', '2', '2', '${YEAR}-02-10', '${YEAR}-03-09', '${YEAR}', 2, '1', '0'),
('0000900009', 'YZFX', '${YEAR}01', '2-17', '45', '3', '3', '${YEAR}-03-10', '${YEAR}-04-09', '${YEAR}', 3, '0', '0'),
('0000900010', 'YZFX', '${YEAR}01', '2-17', '45', '4', '4', '${YEAR}-04-10', '${YEAR}-05-09', '${YEAR}', 4, '1', '0'),
('0000900011', 'YZFX', '${YEAR}01', '2-17', '45', '5', '5', '${YEAR}-05-10', '${YEAR}-06-09', '${YEAR}', 5, '0', '0'),
('0000900012', 'YZFX', '${YEAR}01', '2-17', '45', '6', '6', '${YEAR}-06-10', '${YEAR}-07-09', '${YEAR}', 6, '0', '0');

INSERT INTO m_peri_item (peri_id, location, dis_location, item_no, item_stat, chk_date, wkr_no) VALUES
('0000900001', 'QK01', 'QK01', 1, '0', '${YEAR}-01-13 10:30:00', 'JD01'),
('0000900001', 'QK01', 'QKYL', 2, '0', '${YEAR}-01-14 10:30:00', 'JD01'),
('0000900002', 'QK01', 'QK01', 1, '0', '${YEAR}-02-13 10:30:00', 'JD01'),
('0000900002', 'QK01', 'QKYL', 2, '0', '${YEAR}-02-14 10:30:00', 'JD01'),
('0000900003', 'QK01', 'QK01', 1, '0', '${YEAR}-03-13 10:30:00', 'JD01'),
('0000900003', 'QK01', 'QKYL', 2, '0', '${YEAR}-03-14 10:30:00', 'JD01'),
('0000900004', 'QK01', 'QK01', 1, '0', '${YEAR}-04-13 10:30:00', 'JD01'),
('0000900007', 'QK01', 'QK01', 1, '0', '${YEAR}-01-13 10:30:00', 'JD01'),
('0000900007', 'QK01', 'QKYL', 2, '0', '${YEAR}-01-14 10:30:00', 'JD01'),
('0000900008', 'QK01', 'QK01', 1, '0', '${YEAR}-02-13 10:30:00', 'JD01'),
('0000900008', 'QK01', 'QKYL', 2, '0', '${YEAR}-02-14 10:30:00', 'JD01'),
('0000900010', 'QK01', 'QK01', 1, '0', '${YEAR}-04-13 10:30:00', 'JD01'),
('0000900010', 'QK01', 'QKYL', 2, '0', '${YEAR}-04-14 10:30:00', 'JD01');

INSERT INTO m_aslack_rec (peri_id, location, aslack_detl_date, aslack_wkr, aslack_detl_qty, remark) VALUES
('0000900009', 'QK01', '${YEAR}-05-10', 'JD01', 2, NULL);
