-- Subscription ordering. An order catalogue holds one distributor's orders
-- of one year batch (peri_ord_year: four-digit year + two-digit batch),
-- each order detail (one title, keyed by the order key publ_code,
-- peri_ord_year, asord_no) is split into subscriber lines, which pass
-- copies on to distribution locations and charge fund sources. The
-- pre-order catalogues hold the distributors' offer lists with their own
-- title records (asord_marc). The gift and exchange intake feeds batch
-- ordering. The delete routines remove the dependent lines of a detail or
-- catalogue themselves, and a catalogue's key can be changed with all its
-- rows, so the order tables carry no foreign keys.

-- Order catalogue. peri_ord_flag: '0' not sent, '1' sent.
CREATE TABLE m_peri_ord_lst (
    publ_code      VARCHAR(20)  NOT NULL,
    peri_ord_year  VARCHAR(6)   NOT NULL,
    peri_ord_date  VARCHAR(10),
    resp_wkr       VARCHAR(20),
    peri_ord_flag  VARCHAR(1),
    CONSTRAINT PK_M_PERI_ORD_LST PRIMARY KEY (publ_code, peri_ord_year)
);
CREATE INDEX M_PERI_ORD_LST_YEAR_IDX ON m_peri_ord_lst (peri_ord_year);

-- Order detail. ord_flag: '0' not sent, '1' sent, '2' check-in started,
-- '3' check-in finished. peri_type: '0' normal, '1' title changed,
-- '2' ceased, '3' subscription stopped. new_ord_flag '0' new title,
-- otherwise renewal. end_ord_flag '1' finished. The columns from
-- qty_of_year on are the check-in settings of the title.
CREATE TABLE m_peri_ord_detl (
    publ_code         VARCHAR(20)    NOT NULL,
    peri_ord_year     VARCHAR(6)     NOT NULL,
    asord_no          VARCHAR(40)    NOT NULL,
    carrier_code      VARCHAR(10),
    get_mode_code     VARCHAR(10),
    marc_rec_no       VARCHAR(10),
    book_size_code    VARCHAR(10),
    money_code        VARCHAR(10),
    days_of_items     INTEGER,
    peri_price        NUMERIC(12,2),
    peri_total_price  NUMERIC(12,2),
    fore_price        NUMERIC(12,2),
    fore_total_price  NUMERIC(12,2),
    peri_ord_qty      INTEGER,
    pay_date          VARCHAR(10),
    resp_wkr          VARCHAR(20),
    ord_flag          VARCHAR(1),
    new_ord_flag      VARCHAR(1),
    remark            VARCHAR(200),
    publ_freq         VARCHAR(20),
    kind_no           VARCHAR(40),
    qty_of_vol        INTEGER,
    days_of_aslack    INTEGER,
    bind_item_qty     INTEGER,
    chk_bgn_date      VARCHAR(10),
    fst_rece_date     VARCHAR(10),
    peri_type         VARCHAR(1),
    fmt_asord_no      VARCHAR(40),
    end_ord_flag      VARCHAR(1),
    qty_of_year       INTEGER,
    attachment        VARCHAR(100),
    aslack_ysno       VARCHAR(1),
    aslack_second     INTEGER,
    aslack_third      INTEGER,
    code1             VARCHAR(20),
    row_version       INTEGER        DEFAULT 0,
    CONSTRAINT PK_ORDER PRIMARY KEY (publ_code, peri_ord_year, asord_no)
);
CREATE INDEX M_PERI_ORD_DETL_MARC_IDX ON m_peri_ord_detl (marc_rec_no);
CREATE INDEX M_PERI_ORD_DETL_ASORD_IDX ON m_peri_ord_detl (asord_no, peri_ord_year);
CREATE INDEX M_PERI_ORD_DETL_YEAR_IDX ON m_peri_ord_detl (peri_ord_year);
-- The order search finds a number typed in its normalised form.
CREATE INDEX M_PERI_ORD_DETL_FMT_IDX ON m_peri_ord_detl (fmt_asord_no);

-- Subscriber line. chk_stat '1': this subscriber checks issues in.
CREATE TABLE m_sub_ord_lst (
    publ_code      VARCHAR(20)   NOT NULL,
    peri_ord_year  VARCHAR(6)    NOT NULL,
    asord_no       VARCHAR(40)   NOT NULL,
    location       VARCHAR(20)   NOT NULL,
    peri_region    VARCHAR(100),
    sub_peri_qty   INTEGER,
    chk_stat       VARCHAR(1),
    remark         VARCHAR(200),
    CONSTRAINT PK_M_SUB_ORD_LST PRIMARY KEY (publ_code, peri_ord_year, asord_no, location)
);
CREATE INDEX M_SUB_ORD_LST_LOCA_IDX ON m_sub_ord_lst (location);

