-- Issue check-in and claims: the check-in configuration of an order line
-- per receiving location, the expected issues predicted for an order line
-- (peri_id, a ten-digit key given out in issue order), the copies received
-- per issue, location and sub-location, the holdings statements per year,
-- the claims and the first-read notices of an issue.

-- Check-in configuration of one order line at one receiving location.
CREATE TABLE m_peri_chk_cfg (
    publ_code         VARCHAR(20)   NOT NULL,
    peri_ord_year     VARCHAR(6)    NOT NULL,
    asord_no          VARCHAR(40)   NOT NULL,
    location          VARCHAR(20)   NOT NULL,
    begin_date        VARCHAR(10),
    end_date          VARCHAR(10),
    auto_update_loca  VARCHAR(1),
    beg_vol           INTEGER,
    beg_issue         INTEGER,
    beg_total_issue   INTEGER,
    bind_ysno         VARCHAR(1),
    bind_copy_qty     INTEGER,
    pres_copy_qty     INTEGER,
    exch_copy_qty     INTEGER,
    issue_keep_qty    INTEGER,
    color             VARCHAR(40),
    frame             VARCHAR(40),
    finish_flag       VARCHAR(1),
    issue_continue    VARCHAR(1),
    vol_beg_issue     INTEGER,
    CONSTRAINT PK_M_PERI_CHK_CFG PRIMARY KEY (publ_code, peri_ord_year, asord_no, location)
);
CREATE INDEX M_PERI_CHK_CFG_LOCA_IDX ON m_peri_chk_cfg (location);

-- Expected issue. Volume and issue numbers are text (Roman numerals,
-- ranges of a combined issue). peri_type: '0' ordinary, '1' supplement,
-- '2' supplementary edition, '3' index issue, '4' accompanying material,
-- '9' combined issue (begin_/end_ columns and code1 = issues merged).
CREATE TABLE m_peri_chk_vol (
    peri_id            VARCHAR(10)   NOT NULL,
    publ_code          VARCHAR(20)   NOT NULL,
    peri_ord_year      VARCHAR(6)    NOT NULL,
    asord_no           VARCHAR(40)   NOT NULL,
    cover_vol          VARCHAR(40),
    cover_issue        VARCHAR(40),
    cover_issue_total  VARCHAR(40),
    carrier_code       VARCHAR(10),
    expect_date        VARCHAR(10),
    aslack_date        VARCHAR(10),
    publ_year          VARCHAR(4),
    attachment         VARCHAR(100),
    issue_title        VARCHAR(200),
    peri_no            INTEGER,
    finish_flag        VARCHAR(1),
    peri_type          VARCHAR(1),
    begin_vol          VARCHAR(20),
    end_vol            VARCHAR(20),
    begin_issue        VARCHAR(20),
    end_issue          VARCHAR(20),
    code1              VARCHAR(20),
    remark             VARCHAR(200),
    CONSTRAINT PK_M_PERI_CHK_VOL PRIMARY KEY (peri_id)
);
CREATE INDEX M_PERI_CHK_VOL_ORD_IDX ON m_peri_chk_vol (publ_code, peri_ord_year, asord_no, peri_no);
CREATE INDEX M_PERI_CHK_VOL_ASLACK_IDX ON m_peri_chk_vol (aslack_date);
-- The claim search reads only the issues not finished (some copy still missing), a small part
-- of a library's history: the index holds those alone, so that both databases know how few
-- they are.
CREATE INDEX M_PERI_CHK_VOL_OPEN_IDX ON m_peri_chk_vol (aslack_date) WHERE finish_flag='0';
CREATE INDEX M_PERI_CHK_VOL_YEAR_IDX ON m_peri_chk_vol (publ_year);

