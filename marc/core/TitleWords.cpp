#include "marc/core/TitleWords.h"

#include <algorithm>

#include <unicode/uchar.h>

#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "db/basLibDB.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMIndex.h"
#include "marc/core/basBMStore.h"

namespace {

enum class TokenKind { Word, Pair, Single };
struct Token {
    std::string text;
    TokenKind kind;
};

std::string keyOf(const std::string& text) {
    bool changed = false;
    return AnsiCut(MarcFoldAccents(MarcKeyUpper(text), changed), g_intMarcKeyLen);
}

// Western words, CJK pairs, and the character that ends a CJK run (a run of one included), in
// title order. Anything that is neither letter, digit nor CJK separates.
std::vector<Token> tokens(const std::string& text) {
    std::vector<Token> out;
    std::string word;
    std::vector<std::string> run;
    auto flushWord = [&] {
        if (!word.empty()) out.push_back({keyOf(word), TokenKind::Word});
        word.clear();
    };
    auto flushRun = [&] {
        for (std::size_t i = 0; i + 1 < run.size(); ++i)
            out.push_back({run[i] + run[i + 1], TokenKind::Pair});
        if (!run.empty()) out.push_back({run.back(), TokenKind::Single});
        run.clear();
    };
    for (std::size_t p = 0; p < text.size();) {
        std::size_t at = p;
        char32_t cp = nextCodePoint(text, p);
        if (MarcIsCjk(cp) && u_isalnum(static_cast<UChar32>(cp))) {
            flushWord();
            run.push_back(text.substr(at, p - at));
        } else if (u_isalnum(static_cast<UChar32>(cp))) {
            flushRun();
            word.append(text, at, p - at);
        } else {
            flushWord();
            flushRun();
        }
    }
    flushWord();
    flushRun();
    return out;
}

const std::vector<std::string> kColumns = {"marc_rec_no", "word"};

}  // namespace

std::vector<std::string> MarcTitleWords(const std::string& title) {
    std::vector<std::string> out;
    for (Token& t : tokens(title))
        if (std::find(out.begin(), out.end(), t.text) == out.end()) out.push_back(t.text);
    return out;
}

int MarcTitleWordRows(const std::string& recNo, const std::string& title,
                      std::vector<BoundStatement>& batch) {
    std::vector<std::vector<LibVar>> rows;
    for (const std::string& w : MarcTitleWords(title))
        rows.push_back({recNo, w});
    return LIB_DB_AddInsertRows(batch, "marc_title_word", kColumns, rows);
}

int MarcTitleWordsRebuild(const std::function<void(int, int)>& progress) {
    DbTransaction tx;
    if (!tx.ok()) return -1;
    LibArray titles;
    if (LIB_DB_Execute("DELETE FROM marc_title_word") < 0 ||
        LIB_DB_Select("SELECT marc_rec_no,m_title FROM marc ORDER BY marc_rec_no", titles) < 0)
        return -1;
    const int total = titles.recordCount();
    constexpr int kRecordsPerBatch = 500;
    std::vector<std::vector<LibVar>> rows;
    for (int r = 0; r < total; ++r) {
        for (const std::string& w : MarcTitleWords(titles(1, r + 2).str()))
            rows.push_back({titles(0, r + 2).str(), w});
        if ((r + 1) % kRecordsPerBatch == 0 || r + 1 == total) {
            if (LIB_DB_InsertRows("marc_title_word", kColumns, rows) < 0) return -1;
            rows.clear();
            if (progress) progress(r + 1, total);
        }
    }
    if (tx.commit() < 0) return -1;
    return total;
}

int MarcTitleWordSearch(const std::string& text, LibArray& rows, int limit) {
    std::vector<Token> wanted = tokens(text);
    // A single character that ends a longer run is already inside the run's last pair.
    std::vector<Token> kept;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const bool endsPairs =
            wanted[i].kind == TokenKind::Single && i > 0 && wanted[i - 1].kind == TokenKind::Pair;
        if (!endsPairs) kept.push_back(wanted[i]);
    }
    if (kept.empty()) kept.push_back({"", TokenKind::Pair});  // finds nothing
    auto match = [](const Token& t, const char* column) {
        return std::string(column) + (t.kind == TokenKind::Pair
                                          ? "=" + MarcSqlText(t.text)
                                          : " LIKE " + MarcIndexLikePattern(t.text));
    };
    // The first word's rows in key order, narrowed by the others.
    std::string candidates =
        "SELECT first_word.marc_rec_no FROM marc_title_word first_word WHERE " +
        match(kept[0], "first_word.word");
    for (std::size_t i = 1; i < kept.size(); ++i)
        candidates +=
            " AND first_word.marc_rec_no IN (SELECT marc_rec_no FROM marc_title_word "
            "WHERE " +
            match(kept[i], "word") + ")";
    return MarcListCandidates(candidates, "first_word.word", rows, limit);
}