-- Distribution line of a subscriber: copies sent on to a location, with
-- the shelf mark there.
CREATE TABLE m_peri_ord_dist_lst (
    publ_code      VARCHAR(20)  NOT NULL,
    peri_ord_year  VARCHAR(6)   NOT NULL,
    asord_no       VARCHAR(40)  NOT NULL,
    location       VARCHAR(20)  NOT NULL,
    dist_loca      VARCHAR(20)  NOT NULL,
    dist_qty       INTEGER,
    label          VARCHAR(40),
    CONSTRAINT PK_M_PERI_ORD_DIST_LST PRIMARY KEY (publ_code, peri_ord_year, asord_no, location, dist_loca)
);
CREATE INDEX M_PERI_ORD_DIST_LST_DIST_IDX ON m_peri_ord_dist_lst (dist_loca);
CREATE INDEX M_PERI_ORD_DIST_LST_LABEL_IDX ON m_peri_ord_dist_lst (label);

-- Fund line of a subscriber: copies paid from a fund source and the amount.
CREATE TABLE m_peri_sub_fund_out (
    publ_code      VARCHAR(20)    NOT NULL,
    peri_ord_year  VARCHAR(6)     NOT NULL,
    asord_no       VARCHAR(40)    NOT NULL,
    location       VARCHAR(20)    NOT NULL,
    fund_src_code  VARCHAR(10)    NOT NULL,
    sub_qty        INTEGER,
    sub_amt        NUMERIC(12,2),
    remark         VARCHAR(200),
    bala_flag      VARCHAR(1),
    CONSTRAINT PK_M_PERI_SUB_FUND_OUT PRIMARY KEY (publ_code, peri_ord_year, asord_no, location, fund_src_code)
);
CREATE INDEX M_PERI_SUB_FUND_OUT_LOCA_IDX ON m_peri_sub_fund_out (location);

-- Pre-order catalogue of a distributor for an issue year-month.
CREATE TABLE peri_asord_cata (
    publ_code        VARCHAR(20)  NOT NULL,
    publ_year_month  VARCHAR(10)  NOT NULL,
    asord_end_date   VARCHAR(10),
    remark           VARCHAR(200),
    CONSTRAINT PK_ASORD_CATA PRIMARY KEY (publ_code, publ_year_month)
);

-- Pre-order item: one title offered, with its record in asord_marc. fmt_asord_no is the
-- normalised order number, as in m_peri_ord_detl.
CREATE TABLE peri_asord_detl (
    publ_code          VARCHAR(20)    NOT NULL,
    publ_year_month    VARCHAR(10)    NOT NULL,
    asord_no           VARCHAR(40)    NOT NULL,
    asord_marc_rec_no  VARCHAR(10),
    money_code         VARCHAR(10),
    peri_price         NUMERIC(12,2),
    peri_year_price    NUMERIC(12,2),
    fore_price         NUMERIC(12,2),
    fore_total_price   NUMERIC(12,2),
    remark             VARCHAR(200),
    flag               VARCHAR(1),
    publ_freq          VARCHAR(20),
    kind_no            VARCHAR(40),
    carrier_code       VARCHAR(10),
    fmt_asord_no       VARCHAR(40),
    CONSTRAINT PK_ASORD_CATA_DETL PRIMARY KEY (publ_code, publ_year_month, asord_no)
);
CREATE INDEX PERI_ASORD_DETL_MARC_IDX ON peri_asord_detl (asord_marc_rec_no);
CREATE INDEX PERI_ASORD_DETL_ASORD_IDX ON peri_asord_detl (publ_code, asord_no);
CREATE INDEX PERI_ASORD_DETL_FMT_IDX ON peri_asord_detl (fmt_asord_no);

-- Gift and exchange partners. obj_type: 0 gift partner, 1 exchange
-- partner, 2 both.
CREATE TABLE prsn_exch_obj (
    obj_code      VARCHAR(20)   NOT NULL,
    obj_name      VARCHAR(100),
    obj_type      VARCHAR(1),
    country_code  VARCHAR(2),
    obj_address   VARCHAR(200),
    obj_email     VARCHAR(100),
    obj_tele      VARCHAR(40),
    remark        VARCHAR(200),
    CONSTRAINT PK_PRSN_EXCH_OBJ PRIMARY KEY (obj_code)
);

-- Gift and exchange intake, one document per record received.
-- exch_type: '0' received as a gift, '1' received in exchange.
-- trans_flag '1': already turned into an order detail.
CREATE TABLE prsn_exch_detl (
    doc_id         VARCHAR(10)    NOT NULL,
    marc_rec_no    VARCHAR(10),
    exch_type      VARCHAR(1),
    obj_code       VARCHAR(20),
    country_code   VARCHAR(2),
    asord_no       VARCHAR(40),
    publ_freq      VARCHAR(20),
    money_code     VARCHAR(10),
    peri_price     NUMERIC(12,2),
    exch_qty       INTEGER,
    in_date        VARCHAR(10),
    wkr_no         VARCHAR(20),
    trans_flag     VARCHAR(1),
    remark         VARCHAR(200),
    CONSTRAINT PK_PRSN_EXCH_DETL PRIMARY KEY (doc_id)
);
CREATE INDEX PRSN_EXCH_DETL_MARC_IDX ON prsn_exch_detl (marc_rec_no);
