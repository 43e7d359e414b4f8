-- Binding demonstration: last year's check-in of four of the bureau's titles at the serials
-- department, as check-in leaves it (configuration, twelve monthly issues, one copy each of the
-- two subscribed, so none finished), in three states: two titles ready to bind, one whose two volumes are at the binder in this
-- year's first batch, one whose volumes came back last year (the first accessioned as
-- Q0000001 with call number TQ/7, the second checked and waiting). ZD01 and ZG01 take property
-- numbers from the department's sections. Issue keys start at 0000009001, clear of the keys
-- prediction gives out from 0000000001.

INSERT INTO m_peri_chk_cfg (publ_code, peri_ord_year, asord_no, location, begin_date, end_date, auto_update_loca, beg_vol, beg_issue, beg_total_issue, bind_ysno, bind_copy_qty, pres_copy_qty, exch_copy_qty, issue_keep_qty, color, frame, finish_flag, issue_continue, vol_beg_issue) VALUES
('YZFX', '${LAST_YEAR}01', '2-10', 'QK01', '${LAST_YEAR}-01-01', '${LAST_YEAR}-12-31', '1', 41, 1, NULL, '1', 1, 0, 0, 0, '深蓝', '精装', '0', '0', NULL),
('YZFX', '${LAST_YEAR}01', '2-17', 'QK01', '${LAST_YEAR}-01-01', '${LAST_YEAR}-12-31', '1', 29, 1, NULL, '1', 1, 0, 0, 0, '深蓝', '精装', '0', '0', NULL),
('YZFX', '${LAST_YEAR}01', '2-31', 'QK01', '${LAST_YEAR}-01-01', '${LAST_YEAR}-12-31', '1', 35, 1, NULL, '1', 1, 0, 0, 0, '深蓝', '精装', '0', '0', NULL),
('YZFX', '${LAST_YEAR}01', '3-45', 'QK01', '${LAST_YEAR}-01-01', '${LAST_YEAR}-12-31', '1', 52, 1, NULL, '1', 1, 0, 0, 0, '深蓝', '精装', '0', '0', NULL);

INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, cover_vol, cover_issue, cover_issue_total, carrier_code, expect_date, aslack_date, publ_year, peri_no, finish_flag, peri_type) VALUES
('0000009001', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '1', NULL, '01', '${LAST_YEAR}-01-08', '${LAST_YEAR}-01-08', '${LAST_YEAR}', 1, '0', '0'),
('0000009002', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '2', NULL, '01', '${LAST_YEAR}-02-08', '${LAST_YEAR}-02-08', '${LAST_YEAR}', 2, '0', '0'),
('0000009003', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '3', NULL, '01', '${LAST_YEAR}-03-08', '${LAST_YEAR}-03-08', '${LAST_YEAR}', 3, '0', '0'),
('0000009004', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '4', NULL, '01', '${LAST_YEAR}-04-08', '${LAST_YEAR}-04-08', '${LAST_YEAR}', 4, '0', '0'),
('0000009005', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '5', NULL, '01', '${LAST_YEAR}-05-08', '${LAST_YEAR}-05-08', '${LAST_YEAR}', 5, '0', '0'),
('0000009006', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '6', NULL, '01', '${LAST_YEAR}-06-08', '${LAST_YEAR}-06-08', '${LAST_YEAR}', 6, '0', '0'),
('0000009007', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '7', NULL, '01', '${LAST_YEAR}-07-08', '${LAST_YEAR}-07-08', '${LAST_YEAR}', 7, '0', '0'),
('0000009008', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '8', NULL, '01', '${LAST_YEAR}-08-08', '${LAST_YEAR}-08-08', '${LAST_YEAR}', 8, '0', '0'),
('0000009009', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '9', NULL, '01', '${LAST_YEAR}-09-08', '${LAST_YEAR}-09-08', '${LAST_YEAR}', 9, '0', '0'),
('0000009010', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '10', NULL, '01', '${LAST_YEAR}-10-08', '${LAST_YEAR}-10-08', '${LAST_YEAR}', 10, '0', '0'),
('0000009011', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '11', NULL, '01', '${LAST_YEAR}-11-08', '${LAST_YEAR}-11-08', '${LAST_YEAR}', 11, '0', '0'),
('0000009012', 'YZFX', '${LAST_YEAR}01', '2-10', '41', '12', NULL, '01', '${LAST_YEAR}-12-08', '${LAST_YEAR}-12-08', '${LAST_YEAR}', 12, '0', '0'),
('0000009013', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '1', NULL, '01', '${LAST_YEAR}-01-08', '${LAST_YEAR}-01-08', '${LAST_YEAR}', 1, '0', '0'),
('0000009014', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '2', NULL, '01', '${LAST_YEAR}-02-08', '${LAST_YEAR}-02-08', '${LAST_YEAR}', 2, '0', '0'),
('0000009015', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '3', NULL, '01', '${LAST_YEAR}-03-08', '${LAST_YEAR}-03-08', '${LAST_YEAR}', 3, '0', '0'),
('0000009016', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '4', NULL, '01', '${LAST_YEAR}-04-08', '${LAST_YEAR}-04-08', '${LAST_YEAR}', 4, '0', '0'),
('0000009017', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '5', NULL, '01', '${LAST_YEAR}-05-08', '${LAST_YEAR}-05-08', '${LAST_YEAR}', 5, '0', '0'),
('0000009018', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '6', NULL, '01', '${LAST_YEAR}-06-08', '${LAST_YEAR}-06-08', '${LAST_YEAR}', 6, '0', '0'),
('0000009019', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '7', NULL, '01', '${LAST_YEAR}-07-08', '${LAST_YEAR}-07-08', '${LAST_YEAR}', 7, '0', '0'),
('0000009020', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '8', NULL, '01', '${LAST_YEAR}-08-08', '${LAST_YEAR}-08-08', '${LAST_YEAR}', 8, '0', '0'),
('0000009021', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '9', NULL, '01', '${LAST_YEAR}-09-08', '${LAST_YEAR}-09-08', '${LAST_YEAR}', 9, '0', '0'),
('0000009022', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '10', NULL, '01', '${LAST_YEAR}-10-08', '${LAST_YEAR}-10-08', '${LAST_YEAR}', 10, '0', '0'),
('0000009023', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '11', NULL, '01', '${LAST_YEAR}-11-08', '${LAST_YEAR}-11-08', '${LAST_YEAR}', 11, '0', '0'),
('0000009024', 'YZFX', '${LAST_YEAR}01', '2-17', '29', '12', NULL, '01', '${LAST_YEAR}-12-08', '${LAST_YEAR}-12-08', '${LAST_YEAR}', 12, '0', '0'),
('0000009025', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '1', NULL, '01', '${LAST_YEAR}-01-08', '${LAST_YEAR}-01-08', '${LAST_YEAR}', 1, '0', '0'),
('0000009026', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '2', NULL, '01', '${LAST_YEAR}-02-08', '${LAST_YEAR}-02-08', '${LAST_YEAR}', 2, '0', '0'),
('0000009027', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '3', NULL, '01', '${LAST_YEAR}-03-08', '${LAST_YEAR}-03-08', '${LAST_YEAR}', 3, '0', '0'),
('0000009028', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '4', NULL, '01', '${LAST_YEAR}-04-08', '${LAST_YEAR}-04-08', '${LAST_YEAR}', 4, '0', '0'),
('0000009029', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '5', NULL, '01', '${LAST_YEAR}-05-08', '${LAST_YEAR}-05-08', '${LAST_YEAR}', 5, '0', '0'),
('0000009030', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '6', NULL, '01', '${LAST_YEAR}-06-08', '${LAST_YEAR}-06-08', '${LAST_YEAR}', 6, '0', '0'),
('0000009031', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '7', NULL, '01', '${LAST_YEAR}-07-08', '${LAST_YEAR}-07-08', '${LAST_YEAR}', 7, '0', '0'),
('0000009032', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '8', NULL, '01', '${LAST_YEAR}-08-08', '${LAST_YEAR}-08-08', '${LAST_YEAR}', 8, '0', '0'),
('0000009033', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '9', NULL, '01', '${LAST_YEAR}-09-08', '${LAST_YEAR}-09-08', '${LAST_YEAR}', 9, '0', '0'),
('0000009034', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '10', NULL, '01', '${LAST_YEAR}-10-08', '${LAST_YEAR}-10-08', '${LAST_YEAR}', 10, '0', '0'),
('0000009035', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '11', NULL, '01', '${LAST_YEAR}-11-08', '${LAST_YEAR}-11-08', '${LAST_YEAR}', 11, '0', '0'),
('0000009036', 'YZFX', '${LAST_YEAR}01', '2-31', '35', '12', NULL, '01', '${LAST_YEAR}-12-08', '${LAST_YEAR}-12-08', '${LAST_YEAR}', 12, '0', '0'),
('0000009037', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '1', NULL, '01', '${LAST_YEAR}-01-08', '${LAST_YEAR}-01-08', '${LAST_YEAR}', 1, '0', '0'),
('0000009038', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '2', NULL, '01', '${LAST_YEAR}-02-08', '${LAST_YEAR}-02-08', '${LAST_YEAR}', 2, '0', '0'),
('0000009039', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '3', NULL, '01', '${LAST_YEAR}-03-08', '${LAST_YEAR}-03-08', '${LAST_YEAR}', 3, '0', '0'),
('0000009040', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '4', NULL, '01', '${LAST_YEAR}-04-08', '${LAST_YEAR}-04-08', '${LAST_YEAR}', 4, '0', '0'),
('0000009041', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '5', NULL, '01', '${LAST_YEAR}-05-08', '${LAST_YEAR}-05-08', '${LAST_YEAR}', 5, '0', '0'),
('0000009042', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '6', NULL, '01', '${LAST_YEAR}-06-08', '${LAST_YEAR}-06-08', '${LAST_YEAR}', 6, '0', '0'),
('0000009043', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '7', NULL, '01', '${LAST_YEAR}-07-08', '${LAST_YEAR}-07-08', '${LAST_YEAR}', 7, '0', '0'),
('0000009044', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '8', NULL, '01', '${LAST_YEAR}-08-08', '${LAST_YEAR}-08-08', '${LAST_YEAR}', 8, '0', '0'),
('0000009045', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '9', NULL, '01', '${LAST_YEAR}-09-08', '${LAST_YEAR}-09-08', '${LAST_YEAR}', 9, '0', '0'),
('0000009046', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '10', NULL, '01', '${LAST_YEAR}-10-08', '${LAST_YEAR}-10-08', '${LAST_YEAR}', 10, '0', '0'),
('0000009047', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '11', NULL, '01', '${LAST_YEAR}-11-08', '${LAST_YEAR}-11-08', '${LAST_YEAR}', 11, '0', '0'),
('0000009048', 'YZFX', '${LAST_YEAR}01', '3-45', '52', '12', NULL, '01', '${LAST_YEAR}-12-08', '${LAST_YEAR}-12-08', '${LAST_YEAR}', 12, '0', '0');

