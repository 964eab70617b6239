// Program start: the application, its main window and the message loop.
#include "app/ImageMap.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mapolin"));
    TfrmImageMap window;
    window.show();
    return app.exec();
}
