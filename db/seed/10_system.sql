-- Constant row, system parameters and record-number counters of a new
-- database.

INSERT INTO dual (dummy) VALUES ('X');

-- 1: title of every message box. 2: the library's name on printed lists
-- and mails. 16: class serial series kept per library group ('1') or one
-- series for all ('0'). 20: call-number entry, first character 'C' = Chinese
-- author-number tables, otherwise the Western table. 21: separator between
-- class number and book number.
INSERT INTO sys_comm_para (sys_para_code, sys_para_value, sys_para_name) VALUES
('1', '期刊管理系统', '消息框标题'),
('2', '大学图书馆', '本馆名称（打印清单及邮件使用）'),
('16', '0', '种次号按馆藏组分别取号（1 是，0 否）'),
('20', 'C', '索书号著者号取号方式（首字符为C用中文著者号表，否则用西文著者号表）'),
('21', '/', '索书号中分类号与书次号之间的分隔符');

-- No record numbers issued yet.
INSERT INTO reg_marc_number (marc_kind, max_rec_no) VALUES
('marc', 0),
('asord_marc', 0),
('au_marc', 0);
