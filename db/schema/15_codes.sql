-- Code and parameter tables shared by the library system and loaded into
-- memory at start-up: locations, document, carrier, language and country
-- codes, circulation codes, acquisitions codes (payment modes, fund sources,
-- currencies, property-number classes), serials lists (publication
-- frequencies, periodical levels), distributors and publishing houses,
-- subscriber fund accounts, book sizes, binders and their prices, priority
-- readers, statistics categories. Codes are text, code_use_flag '1' marks
-- a code in use.

-- Locations (collections, reading rooms, branch libraries).
CREATE TABLE location_lst (
    location       VARCHAR(20)  NOT NULL,
    location_name  VARCHAR(60),
    loca_group     VARCHAR(10),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_LOCATION_LST PRIMARY KEY (location)
);

-- Order in which the screens of one operation type list the locations.
CREATE TABLE location_sort (
    location   VARCHAR(20)  NOT NULL,
    oper_type  INTEGER      NOT NULL,
    sequence   INTEGER,
    CONSTRAINT PK_LOCATION_SORT PRIMARY KEY (location, oper_type)
);
CREATE INDEX LOCATION_SORT_OPER_IDX ON location_sort (oper_type, sequence);

CREATE TABLE loca_group (
    loca_group       VARCHAR(10)  NOT NULL,
    loca_group_name  VARCHAR(60),
    code_use_flag    VARCHAR(1),
    CONSTRAINT PK_LOCA_GROUP PRIMARY KEY (loca_group)
);

CREATE TABLE department (
    dept_code      VARCHAR(10)  NOT NULL,
    dept_name      VARCHAR(60),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_DEPARTMENT PRIMARY KEY (dept_code)
);

-- Document types, class_flag '1' marks the types offered as report filters.
CREATE TABLE doc_type_code (
    doc_type_code  VARCHAR(2)   NOT NULL,
    doc_type_name  VARCHAR(40),
    class_flag     VARCHAR(1),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_DOC_TYPE_CODE PRIMARY KEY (doc_type_code)
);

CREATE TABLE carrier_code (
    carrier_code   VARCHAR(10)  NOT NULL,
    carrier_name   VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_CARRIER_CODE PRIMARY KEY (carrier_code)
);

-- Acquisition modes (purchase, gift, exchange ...).
CREATE TABLE get_mode_code (
    get_mode_code  VARCHAR(10)  NOT NULL,
    get_mode_name  VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_GET_MODE_CODE PRIMARY KEY (get_mode_code)
);

CREATE TABLE language_code (
    lang_code      VARCHAR(3)   NOT NULL,
    lang_name      VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_LANGUAGE_CODE PRIMARY KEY (lang_code)
);

CREATE TABLE country_code (
    country_code   VARCHAR(2)   NOT NULL,
    country_name   VARCHAR(60),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_COUNTRY_CODE PRIMARY KEY (country_code)
);

-- Classification schemes.
CREATE TABLE classifica_code (
    cls_id         VARCHAR(10)  NOT NULL,
    cls_name       VARCHAR(60),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_CLASSIFICA_CODE PRIMARY KEY (cls_id)
);

CREATE TABLE cls_group (
    cls_group_code  VARCHAR(10)  NOT NULL,
    cls_group_name  VARCHAR(60),
    cls_id          VARCHAR(10),
    comp_cls        VARCHAR(1000),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_CLS_GROUP PRIMARY KEY (cls_group_code)
);

-- Circulation codes of the library system (rules, circulation types,
-- reader types, loan grades, violations, opening days and hours).
CREATE TABLE circ_rule (
    circ_rule_code  VARCHAR(10)  NOT NULL,
    circ_rule_name  VARCHAR(60),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_CIRC_RULE PRIMARY KEY (circ_rule_code)
);

CREATE TABLE rule_comp (
    circ_rule_code  VARCHAR(10)  NOT NULL,
    reader_type     VARCHAR(10)  NOT NULL,
    circ_type_code  VARCHAR(10)  NOT NULL,
    lend_days       INTEGER,
    lend_qty        INTEGER,
    CONSTRAINT PK_RULE_COMP PRIMARY KEY (circ_rule_code, reader_type, circ_type_code)
);

