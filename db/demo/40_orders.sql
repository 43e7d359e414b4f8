-- Demonstration orders: the postal distribution bureau (YZFX) for Chinese titles and the book
-- import corporation (TSJK) for Western titles, last year's catalogues sent and checked in,
-- this year's partly sent (YZFX) and not yet sent (TSJK), and the bureau's pre-order catalogue
-- for next year. The titles are the demonstration records that init-db --demo imports after
-- these files: Chinese records 0000000001-0000000024, Western ones 0000000025-0000000040.
-- ${YEAR}, ${LAST_YEAR} and ${NEXT_YEAR} are the years around the day the database is made.

INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year, peri_ord_date, resp_wkr, peri_ord_flag) VALUES
('YZFX', '${LAST_YEAR}01', '${LAST_YEAR}-10-15', 'DY01', '1'),
('TSJK', '${LAST_YEAR}01', '${LAST_YEAR}-09-20', 'DY01', '1'),
('YZFX', '${YEAR}01', '${LAST_YEAR}-10-18', 'DY01', '1'),
('TSJK', '${YEAR}01', '${LAST_YEAR}-09-25', 'DY01', '0');

INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, carrier_code, get_mode_code, marc_rec_no, book_size_code, money_code, peri_price, peri_total_price, fore_price, fore_total_price, peri_ord_qty, resp_wkr, ord_flag, new_ord_flag, remark, publ_freq, kind_no, peri_type, fmt_asord_no, end_ord_flag, chk_bgn_date, fst_rece_date, qty_of_year, aslack_ysno, days_of_items, qty_of_vol, days_of_aslack, bind_item_qty) VALUES
('YZFX', '${LAST_YEAR}01', '2-10', '01', '01', '0000000001', '01', 'CNY', 18, 216, NULL, NULL, 3, 'DY01', '3', '1', NULL, '月刊', 'G25', '0', '0002-0010', '1', '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 12, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '2-17', '01', '01', '0000000002', '01', 'CNY', 25, 300, NULL, NULL, 3, 'DY01', '3', '1', NULL, '月刊', 'G35', '0', '0002-0017', '1', '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 12, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '2-24', '01', '01', '0000000003', '01', 'CNY', 30, 180, NULL, NULL, 3, 'DY01', '3', '1', NULL, '双月刊', 'G23', '0', '0002-0024', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 6, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '2-31', '01', '01', '0000000004', '01', 'CNY', 15, 180, NULL, NULL, 3, 'DY01', '3', '0', NULL, '月刊', 'TP3', '0', '0002-0031', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 12, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '3-38', '01', '01', '0000000005', '01', 'CNY', 12, 288, NULL, NULL, 3, 'DY01', '3', '1', NULL, '半月刊', 'S', '0', '0003-0038', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 24, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '3-45', '01', '01', '0000000006', '01', 'CNY', 28, 336, NULL, NULL, 3, 'DY01', '2', '1', NULL, '月刊', 'TQ', '0', '0003-0045', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 12, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '3-52', '01', '01', '0000000007', '01', 'CNY', 10, 120, NULL, NULL, 3, 'DY01', '2', '0', NULL, '月刊', 'TH', '0', '0003-0052', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 12, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '3-59', '01', '01', '0000000008', '01', 'CNY', 20, 120, NULL, NULL, 3, 'DY01', '2', '1', NULL, '双月刊', 'G4', '0', '0003-0059', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-08', 6, '1', 30, 3, 60, 6),
('YZFX', '${LAST_YEAR}01', '5-10', '01', '01', '0000000019', '01', 'CNY', 5, 260, NULL, NULL, 3, 'DY01', '2', '1', NULL, '周刊', 'TM9', '0', '0005-0010', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-05', 52, '1', 7, 52, 21, 13),
('YZFX', '${LAST_YEAR}01', '5-17', '01', '01', '0000000020', '01', 'CNY', 2, 730, NULL, NULL, 3, 'DY01', '2', '1', NULL, '日刊', 'P7', '0', '0005-0017', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-01-01', 365, '1', 1, 365, 10, 30),
('YZFX', '${YEAR}01', '2-10', '01', '01', '0000000001', '01', 'CNY', 20, 240, NULL, NULL, 3, 'DY01', '1', '1', '核心期刊', '月刊', 'G25', '0', '0002-0010', NULL, '${YEAR}-01-01', NULL, 12, '1', 30, 3, 60, 6),
('YZFX', '${YEAR}01', '2-17', '01', '01', '0000000002', '01', 'CNY', 25, 300, NULL, NULL, 3, 'DY01', '1', '1', '核心期刊', '月刊', 'G35', '0', '0002-0017', NULL, '${YEAR}-01-01', NULL, 12, '1', 30, 3, 60, 6),
('YZFX', '${YEAR}01', '2-24', '01', '01', '0000000003', '01', 'CNY', 30, 180, NULL, NULL, 3, 'DY01', '1', '1', NULL, '双月刊', 'G23', '0', '0002-0024', NULL, '${YEAR}-01-01', NULL, 6, '1', 30, 3, 60, 6),
('YZFX', '${YEAR}01', '2-31', '01', '01', '0000000004', '01', 'CNY', 17, 204, NULL, NULL, 3, 'DY01', '1', '1', NULL, '月刊', 'TP3', '0', '0002-0031', NULL, '${YEAR}-01-01', NULL, 12, '1', 30, 3, 60, 6),
('YZFX', '${YEAR}01', '3-38', '01', '01', '0000000005', '01', 'CNY', 12, 288, NULL, NULL, 3, 'DY01', '1', '1', NULL, '半月刊', 'S', '0', '0003-0038', NULL, '${YEAR}-01-01', NULL, 24, '1', 30, 3, 60, 6),
('YZFX', '${YEAR}01', '5-10', '01', '01', '0000000019', '01', 'CNY', 5, 260, NULL, NULL, 3, 'DY01', '1', '1', NULL, '周刊', 'TM9', '0', '0005-0010', NULL, '${YEAR}-01-01', '${YEAR}-01-05', 52, '1', 7, 52, 21, 13),
('YZFX', '${YEAR}01', '5-17', '01', '01', '0000000020', '01', 'CNY', 2, 730, NULL, NULL, 3, 'DY01', '1', '1', NULL, '日刊', 'P7', '0', '0005-0017', NULL, '${YEAR}-01-01', '${YEAR}-01-01', 365, '1', 1, 365, 10, 30),
('YZFX', '${YEAR}01', '3-45', '01', '01', '0000000006', '01', 'CNY', 28, 336, NULL, NULL, 3, 'DY01', '0', '1', NULL, '月刊', 'TQ', '0', '0003-0045', NULL, NULL, NULL, 12, NULL, 30, 3, 60, 6),
('YZFX', '${YEAR}01', '3-52', '01', '01', '0000000007', '01', 'CNY', 12, 144, NULL, NULL, 3, 'DY01', '0', '1', NULL, '月刊', 'TH', '0', '0003-0052', NULL, NULL, NULL, 12, NULL, 30, 3, 60, 6),
('YZFX', '${YEAR}01', '3-59', '01', '01', '0000000008', '01', 'CNY', 20, 120, NULL, NULL, 3, 'DY01', '0', '1', NULL, '双月刊', 'G4', '3', '0003-0059', NULL, NULL, NULL, 6, NULL, 30, 3, 60, 6),
('YZFX', '${YEAR}01', '4-66', '01', '01', '0000000009', '01', 'CNY', 16, 192, NULL, NULL, 3, 'DY01', '0', '0', NULL, '月刊', 'F0', '0', '0004-0066', NULL, NULL, NULL, 12, NULL, 30, 3, 60, 6),
('YZFX', '${YEAR}01', '4-73', '01', '01', '0000000010', '01', 'CNY', 47, 188, NULL, NULL, 3, 'DY01', '0', '0', NULL, '季刊', 'K9', '0', '0004-0073', NULL, NULL, NULL, 4, NULL, 30, 3, 60, 6),
('TSJK', '${LAST_YEAR}01', '0012-A', '01', '01', '0000000025', '01', 'USD', 96, 384, 96, 384, 2, 'DY01', '3', '0', NULL, '季刊', NULL, '0', '0012-A', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-02-10', 4, '1', 30, 3, 60, 6),
('TSJK', '${LAST_YEAR}01', '0015-B', '01', '01', '0000000026', '01', 'USD', 120, 480, 120, 480, 2, 'DY01', '3', '1', NULL, '季刊', NULL, '0', '0015-B', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-02-10', 4, '1', 30, 3, 60, 6),
('TSJK', '${LAST_YEAR}01', '0018-A', '01', '01', '0000000027', '01', 'USD', 85, 510, 85, 510, 2, 'DY01', '3', '1', NULL, '双月刊', NULL, '0', '0018-A', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-02-10', 6, '1', 30, 3, 60, 6),
('TSJK', '${LAST_YEAR}01', '0021-B', '01', '01', '0000000028', '01', 'USD', 40, 480, 40, 480, 2, 'DY01', '3', '1', NULL, '月刊', NULL, '0', '0021-B', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-02-10', 12, '1', 30, 3, 60, 6),
('TSJK', '${LAST_YEAR}01', '0024-A', '01', '01', '0000000029', '01', 'USD', 110, 440, 110, 440, 2, 'DY01', '3', '1', NULL, '季刊', NULL, '0', '0024-A', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-02-10', 4, '1', 30, 3, 60, 6),
('TSJK', '${LAST_YEAR}01', '0027-B', '01', '01', '0000000030', '01', 'USD', 55, 660, 55, 660, 2, 'DY01', '3', '1', NULL, '月刊', NULL, '0', '0027-B', NULL, '${LAST_YEAR}-01-01', '${LAST_YEAR}-02-10', 12, '1', 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0012-A', '01', '01', '0000000025', '01', 'USD', 101, 404, 101, 404, 2, 'DY01', '0', '1', NULL, '季刊', NULL, '0', '0012-A', NULL, NULL, NULL, 4, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0015-B', '01', '01', '0000000026', '01', 'USD', 125, 500, 125, 500, 2, 'DY01', '0', '1', NULL, '季刊', NULL, '0', '0015-B', NULL, NULL, NULL, 4, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0018-A', '01', '01', '0000000027', '01', 'USD', 90, 540, 90, 540, 2, 'DY01', '0', '1', NULL, '双月刊', NULL, '0', '0018-A', NULL, NULL, NULL, 6, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0021-B', '01', '01', '0000000028', '01', 'USD', 45, 540, 45, 540, 2, 'DY01', '0', '1', NULL, '月刊', NULL, '0', '0021-B', NULL, NULL, NULL, 12, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0024-A', '01', '01', '0000000029', '01', 'USD', 115, 460, 115, 460, 2, 'DY01', '0', '1', NULL, '季刊', NULL, '0', '0024-A', NULL, NULL, NULL, 4, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0027-B', '01', '01', '0000000030', '01', 'USD', 60, 720, 60, 720, 2, 'DY01', '0', '1', NULL, '月刊', NULL, '0', '0027-B', NULL, NULL, NULL, 12, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0030-A', '01', '01', '0000000031', '01', 'USD', 95, 570, 95, 570, 2, 'DY01', '0', '0', '新订外刊', '双月刊', NULL, '0', '0030-A', NULL, NULL, NULL, 6, NULL, 30, 3, 60, 6),
('TSJK', '${YEAR}01', '0033-B', '01', '01', '0000000032', '01', 'USD', 80, 320, 80, 320, 2, 'DY01', '0', '0', '新订外刊', '季刊', NULL, '0', '0033-B', NULL, NULL, NULL, 4, NULL, 30, 3, 60, 6);

-- Subscribers: Chinese titles go to the serials department (checked in there, one copy passed
-- on to the reading room) and to the social-sciences reading room (not checked in); Western
-- titles to the foreign-language reading room (checked in) and the serials department.
INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, peri_region, sub_peri_qty, chk_stat, remark)
SELECT publ_code, peri_ord_year, asord_no, 'QK01', '全年', 2, '1', NULL FROM m_peri_ord_detl WHERE publ_code='YZFX';
INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, peri_region, sub_peri_qty, chk_stat, remark)
SELECT publ_code, peri_ord_year, asord_no, 'SHKX', '全年', 1, '0', '阅览室自取' FROM m_peri_ord_detl WHERE publ_code='YZFX';
INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, peri_region, sub_peri_qty, chk_stat, remark)
SELECT publ_code, peri_ord_year, asord_no, 'WWQK', '全年', 1, '1', NULL FROM m_peri_ord_detl WHERE publ_code='TSJK';
INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, peri_region, sub_peri_qty, chk_stat, remark)
SELECT publ_code, peri_ord_year, asord_no, 'QK01', '全年', 1, '0', NULL FROM m_peri_ord_detl WHERE publ_code='TSJK';

INSERT INTO m_peri_sub_fund_out (publ_code, peri_ord_year, asord_no, location, fund_src_code, sub_qty, sub_amt, remark, bala_flag)
SELECT publ_code, peri_ord_year, asord_no, 'QK01', '01', 2, peri_total_price*2, NULL, '0' FROM m_peri_ord_detl WHERE publ_code='YZFX';
INSERT INTO m_peri_sub_fund_out (publ_code, peri_ord_year, asord_no, location, fund_src_code, sub_qty, sub_amt, remark, bala_flag)
SELECT publ_code, peri_ord_year, asord_no, 'SHKX', '05', 1, peri_total_price, '学科建设', '0' FROM m_peri_ord_detl WHERE publ_code='YZFX';
INSERT INTO m_peri_sub_fund_out (publ_code, peri_ord_year, asord_no, location, fund_src_code, sub_qty, sub_amt, remark, bala_flag)
SELECT publ_code, peri_ord_year, asord_no, 'WWQK', '02', 1, peri_total_price, NULL, '0' FROM m_peri_ord_detl WHERE publ_code='TSJK';
INSERT INTO m_peri_sub_fund_out (publ_code, peri_ord_year, asord_no, location, fund_src_code, sub_qty, sub_amt, remark, bala_flag)
SELECT publ_code, peri_ord_year, asord_no, 'QK01', '02', 1, peri_total_price, NULL, '0' FROM m_peri_ord_detl WHERE publ_code='TSJK';

INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, dist_loca, dist_qty, label)
SELECT publ_code, peri_ord_year, asord_no, 'QK01', 'QK01', 1, NULL FROM m_peri_ord_detl WHERE publ_code='YZFX';
INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, dist_loca, dist_qty, label)
SELECT publ_code, peri_ord_year, asord_no, 'QK01', 'QKYL', 1, kind_no FROM m_peri_ord_detl WHERE publ_code='YZFX';
INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, dist_loca, dist_qty, label)
SELECT publ_code, peri_ord_year, asord_no, 'WWQK', 'WWQK', 1, NULL FROM m_peri_ord_detl WHERE publ_code='TSJK';

-- The totals of copies follow the subscribers.
UPDATE m_peri_ord_detl SET peri_ord_qty=(SELECT sum(S.sub_peri_qty) FROM m_sub_ord_lst S WHERE S.publ_code=m_peri_ord_detl.publ_code AND S.peri_ord_year=m_peri_ord_detl.peri_ord_year AND S.asord_no=m_peri_ord_detl.asord_no);

-- Next year's offer list of the postal distribution bureau, with the titles' pre-order records
-- (summary columns only: ordering one takes its catalogue record through the index).
INSERT INTO peri_asord_cata (publ_code, publ_year_month, asord_end_date, remark) VALUES
('YZFX', '${NEXT_YEAR}01', '${YEAR}-11-30', '${NEXT_YEAR}年度报刊征订目录');
INSERT INTO asord_marc (asord_marc_rec_no, doc_type_code, lang_code, country_code, marc_type, cata_oper, cata_date, m_title, m_isbn) VALUES
('0000000001', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '图书馆学研究进展', NULL),
('0000000002', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '现代情报技术', NULL),
('0000000003', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '数字出版与传播', NULL),
('0000000004', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '计算机应用与软件', NULL),
('0000000005', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '中国农业科学进展', NULL),
('0000000006', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '化学工程学报', NULL),
('0000000007', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '机械设计与制造', NULL),
('0000000008', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '现代教育管理', NULL),
('0000000009', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '经济理论与实践', NULL),
('0000000010', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '中国历史地理评论', NULL),
('0000000011', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '环境科学前沿', NULL),
('0000000012', '11', 'chi', 'CN', 'C', 'DY01', '${LAST_YEAR}-11-20', '中医药研究', NULL);
INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no, asord_marc_rec_no, money_code, peri_price, peri_year_price, fore_price, fore_total_price, remark, flag, publ_freq, kind_no, carrier_code, fmt_asord_no) VALUES
('YZFX', '${NEXT_YEAR}01', '2-10', '0000000001', 'CNY', 21, 252, NULL, NULL, NULL, '0', '月刊', 'G25', '01', '0002-0010'),
('YZFX', '${NEXT_YEAR}01', '2-17', '0000000002', 'CNY', 28, 336, NULL, NULL, NULL, '0', '月刊', 'G35', '01', '0002-0017'),
('YZFX', '${NEXT_YEAR}01', '2-24', '0000000003', 'CNY', 33, 198, NULL, NULL, NULL, '0', '双月刊', 'G23', '01', '0002-0024'),
('YZFX', '${NEXT_YEAR}01', '2-31', '0000000004', 'CNY', 18, 216, NULL, NULL, NULL, '0', '月刊', 'TP3', '01', '0002-0031'),
('YZFX', '${NEXT_YEAR}01', '3-38', '0000000005', 'CNY', 15, 360, NULL, NULL, NULL, '0', '半月刊', 'S', '01', '0003-0038'),
('YZFX', '${NEXT_YEAR}01', '3-45', '0000000006', 'CNY', 31, 372, NULL, NULL, NULL, '0', '月刊', 'TQ', '01', '0003-0045'),
('YZFX', '${NEXT_YEAR}01', '3-52', '0000000007', 'CNY', 13, 156, NULL, NULL, NULL, '0', '月刊', 'TH', '01', '0003-0052'),
('YZFX', '${NEXT_YEAR}01', '3-59', '0000000008', 'CNY', 23, 138, NULL, NULL, NULL, '0', '双月刊', 'G4', '01', '0003-0059'),
('YZFX', '${NEXT_YEAR}01', '4-66', '0000000009', 'CNY', 19, 228, NULL, NULL, NULL, '0', '月刊', 'F0', '01', '0004-0066'),
('YZFX', '${NEXT_YEAR}01', '4-73', '0000000010', 'CNY', 48, 192, NULL, NULL, NULL, '0', '季刊', 'K9', '01', '0004-0073'),
('YZFX', '${NEXT_YEAR}01', '4-80', '0000000011', 'CNY', 25, 300, NULL, NULL, NULL, '0', '月刊', 'X', '01', '0004-0080'),
('YZFX', '${NEXT_YEAR}01', '4-87', '0000000012', 'CNY', 17, 204, NULL, NULL, NULL, '0', '月刊', 'R2', '01', '0004-0087');
UPDATE reg_marc_number SET max_rec_no=12 WHERE marc_kind='asord_marc';
