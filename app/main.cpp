// Program start: the application, its main window and the message loop.
#include "app/ImageMap.h"
#include "dialogs/UiFont.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mapolin"));
    // Menus, message boxes and file dialogs in the same face and size as the windows.
    QApplication::setFont(ui::Font());
    TfrmImageMap window;
    window.show();
    // mapolin FILE, as the desktop entry passes a file opened from a file manager.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1)
        QTimer::singleShot(0, &window, [&window, path = arguments.at(1)] { window.OpenFile(path); });
    return app.exec();
}
