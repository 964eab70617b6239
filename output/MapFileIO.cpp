#include "output/MapFileIO.h"

#include "output/InputFile.h"
#include "output/SaveFile.h"

#include <stdexcept>

TMapLoad LoadMapFile(const QString &path)
{
    TMapLoad load;
    const TInputFile file = ReadInputFile(path);
    load.Error = file.Error;
    if (load.Error.isEmpty())
        load.Read = ReadMapFile(file.Bytes);
    return load;
}

QString SaveMapFile(const QString &path, const TMapFile &map)
{
    std::string bytes;
    try {
        bytes = WriteMapFile(map);
    } catch (const std::invalid_argument &refusal) {
        return QString::fromUtf8(refusal.what());
    }
    return WriteFileAtomically(path, bytes);
}
