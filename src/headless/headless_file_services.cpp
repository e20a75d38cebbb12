#include "headless_file_services.h"

#include <cstdio>
#include <vector>

#include "display/bmp_file.h"
#include "platform/file_system.h"
#include "platform/services.h"

std::string pdf_page_of(const Bitmap8& bitmap)
{
    std::string pixels;
    pixels.reserve(static_cast<size_t>(bitmap.width) * bitmap.height * 3);
    for (uint8_t index : bitmap.pixels) {
        const Rgb c = bitmap.palette[index];
        pixels.push_back(static_cast<char>(c.r));
        pixels.push_back(static_cast<char>(c.g));
        pixels.push_back(static_cast<char>(c.b));
    }
    const std::string w = std::to_string(bitmap.width), h = std::to_string(bitmap.height);
    const std::string content = "q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q\n";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h +
            "] /Resources << /XObject << /Im0 4 0 R >> >> /Contents 5 0 R >>",
        "<< /Type /XObject /Subtype /Image /Width " + w + " /Height " + h +
            " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Length " + std::to_string(pixels.size()) +
            " >>\nstream\n" + pixels + "\nendstream",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

bool HeadlessPrinter::print_bitmap_file(const std::string& native_path)
{
    ++prints_;
    last_printed_ = native_path;
    const std::string target = print_to_file();
    if (target.empty())
        return true;   // no printer here: the request is only recorded
    const auto file = services().files->read(native_path);
    if (!file)
        return false;
    const auto bitmap = read_bmp(*file);
    if (!bitmap)
        return false;
    const std::string pdf = pdf_page_of(*bitmap);
    return services().files->write_all(target, pdf.data(), pdf.size());
}
