-- Reference data of a new database: the code and parameter tables of a
-- university library with a main library (serials department, reading
-- rooms, back-volume stacks) and two branch libraries (east campus,
-- medical). Names, addresses, telephone numbers and e-mail addresses are
-- invented, e-mail addresses use reserved example domains.

-- Library groups: the main library and the two branches.
INSERT INTO loca_group (loca_group, loca_group_name, code_use_flag) VALUES
('01', '总馆', '1'),
('02', '东校区分馆', '1'),
('03', '医学分馆', '1');

-- Locations: departments, reading rooms, stacks and branch libraries.
INSERT INTO location_lst (location, location_name, loca_group, code_use_flag) VALUES
('QK01', '期刊部', '01', '1'),
('QKYL', '期刊阅览室', '01', '1'),
('ZRKX', '自然科学阅览室', '01', '1'),
('SHKX', '社会科学阅览室', '01', '1'),
('WWQK', '外文期刊阅览室', '01', '1'),
('GTYL', '港台文献阅览室', '01', '1'),
('BZYL', '报纸阅览室', '01', '1'),
('QKSK', '过刊库', '01', '1'),
('CBB', '采编部', '01', '1'),
('ZWSK', '中文图书书库', '01', '1'),
('WWSK', '外文图书书库', '01', '1'),
('GJTC', '古籍特藏室', '01', '1'),
('CKZX', '参考咨询室', '01', '1'),
('DXFG', '东校区分馆', '02', '1'),
('DXQK', '东校区期刊阅览室', '02', '1'),
('DXSK', '东校区书库', '02', '1'),
('YXFG', '医学分馆', '03', '1'),
('YXQK', '医学期刊阅览室', '03', '1'),
('YXSK', '医学分馆书库', '03', '1'),
('XQKS', '新校区筹建阅览室', '01', '0');

-- Order in which the serials screens (operation type 4) list the
-- locations that subscribe to or receive serials.
INSERT INTO location_sort (location, oper_type, sequence) VALUES
('QK01', 4, 1),
('QKYL', 4, 2),
('ZRKX', 4, 3),
('SHKX', 4, 4),
('WWQK', 4, 5),
('GTYL', 4, 6),
('BZYL', 4, 7),
('QKSK', 4, 8),
('CKZX', 4, 9),
('DXFG', 4, 10),
('DXQK', 4, 11),
('YXFG', 4, 12),
('YXQK', 4, 13);

-- University departments (readers, priority readers, departmental orders).
INSERT INTO department (dept_code, dept_name, code_use_flag) VALUES
('01', '文学院', '1'),
('02', '历史文化学院', '1'),
('03', '经济与管理学院', '1'),
('04', '法学院', '1'),
('05', '外国语学院', '1'),
('06', '马克思主义学院', '1'),
('07', '数学与统计学院', '1'),
('08', '物理科学与技术学院', '1'),
('09', '化学化工学院', '1'),
('10', '生命科学学院', '1'),
('11', '计算机科学与技术学院', '1'),
('12', '机械与电气工程学院', '1'),
('13', '资源与环境学院', '1'),
('14', '医学院', '1'),
('15', '药学院', '1'),
('16', '公共卫生学院', '1'),
('80', '研究生院', '1'),
('90', '图书馆', '1'),
('99', '校外单位', '1');

-- Document types: 01 to 10 monographs and other materials, 11 to 20
-- serials. class_flag '1' offers the type as a filter in serials reports.
INSERT INTO doc_type_code (doc_type_code, doc_type_name, class_flag, code_use_flag) VALUES
('01', '中文图书', '0', '1'),
('02', '外文图书', '0', '1'),
('03', '港台图书', '0', '1'),
('04', '古籍', '0', '1'),
('05', '学位论文', '0', '1'),
('06', '会议文献', '0', '1'),
('07', '工具书', '0', '1'),
('08', '视听资料', '0', '1'),
('09', '电子出版物', '0', '1'),
('10', '特藏文献', '0', '1'),
('11', '中文期刊', '1', '1'),
('12', '外文期刊', '1', '1'),
('13', '港台期刊', '1', '1'),
('14', '中文报纸', '1', '1'),
('15', '外文报纸', '1', '1'),
('16', '中文过刊合订本', '1', '1'),
('17', '外文过刊合订本', '1', '1'),
('18', '电子期刊', '1', '1'),
('19', '内部交流刊物', '1', '1'),
('20', '年鉴', '1', '1');

