// Index rows of a record: for each configured group and each field reference of the record's
// format, every value is normalised, stopword-stripped where the group asks for it, cut to the key
// width and written through the family's index procedure; some values also get an abbreviated key,
// USMARC class numbers an lc_class row, and accented keys a folded twin in national-character mode.
#include "marc/core/basBMIndex.h"

#include <array>
#include <map>

#include <unicode/uchar.h>

#include "db/Gbk.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "marc/core/SearchInput.h"
#include "marc/core/TitleWords.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMStore.h"

int g_intMarcKeyLen = 60;

namespace {

using GroupRow = std::array<MarcIdxPara, 4>;
std::array<std::vector<GroupRow>, 2> g_idx;  // use type 0 and 1, indexed by group number
std::array<std::vector<std::string>, 2> g_titleFields;
std::array<std::string, 2> g_abbrGroups;  // "01,03," for CNMARC and USMARC
std::array<std::string, 2> g_abbrPattern;
std::array<std::string, 4> g_stopwords;  // by stopword_type
constexpr int kStopChars = 0;
constexpr int kStopWords = 1;

std::string trimmed(const std::string& s) {
    return sqltext::trim(s);
}

std::vector<std::string> refsOf(const std::string& list) {
    std::vector<std::string> out;
    for (const std::string& s : sqltext::split(list, ','))
        if (std::string t = trimmed(s); !t.empty()) out.push_back(t);
    return out;
}

}  // namespace

// Only CJK scripts count, although accented Latin, Cyrillic and Greek letters are also two bytes
// in GBK: their blanks separate words.
bool MarcIsCjk(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x11FF)        // hangul jamo
           || (cp >= 0x2E80 && cp <= 0x2FDF)     // radicals
           || (cp >= 0x3000 && cp <= 0x303F)     // CJK punctuation
           || (cp >= 0x3040 && cp <= 0x31FF)     // kana, bopomofo, hangul compatibility jamo
           || (cp >= 0x3200 && cp <= 0x4DBF)     // enclosed, compatibility, extension A
           || (cp >= 0x4E00 && cp <= 0x9FFF)     // unified ideographs
           || (cp >= 0xAC00 && cp <= 0xD7AF)     // hangul syllables
           || (cp >= 0xF900 && cp <= 0xFAFF)     // compatibility ideographs
           || (cp >= 0xFE30 && cp <= 0xFE4F)     // vertical and compatibility forms
           || (cp >= 0xFF00 && cp <= 0xFFEF)     // full-width and half-width forms
           || (cp >= 0x20000 && cp <= 0x3FFFF);  // supplementary ideographs
}

namespace {

// Every value of a field reference in record order, up to the first blank one.
std::vector<std::string> allValues(const MarcRec& rec, const std::string& ref, bool embedded) {
    std::vector<std::string> values;
    MarcResetCursor();
    for (;;) {
        std::string v = embedded ? MarcGetEmbedded(rec, ref) : MarcGetSubFieldSeq(rec, ref);
        if (trimmed(v).empty()) break;
        values.push_back(v);
    }
    return values;
}

std::string lettersOf(const std::string& v, std::size_t& pos) {
    std::string out;
    for (; pos < v.size() && v[pos] >= 'A' && v[pos] <= 'Z'; ++pos)
        out += v[pos];
    return out;
}

class IndexWriter {
public:
    explicit IndexWriter(const MarcRec& rec) : rec_(rec), format_(MarcTypeIndex(rec)) {}

