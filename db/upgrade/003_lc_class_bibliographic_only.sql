-- Class rows were also written for pre-order records, whose numbers are a series of their own;
-- only USMARC bibliographic records have them.
DELETE FROM lc_class WHERE marc_rec_no NOT IN (SELECT marc_rec_no FROM marc WHERE marc_type = 'U');
