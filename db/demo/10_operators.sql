-- Demonstration operators, so that a new user can log in as a librarian and not only as ROOT.
-- Every password is "1234". The workstation group DEMO is this machine (its name is filled in
-- when the database is created), working for the serials department QK01; a second group is
-- the periodicals reading room's desk.

INSERT INTO lib_worker (wkr_no, wkr_name, password, wkr_flag, code2, wkr_email, wkr_tele, remark) VALUES
('DY01', '王丽', '1234', '1', '0', 'wangli@lib.example.edu.cn', '010-62751001', '期刊采访馆员'),
('JD01', '陈晓峰', '1234', '1', '0', 'chenxf@lib.example.edu.cn', '010-62751002', '期刊签收馆员'),
('ZD01', '刘芳', '1234', '1', '0', 'liufang@lib.example.edu.cn', '010-62751003', '装订典藏馆员'),
('ZG01', '张建国', '1234', '1', '1', 'zhangjg@lib.example.edu.cn', '010-62751000', '期刊部主任'),
('LS01', '赵敏', '1234', '0', '0', 'zhaomin@lib.example.edu.cn', '010-62751004', '已调离，停用'),
('LT01', '孙磊', '1234', '1', '0', 'sunlei@lib.example.edu.cn', '010-62751005', '流通部馆员，无期刊权限');

INSERT INTO loca_comp_lst (comp_name, location) VALUES
('${COMPUTER_NAME}', 'QK01'),
('QKYL-DESK', 'QKYL');

INSERT INTO user_comp_lst (wkr_no, comp_name) VALUES
('DY01', '${COMPUTER_NAME}'),
('JD01', 'QKYL-DESK'),
('JD01', '${COMPUTER_NAME}'),
('ZD01', '${COMPUTER_NAME}'),
('ZG01', '${COMPUTER_NAME}'),
('LS01', '${COMPUTER_NAME}'),
('LT01', '${COMPUTER_NAME}');

-- Rights: 5000 the serials client, 5001 ordering, 5002 check-in, 5003 claims, 5004 binding,
-- 5005 accession, 5006 statistics, 5007 operation log, 5008 catalogue, 5009 maintenance.
INSERT INTO user_auth_lst (wkr_no, modu_code) VALUES
('DY01', '5000'), ('DY01', '5001'), ('DY01', '5006'), ('DY01', '5008'),
('JD01', '5000'), ('JD01', '5002'), ('JD01', '5003'), ('JD01', '5008'),
('ZD01', '5000'), ('ZD01', '5004'), ('ZD01', '5005'), ('ZD01', '5008'),
('ZG01', '5000'), ('ZG01', '5001'), ('ZG01', '5002'), ('ZG01', '5003'), ('ZG01', '5004'),
('ZG01', '5005'), ('ZG01', '5006'), ('ZG01', '5007'), ('ZG01', '5008'), ('ZG01', '5009'),
('LS01', '5000'),
('LT01', '5008');

INSERT INTO user_location (wkr_no, location) VALUES
('DY01', 'QK01'), ('DY01', 'QKYL'), ('DY01', 'WWQK'),
('JD01', 'QK01'), ('JD01', 'QKYL'),
('ZD01', 'QK01'), ('ZD01', 'QKSK'),
('ZG01', 'QK01'), ('ZG01', 'QKYL'), ('ZG01', 'WWQK'), ('ZG01', 'QKSK');
