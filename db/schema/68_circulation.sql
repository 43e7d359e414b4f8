-- Circulation tables of the library system that the serials client reads:
-- readers (keyed by document number), reader cards (keyed by the card's
-- barcode) and current loans. A volume on loan may not be removed from
-- the item table, and a reader with a card may not be removed.

CREATE TABLE reader (
    reader_id      VARCHAR(20)   NOT NULL,
    reader_name    VARCHAR(60),
    reader_type    VARCHAR(10),
    dept_code      VARCHAR(10),
    reader_email   VARCHAR(100),
    reader_tele    VARCHAR(40),
    reader_flag    VARCHAR(1),
    remark         VARCHAR(200),
    CONSTRAINT PK_READER PRIMARY KEY (reader_id)
);

CREATE TABLE reader_cert (
    reader_bar_code  VARCHAR(20)  NOT NULL,
    reader_id        VARCHAR(20)  NOT NULL,
    cert_stat        VARCHAR(1),
    cert_date        VARCHAR(10),
    CONSTRAINT PK_READER_CERT PRIMARY KEY (reader_bar_code),
    CONSTRAINT FK_RDRCERT_RE_READER FOREIGN KEY (reader_id) REFERENCES reader (reader_id)
);
CREATE INDEX READER_CERT_ID_IDX ON reader_cert (reader_id);

-- Current loans, one row per volume on loan.
CREATE TABLE lend_lst (
    prop_no          VARCHAR(20)  NOT NULL,
    reader_bar_code  VARCHAR(20),
    lend_date        VARCHAR(19),
    due_date         VARCHAR(10),
    location         VARCHAR(20),
    wkr_no           VARCHAR(20),
    CONSTRAINT PK_LEND_LST PRIMARY KEY (prop_no),
    CONSTRAINT FK_LEND_RE_ITEM FOREIGN KEY (prop_no) REFERENCES item (prop_no)
);
CREATE INDEX LEND_LST_READER_IDX ON lend_lst (reader_bar_code);
