#include "db/LibVar.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string formatNumber(double v) {
    if (v == 0) return "0";
    if (std::isnan(v) || std::isinf(v)) return "0";
    char buf[64];
    // 15 significant digits round-trips every value the database's NUMERIC columns hold.
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s(buf);
    if (s.find('e') == std::string::npos) return s;
    std::snprintf(buf, sizeof buf, "%.15f", v);
    s = buf;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string LibVar::str() const {
    switch (kind()) {
        case Kind::Number:
            return formatNumber(std::get<double>(v_));
        case Kind::Text:
            return std::get<std::string>(v_);
        default:
            return {};
    }
}

std::string LibVar::takeStr() {
    if (kind() != Kind::Text) return str();
    std::string out = std::move(std::get<std::string>(v_));
    v_ = std::monostate{};
    return out;
}

double LibVar::num() const {
    switch (kind()) {
        case Kind::Number:
            return std::get<double>(v_);
        case Kind::Text: {
            const std::string& s = std::get<std::string>(v_);
            const char* p = s.c_str();
            while (*p == ' ' || *p == '\t')
                ++p;
            // Only a plain decimal counts; strtod would also take "inf", "nan" and hex.
            if (!(std::isdigit(static_cast<unsigned char>(*p)) || *p == '-' || *p == '+' ||
                  *p == '.'))
                return 0.0;
            if ((p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))) return 0.0;
            char* end = nullptr;
            double d = std::strtod(p, &end);
            return end == p ? 0.0 : d;
        }
        default:
            return 0.0;
    }
}
