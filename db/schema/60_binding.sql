-- Binding: batches of volumes sent to one binder, and binding records
-- (one per bound volume to be) made from checked-in copies. A binding
-- record belongs to a batch of its binder, a batch that binding records
-- use cannot be deleted.

CREATE TABLE m_bind_batch_lst (
    bookbinder_code  VARCHAR(10)   NOT NULL,
    bind_batch_no    VARCHAR(20)   NOT NULL,
    remark           VARCHAR(200),
    send_bind_date   VARCHAR(10),
    resp_wkr         VARCHAR(20),
    CONSTRAINT PK_M_BIND_BATCH_LST PRIMARY KEY (bookbinder_code, bind_batch_no)
);
CREATE INDEX M_BIND_BATCH_LST_DATE_IDX ON m_bind_batch_lst (send_bind_date);

-- Binding record. bind_no: four-digit year + six-digit serial.
-- bound_flag: 0 at the binder, 1 returned and checked (bind_chk_wkr,
-- bind_chk_date), 2 accessioned. m_title is the spine title, book_size the
-- book-size name, bound_edit_price the value of the issues bound and
-- bound_price the binding charge.
CREATE TABLE m_peri_bind_detl (
    bind_no           VARCHAR(10)    NOT NULL,
    marc_rec_no       VARCHAR(10),
    get_mode_code     VARCHAR(10),
    carrier_code      VARCHAR(10),
    bookbinder_code   VARCHAR(10)    NOT NULL,
    bind_batch_no     VARCHAR(20)    NOT NULL,
    bound_flag        INTEGER,
    m_title           VARCHAR(200),
    bgn_end_year      VARCHAR(20),
    bgn_end_vol       VARCHAR(100),
    bound_edit_price  NUMERIC(12,2),
    call_no           VARCHAR(40),
    m_isbn            VARCHAR(40),
    qty_of_bind       INTEGER,
    book_size         VARCHAR(40),
    color             VARCHAR(40),
    frame             VARCHAR(40),
    bound_price       NUMERIC(12,2),
    remark            VARCHAR(200),
    bind_chk_wkr      VARCHAR(20),
    bind_chk_date     VARCHAR(10),
    CONSTRAINT PK_M_PERI_BIND_DETL PRIMARY KEY (bind_no),
    CONSTRAINT FK_BINDDET_RE_BATCH FOREIGN KEY (bookbinder_code, bind_batch_no) REFERENCES m_bind_batch_lst (bookbinder_code, bind_batch_no)
);
CREATE INDEX M_PERI_BIND_DETL_BATCH_IDX ON m_peri_bind_detl (bookbinder_code, bind_batch_no);
CREATE INDEX M_PERI_BIND_DETL_BATCH_NO_IDX ON m_peri_bind_detl (bind_batch_no);
CREATE INDEX M_PERI_BIND_DETL_MARC_IDX ON m_peri_bind_detl (marc_rec_no);
CREATE INDEX M_PERI_BIND_DETL_FLAG_IDX ON m_peri_bind_detl (bound_flag);
