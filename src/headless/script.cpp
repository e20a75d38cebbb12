#include "script.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// Splits a line into words; quoted texts become one word with their escapes resolved.
bool split_words(const std::string& line, std::vector<std::string>& words, std::vector<bool>& quoted, std::string& why)
{
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) {
                    const char e = line[i++];
                    if (e == 'n') word += '\n';
                    else if (e == '"' || e == '\\') word += e;
                    else {
                        why = std::string("unknown escape \\") + e;
                        return false;
                    }
                } else {
                    word += d;
                }
            }
            if (!closed) {
                why = "unterminated text";
                return false;
            }
            words.push_back(word);
            quoted.push_back(true);
        } else {
            size_t j = i;
            while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j])) && line[j] != '"')
                ++j;
            words.push_back(line.substr(i, j - i));
            quoted.push_back(false);
            i = j;
        }
    }
    return true;
}

bool to_int(const std::string& s, int64_t& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    out = std::strtoll(s.c_str(), &end, 10);
    return *end == 0;
}

const std::map<std::string, ScrollCode>& scroll_codes()
{
    static const std::map<std::string, ScrollCode> codes = {
        {"lineup", ScrollCode::LineUp}, {"linedown", ScrollCode::LineDown},
        {"pageup", ScrollCode::PageUp}, {"pagedown", ScrollCode::PageDown},
        {"thumbtrack", ScrollCode::ThumbTrack}, {"thumbposition", ScrollCode::ThumbPosition},
        {"endscroll", ScrollCode::EndScroll},
    };
    return codes;
}

// Parses the words of one action (without any `at MS` prefix).
bool parse_action(const std::vector<std::string>& w, const std::vector<bool>& quoted, size_t first,
                  ScriptAction& a, std::string& why)
{
    const size_t n = w.size() - first;
    const std::string& verb = w[first];
    auto number = [&](size_t k, int64_t& out) {
        if (first + k >= w.size() || quoted[first + k] || !to_int(w[first + k], out)) {
            why = verb + " needs a number";
            return false;
        }
        return true;
    };
    auto text = [&](size_t k, std::string& out) {
        if (first + k >= w.size() || !quoted[first + k]) {
            why = verb + " needs a text in double quotes";
            return false;
        }
        out = w[first + k];
        return true;
    };
    auto arity = [&](size_t expected) {
        if (n != expected) {
            why = verb + " takes " + std::to_string(expected - 1) + " argument(s)";
            return false;
        }
        return true;
    };
    int64_t v = 0, v2 = 0;
    if (verb == "command") {
        if (!arity(2) || !number(1, v)) return false;
        a.kind = ActionKind::Command;
        a.id = static_cast<int>(v);
    } else if (verb == "key") {
        if (!arity(1)) return false;
        a.kind = ActionKind::Key;
    } else if (verb == "lclick" || verb == "rclick" || verb == "move") {
        if (!arity(3) || !number(1, v) || !number(2, v2)) return false;
        a.kind = verb == "lclick" ? ActionKind::LeftClick : verb == "rclick" ? ActionKind::RightClick : ActionKind::Move;
        a.x = static_cast<int>(v);
        a.y = static_cast<int>(v2);
    } else if (verb == "press" || verb == "show") {
        if (!arity(2) || !number(1, v)) return false;
        a.kind = verb == "press" ? ActionKind::Press : ActionKind::Show;
        a.id = static_cast<int>(v);
    } else if (verb == "scroll") {
        if (n < 3 || !number(1, v)) {
            why = "scroll needs a control id and a notification";
            return false;
        }
        a.kind = ActionKind::Scroll;
        a.id = static_cast<int>(v);
        auto it = scroll_codes().find(w[first + 2]);
        if (it == scroll_codes().end()) {
            why = "unknown scroll notification " + w[first + 2];
            return false;
        }
        a.scroll = it->second;
        const bool with_pos = a.scroll == ScrollCode::ThumbTrack || a.scroll == ScrollCode::ThumbPosition;
        if (!arity(with_pos ? 4 : 3)) return false;
        if (with_pos) {
            if (!number(3, v2)) return false;
            a.pos = static_cast<int>(v2);
        }
    } else if (verb == "type") {
        if (!arity(3) || !number(1, v) || !text(2, a.text)) return false;
        a.kind = ActionKind::Type;
        a.id = static_cast<int>(v);
    } else if (verb == "close") {
        if (!arity(1)) return false;
        a.kind = ActionKind::Close;
    } else if (verb == "reply") {
        if (!arity(2)) return false;
        a.text = w[first + 1];
        if (quoted[first + 1] || (a.text != "ok" && a.text != "cancel" && a.text != "yes" && a.text != "no")) {
            why = "reply takes ok, cancel, yes or no";
            return false;
        }
        a.kind = ActionKind::Reply;
    } else if (verb == "choose") {
        if (!arity(2)) return false;
        a.kind = ActionKind::Choose;
        if (!quoted[first + 1] && w[first + 1] == "cancel")
            a.cancel = true;
        else if (!text(1, a.text))
            return false;
    } else if (verb == "wait") {
        if (!arity(2) || !number(1, v) || v < 0) {
            if (why.empty()) why = "wait needs a number of milliseconds";
            return false;
        }
        a.kind = ActionKind::Wait;
        a.ms = v;
    } else if (verb == "shot") {
        if (!arity(2) || !text(1, a.text)) return false;
        a.kind = ActionKind::Shot;
    } else if (verb == "quit") {
        if (!arity(1)) return false;
        a.kind = ActionKind::Quit;
    } else {
        why = "unknown action " + verb;
        return false;
    }
    return true;
}

bool schedulable(ActionKind k)
{
    switch (k) {
    case ActionKind::Key: case ActionKind::LeftClick: case ActionKind::RightClick: case ActionKind::Move:
    case ActionKind::Press: case ActionKind::Scroll:
        return true;
    default:
        return false;
    }
}
}

std::optional<Script> parse_script(const std::string& text, std::string& error)
{
    Script script;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> words;
        std::vector<bool> quoted;
        std::string why;
        if (!split_words(line, words, quoted, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return std::nullopt;
        }
        if (words.empty())
            continue;
        ScriptAction action;
        action.line = number;
        size_t first = 0;
        if (words[0] == "at" && !quoted[0]) {
            int64_t ms = 0;
            if (words.size() < 3 || quoted[1] || !to_int(words[1], ms) || ms < 0) {
                error = "line " + std::to_string(number) + ": at needs a time and an action";
                return std::nullopt;
            }
            action.scheduled = true;
            action.ms = ms;
            first = 2;
        }
        const int64_t at_ms = action.ms;
        if (!parse_action(words, quoted, first, action, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return std::nullopt;
        }
        if (action.scheduled) {
            if (!schedulable(action.kind)) {
                error = "line " + std::to_string(number) + ": this action cannot be scheduled";
                return std::nullopt;
            }
            action.ms = at_ms;
            script.scheduled.push_back(action);
        } else {
            script.sequence.push_back(action);
        }
    }
    std::stable_sort(script.scheduled.begin(), script.scheduled.end(),
                     [](const ScriptAction& a, const ScriptAction& b) { return a.ms < b.ms; });
    return script;
}

std::string quote(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out + "\"";
}

bool read_script_file(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}
