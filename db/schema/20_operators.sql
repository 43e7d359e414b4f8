-- Operators and what they may do: the operator table (password kept as a
-- salted slow hash of its upper-case form, so that it is still compared
-- without regard to case), the workstation groups an
-- operator may log in from and the location of each group, the operator's
-- right codes and the locations the operator may work on.

-- wkr_flag '0' = operator not in use, code2 '1' = holds the extra (kind 5) right.
-- password: plain text of a row written before hashes were kept, turned into
-- pwd_hash at the operator's next login; pwd_change '1' = must change the
-- password before logging in; login_fails = failed logins in a row.
CREATE TABLE lib_worker (
    wkr_no     VARCHAR(20)  NOT NULL,
    wkr_name   VARCHAR(40),
    password   VARCHAR(40),
    wkr_flag   VARCHAR(1),
    code1      VARCHAR(10),
    code2      VARCHAR(1),
    wkr_email  VARCHAR(100),
    wkr_tele   VARCHAR(40),
    dept_code  VARCHAR(10),
    remark     VARCHAR(200),
    pwd_hash   VARCHAR(128),
    pwd_change VARCHAR(1),
    login_fails INTEGER DEFAULT 0,
    CONSTRAINT PK_LIB_WORKER PRIMARY KEY (wkr_no)
);

-- Workstation groups (computer names) an operator may log in from.
CREATE TABLE user_comp_lst (
    wkr_no     VARCHAR(20)  NOT NULL,
    comp_name  VARCHAR(60)  NOT NULL,
    CONSTRAINT PK_USER_COMP_LST PRIMARY KEY (wkr_no, comp_name)
);

-- The location a workstation group works for.
CREATE TABLE loca_comp_lst (
    comp_name  VARCHAR(60)  NOT NULL,
    location   VARCHAR(20),
    CONSTRAINT PK_LOCA_COMP_LST PRIMARY KEY (comp_name)
);

-- Right codes of an operator, one row per right ("5000" = serials client).
CREATE TABLE user_auth_lst (
    wkr_no     VARCHAR(20)  NOT NULL,
    modu_code  VARCHAR(10)  NOT NULL,
    CONSTRAINT PK_USER_AUTH_LST PRIMARY KEY (wkr_no, modu_code)
);

-- Locations (subscribers) an operator may work on.
CREATE TABLE user_location (
    wkr_no    VARCHAR(20)  NOT NULL,
    location  VARCHAR(20)  NOT NULL,
    CONSTRAINT PK_USER_LOCATION PRIMARY KEY (wkr_no, location)
);
