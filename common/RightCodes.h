// Right codes: an operator holds a right when user_auth_lst has a row with its code. "5000" is
// the serials client itself; the others guard the areas of the main window and serialsctl.
#pragma once

namespace rights {
inline constexpr const char* kSerials = "5000";       // 期刊管理系统（登录）
inline constexpr const char* kOrdering = "5001";      // 期刊订购
inline constexpr const char* kCheckIn = "5002";       // 期刊签收
inline constexpr const char* kClaims = "5003";        // 期刊催缺
inline constexpr const char* kBinding = "5004";       // 期刊装订
inline constexpr const char* kAccession = "5005";     // 合订本典藏
inline constexpr const char* kStatistics = "5006";    // 统计报表
inline constexpr const char* kOperationLog = "5007";  // 操作日志
inline constexpr const char* kCatalogue = "5008";     // 书目检索
inline constexpr const char* kMaintenance = "5009";   // 系统维护（直接执行 SQL）
}  // namespace rights
