-- Operators' passwords as salted hashes: plain-text rows are turned into
-- hashes at each operator's next login.
-- pwd_change '1' = must change the password before logging in;
-- login_fails = failed logins in a row (each try after the fifth is slowed).
ALTER TABLE lib_worker ADD COLUMN pwd_hash VARCHAR(128);
ALTER TABLE lib_worker ADD COLUMN pwd_change VARCHAR(1);
ALTER TABLE lib_worker ADD COLUMN login_fails INTEGER DEFAULT 0;

-- A ROOT that still has the installed password must change it at its next login.
UPDATE lib_worker SET pwd_change='1' WHERE wkr_no='ROOT' AND upper(password)='ROOT';

-- Failed logins and the raw SQL of the maintenance verbs in the operation log.
INSERT INTO log_type (log_type, log_name) VALUES
('50060', '操作员登录失败'),
('50061', '维护SQL');
