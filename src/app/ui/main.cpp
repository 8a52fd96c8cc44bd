// candelux: luminance analysis of high-dynamic-range Radiance pictures.

#include <QApplication>
#include <clocale>
#include <cstring>
#include <iostream>

#include "app/application.h"
#include "app/application_help.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "assembly/ui/qt_assembly_desktop.h"
#include "profiles/ui/qt_profile_desktop.h"
#include "regions/ui/qt_regions_desktop.h"
#include "series/ui/qt_series_desktop.h"
#include "settings/platform_folders.h"

int main(int argc, char* argv[]) {
    // Answered before any window system is needed, so they work over ssh.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "candelux " << CANDELUX_VERSION << '\n';
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << application_help_text();
        return 0;
    }
    QApplication qt(argc, argv);
    // The application object takes the C library's locale from the
    // environment; numbers in files and command lines must stay "2.5", not
    // "2,5", whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("candelux");

    MainWindow window;
    QtDesktop desktop(window);
    Application application(desktop, platform_folders_from_environment(),
                            program_folder_beside(QCoreApplication::applicationDirPath().toStdString()));
    QtAssemblyDesktop assembly_desktop(window);
    application.set_assembly_desktop(&assembly_desktop);
    QtProfileDesktop profile_desktop(window);
    application.set_profile_desktop(&profile_desktop);
    QtRegionsDesktop regions_desktop(window);
    application.set_regions_desktop(&regions_desktop);
    regions_desktop.attach(*application.region_list());
    QtSeriesDesktop series_desktop(window);
    application.set_series_desktop(&series_desktop);
    window.attach(application);
    if (!application.on_create()) return 0;
    window.show();
    // A picture named on the command line opens as if chosen in File > Open.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const std::string picture = arguments.at(1).toStdString();
        QMetaObject::invokeMethod(&window, [&application, picture] { application.on_open_command(picture); },
                                  Qt::QueuedConnection);
    }
    return QApplication::exec();
}
