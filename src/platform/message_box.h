// Modal message boxes without owner window.
#pragma once
#include <string>

enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxIcon { None, Information, Question, Warning, Stop };
enum class BoxAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer show(const std::string& caption, const std::string& text,
                           BoxButtons buttons = BoxButtons::Ok, BoxIcon icon = BoxIcon::None) = 0;
};