INSERT INTO carrier_code (carrier_code, carrier_name, code_use_flag) VALUES
('01', '印刷本', '1'),
('02', '光盘', '1'),
('03', '缩微平片', '1'),
('04', '缩微胶卷', '1'),
('05', '电子版', '1'),
('06', '印刷本附光盘', '1'),
('07', '磁带', '0');

-- Acquisition modes. 04 to 07 are the modes set for records taken over
-- from gifts and exchanges: received in exchange from a domestic (04) or
-- foreign (05) partner, received as a gift from a foreign (06) or
-- domestic (07) donor.
INSERT INTO get_mode_code (get_mode_code, get_mode_name, code_use_flag) VALUES
('01', '订购', '1'),
('02', '零购', '1'),
('03', '呈缴', '1'),
('04', '国内交换', '1'),
('05', '国外交换', '1'),
('06', '国外赠送', '1'),
('07', '国内赠送', '1'),
('08', '调拨', '1'),
('09', '复制', '1'),
('10', '其他', '1');

INSERT INTO language_code (lang_code, lang_name, code_use_flag) VALUES
('chi', '中文', '1'),
('eng', '英文', '1'),
('jpn', '日文', '1'),
('rus', '俄文', '1'),
('ger', '德文', '1'),
('fre', '法文', '1'),
('spa', '西班牙文', '1'),
('ita', '意大利文', '1'),
('por', '葡萄牙文', '1'),
('kor', '朝鲜文', '1'),
('ara', '阿拉伯文', '1'),
('dut', '荷兰文', '1'),
('lat', '拉丁文', '1'),
('mul', '多语种', '1'),
('und', '未定', '1');

INSERT INTO country_code (country_code, country_name, code_use_flag) VALUES
('CN', '中国', '1'),
('HK', '中国香港', '1'),
('MO', '中国澳门', '1'),
('TW', '中国台湾', '1'),
('US', '美国', '1'),
('GB', '英国', '1'),
('JP', '日本', '1'),
('DE', '德国', '1'),
('FR', '法国', '1'),
('RU', '俄罗斯', '1'),
('NL', '荷兰', '1'),
('CH', '瑞士', '1'),
('IT', '意大利', '1'),
('ES', '西班牙', '1'),
('SE', '瑞典', '1'),
('AT', '奥地利', '1'),
('BE', '比利时', '1'),
('DK', '丹麦', '1'),
('CA', '加拿大', '1'),
('AU', '澳大利亚', '1'),
('NZ', '新西兰', '1'),
('KR', '韩国', '1'),
('SG', '新加坡', '1'),
('IN', '印度', '1'),
('BR', '巴西', '1');

-- Classification schemes.
INSERT INTO classifica_code (cls_id, cls_name, code_use_flag) VALUES
('CLC', '中国图书馆分类法', '1'),
('KZF', '中国科学院图书馆图书分类法', '1'),
('LCC', '美国国会图书馆分类法', '1'),
('DDC', '杜威十进分类法', '1'),
('UDC', '国际十进分类法', '0');

-- Class groups (class ranges "a~b", comma-separated).
INSERT INTO cls_group (cls_group_code, cls_group_name, cls_id, comp_cls, code_use_flag) VALUES
('SK', '社会科学', 'CLC', 'A~K', '1'),
('ZK', '自然科学', 'CLC', 'N~Q,S~X', '1'),
('YX', '医药卫生', 'CLC', 'R', '1'),
('ZH', '综合性文献', 'CLC', 'Z', '1');

-- Circulation: kinds of circulation types, circulation types, reader
-- types, loan grades, rules and their terms.
INSERT INTO circ_type_sort (circ_sort_code, circ_sort_name, code_use_flag) VALUES
('01', '外借', '1'),
('02', '阅览', '1'),
('03', '保存', '1');

INSERT INTO circ_type_code (circ_type_code, circ_type_name, circ_sort_code, code_use_flag) VALUES
('11', '普通外借', '01', '1'),
('12', '短期外借', '01', '1'),
('13', '教师专借', '01', '1'),
('21', '现刊阅览', '02', '1'),
('22', '过刊合订本阅览', '02', '1'),
('23', '报纸阅览', '02', '1'),
('24', '工具书阅览', '02', '1'),
('31', '保存本', '03', '1'),
('32', '特藏', '03', '1');

