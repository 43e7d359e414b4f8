-- Catalogue records. Three families share one layout: a header row per
-- record with the summary columns shown in lists, data rows that hold the
-- ISO 2709 text in slices of three chunks each (data_serial 0, 1, ...),
-- and index rows (group, source tag+code, key of at most 60 bytes) used for
-- searching: bibliographic records (marc), pre-order catalogue records
-- (asord_marc) and authority records (au_marc). Header rows are written
-- before data and index rows, and the delete routines remove data and
-- index rows before the header, so those rows refer to their header.
-- Also here: the record-number counters, the index configuration, title
-- composition, stopwords, LC class rows and the word and pinyin tables.

-- Last record number issued per family ('marc', 'asord_marc', 'au_marc'),
-- the numbering routines advance it in a transaction of their own.
CREATE TABLE reg_marc_number (
    marc_kind   VARCHAR(20)    NOT NULL,
    max_rec_no  NUMERIC(10,0)  NOT NULL,
    CONSTRAINT PK_REG_MARC_NUMBER PRIMARY KEY (marc_kind)
);

-- Bibliographic records. marc_type: C CNMARC, U USMARC.
CREATE TABLE marc (
    marc_rec_no    VARCHAR(10)   NOT NULL,
    doc_type_code  VARCHAR(2),
    marc_type      VARCHAR(1),
    lang_code      VARCHAR(3),
    country_code   VARCHAR(2),
    marc_use_flag  VARCHAR(1),
    cata_oper      VARCHAR(20),
    cata_date      VARCHAR(10),
    m_call_no      VARCHAR(40),
    m_title        VARCHAR(100),
    m_author       VARCHAR(100),
    m_publisher    VARCHAR(100),
    m_pub_year     VARCHAR(20),
    m_isbn         VARCHAR(40),
    pub_year       INTEGER,
    CONSTRAINT PK_MARC PRIMARY KEY (marc_rec_no)
);
CREATE INDEX MARC_DOC_TYPE_IDX ON marc (doc_type_code);

CREATE TABLE marc_data (
    marc_rec_no  VARCHAR(10)  NOT NULL,
    data_serial  INTEGER      NOT NULL,
    marc01       ${MARC_CHUNK},
    marc02       ${MARC_CHUNK},
    marc03       ${MARC_CHUNK},
    CONSTRAINT PK_MARC_DATA PRIMARY KEY (marc_rec_no, data_serial),
    CONSTRAINT FK_DATA_RE_MARC FOREIGN KEY (marc_rec_no) REFERENCES marc (marc_rec_no)
);

-- Index rows: a record may have the same key twice (two fields with one
-- value, a key and its abbreviated form), so there is no unique key.
CREATE TABLE marc_idx (
    marc_rec_no    VARCHAR(10)  NOT NULL,
    marc_idx_grp   VARCHAR(2)   NOT NULL,
    marc_idx_tag   VARCHAR(4),
    marc_idx_cont  VARCHAR(60),
    CONSTRAINT FK_IDX_RE_MARC FOREIGN KEY (marc_rec_no) REFERENCES marc (marc_rec_no)
);
CREATE INDEX MARC_IDX_GRP_CONT_IDX ON marc_idx (marc_idx_grp, marc_idx_cont);
CREATE INDEX MARC_IDX_REC_NO_IDX ON marc_idx (marc_rec_no);

-- Title words of bibliographic records, for a search inside titles: Western
-- words, and overlapping pairs of CJK characters with the last character of
-- each run, upper case. Written and removed with the record's index rows.
CREATE TABLE marc_title_word (
    marc_rec_no  VARCHAR(10)  NOT NULL,
    word         VARCHAR(60)  NOT NULL,
    CONSTRAINT FK_TWORD_RE_MARC FOREIGN KEY (marc_rec_no) REFERENCES marc (marc_rec_no)
);
CREATE INDEX MARC_TITLE_WORD_IDX ON marc_title_word (word, marc_rec_no);
CREATE INDEX MARC_TITLE_WORD_REC_NO_IDX ON marc_title_word (marc_rec_no);

-- Library of Congress class of USMARC records (from 050 $a): letters,
-- class number and the value as indexed.
CREATE TABLE lc_class (
    marc_rec_no  VARCHAR(10)  NOT NULL,
    lc           VARCHAR(10),
    cls          VARCHAR(40),
    value        VARCHAR(100)
);
CREATE INDEX LC_CLASS_REC_NO_IDX ON lc_class (marc_rec_no);
CREATE INDEX LC_CLASS_LC_CLS_IDX ON lc_class (lc, cls);

-- Pre-order catalogue records (titles offered by distributors).
CREATE TABLE asord_marc (
    asord_marc_rec_no  VARCHAR(10)   NOT NULL,
    doc_type_code      VARCHAR(2),
    lang_code          VARCHAR(3),
    country_code       VARCHAR(2),
    marc_type          VARCHAR(1),
    cata_oper          VARCHAR(20),
    cata_date          VARCHAR(10),
    m_call_no          VARCHAR(40),
    m_title            VARCHAR(100),
    m_author           VARCHAR(100),
    m_publisher        VARCHAR(100),
    m_pub_year         VARCHAR(20),
    m_isbn             VARCHAR(40),
    CONSTRAINT PK_ASORD_MARC PRIMARY KEY (asord_marc_rec_no)
);

