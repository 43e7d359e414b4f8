-- Title words for the search inside titles. upgrade-db writes the rows of existing records
-- after this step (the words are computed by the program, not in SQL).
CREATE TABLE marc_title_word (
    marc_rec_no  VARCHAR(10)  NOT NULL,
    word         VARCHAR(60)  NOT NULL,
    CONSTRAINT FK_TWORD_RE_MARC FOREIGN KEY (marc_rec_no) REFERENCES marc (marc_rec_no)
);
CREATE INDEX MARC_TITLE_WORD_IDX ON marc_title_word (word, marc_rec_no);
CREATE INDEX MARC_TITLE_WORD_REC_NO_IDX ON marc_title_word (marc_rec_no);
-- ISBN keys are also written without hyphens and blanks.
INSERT INTO marc_idx (marc_rec_no, marc_idx_grp, marc_idx_tag, marc_idx_cont)
SELECT marc_rec_no, marc_idx_grp, marc_idx_tag, REPLACE(REPLACE(marc_idx_cont, '-', ''), ' ', '')
FROM marc_idx
WHERE marc_idx_grp = '04' AND marc_idx_cont <> REPLACE(REPLACE(marc_idx_cont, '-', ''), ' ', '')
AND LENGTH(REPLACE(REPLACE(marc_idx_cont, '-', ''), ' ', '')) IN (10, 13);
