// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/output.h"

#include <cstdio>

namespace {

void printLine(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    // Each step shows at once, also when standard error is a pipe.
    std::fflush(stream);
}

} // namespace

void printStep(const QString &line)
{
    printLine(stderr, line);
}

void printResult(const QString &text)
{
    printLine(stdout, text);
}
