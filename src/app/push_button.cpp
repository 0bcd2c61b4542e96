#include "app/push_button.h"

#include <QKeyEvent>

namespace geocalc::app {

PushButton::PushButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PushButton::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
            focusNextChild();
            return;
        case Qt::Key_Left:
        case Qt::Key_Up:
            focusPreviousChild();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (plain) {
                click();
                return;
            }
            break;
        default:
            break;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace geocalc::app
