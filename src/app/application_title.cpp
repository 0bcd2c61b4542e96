#include "app/application_title.h"

#include <QString>

#include "core/native_path.h"

namespace geocalc::app {

std::string applicationTitle(std::string_view executablePath) {
    std::string_view name = executablePath.substr(executablePath.find_last_of(kPathSeparators) + 1);
    name = name.substr(0, name.find('.'));
    const QString title = QString::fromUtf8(name.data(), qsizetype(name.size()));
    if (title.isEmpty()) return {};
    return (title.left(1) + title.mid(1).toLower()).toStdString();
}

}  // namespace geocalc::app
