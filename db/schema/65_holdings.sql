-- Holdings: the item and property-account tables shared with the rest of
-- the library system (one row per accessioned volume, keyed by property
-- number), the accession batches of serials (check accounts) and the
-- shared input batches, call numbers given out per record with the class
-- serial series and the author-number tables used to build them, and the
-- property-number sections from which operators take property numbers.

-- Items as circulation sees them. book_stat_code is the loan status,
-- for a bound volume asord_no holds its binding number.
CREATE TABLE item (
    prop_no            VARCHAR(20)    NOT NULL,
    bar_code           VARCHAR(20),
    call_no            VARCHAR(40),
    book_stat_code     VARCHAR(10),
    location           VARCHAR(20),
    dis_location       VARCHAR(20),
    marc_rec_no        VARCHAR(10),
    year               VARCHAR(20),
    vol_peri           VARCHAR(100),
    price              NUMERIC(12,2),
    carrier_code       VARCHAR(10),
    get_mode_code      VARCHAR(10),
    circ_type_code     VARCHAR(10),
    lend_grd           VARCHAR(10),
    asord_no           VARCHAR(40),
    in_date            VARCHAR(10),
    attachment         VARCHAR(100),
    resp_wkr           VARCHAR(20),
    remark             VARCHAR(200),
    CONSTRAINT PK_ITEM PRIMARY KEY (prop_no)
);
CREATE INDEX ITEM_BAR_CODE_IDX ON item (bar_code);
CREATE INDEX ITEM_MARC_REC_NO_IDX ON item (marc_rec_no);
CREATE INDEX ITEM_ASORD_NO_IDX ON item (asord_no);

-- Property account (accession register). Barcodes are unique here.
CREATE TABLE indi_acct (
    prop_no            VARCHAR(20)    NOT NULL,
    bar_code           VARCHAR(20),
    call_no            VARCHAR(40),
    book_stat_code     VARCHAR(10),
    location           VARCHAR(20),
    dis_location       VARCHAR(20),
    marc_rec_no        VARCHAR(10),
    year               VARCHAR(20),
    vol_peri           VARCHAR(100),
    price              NUMERIC(12,2),
    carrier_code       VARCHAR(10),
    get_mode_code      VARCHAR(10),
    asord_no           VARCHAR(40),
    chk_batch_no       VARCHAR(20),
    in_date            VARCHAR(10),
    rec_flag_upt_date  VARCHAR(19),
    attachment         VARCHAR(100),
    resp_wkr           VARCHAR(20),
    remark             VARCHAR(200),
    CONSTRAINT PK_INDI_ACCT PRIMARY KEY (prop_no)
);
CREATE UNIQUE INDEX INDI_BARCODE_IDX ON indi_acct (bar_code);
CREATE INDEX INDI_ACCT_MARC_REC_NO_IDX ON indi_acct (marc_rec_no, location);
CREATE INDEX INDI_ACCT_ASORD_NO_IDX ON indi_acct (asord_no);
CREATE INDEX INDI_ACCT_IN_DATE_IDX ON indi_acct (in_date);
CREATE INDEX INDI_ACCT_YEAR_IDX ON indi_acct (year);
CREATE INDEX INDI_ACCT_CHK_BATCH_IDX ON indi_acct (chk_batch_no);

-- Accession batch of serials (check account). check_type: 1 single
-- issues, 0 bound volumes. class_type_code is the property-number class.
CREATE TABLE m_peri_check_acct (
    peri_batch_no    VARCHAR(20)   NOT NULL,
    class_type_code  VARCHAR(10),
    peri_batch_date  VARCHAR(10),
    resp_wkr         VARCHAR(20),
    remark           VARCHAR(200),
    check_type       INTEGER,
    CONSTRAINT PK_CHECK_ACCT PRIMARY KEY (peri_batch_no)
);
CREATE INDEX M_PERI_CHECK_ACCT_DATE_IDX ON m_peri_check_acct (peri_batch_date);

