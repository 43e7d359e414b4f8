// Rules of the order tables that need no database: the normalised order number, row keys,
// decimal prices, the annual-price rule, validation wording and order, and the order file.
#include <gtest/gtest.h>

#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"
#include "tests/ordering/OrdTestData.h"

namespace {

TEST(OrderNumbers, NormalisedFormPadsShortNumericPartsAroundAnEarlyHyphen) {
    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case& c : std::initializer_list<Case>{{"2-15", "0002-0015"},
                                                     {"82-1", "0082-0001"},
                                                     {"1234-5", "1234-0005"},
                                                     {"12345-6", "12345-6"},
                                                     {"ABC", "ABC"},
                                                     {"-5", "-5"},
                                                     {"BM-12", "BM-0012"},
                                                     {"4-123456", "0004-123456"},
                                                     {"", ""}})
        EXPECT_EQ(strFormatAsordNo(c.in), c.out) << c.in;
}

TEST(OrderNumbers, RowKeySplitsBackIntoItsParts) {
    std::string key = strOrdRowKey("YZFX", "202601", "2-15", "0000000007");
    EXPECT_EQ(key, "YZFX|202601|2-15|0000000007");
    OrdRowKey k = SplitOrdRowKey(key);
    EXPECT_EQ(k.publ, "YZFX");
    EXPECT_EQ(k.year, "202601");
    EXPECT_EQ(k.asordNo, "2-15");
    EXPECT_EQ(k.marcNo, "0000000007");
    EXPECT_EQ(SplitOrdRowKey("YZFX|202601|2-15|").marcNo, "");
}

TEST(Prices, DecimalTimesIsExact) {
    struct Case {
        const char* value;
        long long n;
        const char* out;
    };
    for (const Case& c : std::initializer_list<Case>{{"10", 12, "120"},
                                                     {"1.1", 12, "13.2"},
                                                     {"12.50", 12, "150"},
                                                     {"0.35", 3, "1.05"},
                                                     {".5", 3, "1.5"},
                                                     {"-2.5", 2, "-5"},
                                                     {"abc", 2, ""},
                                                     {"", 2, ""},
                                                     {"3", 0, "0"}})
        EXPECT_EQ(strDecimalTimes(c.value, c.n), c.out) << c.value << " x " << c.n;
}

TEST(Prices, AnnualPriceFollowsTheIssuesOfTheBatchYear) {
    EXPECT_EQ(strAnnualPrice("10", "月刊", "202601"), "120");
    EXPECT_EQ(strAnnualPrice("1", "日刊", "202401"), "366");
    EXPECT_EQ(strAnnualPrice("1", "日刊", "202501"), "365");
    EXPECT_EQ(strAnnualPrice("2", "季刊", "202502"), "8");
    EXPECT_EQ(strAnnualPrice("5", "不定期", "202601"), "");
    EXPECT_EQ(strAnnualPrice("5", "不详", "202601"), "");
    EXPECT_EQ(strAnnualPrice("", "月刊", "202601"), "");
}

TEST(Validation, EachMissingItemIsReportedInItsPlace) {
    struct Case {
        const char* what;
        void (*spoil)(OrdDetail&);
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"number", [](OrdDetail& d) { d.asordNo = " "; }, {" 必须输入征订号！"}},
        {"order state", [](OrdDetail& d) { d.periType = ""; }, {" 必须选择订购状态！"}},
        {"mode", [](OrdDetail& d) { d.getMode = ""; }, {" 必须选择获得方式！"}},
        {"frequency", [](OrdDetail& d) { d.publFreq = ""; }, {" 必须选择出版频率！"}},
        {"carrier", [](OrdDetail& d) { d.carrier = ""; }, {" 必须选择载体类型！"}},
        {"currency", [](OrdDetail& d) { d.moneyType = ""; }, {" 必须选择币种！"}},
        {"annual price", [](OrdDetail& d) { d.totalPrice = ""; }, {" 必须输入总价！"}},
        {"subscribers", [](OrdDetail& d) { d.subs.clear(); }, {" 必须添加订户！"}},
        {"location", [](OrdDetail& d) { d.subs[1].location = ""; }, {" 必须选择订户！"}},
        {"funds",
         [](OrdDetail& d) { d.subs[1].funds.clear(); },
         {" 订户【WWQK】必须选择经费项目！"}},
        {"distribution",
         [](OrdDetail& d) { d.subs[0].dists.clear(); },
         {" 订户【QK01】签收必须选择分配地！"}},
        {"copies",
         [](OrdDetail& d) { d.subs[0].count = "3"; },
         {" 订户【QK01】设定的复本数与分配数不符！"}},
        {"everything at once",
         [](OrdDetail& d) {
             d.carrier = "";
             d.asordNo = "";
             d.subs[0].funds.clear();
             d.subs[0].count = "5";
         },
         {" 必须输入征订号！", " 必须选择载体类型！", " 订户【QK01】必须选择经费项目！",
          " 订户【QK01】设定的复本数与分配数不符！"}},
    };
    for (const Case& c : cases) {
        OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
        c.spoil(d);
        EXPECT_EQ(OrdDetailErrors(d), c.expected) << c.what;
    }
    EXPECT_TRUE(OrdDetailErrors(CompleteDetail("YZFX", "202601", "2-15")).empty());
}

