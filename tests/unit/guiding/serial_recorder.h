// A serial library that records every call with the clock's time, answers reads from a queue and
// can be told to fail a call: the protocol's bytes and pauses are checked against it.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_library.h"

struct SerialCall {
    int64_t t_us;
    std::string op;      // "reset", "baud", "parms", "dtr", "rts", "puts", "putc", "gets", "rxclear", "done"
    std::string data;    // bytes written, or the arguments as text
};

class SerialRecorder : public SerialLibrary {
public:
    explicit SerialRecorder(Clock& clock) : clock_(clock) {}

    std::vector<SerialCall> calls;
    std::string input;                  // bytes a read takes
    std::map<std::string, int> fail;    // op -> result to return instead of success

    // Only the written bytes, one entry per puts/putc.
    std::vector<SerialCall> writes() const
    {
        std::vector<SerialCall> out;
        for (const auto& c : calls)
            if (c.op == "puts" || c.op == "putc")
                out.push_back(c);
        return out;
    }
    std::string written() const
    {
        std::string s;
        for (const auto& c : writes())
            s += c.data;
        return s;
    }
    std::string ops() const
    {
        std::string s;
        for (const auto& c : calls)
            s += (s.empty() ? "" : " ") + c.op + (c.op == "puts" || c.op == "putc" || c.op == "gets" ? "" : "(" + c.data + ")");
        return s;
    }

    int SioReset(int port, int rx, int tx) override { return rec("reset", args(port, rx, tx)); }
    int SioBaud(int port, int code) override { return rec("baud", args(port, code)); }
    int SioParms(int port, int p, int st, int d) override { return rec("parms", args(port, p, st, d)); }
    int SioDTR(int port, char cmd) override { return rec("dtr", args(port) + "," + cmd); }
    int SioRTS(int port, char cmd) override { return rec("rts", args(port) + "," + cmd); }
    int SioPuts(int port, const char* text, int count) override
    {
        const int r = rec("puts", std::string(text, static_cast<size_t>(count)));
        return r < 0 ? r : count;
    }
    int SioPutc(int port, char byte) override { return rec("putc", std::string(1, byte)); }
    int SioGets(int port, char* buffer, int count) override
    {
        const int r = rec("gets", std::to_string(count));
        if (r < 0)
            return r;
        const int n = std::min<int>(count, static_cast<int>(input.size()));
        input.copy(buffer, static_cast<size_t>(n));
        input.erase(0, static_cast<size_t>(n));
        return n;
    }
    int SioRxClear(int port) override { return rec("rxclear", args(port)); }
    int SioDone(int port) override { return rec("done", args(port)); }

private:
    template <typename... T>
    static std::string args(T... v)
    {
        std::string s;
        ((s += (s.empty() ? "" : ",") + std::to_string(v)), ...);
        return s;
    }
    int rec(const std::string& op, const std::string& data)
    {
        calls.push_back({clock_.now_us(), op, data});
        auto it = fail.find(op);
        return it == fail.end() ? 0 : it->second;
    }
    Clock& clock_;
};
