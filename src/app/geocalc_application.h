// The application object: every failure that escapes an event handler ends
// there and is shown in the error message box; the program goes on.
#pragma once

#include <QApplication>
#include <string>

namespace geocalc::app {

class GeocalcApplication : public QApplication {
public:
    GeocalcApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    static void showFailure(const std::string& ansiMessage);
};

}  // namespace geocalc::app