    // The rows are gathered first and written with one multi-row insert per table.
    int run(std::vector<BoundStatement>& batch) {
        for (std::size_t g = 0; g < g_idx[0].size(); ++g) {
            const MarcIdxPara& para = g_idx[0][g][format_];
            if (para.Grp.empty()) continue;
            for (const std::string& ref : refsOf(para.Fields))
                indexReference(para.Grp, ref);
        }
        const MarcFamily& f = MarcFamilyOf(rec_.Kind);
        if (LIB_DB_AddInsertRows(batch, f.index, {f.key, f.indexGroup, f.indexTag, f.indexKey},
                                 keys_) < 0)
            return -1;
        if (LIB_DB_AddInsertRows(batch, "lc_class", {"marc_rec_no", "lc", "cls", "value"},
                                 classes_) < 0)
            return -1;
        if (rec_.Kind != kMarcBib) return 0;
        return MarcTitleWordRows(rec_.RecNo, AnsiCut(MarcSummaryItem(0, rec_), kMarcTitleColumn),
                                 batch);
    }

private:
    void indexReference(const std::string& grp, const std::string& ref) {
        std::string tag = ref.substr(0, 3);
        bool embedded = tag >= "400" && tag <= "499" && rec_.MarcType == "C" && ref.size() == 8;
        std::vector<std::string> values;
        if (!embedded && ref.find('+') != std::string::npos) {
            auto part = [&](const std::string& s) {
                MarcResetCursor();
                return trimmed(MarcGetSubFieldSeq(rec_, s));
            };
            values.push_back(part(ref.substr(0, 4)) + " " + part(ref.substr(ref.size() - 4)));
        } else {
            values = allValues(rec_, ref, embedded);
        }
        for (std::string value : values) {
            value = MarcBlankNormalise(value);
            // Class rows belong to bibliographic records: the other families' numbers are
            // their own series and would attach a class to an unrelated record.
            if (rec_.Kind == kMarcBib && rec_.MarcType == "U" && ref == "050a" && !value.empty() &&
                value[0] >= 'A' && value[0] <= 'Z')
                addLcClass(value);
            if (GroupUsesStopwords(grp)) {
                value = trimmed(StopwordStrip(value));
                if (value.empty()) break;
                value = MarcBlankNormalise(value);
            }
            if (rec_.MarcType == "U" && ref == "260c") value = trimmed(YearDigits(value));
            std::string tag4 = ref.substr(0, 4);
            addKey(grp, tag4, value);
            if (std::string bare = grp == kMarcIsbnGroup ? MarcIsbnInput(value) : "";
                !bare.empty() && bare != value)
                addKey(grp, tag4, bare);
            addAbbreviation(grp, tag4, value);
        }
    }

    void addAbbreviation(const std::string& grp, const std::string& tag4,
                         const std::string& value) {
        std::string form;
        if (rec_.MarcType == "C" && grp != "02" &&
            g_abbrGroups[0].find(grp + ",") != std::string::npos) {
            std::string joined = sqltext::replaceAll(value, " ", "");
            form = MarcAbbreviate(joined, g_abbrPattern[0]);
        } else if (rec_.MarcType == "U" && (tag4 == "245a" || tag4 == "111a")) {
            form = MarcAbbreviate(value, g_abbrPattern[1]);
        }
        if (!form.empty()) addKey(grp, tag4, form);
    }

    void addKey(const std::string& grp, const std::string& tag4, const std::string& value) {
        std::string key = MarcKeyUpper(AnsiCut(value, g_intMarcKeyLen));
        if (key.empty()) return;
        keys_.push_back({rec_.RecNo, grp, tag4, key});
        if (!UnicodeMarcMode) return;
        bool changed = false;
        std::string folded = MarcFoldAccents(key, changed);
        if (changed) keys_.push_back({rec_.RecNo, grp, tag4, AnsiCut(folded, g_intMarcKeyLen)});
    }

    void addLcClass(const std::string& value) {
        std::size_t pos = 0;
        std::string letters = lettersOf(value, pos);
        std::string cls;
        for (;
             pos < value.size() && ((value[pos] >= '0' && value[pos] <= '9') || value[pos] == '.');
             ++pos)
            cls += value[pos];
        if (!cls.empty() && cls.back() == '.') cls.pop_back();
        classes_.push_back({rec_.RecNo, letters, cls, value});
    }

    const MarcRec& rec_;
    int format_;
    std::vector<std::vector<LibVar>> keys_;
    std::vector<std::vector<LibVar>> classes_;
};

// Accented capitals and what they fold to.
struct Fold {
    const char* base;
    std::vector<char32_t> chars;
};
const std::vector<Fold>& foldTable() {
    static const std::vector<Fold> t = {
        {"A", {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5}},
        {"E", {0xC8, 0xC9, 0xCA, 0xCB}},
        {"I", {0xCC, 0xCD, 0xCE, 0xCF}},
        {"O", {0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8}},
        {"U", {0xD9, 0xDA, 0xDB, 0xDC}},
        {"Y", {0xDD, 0x178}},
        {"AE", {0xC6}},
        {"C", {0xC7}},
        {"D", {0xD0}},
        {"N", {0xD1}},
        {"OE", {0x152}},
        {"SS", {0xDF}},
        {"P", {0xDE}},
        {"E", {0x20AC}},
    };
    return t;
}

char32_t lowerOf(char32_t cp) {
    return static_cast<char32_t>(u_tolower(static_cast<UChar32>(cp)));
}

std::string lowerText(const std::string& s) {
    std::string out;
    for (char c : s)
        out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
    return out;
}

// What each accented letter folds to, capitals and small letters alike; where two entries
// name the same letter the first one holds. Built once: keys are folded by the thousand.
const std::map<char32_t, std::string>& foldMap() {
    static const std::map<char32_t, std::string> folds = [] {
        std::map<char32_t, std::string> m;
        for (const Fold& f : foldTable())
            for (char32_t c : f.chars) {
                m.emplace(c, f.base);
                if (char32_t small = lowerOf(c); small != c) m.emplace(small, lowerText(f.base));
            }
        return m;
    }();
    return folds;
}

}  // namespace

