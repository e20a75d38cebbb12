// File open and save dialogs: the program's filter strings become Qt name filters, matched
// without regard to case as on the system the patterns were written for.
#pragma once
#include <QStringList>

#include "platform/file_dialog.h"

class QFileDialog;

// "Desc|*.a;*.b|Desc2|*.c|" -> {"Desc (*.a *.b)", "Desc2 (*.c)"}. A pattern ending in ".*" also
// matches names without an extension ("*.*" is every file).
QStringList qt_name_filters(const std::string& filter);
// Sets up DIALOG for REQUEST: mode, title, filters and the initial filter, folder and name.
void prepare_file_dialog(QFileDialog& dialog, const FileDialogRequest& request);

class QtFileDialogs : public FileDialogs {
public:
    std::optional<std::string> choose(const FileDialogRequest& request) override;
};