INSERT INTO reader_type (reader_type, reader_type_name, code_use_flag) VALUES
('01', '本科生', '1'),
('02', '硕士研究生', '1'),
('03', '博士研究生', '1'),
('04', '教师', '1'),
('05', '职工', '1'),
('06', '离退休人员', '1'),
('07', '进修访问学者', '1'),
('08', '校外读者', '1');

INSERT INTO lend_grd (lend_grd, remark, code_use_flag) VALUES
('A', '可外借', '1'),
('B', '限短期外借', '1'),
('C', '仅供馆内阅览', '1'),
('D', '保存本不外借', '1');

INSERT INTO circ_rule (circ_rule_code, circ_rule_name, code_use_flag) VALUES
('01', '总馆借阅规则', '1'),
('02', '分馆借阅规则', '1');

INSERT INTO rule_comp (circ_rule_code, reader_type, circ_type_code, lend_days, lend_qty) VALUES
('01', '01', '11', 30, 10),
('01', '02', '11', 60, 15),
('01', '03', '11', 90, 20),
('01', '04', '11', 90, 30),
('01', '05', '11', 30, 10),
('01', '06', '11', 60, 10),
('01', '04', '12', 7, 5),
('01', '04', '13', 180, 10),
('01', '04', '22', 3, 3),
('02', '01', '11', 30, 8),
('02', '02', '11', 60, 12),
('02', '03', '11', 90, 15),
('02', '04', '11', 90, 20),
('02', '04', '22', 3, 3);

INSERT INTO group_rule_comp (loca_group, circ_rule_code, remark) VALUES
('01', '01', '总馆各阅览室及书库'),
('02', '02', '东校区分馆'),
('03', '02', '医学分馆');

INSERT INTO violate_code (violate_code, violate_name, fine_amt, code_use_flag) VALUES
('01', '超期还书（每册每天）', 0.10, '1'),
('02', '污损文献', 10.00, '1'),
('03', '遗失文献', 50.00, '1'),
('04', '撕毁期刊', 20.00, '1');

INSERT INTO limit_type (limit_type, limit_type_name, code_use_flag) VALUES
('01', '欠费暂停借阅', '1'),
('02', '超期暂停借阅', '1'),
('03', '证件挂失', '1'),
('04', '离校停借', '1');

-- Opening hours, 1 = Monday .. 7 = Sunday.
INSERT INTO open_time (week_day, bgn_time, end_time, remark) VALUES
('1', '08:00:00', '22:00:00', '周一'),
('2', '08:00:00', '22:00:00', '周二'),
('3', '08:00:00', '22:00:00', '周三'),
('4', '08:00:00', '22:00:00', '周四'),
('5', '08:00:00', '22:00:00', '周五'),
('6', '08:30:00', '21:30:00', '周六'),
('7', '08:30:00', '21:30:00', '周日');

-- Statistics: main classes of the Chinese library classification, and a
-- coarse split into social sciences, sciences, medicine and general works.
INSERT INTO stat_type_code (stat_type_code, stat_type_name, code_use_flag) VALUES
('01', '中图法基本大类', '1'),
('02', '学科门类', '1');

INSERT INTO stat_type_detl (stat_type_code, sub_stat_code, sub_stat_name, code_use_flag) VALUES
('01', 'A', '马克思主义、列宁主义、毛泽东思想、邓小平理论', '1'),
('01', 'B', '哲学、宗教', '1'),
('01', 'C', '社会科学总论', '1'),
('01', 'D', '政治、法律', '1'),
('01', 'E', '军事', '1'),
('01', 'F', '经济', '1'),
('01', 'G', '文化、科学、教育、体育', '1'),
('01', 'H', '语言、文字', '1'),
('01', 'I', '文学', '1'),
('01', 'J', '艺术', '1'),
('01', 'K', '历史、地理', '1'),
('01', 'N', '自然科学总论', '1'),
('01', 'O', '数理科学和化学', '1'),
('01', 'P', '天文学、地球科学', '1'),
('01', 'Q', '生物科学', '1'),
('01', 'R', '医药、卫生', '1'),
('01', 'S', '农业科学', '1'),
('01', 'T', '工业技术', '1'),
('01', 'U', '交通运输', '1'),
('01', 'V', '航空、航天', '1'),
('01', 'X', '环境科学、安全科学', '1'),
('01', 'Z', '综合性图书', '1'),
('02', '1', '社会科学', '1'),
('02', '2', '自然科学与工程技术', '1'),
('02', '3', '医药卫生', '1'),
('02', '4', '综合', '1');

