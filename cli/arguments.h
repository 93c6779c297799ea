// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

enum class CommandKind { Help, Version, List, Read, Verify, Program };

struct Arguments
{
    CommandKind command = CommandKind::Help;
    QString port;
    QString file;
    bool verify = false; // program: read the values back and compare
    bool json = false;   // one result object on standard output
};

// The arguments, or what is wrong with them.
struct ParsedArguments
{
    std::optional<Arguments> arguments;
    QString error;
    bool json = false; // --json was given, right or wrong the rest
};

// commandLine starts with the program's name.
ParsedArguments parseArguments(const QStringList &commandLine);

QString helpText();

// The program's name and version, as --version prints them.
QString versionText();
