// Searching inside titles. The index groups match a key from its start only; the title-word rows
// let a word anywhere in the title find its record. Western titles are cut into words; CJK text,
// written without blanks, into overlapping character pairs (and the last character of each run),
// so that any two or more characters of a title find it. The rows are written with the record's
// other index rows, in the same transaction, from the title the record list shows (m_title).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/DbBackend.h"
#include "db/LibArray.h"

// The title-word keys of a title: upper case, accents folded, each once.
std::vector<std::string> MarcTitleWords(const std::string& title);
// Adds to `batch` the rows of a record whose old rows are gone (the record's save runs them with
// its other index rows). 0, or -1 (g_ErrInfo).
int MarcTitleWordRows(const std::string& recNo, const std::string& title,
                      std::vector<BoundStatement>& batch);
// Rebuilds every bibliographic record's title words from its listed title, for a database made
// before the rows existed. One transaction; `progress(done, total)` after each batch. The number
// of records indexed, or -1 (error in g_ErrInfo, nothing changed).
int MarcTitleWordsRebuild(const std::function<void(int, int)>& progress = {});
// Records whose title holds every word (Western words may be typed in part, from their start) and
// every character pair of the text: the columns of MarcIndexSearch, ordered by title, at most
// `limit` rows when limit > 0. 0, or -1 (error in g_ErrInfo).
int MarcTitleWordSearch(const std::string& text, LibArray& rows, int limit = 0);
