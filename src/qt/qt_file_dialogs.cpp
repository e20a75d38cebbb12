#include "qt_file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/paths.h"
#include "platform/services.h"

namespace {
std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

QString patterns(const std::string& list)
{
    QStringList out;
    for (auto pattern : split(list, ';')) {
        while (!pattern.empty() && pattern.front() == ' ')
            pattern.erase(pattern.begin());
        while (!pattern.empty() && pattern.back() == ' ')
            pattern.pop_back();
        if (pattern.empty())
            continue;
        const QString p = QString::fromStdString(pattern);
        if (p.endsWith(".*") && p.size() > 2) {
            QString bare = p.left(p.size() - 2);
            if (!out.contains(bare))
                out << bare;
        }
        if (p == "*.*")
            continue;
        if (!out.contains(p))
            out << p;
    }
    return out.join(' ');
}

bool has_wildcards(const QString& name)
{
    return name.contains('*') || name.contains('?');
}
}

QStringList qt_name_filters(const std::string& filter)
{
    QStringList filters;
    const auto parts = split(filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        filters << QString::fromStdString(parts[i]) + " (" + patterns(parts[i + 1]) + ")";
    if (filters.isEmpty())
        filters << "All Files (*)";
    return filters;
}

void prepare_file_dialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setWindowTitle(!request.title.empty() ? QString::fromStdString(request.title)
                                                 : (request.save ? QString("Save As") : QString("Open")));
    // Before the name filters: the model builds its patterns with the case rule in force then.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    const QStringList filters = qt_name_filters(request.filter);
    dialog.setNameFilters(filters);
    const int index = request.filter_index >= 1 && request.filter_index <= filters.size() ? request.filter_index - 1 : 0;
    dialog.selectNameFilter(filters[index]);

    Paths* paths = services().paths;
    QString folder = paths ? QString::fromStdString(paths->current_folder().empty() ? paths->root() : paths->current_folder())
                           : QDir::currentPath();
    QString name;
    if (!request.initial_name.empty()) {
        const QString native = paths ? QString::fromStdString(paths->native(request.initial_name))
                                     : QString::fromStdString(request.initial_name);
        const QFileInfo info(native);
        if (QFileInfo(info.absolutePath()).isDir())
            folder = info.absolutePath();
        name = info.fileName();
    }
    if (QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    if (!name.isEmpty() && !has_wildcards(name))
        dialog.selectFile(name);
}

std::optional<std::string> QtFileDialogs::choose(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow());
    prepare_file_dialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().first());
    if (services().paths)
        services().paths->set_current_folder(QFileInfo(chosen).absolutePath().toStdString());
    return chosen.toStdString();
}
