-- Operation log and workload counters: the names of the operation codes,
-- one log row per business operation (stamped with the server date and
-- time by the logging routine), the names of the job types, and the
-- operators' workload per day and job type (titles, volumes, amount).

CREATE TABLE log_type (
    log_type  VARCHAR(5)   NOT NULL,
    log_name  VARCHAR(60),
    CONSTRAINT PK_LOG_TYPE PRIMARY KEY (log_type)
);

-- obj_key1..3: keys of the object acted on ('0' when there is none),
-- obj_desc1..3: free texts describing it (name:code pairs),
-- location: the workstation's location as shown by the location table.
CREATE TABLE log_detl (
    log_type    VARCHAR(5)    NOT NULL,
    obj_key1    VARCHAR(60),
    wkr_no      VARCHAR(20),
    comp_name   VARCHAR(60),
    location    VARCHAR(60),
    obj_key2    VARCHAR(60),
    obj_key3    VARCHAR(60),
    obj_desc1   VARCHAR(400),
    obj_desc2   VARCHAR(400),
    obj_desc3   VARCHAR(400),
    log_date    VARCHAR(10)   NOT NULL,
    log_time    VARCHAR(8)
);
CREATE INDEX LOG_DETL_DATE_IDX ON log_detl (log_date, log_time);
CREATE INDEX LOG_DETL_WKR_IDX ON log_detl (wkr_no, log_date);
CREATE INDEX LOG_DETL_TYPE_IDX ON log_detl (log_type, log_date);
CREATE INDEX LOG_DETL_KEY_IDX ON log_detl (obj_key1);

CREATE TABLE job_type (
    job_type  VARCHAR(10)  NOT NULL,
    job_name  VARCHAR(60),
    CONSTRAINT PK_JOB_TYPE PRIMARY KEY (job_type)
);

-- Workload counter of one operator (wkr_no_f) for one day and job type:
-- kind = titles, volume = volumes, amount = money.
CREATE TABLE wkr_job_qty (
    wkr_no_f   VARCHAR(20)    NOT NULL,
    oper_date  VARCHAR(10)    NOT NULL,
    job_type   VARCHAR(10)    NOT NULL,
    kind       INTEGER,
    volume     INTEGER,
    amount     NUMERIC(12,2),
    CONSTRAINT PK_WKR_JOB_QTY PRIMARY KEY (wkr_no_f, oper_date, job_type)
);
CREATE INDEX WKR_JOB_QTY_DATE_IDX ON wkr_job_qty (oper_date);
