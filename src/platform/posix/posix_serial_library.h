// The serial library on POSIX termios. Each port is mapped to a device path (a real serial port
// such as /dev/ttyUSB0) or to a pseudo-terminal whose other end a SerialPeer (a simulated device)
// drives. The line is raw: no canonical input, echo, flow control or output processing, so every
// byte passes unchanged. Reads never wait.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "platform/serial_library.h"

class PosixSerialLibrary : public SerialLibrary {
public:
    static constexpr int PORTS = 2;

    PosixSerialLibrary() = default;
    ~PosixSerialLibrary() override;

    // What PORT opens: a device path, or a fresh pseudo-terminal served by PEER.
    void map_port(int port, const std::string& path);
    void map_port(int port, std::shared_ptr<SerialPeer> peer);
    bool is_open(int port) const;
    // The modem lines last requested on PORT.
    bool dtr(int port) const;
    bool rts(int port) const;
    // Lets a simulated device on PORT catch up with the clock (also done on every call).
    void service(int port);

    int SioReset(int port, int rx_queue, int tx_queue) override;
    int SioBaud(int port, int baud_code) override;
    int SioParms(int port, int parity, int stop_bits, int data_bits) override;
    int SioDTR(int port, char cmd) override;
    int SioRTS(int port, char cmd) override;
    int SioPuts(int port, const char* text, int count) override;
    int SioPutc(int port, char byte) override;
    int SioGets(int port, char* buffer, int count) override;
    int SioRxClear(int port) override;
    int SioDone(int port) override;

private:
    struct Port {
        std::string path;
        std::shared_ptr<SerialPeer> peer;
        int fd = -1;
        int master = -1;
        uint64_t sent = 0;
        bool dtr = false, rts = false;
    };
    Port* open_port(int port);
    void close_port(Port& p);
    void sync(Port& p);
    int set_line(Port& p, char cmd, int bit, bool& state);

    std::array<Port, PORTS> ports_;
};