-- Input batches of the library system (records and volumes entered
-- together under one batch number).
CREATE TABLE input_batch (
    batch_no         VARCHAR(20)   NOT NULL,
    class_type_code  VARCHAR(10),
    batch_date       VARCHAR(10),
    wkr_no           VARCHAR(20),
    remark           VARCHAR(200),
    CONSTRAINT PK_INPUT_BATCH PRIMARY KEY (batch_no)
);

-- Call numbers given out, each unique, one or more per record.
CREATE TABLE call_no_lst (
    call_no      VARCHAR(40)  NOT NULL,
    marc_rec_no  VARCHAR(10)  NOT NULL,
    cls_id       VARCHAR(10),
    CONSTRAINT PK_CALL_NO_LST PRIMARY KEY (call_no)
);
CREATE INDEX CALL_NO_LST_MARC_REC_NO_IDX ON call_no_lst (marc_rec_no);

-- Last book serial given out per class number (per library group when
-- libraries keep separate series).
CREATE TABLE max_class_serial (
    doc_type_code  VARCHAR(2)    NOT NULL,
    cls_id         VARCHAR(10)   NOT NULL,
    cls_no         VARCHAR(40)   NOT NULL,
    grp_code       VARCHAR(10)   DEFAULT '01' NOT NULL,
    class_prefix   VARCHAR(20),
    max_serial     INTEGER,
    CONSTRAINT PK_MAX_CLASS_SERIAL PRIMARY KEY (doc_type_code, cls_id, cls_no, grp_code)
);

-- Author numbers for Chinese names: leading characters with the pinyin
-- range each entry covers, and the additional numbers by name type
-- ('D' two-character name, 'S' other) and initial.
CREATE TABLE auth_char (
    chn_char  VARCHAR(20)  NOT NULL,
    code_num  VARCHAR(10),
    fufen_no  VARCHAR(10),
    top_py    VARCHAR(40),
    btm_py    VARCHAR(40)
);
CREATE INDEX AUTH_CHAR_CHN_IDX ON auth_char (chn_char, top_py);

CREATE TABLE auth_fufen (
    fufen_no  VARCHAR(10)  NOT NULL,
    nametype  VARCHAR(1)   NOT NULL,
    inial     VARCHAR(10)  NOT NULL,
    num       VARCHAR(10),
    CONSTRAINT PK_AUTH_FUFEN PRIMARY KEY (fufen_no, nametype, inial)
);

-- Author numbers for Western names (Cutter-style table).
CREATE TABLE cartable (
    auth_name  VARCHAR(60)  NOT NULL,
    auth_code  VARCHAR(20),
    CONSTRAINT PK_CARTABLE PRIMARY KEY (auth_name)
);

-- Property-number sections: operators of a section take property numbers
-- of one class from its range (min_prop_no is the next number to give,
-- max_prop_no the last), recycled numbers of the section first.
CREATE TABLE section_lst (
    section_code     VARCHAR(10)   NOT NULL,
    section_name     VARCHAR(60),
    class_type_code  VARCHAR(10),
    CONSTRAINT PK_SECTION_LST PRIMARY KEY (section_code)
);

CREATE TABLE section_wkr (
    wkr              VARCHAR(20)   NOT NULL,
    class_type_code  VARCHAR(10)   NOT NULL,
    section_code     VARCHAR(10)   NOT NULL,
    CONSTRAINT PK_SECTION_WKR PRIMARY KEY (wkr, class_type_code)
);

CREATE TABLE section_max_number (
    section_code  VARCHAR(10)    NOT NULL,
    min_prop_no   NUMERIC(12,0),
    max_prop_no   NUMERIC(12,0),
    CONSTRAINT PK_SECTION_MAX_NUMBER PRIMARY KEY (section_code)
);

-- Property numbers returned to a section for reuse, use_date is the day
-- a number was last taken, so a number whose use_date lies before today
-- is free again.
CREATE TABLE recycle_section (
    section_code  VARCHAR(10)    NOT NULL,
    prop_serial   NUMERIC(12,0)  NOT NULL,
    use_date      VARCHAR(10),
    CONSTRAINT PK_RECYCLE_SECTION PRIMARY KEY (section_code, prop_serial)
);