CREATE TABLE group_rule_comp (
    loca_group      VARCHAR(10)  NOT NULL,
    circ_rule_code  VARCHAR(10)  NOT NULL,
    remark          VARCHAR(200),
    CONSTRAINT PK_GROUP_RULE_COMP PRIMARY KEY (loca_group, circ_rule_code)
);

CREATE TABLE circ_type_sort (
    circ_sort_code  VARCHAR(10)  NOT NULL,
    circ_sort_name  VARCHAR(60),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_CIRC_TYPE_SORT PRIMARY KEY (circ_sort_code)
);

CREATE TABLE circ_type_code (
    circ_type_code  VARCHAR(10)  NOT NULL,
    circ_type_name  VARCHAR(60),
    circ_sort_code  VARCHAR(10),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_CIRC_TYPE_CODE PRIMARY KEY (circ_type_code)
);

-- Reader types. The key is not named after the table: the error reporter
-- reads any key name containing the reader table's key name as a duplicate
-- reader document number.
CREATE TABLE reader_type (
    reader_type       VARCHAR(10)  NOT NULL,
    reader_type_name  VARCHAR(60),
    code_use_flag     VARCHAR(1),
    CONSTRAINT PK_RDR_TYPE PRIMARY KEY (reader_type)
);

CREATE TABLE lend_grd (
    lend_grd       VARCHAR(10)  NOT NULL,
    remark         VARCHAR(100),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_LEND_GRD PRIMARY KEY (lend_grd)
);

CREATE TABLE violate_code (
    violate_code   VARCHAR(10)  NOT NULL,
    violate_name   VARCHAR(60),
    fine_amt       NUMERIC(12,2),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_VIOLATE_CODE PRIMARY KEY (violate_code)
);

CREATE TABLE limit_type (
    limit_type       VARCHAR(10)  NOT NULL,
    limit_type_name  VARCHAR(60),
    code_use_flag    VARCHAR(1),
    CONSTRAINT PK_LIMIT_TYPE PRIMARY KEY (limit_type)
);

-- Days on which the library is closed.
CREATE TABLE close_day (
    close_date  VARCHAR(10)  NOT NULL,
    remark      VARCHAR(100),
    CONSTRAINT PK_CLOSE_DAY PRIMARY KEY (close_date)
);

-- Opening hours per week day (1 = Monday .. 7 = Sunday).
CREATE TABLE open_time (
    week_day  VARCHAR(1)   NOT NULL,
    bgn_time  VARCHAR(8),
    end_time  VARCHAR(8),
    remark    VARCHAR(100),
    CONSTRAINT PK_OPEN_TIME PRIMARY KEY (week_day)
);

-- Statistics categories: the type, its categories, and the class-number
-- lists (comma-separated, "a~b" for a range) that map classes to them.
CREATE TABLE stat_type_code (
    stat_type_code  VARCHAR(10)  NOT NULL,
    stat_type_name  VARCHAR(60),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_STAT_TYPE_CODE PRIMARY KEY (stat_type_code)
);

CREATE TABLE stat_type_detl (
    stat_type_code  VARCHAR(10)  NOT NULL,
    sub_stat_code   VARCHAR(20)  NOT NULL,
    sub_stat_name   VARCHAR(60),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_STAT_TYPE_DETL PRIMARY KEY (stat_type_code, sub_stat_code)
);

CREATE TABLE stat_cls_comp (
    stat_type_code  VARCHAR(10)  NOT NULL,
    sub_stat_code   VARCHAR(20)  NOT NULL,
    cls_id          VARCHAR(10)  NOT NULL,
    comp_cls        VARCHAR(1000),
    CONSTRAINT PK_STAT_CLS_COMP PRIMARY KEY (stat_type_code, sub_stat_code, cls_id)
);

-- Stored statistics templates offered by the classification report.
CREATE TABLE stat_template (
    template_code   VARCHAR(10)  NOT NULL,
    template_name   VARCHAR(60),
    stat_type_code  VARCHAR(10),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_STAT_TEMPLATE PRIMARY KEY (template_code)
);

-- Acquisitions codes.
CREATE TABLE pay_mode_code (
    pay_mode_code  VARCHAR(10)  NOT NULL,
    pay_mode_name  VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_PAY_MODE_CODE PRIMARY KEY (pay_mode_code)
);

