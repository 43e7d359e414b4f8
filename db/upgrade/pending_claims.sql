-- Claims are written to the operation log under their own type.
INSERT INTO log_type (log_type, log_name) VALUES ('50032', '期刊催缺');