-- Received copy of an expected issue. item_stat: '0' at the check-in
-- desk, '1' handed over (conn_date), '2' returned from an undone
-- accession, '3' in a binding record (its bind_no in remark and bind_no),
-- '4' accessioned as a single issue (its property number in remark).
-- chk_date is the date and time of the check-in. The copy refers to its
-- expected issue: an issue with copies cannot be deleted.
CREATE TABLE m_peri_item (
    peri_id       VARCHAR(10)   NOT NULL,
    location      VARCHAR(20)   NOT NULL,
    dis_location  VARCHAR(20)   NOT NULL,
    item_no       INTEGER       NOT NULL,
    item_stat     VARCHAR(1),
    chk_date      VARCHAR(19),
    wkr_no        VARCHAR(20),
    conn_date     VARCHAR(19),
    bind_no       VARCHAR(10),
    remark        VARCHAR(100),
    CONSTRAINT PK_M_PERI_ITEM PRIMARY KEY (peri_id, location, dis_location, item_no),
    CONSTRAINT FK_COPY_RE_CHKVOL FOREIGN KEY (peri_id) REFERENCES m_peri_chk_vol (peri_id)
);
CREATE INDEX M_PERI_ITEM_LOCA_IDX ON m_peri_item (location, dis_location);
CREATE INDEX M_PERI_ITEM_CHK_DATE_IDX ON m_peri_item (chk_date);
CREATE INDEX M_PERI_ITEM_REMARK_IDX ON m_peri_item (remark);
CREATE INDEX M_PERI_ITEM_BIND_NO_IDX ON m_peri_item (bind_no);

-- Free-text holdings statement of a title for one year at one location.
CREATE TABLE m_peri_loca_rec (
    marc_rec_no  VARCHAR(10)   NOT NULL,
    location     VARCHAR(20)   NOT NULL,
    publ_year    VARCHAR(4)    NOT NULL,
    bgn_end_vol  VARCHAR(200),
    CONSTRAINT PK_M_PERI_LOCA_REC PRIMARY KEY (marc_rec_no, location, publ_year)
);

-- Claims: one row per claim of one issue at one location, the number of
-- rows is the claim count. Two claims may fall on one day, so there is no
-- unique key.
CREATE TABLE m_aslack_rec (
    peri_id           VARCHAR(10)   NOT NULL,
    location          VARCHAR(20)   NOT NULL,
    aslack_detl_date  VARCHAR(10),
    aslack_wkr        VARCHAR(20),
    aslack_detl_qty   INTEGER,
    remark            VARCHAR(200)
);
CREATE INDEX M_ASLACK_REC_PERI_IDX ON m_aslack_rec (peri_id, location, aslack_detl_date);
CREATE INDEX M_ASLACK_REC_DATE_IDX ON m_aslack_rec (aslack_detl_date);

-- The copies still owed: one row per open issue (finish_flag '0') and subscriber location of
-- its order line that has fewer copies than it subscribes, with its claims so far, the
-- location's shelf label, and the issue's own columns the claim list shows and filters on (its
-- order line, running number, volume and issue, dates). Kept by every change to copies,
-- subscribers, issues and claims, so that the claim search reads the owed issues alone,
-- instead of counting every open issue's copies and claims or looking each issue up.
CREATE TABLE m_peri_chk_lack (
    peri_id      VARCHAR(10)   NOT NULL,
    location     VARCHAR(20)   NOT NULL,
    sub_qty      INTEGER       NOT NULL,
    rece_qty     INTEGER       NOT NULL,
    aslack_cnt   INTEGER       NOT NULL,
    aslack_last  VARCHAR(10),
    label        VARCHAR(40),
    publ_code      VARCHAR(20),
    peri_ord_year  VARCHAR(6),
    asord_no       VARCHAR(40),
    peri_no        INTEGER,
    publ_year      VARCHAR(4),
    cover_vol      VARCHAR(40),
    cover_issue    VARCHAR(40),
    expect_date    VARCHAR(10),
    aslack_date    VARCHAR(10),
    CONSTRAINT PK_M_PERI_CHK_LACK PRIMARY KEY (peri_id, location),
    CONSTRAINT FK_LACK_RE_CHKVOL FOREIGN KEY (peri_id) REFERENCES m_peri_chk_vol (peri_id)
);

-- First-read notices of an issue sent to priority readers.
CREATE TABLE m_prio_read_noti (
    peri_id           VARCHAR(10)  NOT NULL,
    location          VARCHAR(20)  NOT NULL,
    prio_reader_code  VARCHAR(20)  NOT NULL,
    send_noti_date    VARCHAR(10)
);
CREATE INDEX M_PRIO_READ_NOTI_PERI_IDX ON m_prio_read_noti (peri_id, location);
CREATE INDEX M_PRIO_READ_NOTI_RDR_IDX ON m_prio_read_noti (prio_reader_code);