INSERT INTO stat_cls_comp (stat_type_code, sub_stat_code, cls_id, comp_cls) VALUES
('01', 'A', 'CLC', 'A'),
('01', 'B', 'CLC', 'B'),
('01', 'C', 'CLC', 'C'),
('01', 'D', 'CLC', 'D'),
('01', 'E', 'CLC', 'E'),
('01', 'F', 'CLC', 'F'),
('01', 'G', 'CLC', 'G'),
('01', 'H', 'CLC', 'H'),
('01', 'I', 'CLC', 'I'),
('01', 'J', 'CLC', 'J'),
('01', 'K', 'CLC', 'K'),
('01', 'N', 'CLC', 'N'),
('01', 'O', 'CLC', 'O'),
('01', 'P', 'CLC', 'P'),
('01', 'Q', 'CLC', 'Q'),
('01', 'R', 'CLC', 'R'),
('01', 'S', 'CLC', 'S'),
('01', 'T', 'CLC', 'T'),
('01', 'U', 'CLC', 'U'),
('01', 'V', 'CLC', 'V'),
('01', 'X', 'CLC', 'X'),
('01', 'Z', 'CLC', 'Z'),
('02', '1', 'CLC', 'A~K'),
('02', '2', 'CLC', 'N~Q,S~X'),
('02', '3', 'CLC', 'R'),
('02', '4', 'CLC', 'Z');

INSERT INTO stat_template (template_code, template_name, stat_type_code, code_use_flag) VALUES
('T01', '按中图法大类统计', '01', '1'),
('T02', '按学科门类统计', '02', '1');

-- Acquisitions codes: payment modes, fund sources, currencies.
INSERT INTO pay_mode_code (pay_mode_code, pay_mode_name, code_use_flag) VALUES
('01', '银行转账', '1'),
('02', '支票', '1'),
('03', '汇票', '1'),
('04', '公务卡', '1'),
('05', '现金', '1'),
('06', '预付款冲抵', '1'),
('07', '外汇支付', '1');

INSERT INTO fund_src_code (fund_src_code, fund_src_name, code_use_flag) VALUES
('01', '中文期刊经费', '1'),
('02', '外文期刊经费', '1'),
('03', '港台期刊经费', '1'),
('04', '报纸经费', '1'),
('05', '学科建设经费', '1'),
('06', '医学分馆文献经费', '1'),
('07', '东校区分馆文献经费', '1'),
('08', '数字资源经费', '1'),
('09', '赠送', '1'),
('10', '交换', '1');

INSERT INTO money_type (money_code, money_name, code_use_flag) VALUES
('CNY', '人民币', '1'),
('USD', '美元', '1'),
('EUR', '欧元', '1'),
('GBP', '英镑', '1'),
('JPY', '日元', '1'),
('HKD', '港币', '1'),
('TWD', '新台币', '1'),
('CHF', '瑞士法郎', '1');

-- Property-number classes: the prefix of the property numbers of the
-- class, the prefix of its accession batch numbers and the number of
-- digits of the batch serial.
INSERT INTO max_number (class_type_code, class_type_name, prop_prefix, check_batch_prefix, batch_serial_width) VALUES
('01', '中文图书', 'C', 'CT', 6),
('02', '外文图书', 'W', 'WT', 6),
('03', '港台图书', 'G', 'GT', 5),
('11', '中文期刊合订本', 'Q', 'QH', 6),
('12', '外文期刊合订本', 'WQ', 'WH', 6),
('13', '港台期刊合订本', 'GQ', 'GH', 5),
('14', '报纸合订本', 'BZ', 'BH', 5),
('15', '中文期刊单册', 'QD', 'QD', 6),
('16', '外文期刊单册', 'WD', 'WD', 6),
('21', '东校区分馆期刊', 'DQ', 'DH', 5),
('22', '医学分馆期刊', 'YQ', 'YH', 5);