int LIB_LoadMarcIndexParams() {
    std::array<std::vector<GroupRow>, 2> idx;
    LibArray rows;
    for (int u = 0; u < 2; ++u) {
        for (int f = 0; f < 4; ++f) {
            std::string sql =
                " SELECT marc_idx_grp,marc_idx_grp_name,stopword_flag,marc_field"
                "   FROM marc_idx_para "
                "  WHERE marc_type_id=" +
                std::to_string(f) + "    AND use_type=" + std::to_string(u) +
                "  ORDER BY marc_idx_grp";
            if (LIB_DB_Select(sql, rows) < 0) return -1;
            for (int r = 2; r < rows.rows(); ++r) {
                int g = static_cast<int>(rows(0, r).num());
                if (g < 0 || g > 99) continue;
                for (auto& table : idx)
                    if (static_cast<int>(table.size()) <= g) table.resize(g + 1);
                idx[u][g][f] = MarcIdxPara{rows(0, r).str(), rows(3, r).str(), rows(1, r).str(),
                                           static_cast<short>(rows(2, r).num())};
            }
        }
    }
    for (int f = 0; f < 2; ++f) {
        if (LIB_DB_Select(" SELECT marc_field   FROM title_field   WHERE marc_type_id=" +
                              std::to_string(f) + "  ORDER BY serial",
                          rows) < 0)
            return -1;
        g_titleFields[f].clear();
        for (int r = 2; r < rows.rows(); ++r)
            for (const std::string& ref : refsOf(rows(0, r).str()))
                g_titleFields[f].push_back(ref);
        if (LIB_DB_Select("SELECT marc_idx_grp,marc_field FROM marc_idx_para WHERE use_type=" +
                              std::to_string(f + 2),
                          rows) < 0)
            return -1;
        g_abbrGroups[f].clear();
        g_abbrPattern[f].clear();
        for (int r = 2; r < rows.rows(); ++r) {
            g_abbrGroups[f] += rows(0, r).str() + ",";
            g_abbrPattern[f] = rows(1, r).str();
        }
    }
    if (LIB_DB_Select(
            " SELECT stopword_cont,stopword_type    FROM stopword  ORDER BY stopword_type", rows) <
        0)
        return -1;
    g_stopwords = {};
    for (int r = 2; r < rows.rows(); ++r) {
        int t = static_cast<int>(rows(1, r).num());
        if (t < 0 || t > 3) continue;
        g_stopwords[t] += (g_stopwords[t].empty() ? "" : ",") + rows(0, r).str();
    }
    g_idx = std::move(idx);
    g_intMarcKeyLen = 60;
    return 0;
}

const MarcIdxPara& MarcIdxElement(int useType, int group, int format) {
    static const MarcIdxPara none;
    if (useType < 0 || useType > 1 || format < 0 || format > 3) return none;
    const auto& t = g_idx[useType];
    return group >= 0 && group < static_cast<int>(t.size()) ? t[group][format] : none;
}

int MarcIdxGroupCount() {
    return static_cast<int>(g_idx[0].size());
}

int MarcIndexRows(const MarcRec& rec, std::vector<BoundStatement>& batch) {
    return IndexWriter(rec).run(batch);
}

int MarcIndexBuild(const MarcRec& rec) {
    std::vector<BoundStatement> batch;
    if (MarcIndexRows(rec, batch) < 0) return -1;
    return LIB_DB_ExecuteBatch(batch);
}

bool GroupUsesStopwords(const std::string& group) {
    return MarcIdxElement(0, static_cast<int>(LibVar(group).num()), 0).Stopword == 1;
}

std::string StopwordStrip(const std::string& text) {
    std::string t = trimmed(text);
    if (t.empty()) return "";
    std::u32string stopChars;
    for (std::size_t p = 0; p < g_stopwords[kStopChars].size();)
        stopChars += nextCodePoint(g_stopwords[kStopChars], p);
    std::string kept;
    for (std::size_t p = 0; p < t.size();) {
        std::size_t at = p;
        char32_t cp = nextCodePoint(t, p);
        if (stopChars.find(cp) == std::u32string::npos) kept.append(t, at, p - at);
    }
    std::string words = "," + g_stopwords[kStopWords] + ",";
    std::string out;
    for (const std::string& w : sqltext::split(trimmed(kept), ' ')) {
        if (w.empty() || words.find("," + MarcKeyUpper(w) + ",") != std::string::npos) continue;
        out += (out.empty() ? "" : " ") + w;
    }
    return out;
}

