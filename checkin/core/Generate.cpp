#include "checkin/core/Generate.h"

#include <algorithm>
#include <cstdio>

#include "checkin/core/basChkConfig.h"
#include "checkin/core/basChkPredict.h"
#include "common/OperatorState.h"
#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/basOrdFunc.h"

namespace {

std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

int pick(std::mt19937& rng, int n) {
    return static_cast<int>(rng() % static_cast<unsigned>(n));
}

// Distributors of the seed code table: Chinese titles by post and two agents, Western ones by
// two importers.
const char* const kChineseDistributors[] = {"YZFX", "FYFX", "KXQK"};
const char* const kWesternDistributors[] = {"TSJK", "JYJK"};

const char* const kCnPrefix[] = {"中国", "现代", "应用", "国际", "北方", "南方", "高等", "实用"};
const char* const kCnSubject[] = {"计算机", "材料", "化学", "物理", "数学", "经济", "管理",
                                  "法学",   "教育", "医学", "农业", "环境", "机械", "电子",
                                  "建筑",   "交通", "历史", "文学", "艺术", "心理"};
const char* const kCnKind[] = {"学报", "研究", "进展", "评论", "通讯", "技术", "科学", "论坛"};
const char* const kUsPrefix[] = {"Journal of", "Annals of",   "Review of",  "Bulletin of",
                                 "Letters in", "Advances in", "Studies in", "Transactions on"};
const char* const kUsSubject[] = {
    "Applied Physics",   "Materials Science", "Organic Chemistry",    "Number Theory",
    "Labour Economics",  "Public Management", "Comparative Law",      "Higher Education",
    "Clinical Medicine", "Crop Science",      "Ocean Ecology",        "Control Systems",
    "Signal Processing", "Urban Design",      "Transport Policy",     "Medieval History",
    "Modern Poetry",     "Art History",       "Cognitive Psychology", "Library Science"};

template <std::size_t N>
const char* any(std::mt19937& rng, const char* const (&list)[N]) {
    return list[pick(rng, static_cast<int>(N))];
}

// Seven random digits and their check digit.
std::string randomIssn(std::mt19937& rng) {
    std::string d;
    int sum = 0;
    for (int i = 0; i < 7; ++i) {
        const int digit = pick(rng, 10);
        d += static_cast<char>('0' + digit);
        sum += digit * (8 - i);
    }
    const int check = (11 - sum % 11) % 11;
    return d.substr(0, 4) + "-" + d.substr(4) +
           (check == 10 ? 'X' : static_cast<char>('0' + check));
}

// Runs `work` in one transaction; reports a failure after the rollback.
int inTransaction(const std::function<int()>& work) {
    {
        DbTransaction tx;
        if (tx.ok() && work() == 0 && tx.commit() == 0) return 0;
    }
    LIB_DB_ShowError();
    return -1;
}

// Record numbers for n records at once: one atomic step on the counter, so that other
// workstations numbering records meanwhile never get one of them. The first, or -1.
long long reserveRecordNumbers(int n) {
    const std::string kind = LIB_SqlStr(MarcFamilyOf(kMarcBib).numberKind);
    long long last = -1;
    const int rc = inTransaction([&] {
        LibArray a;
        if (LIB_DB_Execute("UPDATE reg_marc_number SET max_rec_no=max_rec_no+" + std::to_string(n) +
                           " WHERE marc_kind=" + kind) < 0 ||
            LIB_DB_Select("SELECT max_rec_no FROM reg_marc_number WHERE marc_kind=" + kind, a) < 0)
            return -1;
        last = a(0, 2).integer();
        return 0;
    });
    return rc < 0 || last < n ? -1 : last - n + 1;
}

MarcRec titleRecord(GenerateContext& ctx, const GenTitle& t) {
    MarcRec rec;
    rec.Kind = kMarcBib;
    rec.DocTypeCode = "11";
    rec.RecNo = t.marcRecNo;
    std::vector<MarcItem> items;
    const std::string issn = randomIssn(ctx.rng);
    if (t.chinese) {
        rec.MarcType = "C";
        const std::string title =
            std::string(any(ctx.rng, kCnPrefix)) + any(ctx.rng, kCnSubject) + any(ctx.rng, kCnKind);
        items = {{"011a", issn},  {"101a", "chi"},  {"102a", "CN"},
                 {"200a", title}, {"210a", "北京"}, {"210c", title + "编辑部"}};
    } else {
        rec.MarcType = "U";
        const std::string title =
            std::string(any(ctx.rng, kUsPrefix)) + " " + any(ctx.rng, kUsSubject);
        items = {
            {"022a", issn}, {"245a", title}, {"260a", "New York"}, {"260b", title + " Society"}};
    }
    MarcBuildFromItems(items, rec, ctx.today);
    return rec;
}

// Records are saved a few hundred to a transaction.
constexpr int kRecordsPerTransaction = 500;

int stepTitles(GenerateContext& ctx) {
    const int n = ctx.options.titles;
    const long long first = reserveRecordNumbers(n);
    if (first < 0) return -1;
    for (int i = 0; i < n; ++i) {
        GenTitle t;
        t.chinese = pick(ctx.rng, 100) < 70;
        t.freqCode = GenFrequencyMix(pick(ctx.rng, 1000));
        t.firstVolumeYear = ctx.lastYear - 5 - pick(ctx.rng, 60);
        t.roman = !t.chinese && pick(ctx.rng, 100) == 0;
        t.publCode =
            t.chinese ? any(ctx.rng, kChineseDistributors) : any(ctx.rng, kWesternDistributors);
        char number[24];
        std::snprintf(number, sizeof number, "%010lld", first + i);
        t.marcRecNo = number;
        t.asordNo = (t.chinese ? "G" : "W") + t.marcRecNo;
        ctx.titles.push_back(std::move(t));
    }
    for (int from = 0; from < n; from += kRecordsPerTransaction) {
        const int to = std::min(n, from + kRecordsPerTransaction);
        DbTransaction tx;
        if (!tx.ok()) {
            LIB_DB_ShowError();
            return -1;
        }
        for (int i = from; i < to; ++i) {
            MarcRec rec = titleRecord(ctx, ctx.titles[static_cast<std::size_t>(i)]);
            if (!MarcSave(rec, 1, 0, "")) return -1;  // reported by the save
        }
        if (tx.commit() < 0) {
            LIB_DB_ShowError();
            return -1;
        }
        ctx.progress("书目记录", to, n);
    }
    ctx.wrote(MarcCatalogueTables());
    ctx.count("marc", n);
    return 0;
}

// Every title is subscribed at the serials department (QK01, one or two copies) and with one copy
// at a reading room that receives its own: social sciences for Chinese titles, the foreign
// language room for Western ones.
std::string secondLocation(const GenTitle& t) {
    return t.chinese ? "SHKX" : "WWQK";
}

// The check-in settings of a title for one subscription year, as an operator would enter them.
ChkConfigForm lineSettings(const GenTitle& t, int year) {
    ChkConfigForm f;
    const std::string y = std::to_string(year);
    f.line.key = {t.publCode, y + "01", t.asordNo};
    f.freqCode = t.freqCode;
    f.roman = t.roman;
    f.cfg.location = "QK01";
    f.cfg.beginDate = y + "-01-01";
    f.cfg.endDate = y + "-12-31";
    f.line.chkBgnDate = f.cfg.beginDate;
    f.line.fstReceDate = 1 + static_cast<int>(std::stoll(t.marcRecNo) % 7);
    f.line.qtyOfYear = chkIssueCount(chkPredictInput(f));
    f.line.qtyOfVol = std::max(1, f.line.qtyOfYear);
    f.line.aslackYsno = "1";
    f.line.daysOfAslack = t.chinese ? 30 : 60;
    f.line.aslackSecond = 30;
    f.line.aslackThird = 30;
    f.line.bindItemQty = std::max(1, f.line.qtyOfYear / 2);
    f.line.carrierCode = "01";
    f.line.marcRecNo = t.marcRecNo;
    f.cfg.begVol = year - t.firstVolumeYear + 1;
    f.cfg.begIssue = 1;
    f.cfg.begTotalIssue = (f.cfg.begVol - 1) * f.line.qtyOfVol + 1;
    f.cfg.bindYsno = "1";
    f.cfg.finishFlag = "0";
    f.cfg.issueContinue = "0";
    f.locationCopies = 1 + static_cast<int>(std::stoll(t.marcRecNo) % 3 == 0);
    f.cfg.bindCopyQty = f.locationCopies;
    return f;
}

int stepOrders(GenerateContext& ctx) {
    const std::string wkr = g_strWkrNo.empty() ? "ROOT" : g_strWkrNo;
    for (int year = ctx.firstYear; year <= ctx.lastYear; ++year) {
        const std::string batch = std::to_string(year) + "01";
        const bool current = year == ctx.lastYear;
        int rc = inTransaction([&] {
            LibArray have;
            if (LIB_DB_Select(
                    "SELECT publ_code FROM m_peri_ord_lst WHERE peri_ord_year=" + q(batch), have) <
                0)
                return -1;
            std::vector<std::string> made;
            for (int r = 2; r < have.rows(); ++r)
                made.push_back(have(0, r).str());
            BulkInsert cata("m_peri_ord_lst",
                            "publ_code,peri_ord_year,peri_ord_date,resp_wkr,peri_ord_flag");
            for (const GenTitle& t : ctx.titles) {
                if (std::find(made.begin(), made.end(), t.publCode) != made.end()) continue;
                made.push_back(t.publCode);
                if (cata.add(q(t.publCode) + "," + q(batch) + "," +
                             q(std::to_string(year - 1) + "-10-15") + "," + q(wkr) + ",'1'") < 0)
                    return -1;
            }
            BulkInsert detl(
                "m_peri_ord_detl",
                "publ_code,peri_ord_year,asord_no,carrier_code,get_mode_code,marc_rec_no,"
                "book_size_code,money_code,peri_price,peri_total_price,peri_ord_qty,"
                "resp_wkr,ord_flag,new_ord_flag,publ_freq,peri_type,fmt_asord_no,"
                "qty_of_year,chk_bgn_date,fst_rece_date,qty_of_vol,aslack_ysno,"
                "days_of_aslack,aslack_second,aslack_third,bind_item_qty,days_of_items");
            BulkInsert subs("m_sub_ord_lst",
                            "publ_code,peri_ord_year,asord_no,location,peri_region,sub_peri_qty,"
                            "chk_stat");
            BulkInsert funds("m_peri_sub_fund_out",
                             "publ_code,peri_ord_year,asord_no,location,fund_src_code,sub_qty,"
                             "sub_amt,bala_flag");
            BulkInsert dists("m_peri_ord_dist_lst",
                             "publ_code,peri_ord_year,asord_no,location,dist_loca,dist_qty");
            for (const GenTitle& t : ctx.titles) {
                const ChkConfigForm f = lineSettings(t, year);
                const ChkOrderLine& l = f.line;
                const std::string key = q(l.key.publCode) + "," + q(batch) + "," + q(t.asordNo);
                const int price = t.chinese ? 8 + static_cast<int>(std::stoll(t.marcRecNo) % 40)
                                            : 40 + static_cast<int>(std::stoll(t.marcRecNo) % 200);
                const int annual = price * std::max(1, l.qtyOfYear);
                const int copies = f.locationCopies + 1;
                const std::string other = secondLocation(t);
                const std::string fund = t.chinese ? "'01'" : "'02'";
                if (detl.add(key + ",'01','01'," + q(t.marcRecNo) + ",'01'," +
                             (t.chinese ? "'CNY'," : "'USD',") + std::to_string(price) + "," +
                             std::to_string(annual) + "," + std::to_string(copies) + "," + q(wkr) +
                             (current ? ",'2','1'," : ",'3','1',") + q(chkFreqName(t.freqCode)) +
                             ",'0'," + q(t.asordNo) + "," + std::to_string(l.qtyOfYear) + "," +
                             q(l.chkBgnDate) + "," + q(std::to_string(l.fstReceDate)) + "," +
                             std::to_string(l.qtyOfVol) + ",'1'," + std::to_string(l.daysOfAslack) +
                             ",30,30," + std::to_string(l.bindItemQty) + ",0") < 0 ||
                    subs.add(key + ",'QK01','全年'," + std::to_string(f.locationCopies) + ",'1'") <
                        0 ||
                    subs.add(key + "," + q(other) + ",'全年',1,'1'") < 0 ||
                    funds.add(key + ",'QK01'," + fund + "," + std::to_string(f.locationCopies) +
                              "," + std::to_string(annual * f.locationCopies) + ",'0'") < 0 ||
                    funds.add(key + "," + q(other) + "," + fund + ",1," + std::to_string(annual) +
                              ",'0'") < 0 ||
                    dists.add(key + ",'QK01','QK01',1") < 0 ||
                    (f.locationCopies > 1 && dists.add(key + ",'QK01','QKYL',1") < 0) ||
                    dists.add(key + "," + q(other) + "," + q(other) + ",1") < 0)
                    return -1;
            }
            if (cata.flush() < 0 || detl.flush() < 0 || subs.flush() < 0 || funds.flush() < 0 ||
                dists.flush() < 0)
                return -1;
            ctx.count("m_peri_ord_lst", cata.rows());
            ctx.count("m_peri_ord_detl", detl.rows());
            ctx.count("m_sub_ord_lst", subs.rows());
            ctx.count("m_peri_sub_fund_out", funds.rows());
            ctx.count("m_peri_ord_dist_lst", dists.rows());
            return 0;
        });
        if (rc < 0) return -1;
        ctx.progress("订购", year - ctx.firstYear + 1, ctx.lastYear - ctx.firstYear + 1);
    }
    return 0;
}

// Arrivals: most issues come within the claim period, some late, a few never.
struct Arrival {
    bool arrived;
    int delay;  // days after the expected date
};
Arrival arrival(std::mt19937& rng, int claimDays) {
    const int roll = pick(rng, 100);
    if (roll < 3) return {false, 0};
    if (roll < 11) return {true, claimDays + 1 + pick(rng, 45)};
    return {true, pick(rng, std::max(1, claimDays / 2))};
}

int stepCheckIn(GenerateContext& ctx) {
    LibArray max;
    if (LIB_DB_Select("SELECT max(peri_id) FROM m_peri_chk_vol", max) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    std::string last = max(0, 2).str();
    const std::string wkr = g_strWkrNo.empty() ? "ROOT" : g_strWkrNo;
    for (int year = ctx.firstYear; year <= ctx.lastYear; ++year) {
        int rc = inTransaction([&] {
            const std::string before = last;
            BulkInsert cfg("m_peri_chk_cfg",
                           "publ_code,peri_ord_year,asord_no,location,begin_date,end_date,"
                           "auto_update_loca,beg_vol,beg_issue,beg_total_issue,bind_ysno,"
                           "bind_copy_qty,pres_copy_qty,exch_copy_qty,issue_keep_qty,finish_flag,"
                           "issue_continue,vol_beg_issue");
            BulkInsert vols("m_peri_chk_vol",
                            "peri_id,publ_code,peri_ord_year,asord_no,cover_vol,cover_issue,"
                            "cover_issue_total,carrier_code,expect_date,aslack_date,publ_year,"
                            "attachment,peri_no,finish_flag,peri_type");
            BulkInsert items("m_peri_item",
                             "peri_id,location,dis_location,item_no,item_stat,chk_date,wkr_no",
                             &vols);
            for (const GenTitle& t : ctx.titles) {
                const ChkConfigForm f = lineSettings(t, year);
                const ChkConfig& c = f.cfg;
                const std::string key =
                    q(f.line.key.publCode) + "," + q(f.line.key.periOrdYear) + "," + q(t.asordNo);
                // Each receiving location: its sub-locations, one copy each.
                const std::string other = secondLocation(t);
                const std::vector<std::pair<std::string, std::vector<std::string>>> receivers = {
                    {"QK01", f.locationCopies > 1 ? std::vector<std::string>{"QK01", "QKYL"}
                                                  : std::vector<std::string>{"QK01"}},
                    {other, {other}}};
                for (const auto& [loca, subs] : receivers)
                    if (cfg.add(key + "," + q(loca) + "," + q(c.beginDate) + "," + q(c.endDate) +
                                ",'0'," + std::to_string(c.begVol) + ",1," +
                                std::to_string(c.begTotalIssue) + ",'1'," +
                                std::to_string(subs.size()) + ",0,0,0,'0','0',0") < 0)
                        return -1;
                const std::vector<ChkVolRow> rows = chkPredict(chkPredictInput(f), last);
                for (const ChkVolRow& r : rows) {
                    // Copies come to each location on a day of their own; the issue is finished
                    // (finish_flag '1') once every location has its copies.
                    std::vector<std::string> arrivedAt(receivers.size());
                    bool finished = true;
                    for (std::size_t k = 0; k < receivers.size(); ++k) {
                        if (r.expectDate > ctx.today) {
                            finished = false;
                            continue;
                        }
                        const Arrival a = arrival(ctx.rng, f.line.daysOfAslack);
                        const std::string day = chkAddDays(r.expectDate, a.delay);
                        if (!a.arrived || day > ctx.today) {
                            finished = false;
                            continue;
                        }
                        arrivedAt[k] = q(day + " 10:" + (a.delay < 10 ? "0" : "") +
                                         std::to_string(a.delay % 60) + ":00");
                    }
                    if (vols.add(q(r.periId) + "," + key + "," + q(r.coverVol) + "," +
                                 q(r.coverIssue) + "," + q(r.coverIssueTotal) + ",'01'," +
                                 q(r.expectDate) + "," + q(r.aslackDate) + "," + q(r.publYear) +
                                 ",''," + std::to_string(r.periNo) + (finished ? ",'1'" : ",'0'") +
                                 ",'0'") < 0)
                        return -1;
                    for (std::size_t k = 0; k < receivers.size(); ++k) {
                        if (arrivedAt[k].empty()) continue;
                        for (const std::string& sub : receivers[k].second)
                            if (items.add(q(r.periId) + "," + q(receivers[k].first) + "," + q(sub) +
                                          ",1,'0'," + arrivedAt[k] + "," + q(wkr)) < 0)
                                return -1;
                    }
                }
                if (!rows.empty()) last = rows.back().periId;
            }
            if (cfg.flush() < 0 || vols.flush() < 0 || items.flush() < 0) return -1;
            ctx.count("m_peri_chk_cfg", cfg.rows());
            ctx.count("m_peri_chk_vol", vols.rows());
            ctx.count("m_peri_item", items.rows());
            // The copies the year's open issues still owe; its issues are numbered on from the
            // library's last one.
            ctx.wrote({"m_peri_chk_lack"});
            return intRefreshIssueLack(before.empty() ? "" : "peri_id>" + q(before));
        });
        if (rc < 0) return -1;
        ctx.progress("签收预测与到刊", year - ctx.firstYear + 1, ctx.lastYear - ctx.firstYear + 1);
    }
    return 0;
}

}  // namespace

int BulkInsert::add(const std::string& values) {
    sql_ += (pending_ == 0 ? head_ + "(" : std::string(",(")) + values + ")";
    ++rows_;
    return ++pending_ >= per_ ? flush() : 0;
}

int BulkInsert::flush() {
    if (pending_ == 0) return 0;
    if (parent_ && parent_->flush() < 0) return -1;
    pending_ = 0;
    const int rc = LIB_DB_Execute(sql_);
    sql_.clear();
    return rc;
}

void GenerateContext::count(const std::string& table, long long n) {
    wrote({table});
    for (auto& [name, rows] : written)
        if (name == table) {
            rows += n;
            return;
        }
    written.emplace_back(table, n);
}

void GenerateContext::wrote(const std::vector<std::string>& tables) {
    for (const std::string& t : tables)
        if (std::find(tablesWritten.begin(), tablesWritten.end(), t) == tablesWritten.end())
            tablesWritten.push_back(t);
}

char GenFrequencyMix(int perMille) {
    struct Share {
        int upTo;
        char code;
    };
    // Monthly 40 %, bimonthly 18 %, quarterly 20 %, semimonthly 7 %, weekly 5 %, ten-daily 2 %,
    // half-yearly 3 %, annual 2 %, twice weekly 1 %, daily 1 %, every other day 1 %.
    static constexpr Share kMix[] = {{400, 'f'}, {580, 'g'}, {780, 'h'}, {850, 'e'},
                                     {900, 'c'}, {920, 'o'}, {950, 'j'}, {970, 'k'},
                                     {980, 'b'}, {990, 'a'}, {1000, 'n'}};
    for (const Share& s : kMix)
        if (perMille < s.upTo) return s.code;
    return 'f';
}

std::vector<GenerateStep>& generateSteps() {
    static std::vector<GenerateStep> steps{
        {"书目记录", stepTitles}, {"订购", stepOrders}, {"签收预测与到刊", stepCheckIn}};
    return steps;
}

int GenerateLibrary(GenerateContext& ctx) {
    ctx.rng.seed(ctx.options.seed);
    ctx.today = LIB_DB_GetServerDate().substr(0, 10);
    if (!chkIsDate(ctx.today)) {
        LIB_DB_ShowError();
        return -1;
    }
    ctx.lastYear = std::stoi(ctx.today.substr(0, 4));
    ctx.firstYear = ctx.lastYear - ctx.options.years + 1;
    if (!ctx.progress) ctx.progress = [](const std::string&, long long, long long) {};
    for (const GenerateStep& step : generateSteps())
        if (step.run(ctx) < 0) return -1;
    return 0;
}