CREATE TABLE asord_marc_data (
    asord_marc_rec_no  VARCHAR(10)  NOT NULL,
    data_serial        INTEGER      NOT NULL,
    asord_marc01       ${MARC_CHUNK},
    asord_marc02       ${MARC_CHUNK},
    asord_marc03       ${MARC_CHUNK},
    CONSTRAINT PK_ASORD_MARC_DATA PRIMARY KEY (asord_marc_rec_no, data_serial),
    CONSTRAINT FK_ASDATA_RE_ASORD_MARC FOREIGN KEY (asord_marc_rec_no) REFERENCES asord_marc (asord_marc_rec_no)
);

CREATE TABLE asord_marc_idx (
    asord_marc_rec_no  VARCHAR(10)  NOT NULL,
    asord_idx_grp      VARCHAR(2)   NOT NULL,
    asord_idx_tag      VARCHAR(4),
    asord_idx_cont     VARCHAR(60),
    CONSTRAINT FK_ASIDX_RE_ASORD_MARC FOREIGN KEY (asord_marc_rec_no) REFERENCES asord_marc (asord_marc_rec_no)
);
CREATE INDEX ASORD_MARC_IDX_GRP_CONT_IDX ON asord_marc_idx (asord_idx_grp, asord_idx_cont);
CREATE INDEX ASORD_MARC_IDX_REC_NO_IDX ON asord_marc_idx (asord_marc_rec_no);

-- Authority records. marc_type: c CNMARC, u USMARC.
CREATE TABLE au_marc (
    au_marc_rec_no  VARCHAR(10)  NOT NULL,
    doc_type_code   VARCHAR(2),
    marc_use_flag   VARCHAR(1),
    marc_type       VARCHAR(1),
    cata_oper       VARCHAR(20),
    cata_date       VARCHAR(10),
    lang_code       VARCHAR(3),
    country_code    VARCHAR(2),
    m_classno       VARCHAR(40),
    m_heading       VARCHAR(80),
    m_see           VARCHAR(40),
    m_seealso       VARCHAR(40),
    CONSTRAINT PK_AU_MARC PRIMARY KEY (au_marc_rec_no)
);

CREATE TABLE au_marc_data (
    au_marc_rec_no  VARCHAR(10)  NOT NULL,
    data_serial     INTEGER      NOT NULL,
    au_marc_01      ${MARC_CHUNK},
    au_marc_02      ${MARC_CHUNK},
    au_marc_03      ${MARC_CHUNK},
    CONSTRAINT PK_AU_MARC_DATA PRIMARY KEY (au_marc_rec_no, data_serial),
    CONSTRAINT FK_AUDATA_RE_AU_MARC FOREIGN KEY (au_marc_rec_no) REFERENCES au_marc (au_marc_rec_no)
);

CREATE TABLE au_marc_idx (
    au_marc_rec_no  VARCHAR(10)  NOT NULL,
    au_idx_grp      VARCHAR(2)   NOT NULL,
    au_idx_tag      VARCHAR(4),
    au_idx_cont     VARCHAR(60),
    CONSTRAINT FK_AUIDX_RE_AU_MARC FOREIGN KEY (au_marc_rec_no) REFERENCES au_marc (au_marc_rec_no)
);
CREATE INDEX AU_MARC_IDX_GRP_CONT_IDX ON au_marc_idx (au_idx_grp, au_idx_cont);
CREATE INDEX AU_MARC_IDX_REC_NO_IDX ON au_marc_idx (au_marc_rec_no);

-- Index configuration per format (marc_type_id 0 CNMARC, 1 USMARC,
-- 2 CNMARC authority, 3 USMARC authority). use_type 0 = index group,
-- 1 = summary item, 2 and 3 = abbreviated-key settings for CNMARC and
-- USMARC. marc_field is a comma-separated list of tag+code entries.
CREATE TABLE marc_idx_para (
    use_type           INTEGER      NOT NULL,
    marc_type_id       INTEGER      NOT NULL,
    marc_idx_grp       VARCHAR(2)   NOT NULL,
    marc_idx_grp_name  VARCHAR(40),
    stopword_flag      INTEGER,
    marc_field         VARCHAR(400),
    CONSTRAINT PK_MARC_IDX_PARA PRIMARY KEY (use_type, marc_type_id, marc_idx_grp)
);

-- Tag+code entries whose values compose a title, in serial order.
CREATE TABLE title_field (
    marc_type_id  INTEGER      NOT NULL,
    serial        INTEGER      NOT NULL,
    marc_field    VARCHAR(200),
    CONSTRAINT PK_TITLE_FIELD PRIMARY KEY (marc_type_id, serial)
);

-- Stopword characters and words, grouped by type 0-3.
CREATE TABLE stopword (
    stopword_type  INTEGER       NOT NULL,
    stopword_cont  VARCHAR(400)
);
CREATE INDEX STOPWORD_TYPE_IDX ON stopword (stopword_type);

-- Word list (Chinese word and its pinyin) and pinyin table (readings of a
-- Chinese character).
CREATE TABLE word_lst (
    zw  VARCHAR(100)  NOT NULL,
    py  VARCHAR(400)
);
CREATE INDEX WORD_LST_ZW_IDX ON word_lst (zw);

CREATE TABLE pytable (
    hz  VARCHAR(4)   NOT NULL,
    py  VARCHAR(20)  NOT NULL,
    CONSTRAINT PK_PYTABLE PRIMARY KEY (hz, py)
);