-- Fund sources each subscribing location may charge (use_flag '1').
INSERT INTO sub_acct (location, fund_src_code, use_flag) VALUES
('QK01', '01', '1'),
('QK01', '02', '1'),
('QK01', '03', '1'),
('QK01', '04', '1'),
('QK01', '05', '1'),
('QK01', '08', '1'),
('QK01', '09', '1'),
('QK01', '10', '1'),
('QKYL', '01', '1'),
('QKYL', '05', '1'),
('QKYL', '09', '1'),
('ZRKX', '01', '1'),
('ZRKX', '02', '1'),
('ZRKX', '05', '1'),
('SHKX', '01', '1'),
('SHKX', '02', '1'),
('SHKX', '05', '1'),
('WWQK', '02', '1'),
('WWQK', '05', '1'),
('WWQK', '09', '1'),
('WWQK', '10', '1'),
('GTYL', '03', '1'),
('GTYL', '09', '1'),
('GTYL', '10', '1'),
('BZYL', '04', '1'),
('QKSK', '01', '0'),
('CKZX', '01', '1'),
('CKZX', '05', '1'),
('DXFG', '01', '1'),
('DXFG', '07', '1'),
('DXFG', '05', '1'),
('DXQK', '07', '1'),
('YXFG', '02', '1'),
('YXFG', '05', '1'),
('YXFG', '06', '1'),
('YXFG', '09', '1'),
('YXQK', '06', '1');

-- Publication frequencies, the codes used by issue prediction.
INSERT INTO publ_freq (publ_freq, publ_freq_name, code_use_flag) VALUES
('a', '日刊', '1'),
('b', '半周刊', '1'),
('c', '周刊', '1'),
('d', '双周刊', '1'),
('e', '半月刊', '1'),
('f', '月刊', '1'),
('g', '双月刊', '1'),
('h', '季刊', '1'),
('i', '每年三次', '1'),
('j', '半年刊', '1'),
('k', '年刊', '1'),
('l', '双年刊', '1'),
('m', '三年刊', '1'),
('n', '双日刊', '1'),
('o', '旬刊', '1'),
('u', '不详', '1'),
('y', '不定期', '1'),
('z', '其它', '1');

INSERT INTO peri_level (level_code, level_name, code_use_flag) VALUES
('01', '核心期刊', '1'),
('02', '一般期刊', '1'),
('03', 'CSSCI来源期刊', '1'),
('04', 'SCI收录期刊', '1'),
('05', 'EI收录期刊', '1'),
('06', '重点学科期刊', '1'),
('07', '本校学报', '1'),
('09', '其他', '1');

-- Distributors the orders go to, and the operation types for which each
-- is offered (4 = serials; 1 = monograph acquisitions).
INSERT INTO publish_busi (publ_code, publ_name, publ_email, publ_address, publ_tele, publ_contact, code_use_flag) VALUES
('YZFX', '全国邮政报刊发行局', 'dingyue@post-bk.example.com', '北京市西城区报刊发行大街28号', '010-66120538', '刘建国', '1'),
('SYZF', '市邮政局报刊发行处', 'baokan@city-post.example.com', '市中心区邮电路9号', '027-85613042', '陈丽', '1'),
('TSJK', '全国图书进出口总公司期刊部', 'journals@cnbook-ie.example.com', '北京市朝阳区外贸大厦东楼6层', '010-65086271', '王海燕', '1'),
('JYJK', '教育图书进出口有限公司', 'serials@edu-import.example.com', '上海市徐汇区文教路118号', '021-64379205', '周明', '1'),
('GTDL', '港台书刊代理有限公司', 'order@hktw-books.example.com', '香港九龙弥敦道368号华文大厦12楼', '852-23815406', '黄志伟', '1'),
('FYFX', '非邮发期刊联合征订中心', 'zhengding@nonpost.example.com', '北京市海淀区学院路45号', '010-62317748', '赵晓雪', '1'),
('KXQK', '科学期刊出版社发行部', 'faxing@sci-journals.example.com', '北京市东城区科技路16号', '010-64035129', '孙立新', '1'),
('ZHYX', '中华医学期刊社发行部', 'fx@med-journals.example.com', '北京市东城区医苑胡同7号', '010-85158263', '李红梅', '1'),
('XBBJ', '本校学报编辑部', 'xuebao@univ.example.com', '本校行政楼502室', '027-87501126', '吴静', '1'),
('XHSD', '省新华书店图书批销中心', 'pixiao@xinhua-pf.example.com', '省城中山大道1200号', '027-82856730', '郑伟', '1');

