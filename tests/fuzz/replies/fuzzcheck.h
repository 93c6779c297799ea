// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken invariant: says which and aborts, so libFuzzer keeps the input.
[[noreturn]] inline void failFuzzCheck(const QString &what)
{
    std::fprintf(stderr, "fuzz_replies: %s\n", qPrintable(what));
    std::fflush(stderr);
    std::abort();
}