std::string MarcBlankNormalise(const std::string& text) {
    // Runs first, so that one blank and two blanks before a CJK character key alike.
    std::vector<char32_t> cps;
    for (std::size_t p = 0; p < text.size();) {
        char32_t cp = nextCodePoint(text, p);
        if (cp != ' ' || cps.empty() || cps.back() != ' ') cps.push_back(cp);
    }
    std::string out;
    for (std::size_t i = 0; i < cps.size(); ++i) {
        if (cps[i] == ' ' &&
            ((i > 0 && MarcIsCjk(cps[i - 1])) || (i + 1 < cps.size() && MarcIsCjk(cps[i + 1]))))
            continue;
        appendUtf8(out, cps[i]);
    }
    return out;
}

std::string MarcKeyUpper(const std::string& text) {
    // Simple (one-to-one) case mapping keeps each character a character, so that the accent
    // folding that follows still sees the sharp s and the key width stays what it was.
    std::string out;
    out.reserve(text.size());
    for (std::size_t p = 0; p < text.size();) {
        auto c = static_cast<unsigned char>(text[p]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
            ++p;
        } else {
            appendUtf8(out, static_cast<char32_t>(
                                u_toupper(static_cast<UChar32>(nextCodePoint(text, p)))));
        }
    }
    return out;
}

std::string MarcFoldAccents(const std::string& text, bool& changed) {
    changed = false;
    const auto& folds = foldMap();
    std::string out;
    out.reserve(text.size());
    for (std::size_t p = 0; p < text.size();) {
        const char32_t cp = nextCodePoint(text, p);
        // Every letter that folds lies above the ASCII range.
        auto it = cp < 0x80 ? folds.end() : folds.find(cp);
        if (it == folds.end()) {
            appendUtf8(out, cp);
        } else {
            out += it->second;
            changed = true;
        }
    }
    return out;
}

std::string MarcAbbreviate(const std::string& value, const std::string& pattern) {
    if (pattern.empty()) return "";
    std::string out;
    int i = 0;
    for (const std::string& word : sqltext::split(trimmed(value), ' ')) {
        ++i;
        std::size_t keep = 0;
        if (i > 4) {
            keep = 1;
        } else if (static_cast<std::size_t>(i) <= pattern.size()) {
            char c = pattern[i - 1];
            keep = c == 'A' ? std::string::npos
                            : (c >= '0' && c <= '9' ? static_cast<std::size_t>(c - '0') : 0);
        }
        std::size_t pos = 0;
        for (std::size_t n = 0; n < keep && pos < word.size(); ++n)
            nextCodePoint(word, pos);
        out += word.substr(0, pos);
    }
    return out;
}

std::string MarcSummaryItem(int item, const MarcRec& rec) {
    int format = MarcTypeIndex(rec);
    if (item == 0 && format < 2) {
        std::string title;
        bool metH = false;
        for (const std::string& ref : g_titleFields[format]) {
            for (const std::string& v : allValues(rec, ref, false)) {
                if (format == 1) {
                    title += (title.empty() ? "" : " ") + trimmed(v);
                    continue;
                }
                std::string sep = ref == "200e" ? ":" : (ref == "200i" && metH ? "," : ".");
                title += sep + v;
                metH = metH || ref == "200h";
            }
        }
        return format == 0 && !title.empty() ? title.substr(1) : title;
    }
    static const std::map<int, int> groupOf = {{1, 2},  {11, 2}, {2, 4},  {13, 4}, {3, 8},
                                               {4, 7},  {5, 3},  {12, 3}, {6, 9},  {7, 6},
                                               {8, 10}, {10, 1}, {0, 1}};
    auto it = groupOf.find(item);
    if (it == groupOf.end()) return "";
    return MarcGetData(rec, MarcIdxElement(1, it->second, format).Fields);
}

int WordLookup(const std::string& text, LibArray& rows) {
    if (LIB_DB_Select("SELECT zw,py FROM word_lst WHERE zw like " +
                          LIB_SqlStr(sqltext::likePrefix(text)) + sqltext::kLikeEscape +
                          " ORDER BY LENGTH(zw) DESC",
                      rows) < 0)
        rows = LibArray();
    return 0;
}

int PinyinLookup(const std::string& character, LibArray& rows) {
    if (LIB_DB_Select(
            "SELECT py,hz FROM pytable WHERE hz=" + LIB_SqlStr(character) + " ORDER BY py", rows) <
        0)
        rows = LibArray();
    return 0;
}
