-- System tables: the one-row constant table, the coded message texts shown
-- by the message box, and the numbered system parameters read at start-up.

-- One row ('X'): statements select constants and functions from it.
CREATE TABLE dual (
    dummy VARCHAR(1)
);

-- Message texts by code. The first letter of msg_id is the box type
-- (E error, I information, W warning, Q question, S select). In msg_content
-- %S marks where the caller's detail goes and \N a line break.
CREATE TABLE msg_mst (
    msg_id      VARCHAR(6)   NOT NULL,
    msg_content VARCHAR(400),
    msg_sound   VARCHAR(100),
    CONSTRAINT PK_MSG_MST PRIMARY KEY (msg_id)
);

-- System parameters: the code is a number held as text, the value is text
-- that the reader converts by code. sys_para_name says what it is for.
CREATE TABLE sys_comm_para (
    sys_para_code  VARCHAR(10)  NOT NULL,
    sys_para_value VARCHAR(400),
    sys_para_name  VARCHAR(100),
    CONSTRAINT PK_SYS_COMM_PARA PRIMARY KEY (sys_para_code)
);

-- The schema version of the database: one row, written by init-db and by each upgrade step.
-- A database without this table was made before versions were recorded (version 1).
CREATE TABLE sys_schema_version (
    version INTEGER NOT NULL
);
