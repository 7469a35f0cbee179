#include "frmVorn.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Game files are looked up in the folder the program is started from;
    // the settings file lives beside the program.
    frmVorn window(QDir::currentPath(), QCoreApplication::applicationDirPath());
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
