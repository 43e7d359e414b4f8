#include "app/MainEntries.h"

#include "app/frmLogQuery.h"
#include "checkin/gui/frmNewAskLack.h"
#include "checkin/gui/frmNewCheck.h"
#include "checkin/gui/frmNewTrans.h"
#include "common/RightCodes.h"
#include "common/gui/frmOptMail.h"
#include "marc/gui/frmCataView.h"
#include "ordering/gui/frmOrdManager.h"

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
        {"书目", "书目检索", "frmCataView", rights::kCatalogue, [] { return new frmCataView; }},
        {"系统", "操作日志", "frmLogQuery", rights::kOperationLog, [] { return new frmLogQuery; }},
        {"系统", "邮件设置", "frmOptMail", rights::kSerials, [] { return new frmOptMail; }},
    };
    return entries;
}