CREATE TABLE fund_src_code (
    fund_src_code  VARCHAR(10)  NOT NULL,
    fund_src_name  VARCHAR(60),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_FUND_SRC_CODE PRIMARY KEY (fund_src_code)
);

CREATE TABLE money_type (
    money_code     VARCHAR(10)  NOT NULL,
    money_name     VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_MONEY_TYPE PRIMARY KEY (money_code)
);

-- Property-number classes: prefix of the property numbers and of the
-- accession batch numbers, and the width of the batch serial.
CREATE TABLE max_number (
    class_type_code     VARCHAR(10)  NOT NULL,
    class_type_name     VARCHAR(60),
    prop_prefix         VARCHAR(10),
    check_batch_prefix  VARCHAR(10),
    batch_serial_width  INTEGER,
    CONSTRAINT PK_MAX_NUMBER PRIMARY KEY (class_type_code)
);

-- Fund sources a subscribing location may charge.
CREATE TABLE sub_acct (
    location       VARCHAR(20)  NOT NULL,
    fund_src_code  VARCHAR(10)  NOT NULL,
    use_flag       VARCHAR(1),
    CONSTRAINT PK_SUB_ACCT PRIMARY KEY (location, fund_src_code)
);

-- Serials lists: publication frequencies and periodical levels.
CREATE TABLE publ_freq (
    publ_freq       VARCHAR(20)  NOT NULL,
    publ_freq_name  VARCHAR(20),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_PUBL_FREQ PRIMARY KEY (publ_freq)
);

CREATE TABLE peri_level (
    level_code     VARCHAR(10)  NOT NULL,
    level_name     VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_PERI_LEVEL PRIMARY KEY (level_code)
);

-- Distributors (postal distribution, agents, publishers selling direct)
-- and the operation types for which each is offered.
CREATE TABLE publish_busi (
    publ_code      VARCHAR(20)  NOT NULL,
    publ_name      VARCHAR(100),
    publ_email     VARCHAR(100),
    publ_address   VARCHAR(200),
    publ_tele      VARCHAR(40),
    publ_contact   VARCHAR(40),
    code_use_flag  VARCHAR(1),
    CONSTRAINT PK_PUBLISH_BUSI PRIMARY KEY (publ_code)
);

CREATE TABLE publish_sort (
    publ_code  VARCHAR(20)  NOT NULL,
    oper_type  INTEGER      NOT NULL,
    CONSTRAINT PK_PUBLISH_SORT PRIMARY KEY (publ_code, oper_type)
);
CREATE INDEX PUBLISH_SORT_OPER_IDX ON publish_sort (oper_type);

-- Publishing houses.
CREATE TABLE press (
    press_code     VARCHAR(20)  NOT NULL,
    press_name     VARCHAR(100),
    press_address  VARCHAR(200),
    country_code   VARCHAR(2),
    area_code      VARCHAR(10),
    CONSTRAINT PK_PRESS PRIMARY KEY (press_code)
);

-- Book sizes, binders and the binders' price per book size.
CREATE TABLE book_size (
    book_size_code  VARCHAR(10)  NOT NULL,
    book_size_name  VARCHAR(40),
    code_use_flag   VARCHAR(1),
    CONSTRAINT PK_BOOK_SIZE PRIMARY KEY (book_size_code)
);

CREATE TABLE bookbinder (
    bookbinder_code  VARCHAR(10)  NOT NULL,
    bookbinder_name  VARCHAR(100),
    bookbinder_addr  VARCHAR(200),
    bookbinder_tele  VARCHAR(40),
    CONSTRAINT PK_BOOKBINDER PRIMARY KEY (bookbinder_code)
);

CREATE TABLE bind_price (
    bookbinder_code  VARCHAR(10)  NOT NULL,
    book_size_code   VARCHAR(10)  NOT NULL,
    bind_price       NUMERIC(12,2),
    CONSTRAINT PK_BIND_PRICE PRIMARY KEY (bookbinder_code, book_size_code)
);

-- Priority readers who receive first-read notices of new issues.
CREATE TABLE prio_reader (
    prio_reader_code   VARCHAR(20)  NOT NULL,
    prio_reader_name   VARCHAR(60),
    prio_reader_email  VARCHAR(100),
    dept_code          VARCHAR(10),
    remark             VARCHAR(200),
    CONSTRAINT PK_PRIO_READER PRIMARY KEY (prio_reader_code)
);
