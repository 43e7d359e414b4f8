// LibVar: the variant value that result arrays, procedure arguments and bind variables carry.
// It distinguishes "empty" (a cell that was never filled) from SQL NULL, because the result
// array leaves cells of unconverted types empty while procedures see real NULLs.
#pragma once

#include <string>
#include <variant>

class LibVar {
public:
    enum class Kind { Empty, Null, Number, Text };

    LibVar() = default;
    LibVar(double v) : v_(v) {}
    LibVar(int v) : v_(static_cast<double>(v)) {}
    LibVar(long long v) : v_(static_cast<double>(v)) {}
    LibVar(std::string v) : v_(std::move(v)) {}
    LibVar(const char* v) : v_(std::string(v)) {}
    static LibVar null() {
        LibVar v;
        v.v_ = Null{};
        return v;
    }

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }

    // Text form: numbers as the shortest exact decimal (2, 1.5, -0.25), empty and NULL as "".
    std::string str() const;
    // The same text, moved out of a text value, which is left empty: for rows read into the
    // caller's structures, where copying every cell would cost more than the statement.
    std::string takeStr();
    // Numeric value: text is read by its leading number ("12abc" is 12, "abc" 0).
    double num() const;
    long long integer() const { return static_cast<long long>(num()); }

    bool operator==(const LibVar& o) const { return v_ == o.v_; }

private:
    struct Null {
        bool operator==(const Null&) const { return true; }
    };
    std::variant<std::monostate, Null, double, std::string> v_;
};

// The number formatted the way the program writes numbers into SQL and onto screens.
std::string formatNumber(double v);
