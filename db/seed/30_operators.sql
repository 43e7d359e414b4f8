-- The built-in administrator ROOT, password ROOT until its first login, which
-- must change it. The installer turns the password into its hash before the
-- database is committed. ROOT passes every right check and needs no
-- workstation. The row of right 5000 (serials client) is kept anyway so
-- that right lists show it.

INSERT INTO lib_worker (wkr_no, wkr_name, password, wkr_flag, code2, pwd_change) VALUES
('ROOT', '系统管理员', 'ROOT', '1', '1', '1');

INSERT INTO user_auth_lst (wkr_no, modu_code) VALUES
('ROOT', '5000');