INSERT INTO m_peri_item (peri_id, location, dis_location, item_no, item_stat, chk_date, wkr_no, bind_no, remark) VALUES
('0000009001', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-01-09 10:20:00', 'JD01', NULL, NULL),
('0000009002', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-02-09 10:20:00', 'JD01', NULL, NULL),
('0000009003', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-03-09 10:20:00', 'JD01', NULL, NULL),
('0000009004', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-04-09 10:20:00', 'JD01', NULL, NULL),
('0000009005', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-05-09 10:20:00', 'JD01', NULL, NULL),
('0000009006', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-06-09 10:20:00', 'JD01', NULL, NULL),
('0000009007', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-07-09 10:20:00', 'JD01', NULL, NULL),
('0000009008', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-08-09 10:20:00', 'JD01', NULL, NULL),
('0000009009', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-09-09 10:20:00', 'JD01', NULL, NULL),
('0000009010', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-10-09 10:20:00', 'JD01', NULL, NULL),
('0000009011', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-11-09 10:20:00', 'JD01', NULL, NULL),
('0000009012', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-12-09 10:20:00', 'JD01', NULL, NULL),
('0000009013', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-01-09 10:20:00', 'JD01', NULL, NULL),
('0000009014', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-02-09 10:20:00', 'JD01', NULL, NULL),
('0000009015', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-03-09 10:20:00', 'JD01', NULL, NULL),
('0000009016', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-04-09 10:20:00', 'JD01', NULL, NULL),
('0000009017', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-05-09 10:20:00', 'JD01', NULL, NULL),
('0000009018', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-06-09 10:20:00', 'JD01', NULL, NULL),
('0000009019', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-07-09 10:20:00', 'JD01', NULL, NULL),
('0000009020', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-08-09 10:20:00', 'JD01', NULL, NULL),
('0000009021', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-09-09 10:20:00', 'JD01', NULL, NULL),
('0000009022', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-10-09 10:20:00', 'JD01', NULL, NULL),
('0000009023', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-11-09 10:20:00', 'JD01', NULL, NULL),
('0000009024', 'QK01', 'QK01', 1, '0', '${LAST_YEAR}-12-09 10:20:00', 'JD01', NULL, NULL),
('0000009025', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-01-09 10:20:00', 'JD01', '${YEAR}000001', '${YEAR}000001'),
('0000009026', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-02-09 10:20:00', 'JD01', '${YEAR}000001', '${YEAR}000001'),
('0000009027', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-03-09 10:20:00', 'JD01', '${YEAR}000001', '${YEAR}000001'),
('0000009028', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-04-09 10:20:00', 'JD01', '${YEAR}000001', '${YEAR}000001'),
('0000009029', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-05-09 10:20:00', 'JD01', '${YEAR}000001', '${YEAR}000001'),
('0000009030', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-06-09 10:20:00', 'JD01', '${YEAR}000001', '${YEAR}000001'),
('0000009031', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-07-09 10:20:00', 'JD01', '${YEAR}000002', '${YEAR}000002'),
('0000009032', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-08-09 10:20:00', 'JD01', '${YEAR}000002', '${YEAR}000002'),
('0000009033', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-09-09 10:20:00', 'JD01', '${YEAR}000002', '${YEAR}000002'),
('0000009034', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-10-09 10:20:00', 'JD01', '${YEAR}000002', '${YEAR}000002'),
('0000009035', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-11-09 10:20:00', 'JD01', '${YEAR}000002', '${YEAR}000002'),
('0000009036', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-12-09 10:20:00', 'JD01', '${YEAR}000002', '${YEAR}000002'),
('0000009037', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-01-09 10:20:00', 'JD01', '${LAST_YEAR}000001', '${LAST_YEAR}000001'),
('0000009038', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-02-09 10:20:00', 'JD01', '${LAST_YEAR}000001', '${LAST_YEAR}000001'),
('0000009039', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-03-09 10:20:00', 'JD01', '${LAST_YEAR}000001', '${LAST_YEAR}000001'),
('0000009040', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-04-09 10:20:00', 'JD01', '${LAST_YEAR}000001', '${LAST_YEAR}000001'),
('0000009041', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-05-09 10:20:00', 'JD01', '${LAST_YEAR}000001', '${LAST_YEAR}000001'),
('0000009042', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-06-09 10:20:00', 'JD01', '${LAST_YEAR}000001', '${LAST_YEAR}000001'),
('0000009043', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-07-09 10:20:00', 'JD01', '${LAST_YEAR}000002', '${LAST_YEAR}000002'),
('0000009044', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-08-09 10:20:00', 'JD01', '${LAST_YEAR}000002', '${LAST_YEAR}000002'),
('0000009045', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-09-09 10:20:00', 'JD01', '${LAST_YEAR}000002', '${LAST_YEAR}000002'),
('0000009046', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-10-09 10:20:00', 'JD01', '${LAST_YEAR}000002', '${LAST_YEAR}000002'),
('0000009047', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-11-09 10:20:00', 'JD01', '${LAST_YEAR}000002', '${LAST_YEAR}000002'),
('0000009048', 'QK01', 'QK01', 1, '3', '${LAST_YEAR}-12-09 10:20:00', 'JD01', '${LAST_YEAR}000002', '${LAST_YEAR}000002');

INSERT INTO m_bind_batch_lst (bookbinder_code, bind_batch_no, remark, send_bind_date, resp_wkr) VALUES
('ZD01', '${LAST_YEAR}-11', '上年度第一批', '${LAST_YEAR}-11-20', 'ZD01'),
('ZD01', '${YEAR}-01', '本年度第一批', '${YEAR}-01-05', 'ZD01'),
('ZD02', '${YEAR}-01', '本年度备用批次', NULL, 'ZD01');

INSERT INTO m_peri_bind_detl (bind_no, marc_rec_no, get_mode_code, carrier_code, bookbinder_code, bind_batch_no, bound_flag, m_title, bgn_end_year, bgn_end_vol, bound_edit_price, call_no, m_isbn, qty_of_bind, book_size, color, frame, bound_price, remark, bind_chk_wkr, bind_chk_date) VALUES
('${YEAR}000001', '0000000004', '01', '01', 'ZD01', '${YEAR}-01', 0, '计算机应用与软件', '${LAST_YEAR}', '35(1)-35(6)', 90.00, NULL, NULL, 6, '16开', '深蓝', '精装', 18.00, NULL, NULL, NULL),
('${YEAR}000002', '0000000004', '01', '01', 'ZD01', '${YEAR}-01', 0, '计算机应用与软件', '${LAST_YEAR}', '35(7)-35(12)', 90.00, NULL, NULL, 6, '16开', '深蓝', '精装', 18.00, NULL, NULL, NULL),
('${LAST_YEAR}000001', '0000000006', '01', '01', 'ZD01', '${LAST_YEAR}-11', 2, '化学工程学报', '${LAST_YEAR}', '52(1)-52(6)', 168.00, 'TQ/7', NULL, 6, '16开', '深蓝', '精装', 18.00, NULL, 'ZD01', '${LAST_YEAR}-12-20'),
('${LAST_YEAR}000002', '0000000006', '01', '01', 'ZD01', '${LAST_YEAR}-11', 1, '化学工程学报', '${LAST_YEAR}', '52(7)-52(12)', 168.00, 'TQ/7', NULL, 6, '16开', '深蓝', '精装', 18.00, NULL, 'ZD01', '${LAST_YEAR}-12-20');

INSERT INTO section_lst (section_code, section_name, class_type_code) VALUES
('QKH', '期刊部合订本', '11'),
('QKD', '期刊部单册', '15');

INSERT INTO section_wkr (wkr, class_type_code, section_code) VALUES
('ZD01', '11', 'QKH'), ('ZD01', '15', 'QKD'),
('ZG01', '11', 'QKH'), ('ZG01', '15', 'QKD');

INSERT INTO section_max_number (section_code, min_prop_no, max_prop_no) VALUES
('QKH', 2, 9999999),
('QKD', 1, 999999);

INSERT INTO m_peri_check_acct (peri_batch_no, class_type_code, peri_batch_date, resp_wkr, remark, check_type) VALUES
('QH${LAST_YEAR}01', '11', '${LAST_YEAR}-12-20', 'ZD01', '上年度合订本', 0),
('QH${YEAR}01', '11', '${YEAR}-01-05', 'ZD01', '本年度合订本', 0),
('QD${YEAR}01', '15', '${YEAR}-01-05', 'ZD01', '本年度单册', 1);

INSERT INTO indi_acct (prop_no, bar_code, call_no, book_stat_code, location, dis_location, marc_rec_no, year, vol_peri, price, carrier_code, get_mode_code, asord_no, chk_batch_no, in_date, rec_flag_upt_date, attachment, resp_wkr, remark) VALUES
('Q0000001', '31000001', 'TQ/7', '可借', 'QK01', 'QK01', '0000000006', '${LAST_YEAR}', '52(1)-52(6)', 168.00, '01', '01', '${LAST_YEAR}000001', 'QH${LAST_YEAR}01', '${LAST_YEAR}-12-20', '${LAST_YEAR}-12-20 15:10:00', NULL, 'ZD01', NULL);

INSERT INTO item (prop_no, bar_code, call_no, book_stat_code, location, dis_location, marc_rec_no, year, vol_peri, price, carrier_code, get_mode_code, asord_no, in_date, attachment, resp_wkr, remark) VALUES
('Q0000001', '31000001', 'TQ/7', '可借', 'QK01', 'QK01', '0000000006', '${LAST_YEAR}', '52(1)-52(6)', 168.00, '01', '01', '${LAST_YEAR}000001', '${LAST_YEAR}-12-20', NULL, 'ZD01', NULL);

-- Call numbers given out and the class series they came from.
INSERT INTO call_no_lst (call_no, marc_rec_no, cls_id) VALUES
('TQ/7', '0000000006', 'CLC');

INSERT INTO max_class_serial (doc_type_code, cls_id, cls_no, grp_code, class_prefix, max_serial) VALUES
('11', 'CLC', 'TQ', '01', NULL, 7),
('11', 'CLC', 'TP3', '01', NULL, 41),
('11', 'CLC', 'G25', '01', NULL, 12),
('11', 'CLC', 'G35', '01', NULL, 3);
