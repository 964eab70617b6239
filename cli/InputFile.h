// Reading a whole input file for the command line, with the runtime's file error texts.
#pragma once

#include <QString>

#include <string_view>

// The file's bytes, mapped into memory (no copy); an error text when it cannot be read.
class TInputFile {
public:
    // A directory, a missing or unreadable file all come back with an error text.
    explicit TInputFile(const QString &path);
    ~TInputFile();
    TInputFile(const TInputFile &) = delete;
    TInputFile &operator=(const TInputFile &) = delete;

    std::string_view Bytes() const { return {Data, Size}; }
    const QString &Error() const { return Problem; }

private:
    const char *Data = "";
    std::size_t Size = 0;
    bool Mapped = false;
    QString Problem;
};
