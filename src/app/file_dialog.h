// `OpenDialog1` and `SaveDialog1`: the file dialogs and the file name they
// carry from one use to the next. Tests answer them without showing them.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace geocalc::app {

class FileDialog {
public:
    enum class Kind { Open, Save };

    FileDialog(Kind kind, QString filter, QString defaultSuffix, QString fileName);

    // Shows the dialog modally; the chosen full path, or nothing when cancelled.
    // Choosing a file makes its path the dialog's file name.
    std::optional<QString> execute(QWidget* parent);

    Kind kind() const { return kind_; }
    const QString& filter() const { return filter_; }
    const QString& defaultSuffix() const { return defaultSuffix_; }
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& fileName) { fileName_ = fileName; }

    // Tests: answers every dialog instead of showing it.
    using Responder = std::function<std::optional<QString>(const FileDialog&)>;
    static void setResponder(Responder responder);

private:
    Kind kind_;
    QString filter_;
    QString defaultSuffix_;
    QString fileName_;
};

}  // namespace geocalc::app
