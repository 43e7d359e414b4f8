#include "app/MainEntries.h"

#include "app/frmLogQuery.h"
#include "binding/gui/frmOldBind.h"
#include "binding/gui/frmOldBindBatch.h"
#include "binding/gui/frmOldBindBound.h"
#include "binding/gui/frmOldCheckStore.h"
#include "binding/gui/frmOldCreateCallNo.h"
#include "binding/gui/frmOldSnglStore.h"
#include "binding/gui/frmOldStoreBatch.h"
#include "checkin/gui/frmNewAskLack.h"
#include "checkin/gui/frmNewCheck.h"
#include "checkin/gui/frmNewTrans.h"
#include "common/RightCodes.h"
#include "common/gui/frmOptMail.h"
#include "marc/gui/frmCataImport.h"
#include "marc/gui/frmCataView.h"
#include "ordering/gui/frmOrdManager.h"
#include "reports/gui/frmStatReport.h"
#include "reports/gui/frmStatSearch.h"

const std::vector<const char*>& mainAreas() {
    static const std::vector<const char*> areas{"订购", "签收", "催缺", "装订",
                                                "典藏", "统计", "书目", "系统"};
    return areas;
}

const std::vector<MainEntry>& mainEntries() {
    static const std::vector<MainEntry> entries{
        {"订购", "期刊订购", "frmOrdManager", rights::kOrdering, [] { return new frmOrdManager; }},
        {"签收", "期刊签收", "frmNewCheck", rights::kCheckIn, [] { return new frmNewCheck; }},
        {"签收", "期刊交接", "frmNewTrans", rights::kCheckIn, [] { return new frmNewTrans; }},
        {"催缺", "期刊催缺", "frmNewAskLack", rights::kClaims, [] { return new frmNewAskLack; }},
        {"装订", "期刊装订", "frmOldBind", rights::kBinding, [] { return new frmOldBind; }},
        {"装订", "装订批次", "frmOldBindBatch", rights::kBinding,
         [] { return new frmOldBindBatch; }},
        {"装订", "合订本验收", "frmOldBindBound", rights::kBinding,
         [] { return new frmOldBindBound; }},
        {"典藏", "合订本验收入藏", "frmOldCheckStore", rights::kAccession,
         [] { return new frmOldCheckStore; }},
        {"典藏", "单册登录入藏", "frmOldSnglStore", rights::kAccession,
         [] { return new frmOldSnglStore; }},
        {"典藏", "验收批次", "frmOldStoreBatch", rights::kAccession,
         [] { return new frmOldStoreBatch; }},
        {"典藏", "索书号", "frmOldCreateCallNo", rights::kAccession,
         [] { return new frmOldCreateCallNo; }},
        {"统计", "年度馆藏订购分布统计", "frmStatLocaAll", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::LocaAll); }},
        {"统计", "年度期刊订购分布明细", "frmStatLoca", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::Loca); }},
        {"统计", "按条件统计订购", "frmStatOther", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::Other); }},
        {"统计", "期刊到刊统计", "frmStatArrival", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::Arrival); }},
        {"统计", "工作量统计", "frmStatJob", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::Job); }},
        {"统计", "财产帐清单", "frmStatIndiAcct", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::IndiAcct); }},
        {"统计", "期刊分类统计", "frmStatSort", rights::kStatistics,
         [] { return new frmStatReport(StatScreen::Sort); }},
        {"统计", "期刊查询", "frmStatSearch", rights::kStatistics,
         [] { return new frmStatSearch; }},
        {"书目", "书目检索", "frmCataView", rights::kCatalogue, [] { return new frmCataView; }},
        {"书目", "导入书目记录", "frmCataImport", rights::kCatalogue,
         [] { return new frmCataImport; }},
        {"系统", "操作日志", "frmLogQuery", rights::kOperationLog, [] { return new frmLogQuery; }},
        {"系统", "邮件设置", "frmOptMail", rights::kSerials, [] { return new frmOptMail; }},
    };
    return entries;
}
