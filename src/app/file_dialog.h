// `OpenDialog1` and `SaveDialog1` shown with Qt's file dialog: a view of the
// form's dialog settings. Tests answer them without showing them.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "form/file_dialog_settings.h"

class QWidget;

namespace geocalc::app {

class FileDialog {
public:
    using Kind = FileDialogSettings::Kind;

    explicit FileDialog(const FileDialogSettings& settings) : settings_(settings) {}

    // Shows the dialog modally; the chosen full path, or nothing when cancelled.
    std::optional<QString> execute(QWidget* parent) const;

    Kind kind() const { return settings_.kind; }
    QString filter() const;
    QString defaultSuffix() const { return QString::fromStdString(settings_.defaultSuffix); }
    QString fileName() const { return QString::fromStdString(settings_.fileName); }

    // Tests: answers every dialog instead of showing it.
    using Responder = std::function<std::optional<QString>(const FileDialog&)>;
    static void setResponder(Responder responder);

private:
    const FileDialogSettings& settings_;
};

}  // namespace geocalc::app
