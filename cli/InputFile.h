// Reading a whole input file for the command line, with the runtime's file error texts.
#pragma once

#include <QString>

#include <string>

struct TInputFile {
    std::string Bytes;
    QString Error; // empty when read
};

// A directory, a missing or unreadable file all come back with an error text.
TInputFile ReadInputFile(const QString &path);
