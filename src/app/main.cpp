// geocalc: start-up, the event loop, shutdown.
#include <QCoreApplication>
#include <QTimer>
#include <QtGlobal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>

#include "app/error_box.h"
#include "app/geocalc_application.h"
#include "app/unit1.h"
#include "core/version.h"
#include "numtext/format_settings.h"

namespace {

// Until the application object stands no box can be shown: a failure of the
// toolkit then (no display to connect to, no platform plugin) is written to
// standard error, and the program ends with exit code 1 instead of aborting.
void startUpMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::cerr << "geocalc: " << message.toStdString() << std::endl;
    if (type == QtFatalMsg) std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts: no display is needed for it.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "geocalc " << geocalc::kVersion << std::endl;
        return std::cout ? 0 : 1;
    }
    const QtMessageHandler toolkitHandler = qInstallMessageHandler(startUpMessage);
    geocalc::app::GeocalcApplication application(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    std::unique_ptr<geocalc::app::TForm1> form;
    try {
        geocalc::loadNumberFormat();
        form = std::make_unique<geocalc::app::TForm1>();
        form->show();
        // `geocalc FILE`: the table opens once the window runs, a failure in
        // the error box as for the open command.
        if (const QStringList args = QCoreApplication::arguments(); args.size() == 2) {
            QTimer::singleShot(0, form.get(), [&form, path = args[1]] { form->openNamed(path); });
        }
    } catch (const std::exception& e) {
        geocalc::app::Form1 = nullptr;
        geocalc::app::showStartupFailureBox(e);
        return 1;
    }
    return application.exec();
}
