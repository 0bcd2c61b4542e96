#include "app/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace geocalc::app {

namespace {

FileDialog::Responder& responder() {
    static FileDialog::Responder instance;
    return instance;
}

}  // namespace

FileDialog::FileDialog(Kind kind, QString filter, QString defaultSuffix, QString fileName)
    : kind_(kind), filter_(std::move(filter)), defaultSuffix_(std::move(defaultSuffix)), fileName_(std::move(fileName)) {}

void FileDialog::setResponder(Responder newResponder) { responder() = std::move(newResponder); }

std::optional<QString> FileDialog::execute(QWidget* parent) {
    std::optional<QString> chosen;
    if (responder()) {
        chosen = responder()(*this);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(kind_ == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        // A typed name of a file that does not exist is accepted; no question
        // is asked before a file is replaced.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(filter_);
        dialog.setDefaultSuffix(defaultSuffix_);
        if (!fileName_.isEmpty()) {
            const QFileInfo info(fileName_);
            if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().first();
        }
    }
    if (chosen) fileName_ = *chosen;
    return chosen;
}

}  // namespace geocalc::app
