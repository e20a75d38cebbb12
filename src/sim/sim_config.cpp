#include "sim_config.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
std::string trim(const std::string& s)
{
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return {};
    const auto b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}
}

bool SimConfig::load(const std::string& path, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), error);
}

bool SimConfig::parse(const std::string& text, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const auto eq = line.find('=');
        const std::string key = eq == std::string::npos ? std::string() : trim(line.substr(0, eq));
        const std::string value = eq == std::string::npos ? std::string() : trim(line.substr(eq + 1));
        std::istringstream number_in(value);
        number_in.imbue(std::locale::classic());
        double v = 0.0;
        if (key.empty() || !(number_in >> v) || !number_in.eof()) {
            error = "line " + std::to_string(number) + ": expected key = number";
            return false;
        }
        values_[key] = v;
    }
    return true;
}

double SimConfig::get(const std::string& key, double fallback) const
{
    auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}
