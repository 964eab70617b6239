// Runs mapolin-map from the tests' own folder and collects its exit status and output.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

struct TToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline TToolRun RunTool(const QStringList &arguments, const QString &workDir = QDir::currentPath())
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/mapolin-map"), arguments);
    TToolRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "mapolin-map did not end: " << arguments.join(' ').toStdString();
        return run;
    }
    run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = process.readAllStandardOutput().toStdString();
    run.Err = process.readAllStandardError().toStdString();
    return run;
}

inline void WriteBytes(const QString &path, const std::string &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::string ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}
