#include "app/error_box.h"

#include <QApplication>
#include <QMessageBox>

#include "app/ansi_text.h"
#include "core/error.h"
#include "form/startup_failure.h"

namespace geocalc::app {

namespace {

MessageBoxHook& hook() {
    static MessageBoxHook instance;
    return instance;
}

void show(const QString& caption, const QString& text) {
    if (hook()) return hook()(caption, text);
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace

void setMessageBoxHook(MessageBoxHook newHook) { hook() = std::move(newHook); }

namespace {

ConfirmationHook& confirmationHook() {
    static ConfirmationHook instance;
    return instance;
}

}  // namespace

void setConfirmationHook(ConfirmationHook hook) { confirmationHook() = std::move(hook); }

bool askConfirmation(const QString& caption, const QString& question) {
    if (confirmationHook()) return confirmationHook()(caption, question);
    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Ok | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void showErrorBox(const std::string& ansiMessage) {
    show(QApplication::applicationName(), fromAnsi(withClosingPeriod(ansiMessage)));
}

void showStartupFailureBox(const std::exception& failure) {
    show("Application Error", QString::fromStdString(startupFailureText(
                                  failure, QApplication::applicationName().toStdString())));
}

}  // namespace geocalc::app
