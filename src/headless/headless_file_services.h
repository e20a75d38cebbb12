// The headless clipboard and printer: they record what was asked and print nothing to the
// transcript. With SKYVANE_PRINT_TO=FILE.pdf the printer writes the page into that PDF.
#pragma once
#include <optional>
#include <string>

#include "platform/clipboard.h"
#include "platform/painter.h"
#include "platform/printer.h"

class HeadlessClipboard : public Clipboard {
public:
    bool put_bitmap(const Bitmap8& bitmap) override
    {
        content_ = bitmap;
        ++puts_;
        return true;
    }
    const std::optional<Bitmap8>& content() const { return content_; }
    int puts() const { return puts_; }
private:
    std::optional<Bitmap8> content_;
    int puts_ = 0;
};

class HeadlessPrinter : public Printer {
public:
    void setup() override { ++setups_; }
    bool print_bitmap_file(const std::string& native_path) override;

    int setups() const { return setups_; }
    int prints() const { return prints_; }
    const std::string& last_printed() const { return last_printed_; }
private:
    int setups_ = 0;
    int prints_ = 0;
    std::string last_printed_;
};

// One page in PDF showing BITMAP at one point per pixel (its palette applied).
std::string pdf_page_of(const Bitmap8& bitmap);
