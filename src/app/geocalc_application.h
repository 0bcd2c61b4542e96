// The application object: every failure that escapes an event handler ends
// there and is shown in the error message box; the program goes on.
#pragma once

#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <string>

namespace geocalc::app {

class GeocalcApplication : public QApplication {
public:
    GeocalcApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Qt's own texts (the file dialogs, the standard buttons) in the
    // language of `locale`, where Qt's translations for it are installed;
    // English otherwise. False when none were found.
    bool useToolkitLanguageOf(const QLocale& locale);

private:
    QTranslator toolkitTexts_;
    static void showFailure(const std::string& ansiMessage);
};

}  // namespace geocalc::app
