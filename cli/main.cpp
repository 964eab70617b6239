// mapolin-map: compiles, checks and imports Mapolin map files from the command line.
#include "cli/MapTool.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mapolin-map"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAPOLIN_VERSION));
    return TMapTool().Run(QCoreApplication::arguments());
}
