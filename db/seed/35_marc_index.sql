-- Index configuration of a new database. marc_type_id: 0 CNMARC, 1 USMARC,
-- 2 CNMARC authority, 3 USMARC authority. use_type 0: index groups, whose
-- field references are tag+code, a bare tag, an embedded reference (4611200a: linking
-- field 461, embedded 200 $a) or two references joined by "+". use_type 1:
-- summary items for the list columns (02 author, 04 ISSN/ISBN, 06 and 07
-- call number, 08 publisher, 10 year; authority 01 heading, 02 see,
-- 03 see also, 04 class number). use_type 2 and 3: the groups that also get
-- an abbreviated key, and the abbreviation pattern, for CNMARC and USMARC.

INSERT INTO marc_idx_para (use_type, marc_type_id, marc_idx_grp, marc_idx_grp_name, stopword_flag, marc_field) VALUES
(0, 0, '01', '题名', 1, '200a,200e,200i,500a,510a,512a,517a,530a,531a,225a,4611200a'),
(0, 0, '02', '责任者', 0, '200f,200g,700a,701a,702a,710a,711a,712a'),
(0, 0, '03', 'ISSN', 0, '011a,011y,011z'),
(0, 0, '04', 'ISBN', 0, '010a'),
(0, 0, '05', '出版者', 0, '210c'),
(0, 0, '06', '主题词', 0, '600a,601a,606a,606x,607a,610a'),
(0, 0, '07', '分类号', 0, '690a,692a,686a'),
(0, 0, '08', '统一刊号', 0, '091a'),
(0, 0, '09', '记录控制号', 0, '001'),
(0, 0, '10', '出版年', 0, '210d'),
(0, 0, '11', '题名责任者', 0, '200a+701a'),
(0, 1, '01', '题名', 1, '245a,245b,246a,247a,130a,210a,222a,240a,730a,780t,785t'),
(0, 1, '02', '责任者', 0, '100a,110a,111a,700a,710a,711a'),
(0, 1, '03', 'ISSN', 0, '022a,022y,022z'),
(0, 1, '04', 'ISBN', 0, '020a'),
(0, 1, '05', '出版者', 0, '260b,264b'),
(0, 1, '06', '主题词', 0, '600a,610a,650a,651a,655a'),
(0, 1, '07', '分类号', 0, '050a,082a,060a,084a'),
(0, 1, '08', 'CODEN', 0, '030a'),
(0, 1, '09', '记录控制号', 0, '001,010a,035a'),
(0, 1, '10', '出版年', 0, '260c,264c'),
(0, 1, '11', '题名责任者', 0, '245a+110a'),
(0, 2, '01', '标目', 0, '200a,210a,215a,250a'),
(0, 2, '02', '单纯参照', 0, '400a,410a,450a'),
(0, 2, '03', '相关参照', 0, '500a,510a,550a'),
(0, 3, '01', '标目', 0, '100a,110a,130a,150a,151a'),
(0, 3, '02', '单纯参照', 0, '400a,410a,450a'),
(0, 3, '03', '相关参照', 0, '500a,510a,550a'),
(1, 0, '02', '责任者', 0, '200f,701a,711a,700a,710a'),
(1, 0, '04', 'ISSN/ISBN', 0, '011a,010a'),
(1, 0, '06', '索书号', 0, '690a'),
(1, 0, '07', '索书号', 0, '690a'),
(1, 0, '08', '出版者', 0, '210c'),
(1, 0, '10', '出版年', 0, '210d'),
(1, 1, '02', '责任者', 0, '100a,110a,245c,710a'),
(1, 1, '04', 'ISSN/ISBN', 0, '022a,020a'),
(1, 1, '06', '索书号', 0, '050a,082a'),
(1, 1, '07', '索书号', 0, '050a,082a'),
(1, 1, '08', '出版者', 0, '260b,264b'),
(1, 1, '10', '出版年', 0, '260c,264c'),
(1, 2, '01', '标目', 0, '200a,210a,215a,250a'),
(1, 2, '02', '单纯参照', 0, '400a,410a,450a'),
(1, 2, '03', '相关参照', 0, '500a,510a,550a'),
(1, 2, '04', '分类号', 0, '690a,686a'),
(1, 3, '01', '标目', 0, '100a,110a,130a,150a,151a'),
(1, 3, '02', '单纯参照', 0, '400a,410a,450a'),
(1, 3, '03', '相关参照', 0, '500a,510a,550a'),
(1, 3, '04', '分类号', 0, '053a'),
(2, 0, '01', '题名缩写', 0, '3211'),
(3, 1, '01', '题名缩写', 0, '3211');

-- How the title column of a list is composed, per format.
INSERT INTO title_field (marc_type_id, serial, marc_field) VALUES
(0, 1, '200a'),
(0, 2, '200e'),
(0, 3, '200h'),
(0, 4, '200i'),
(1, 1, '245a'),
(1, 2, '245n'),
(1, 3, '245p');

-- Type 0: characters removed from titles before indexing. Type 1: words
-- left out of title keys (articles and particles of the usual languages).
INSERT INTO stopword (stopword_type, stopword_cont) VALUES
(0, '.:;!?()[]<>"《》“”‘’、，。：；？！（）【】'),
(1, 'A,AN,THE,OF,AND,FOR,IN,ON,TO,DE,DES,DU,LA,LE,LES,DER,DIE,DAS,EL,IL,UND');
