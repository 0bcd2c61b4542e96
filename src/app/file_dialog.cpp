#include "app/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>

#include "app/ansi_text.h"

namespace geocalc::app {

namespace {

constexpr int kDialogWidth = 720;
constexpr int kDialogHeight = 440;

FileDialog::Responder& responder() {
    static FileDialog::Responder instance;
    return instance;
}

// The detail view's columns other than the name are sized to their titles
// and entries once the folder's entries are known (their default widths are
// set for English and a small font), and the dialog grows to show them.
void widenColumns(QFileDialog& dialog) {
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* files = dialog.findChild<QFileSystemModel*>();
    if (!details || !files) return;
    auto fit = [details] {
        for (int column = 1; column < details->header()->count(); ++column)
            details->resizeColumnToContents(column);
    };
    QObject::connect(files, &QFileSystemModel::directoryLoaded, details, fit);
    QTimer::singleShot(0, details, fit);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(kDialogWidth, kDialogHeight)));
}

}  // namespace

// Qt's filters, ";;" between them and blanks between one's patterns; "*.*"
// means every file, as "*" does here.
QString FileDialog::filter() const {
    auto qtFilter = [](const std::string& ansi) {
        QString shown = fromAnsi(ansi);
        const qsizetype open = shown.lastIndexOf(QLatin1Char('('));
        for (qsizetype at = open + 1; open >= 0 && at < shown.size(); ++at) {
            if (shown[at] == QLatin1Char(';')) shown[at] = QLatin1Char(' ');
        }
        return shown.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    };
    QString filters = qtFilter(settings_.filter);
    for (const std::string& more : settings_.moreFilters)
        filters += QStringLiteral(";;") + qtFilter(more);
    return filters;
}

void FileDialog::setResponder(Responder newResponder) { responder() = std::move(newResponder); }

std::optional<QString> FileDialog::execute(QWidget* parent) const {
    std::optional<QString> chosen;
    if (responder()) {
        chosen = responder()(*this);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(kind() == Kind::Open ? QFileDialog::AcceptOpen
                                                  : QFileDialog::AcceptSave);
        // A typed name of a file that does not exist is accepted.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings_.confirmReplace);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(filter());
        dialog.setDefaultSuffix(defaultSuffix());
        if (!settings_.fileName.empty()) {
            const QFileInfo info(fileName());
            if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
        widenColumns(dialog);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().first();
        }
    }
    return chosen;
}

}  // namespace geocalc::app