TEST(Validation, DistributionMustMatchTheCopiesOnlyForSubscribersThatCheckIn) {
    OrdSubscriber s{
        "QK01", "1", "3", "", "", {{"01", "3", "", ""}}, {{"QKYL", "1", ""}, {"QK01", "1", ""}}};
    EXPECT_EQ(OrdSubscriberErrors(s),
              std::vector<std::string>{" 订户【QK01】设定的复本数与分配数不符！"});
    EXPECT_EQ(OrdSubscriberErrors(s, true),
              std::vector<std::string>{" 订户【QK01】设定的复本数不符！"});
    s.dists[1].qty = "2";
    EXPECT_TRUE(OrdSubscriberErrors(s).empty());
    s.chkFlag = "0";
    s.dists.clear();
    EXPECT_TRUE(OrdSubscriberErrors(s).empty());
}

TEST(Validation, ClosingLineNamesTheNumberWhenThereIsOne) {
    EXPECT_EQ(strOrdErrorText({" 必须选择币种！"}, "2-15"),
              " 必须选择币种！\n订购号为：2-15的记录不能保存！");
    EXPECT_EQ(strOrdErrorText({" 必须输入征订号！"}, ""), " 必须输入征订号！\n记录不能保存！");
}

TEST(Validation, RemovingTheLastSubscriberLeavesNoCopies) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    EXPECT_EQ(d.sumCount(), "3");
    d.subs.clear();
    EXPECT_EQ(d.sumCount(), "0");
    EXPECT_EQ(OrdDetailErrors(d), std::vector<std::string>{" 必须添加订户！"});
}

TEST(Funds, AmountsFollowTheAnnualPrice) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    d.totalPrice = "99.9";
    RecalcFundAmounts(d);
    EXPECT_EQ(d.subs[0].funds[0].amount, "199.8");
    EXPECT_EQ(d.subs[1].funds[0].amount, "99.9");
}

TEST(OrderFile, DetailsSurviveTheRoundTripWithQuotesAndCommas) {
    OrdDetail a = CompleteDetail("YZFX", "202601", "2-15");
    a.remark = "说明, 含逗号与\"引号\"\n和换行";
    OrdDetail b = CompleteDetail("TSJK", "202601", "0012-A");
    b.subs.pop_back();
    std::vector<OrdFileDetail> back;
    std::string error;
    ASSERT_EQ(intParseOrdFile(strOrdFileText({&a, &b}), back, error), 0) << error;
    ASSERT_EQ(back.size(), 2u);
    for (auto field :
         {&OrdDetail::pub, &OrdDetail::ordYear, &OrdDetail::asordNo, &OrdDetail::periType,
          &OrdDetail::getMode, &OrdDetail::publFreq, &OrdDetail::carrier, &OrdDetail::moneyType,
          &OrdDetail::price, &OrdDetail::totalPrice, &OrdDetail::kindNo, &OrdDetail::remark})
        EXPECT_EQ(back[0].detail.*field, a.*field) << a.*field;
    EXPECT_EQ(back[0].detail.subs, a.subs);
    EXPECT_EQ(back[1].detail.subs, b.subs);
    EXPECT_EQ(back[1].detail.pub, "TSJK");
    EXPECT_EQ(back[1].line, 11);
}

TEST(OrderFile, MisplacedOrUnknownRecordsNameTheirLine) {
    std::vector<OrdFileDetail> out;
    std::string error;
    EXPECT_EQ(intParseOrdFile("# only a comment\nS,QK01,1,2,,\n", out, error), -1);
    EXPECT_EQ(error, "第 2 行：订户行之前没有订购明细行");
    EXPECT_EQ(intParseOrdFile("D,YZFX,202601,1-1\nF,01,1,,\n", out, error), -1);
    EXPECT_EQ(error, "第 2 行：经费或分配行之前没有订户行");
    EXPECT_EQ(intParseOrdFile("D,YZFX,202601,1-1\n\nX,1\n", out, error), -1);
    EXPECT_EQ(error, "第 3 行：不认识的记录类型“X”");
    EXPECT_EQ(intParseOrdFile("D,\"YZFX,202601\n", out, error), -1);
    EXPECT_EQ(error, "第 1 行：引号不成对");
}

}  // namespace