INSERT INTO publish_sort (publ_code, oper_type) VALUES
('YZFX', 4),
('SYZF', 4),
('TSJK', 4),
('JYJK', 4),
('GTDL', 4),
('FYFX', 4),
('KXQK', 4),
('ZHYX', 4),
('XBBJ', 4),
('XHSD', 1);

-- Publishing houses (area_code: administrative division of the seat).
INSERT INTO press (press_code, press_name, press_address, country_code, area_code) VALUES
('P0001', '科学期刊出版社', '北京市东城区科技路16号', 'CN', '110000'),
('P0002', '中华医学期刊社', '北京市东城区医苑胡同7号', 'CN', '110000'),
('P0003', '高等教育期刊出版社', '北京市西城区德胜门外大街4号', 'CN', '110000'),
('P0004', '东方经济杂志社', '上海市黄浦区汉口路309号', 'CN', '310000'),
('P0005', '长江文艺期刊社', '武汉市武昌区东湖路177号', 'CN', '420000'),
('P0006', '本校学报编辑部', '本校行政楼502室', 'CN', '420000'),
('P0007', '香江学术出版有限公司', '香港湾仔轩尼诗道288号', 'HK', '810000'),
('P0008', '宝岛学术期刊社', '台北市大安区和平东路一段62号', 'TW', '710000'),
('P0009', 'Northfield Scientific Publishers', '210 Harbor Street, Boston, MA', 'US', NULL),
('P0010', 'Thameside Academic Press', '14 Riverside Walk, Oxford', 'GB', NULL),
('P0011', 'Rheinland Fachverlag', 'Uferstrasse 22, Koeln', 'DE', NULL),
('P0012', 'Sakura Gakujutsu Shuppan', '3-5-1 Kanda, Chiyoda-ku, Tokyo', 'JP', NULL);

-- Book sizes, binders and their prices per bound volume and size.
INSERT INTO book_size (book_size_code, book_size_name, code_use_flag) VALUES
('01', '16开', '1'),
('02', '大16开', '1'),
('03', '32开', '1'),
('04', '大32开', '1'),
('05', '8开', '1'),
('06', 'A4', '1'),
('07', 'B5', '1'),
('08', '4开', '1'),
('09', '对开', '1');

INSERT INTO bookbinder (bookbinder_code, bookbinder_name, bookbinder_addr, bookbinder_tele) VALUES
('ZD01', '文华书刊装订厂', '市高新区印刷工业园B区7号', '027-87762315'),
('ZD02', '新远印务装订有限公司', '市东湖开发区光谷三路56号', '027-86695048'),
('ZD03', '医苑精装装订社', '医学院路南侧校办企业楼1层', '027-83690712');

INSERT INTO bind_price (bookbinder_code, book_size_code, bind_price) VALUES
('ZD01', '01', 18.00),
('ZD01', '02', 20.00),
('ZD01', '03', 15.00),
('ZD01', '04', 16.00),
('ZD01', '05', 30.00),
('ZD01', '06', 20.00),
('ZD01', '07', 17.00),
('ZD01', '08', 45.00),
('ZD01', '09', 60.00),
('ZD02', '01', 17.50),
('ZD02', '02', 19.50),
('ZD02', '03', 14.00),
('ZD02', '04', 15.00),
('ZD02', '05', 28.00),
('ZD02', '06', 19.50),
('ZD02', '07', 16.50),
('ZD02', '08', 42.00),
('ZD02', '09', 58.00),
('ZD03', '01', 19.00),
('ZD03', '02', 21.00),
('ZD03', '03', 16.00),
('ZD03', '06', 21.00),
('ZD03', '07', 18.00);

-- Priority readers who receive first-read notices of new issues.
INSERT INTO prio_reader (prio_reader_code, prio_reader_name, prio_reader_email, dept_code, remark) VALUES
('PR0001', '张文博', 'zhangwb@univ.example.com', '03', '经济学科带头人，关注经济类核心期刊'),
('PR0002', '李慧敏', 'lihm@univ.example.com', '10', '生命科学学院，关注外文生物学期刊'),
('PR0003', '王志强', 'wangzq@univ.example.com', '11', '计算机学院，关注计算机类期刊'),
('PR0004', '陈雪', 'chenxue@univ.example.com', '14', '医学院，关注医学核心期刊');
