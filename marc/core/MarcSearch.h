// Finding records through the index, the way the check-in search does: an index group and the
// beginning of a key.
#pragma once

#include <string>

#include "db/LibArray.h"

// The key a search text is compared with, made as the group's keys are made (blanks, stopwords,
// upper case); ISSN bar codes (977...) become the ISSN they carry.
std::string MarcSearchKey(const std::string& group, const std::string& text);
// The right-hand side of "marc_idx_cont LIKE": the key followed by "%", as a literal that keeps
// characters outside the plain storage.
std::string MarcIndexLikePattern(const std::string& key);
// Records of `group` whose key begins with the text: record number, title, author, publisher,
// ISBN/ISSN, ordered by title; at most `limit` rows when limit > 0. 0, or -1 (error in
// g_ErrInfo).
int MarcIndexSearch(const std::string& group, const std::string& text, LibArray& rows,
                    int limit = 0);

// The records among `candidates` (a query of record numbers) with the columns of
// MarcIndexSearch, in title order. With a limit, only the candidates first in `keyOrder` (an
// indexed key) are listed, so that a search matching most of a large catalogue reads a page of
// its index instead of sorting every match by title.
int MarcListCandidates(std::string candidates, const std::string& keyOrder, LibArray& rows,
                       int limit);
// The search that is not an index group: words and character pairs anywhere in the title.
inline constexpr const char* kMarcTitleWordsGroup = "TW";
// A search as the search boxes offer it: an index group by key prefix, or kMarcTitleWordsGroup.
int MarcFindRecords(const std::string& group, const std::string& text, LibArray& rows,
                    int limit = 0);
