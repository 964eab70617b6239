// Program start: the application, its main window and the message loop.
#include "app/ImageMap.h"
#include "dialogs/UiFont.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mapolin"));
    // Menus, message boxes and file dialogs in the same face and size as the windows.
    QApplication::setFont(ui::Font());
    TfrmImageMap window;
    window.show();
    return app.exec();
}
