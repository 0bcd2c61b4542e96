#include "app/geocalc_application.h"

#include <QLibraryInfo>
#include <QWidget>
#include <exception>

#include "app/error_box.h"
#include "core/error.h"
#include "form/application_title.h"
#include "numtext/format_settings.h"

namespace geocalc::app {

GeocalcApplication::GeocalcApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromStdString(applicationTitle(argc > 0 ? argv[0] : "")));
    useToolkitLanguageOf(QLocale::system());
}

bool GeocalcApplication::useToolkitLanguageOf(const QLocale& locale) {
    removeTranslator(&toolkitTexts_);
    if (!toolkitTexts_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    installTranslator(&toolkitTexts_);
    return true;
}

bool GeocalcApplication::notify(QObject* receiver, QEvent* event) {
    try {
        if (event->type() == QEvent::LocaleChange && receiver == this) loadNumberFormat();
        return QApplication::notify(receiver, event);
    } catch (const SilentAbort&) {
        // abandoned without a message
    } catch (const std::exception& e) {
        showFailure(e.what());
    }
    return true;
}

void GeocalcApplication::showFailure(const std::string& message) {
    // Whatever was dragging or tracking the mouse lets go before the box.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    showErrorBox(message);
}

}  // namespace geocalc::app
