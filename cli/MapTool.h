// The sub-commands of mapolin-map: parsing their arguments, reading and writing their files.
#pragma once

#include <QString>
#include <QStringList>

#include <string>

class QCommandLineParser;
struct TNote;

class TMapTool {
public:
    // Exit status: 0 success, 1 findings or refusal, 2 usage error.
    int Run(const QStringList &arguments);

private:
    int Compile(const QStringList &arguments);
    int Check(const QStringList &arguments);
    int Import(const QStringList &arguments);

    // Parses a sub-command's arguments; returns -1 to go on, else the exit status to end with.
    int Parse(QCommandLineParser &parser, const QString &command, const QStringList &arguments, int positionals);

    // FILE:LINE: text on standard error (no line when it is 0); very long texts are cut.
    static void Report(const QString &file, const TNote &note);
    static std::string ReportLine(const QString &file, const TNote &note);
    static void Warn(const std::string &text);
    static int UsageError(const QString &text);
    static bool WriteStdout(const std::string &bytes);
};
