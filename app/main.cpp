#include "app/Application.h"
#include "app/ToolboxDialog.h"
#include "platform/midi/MidiDevices.h"
#include "platform/midi/RealtimePriority.h"
#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display the toolkit would abort with a terse message; say what to do instead.
bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "tonalvane: there is no display to open a window on (DISPLAY and "
                             "WAYLAND_DISPLAY are not set).\n"
                             "Start it from a desktop session, or try it under a virtual display:\n"
                             "  xvfb-run -a build/tonalvane\n");
        return 1;
    }
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonalvane"));
    QApplication::setOrganizationName(QStringLiteral("Tonalvane"));

    tv::DialogMessageService messages;
    const auto settings = tv::SettingsStore::userStore();
    tv::Application application(messages, *settings);

    // Players keep their time on a busy machine where the system lets them run real-time.
    application.setPlayerThreadStartHook([] { tv::makeThreadRealtime(); });
    application.startMidi();

    int result = 0;
    {
        tv::ToolboxDialog toolbox(application);
        // Modal as with exec(), but run by the application's own event loop, so that the
        // program ends with the status it was asked to end with; closing the toolbox is 0.
        toolbox.setModal(true);
        QObject::connect(&toolbox, &QDialog::finished, &qtApplication,
                         [] { QCoreApplication::quit(); });
        toolbox.showAtCorner();
        // Files named on the command line, as a desktop passes a double-clicked file.
        for (const QString& path : QCoreApplication::arguments().mid(1))
            toolbox.openFile(path);
        result = QApplication::exec();
        // The lattice and keyboard windows are the toolbox's children and go with it here.
    }
    application.closeMidi();
    return result;
}
