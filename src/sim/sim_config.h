// Parameters of the simulated sky, camera and mount: defaults, overridden by a file of
// "key = value" lines ('#' starts a comment) given with --sim-config.
#pragma once
#include <map>
#include <string>

class SimConfig {
public:
    // Reads PATH; false with a message in ERROR for an unreadable file or a malformed line.
    bool load(const std::string& path, std::string& error);
    // Parses the text of such a file.
    bool parse(const std::string& text, std::string& error);
    // The value of KEY, or FALLBACK when the file did not set it.
    double get(const std::string& key, double fallback) const;
    bool has(const std::string& key) const { return values_.count(key) != 0; }
    void set(const std::string& key, double value) { values_[key] = value; }

private:
    std::map<std::string, double> values_;
};
