// The frame caption: the application name, " - " and the caption name.
#pragma once
#include <string>

extern std::string FileName;   // the caption name last set

// NAME becomes the caption name, "(Untitled)" when it is empty.
void SetCaption(const std::string& name = {});
