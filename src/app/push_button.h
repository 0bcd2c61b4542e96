// A push button of the window: arrow keys move the focus along the tab order,
// Enter and Space click it. No button is the default one.
#pragma once

#include <QPushButton>

namespace geocalc::app {

class PushButton : public QPushButton {
    Q_OBJECT
public:
    PushButton(const QString& text, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace geocalc::app
