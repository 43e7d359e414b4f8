// The text of a PDF for the printing tests, through pdftotext.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/CtlRun.h"

// pdftotext gives some ideographs as radicals (U+2E80..U+2FDF); NFKC folds those back.
inline std::string pdfText(const std::string& pdf) {
    const std::string fold =
        "import sys, unicodedata; sys.stdout.write(''.join(unicodedata.normalize('NFKC', c) "
        "if 0x2E80 <= ord(c) < 0x2FE0 else c for c in sys.stdin.read()))";
    std::string cmd =
        "pdftotext -layout " + pdf + " - | python3 -c \"" + fold + "\" >" + pdf + ".txt";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return slurp(pdf + ".txt");
}
