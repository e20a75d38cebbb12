// Printing on Qt: Print setup is the QPrintDialog on a printer kept for the session; Print draws
// the display bitmap on one page of it, scaled to fit, after the command has returned. With
// SKYVANE_PRINT_TO=FILE.pdf the page goes into that PDF (written through the program's file layer).
#pragma once
#include <memory>

#include "platform/printer.h"

class QPrinter;
class QImage;

class QtPrinter : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    void setup() override;
    bool print_bitmap_file(const std::string& native_path) override;

private:
    void print_page(const QImage& image);
    std::unique_ptr<QPrinter> printer_;
};
