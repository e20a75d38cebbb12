// The termios serial library on a real pseudo-terminal, and the simulated LX200 mount on it.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "headless/virtual_clock.h"
#include "platform/posix/posix_serial_library.h"
#include "sim/mount_model.h"
#include "sim/serial_sim.h"

namespace {
// A far end that hands back every byte it receives.
class EchoPeer : public SerialPeer {
public:
    void connect(int fd) override { master = fd; got.clear(); }
    void disconnect() override { master = -1; }
    size_t sync(uint64_t sent_total) override
    {
        char buf[512];
        for (int idle = 0; got.size() < sent_total && idle < 400;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) {
                got.append(buf, static_cast<size_t>(n));
                idle = 0;
            } else {
                pollfd p{master, POLLIN, 0};
                ::poll(&p, 1, 1);
                ++idle;
            }
        }
        const std::string echo = got.substr(echoed);
        echoed = got.size();
        return echo.empty() ? 0 : static_cast<size_t>(::write(master, echo.data(), echo.size()));
    }
    void lines(bool d, bool r) override { dtr = d; rts = r; ++line_calls; }

    int master = -1;
    std::string got;
    size_t echoed = 0;
    bool dtr = false, rts = false;
    int line_calls = 0;
};

TEST(SerialLibrary, RawBytesPassAPseudoTerminalUnchanged)
{
    PosixSerialLibrary lib;
    auto peer = std::make_shared<EchoPeer>();
    lib.map_port(0, peer);
    ASSERT_EQ(lib.SioReset(0, 1024, 1024), 0);
    for (int baud : {BAUD300, BAUD9600}) {
        ASSERT_EQ(lib.SioBaud(0, baud), 0);
        ASSERT_EQ(lib.SioParms(0, NoParity, OneStopBit, WordLength8), 0);
        std::string all;
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>(b));   // includes 0x11/0x13 (XON/XOFF), 0x0D, 0x03, 0x04
        peer->got.clear();
        peer->echoed = 0;
        lib.SioDone(0);
        ASSERT_EQ(lib.SioReset(0, 1024, 1024), 0);
        ASSERT_EQ(lib.SioBaud(0, baud), 0);
        ASSERT_EQ(lib.SioPuts(0, all.data(), 256), 256);
        EXPECT_EQ(peer->got, all);
        char back[300];
        const int n = lib.SioGets(0, back, 300);
        ASSERT_EQ(n, 256);
        EXPECT_EQ(std::string(back, 256), all);
        EXPECT_EQ(lib.SioGets(0, back, 300), 0);   // nothing more: the read does not wait
    }
    EXPECT_EQ(lib.SioPutc(0, '\x11'), 0);
    char c = 0;
    EXPECT_EQ(lib.SioGets(0, &c, 1), 1);
    EXPECT_EQ(c, '\x11');
}

TEST(SerialLibrary, ReceiveQueueClearAndModemLinesOnAPseudoTerminal)
{
    PosixSerialLibrary lib;
    auto peer = std::make_shared<EchoPeer>();
    lib.map_port(1, peer);
    ASSERT_EQ(lib.SioReset(1, 1024, 1024), 0);
    ASSERT_EQ(lib.SioPuts(1, "abc", 3), 3);
    EXPECT_EQ(lib.SioRxClear(1), 0);
    char buf[8];
    EXPECT_EQ(lib.SioGets(1, buf, 8), 0);
    // A pseudo-terminal rejects modem-line requests; they succeed and reach the device.
    EXPECT_EQ(lib.SioDTR(1, 'S'), 0);
    EXPECT_EQ(lib.SioRTS(1, 'S'), 0);
    EXPECT_TRUE(peer->dtr && peer->rts);
    EXPECT_EQ(lib.SioRTS(1, 'C'), 0);
    EXPECT_FALSE(peer->rts);
    EXPECT_TRUE(lib.dtr(1));
    EXPECT_EQ(lib.SioDTR(1, 'X'), SIO_BADPAR);
    EXPECT_EQ(lib.SioDone(1), 0);
    EXPECT_FALSE(lib.is_open(1));
}

TEST(SerialLibrary, DevicePathIsOpenedRawAtTheRequestedSpeed)
{
    // A terminal device given by path, as --com1 /dev/ttyUSB0 gives one: here the slave of a
    // pseudo-terminal whose master the test holds.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    PosixSerialLibrary lib;
    lib.map_port(1, ::ptsname(master));
    ASSERT_EQ(lib.SioReset(1, 1024, 1024), 0);
    ASSERT_EQ(lib.SioBaud(1, BAUD300), 0);
    ASSERT_EQ(lib.SioParms(1, NoParity, OneStopBit, WordLength8), 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(master, &t), 0);   // the master reports its slave's settings
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B300));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(lib.SioDTR(1, 'S'), 0);   // no modem lines here either: accepted

    const std::string out("\x11\x13\x0D\n\x00\x03\xff", 7);
    ASSERT_EQ(lib.SioPuts(1, out.data(), 7), 7);
    std::string got;
    char buf[32];
    for (int i = 0; i < 200 && got.size() < out.size(); ++i) {
        pollfd p{master, POLLIN, 0};
        ::poll(&p, 1, 5);
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n > 0)
            got.append(buf, size_t(n));
    }
    EXPECT_EQ(got, out);
    ASSERT_EQ(::write(master, "ab\r\x13", 4), 4);
    std::string in;
    for (int i = 0; i < 200 && in.size() < 4; ++i) {
        const int n = lib.SioGets(1, buf, sizeof buf);
        if (n > 0)
            in.append(buf, size_t(n));
        else
            ::usleep(1000);   // a real device: bytes come in their own time
    }
    EXPECT_EQ(in, "ab\r\x13");
    EXPECT_EQ(lib.SioDone(1), 0);
    ::close(master);
}

TEST(SerialLibrary, ErrorsAreNegative)
{
    PosixSerialLibrary lib;
    char buf[4];
    EXPECT_EQ(lib.SioReset(2, 1024, 1024), SIO_BADPORT);
    EXPECT_EQ(lib.SioGets(0, buf, 4), SIO_BADPORT);      // not open
    EXPECT_EQ(lib.SioPuts(0, "x", 1), SIO_BADPORT);
    EXPECT_EQ(lib.SioDone(0), SIO_BADPORT);
    EXPECT_EQ(lib.SioReset(0, 1024, 1024), SIO_NOOPEN);  // mapped to nothing
    lib.map_port(0, "/nonexistent/ttyUSB9");
    EXPECT_EQ(lib.SioReset(0, 1024, 1024), SIO_NOOPEN);
    char name[] = "/tmp/skyvane-serial-XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    lib.map_port(0, name);
    EXPECT_EQ(lib.SioReset(0, 1024, 1024), SIO_NOOPEN);  // a plain file is no serial port
    ::unlink(name);

    lib.map_port(0, std::make_shared<EchoPeer>());
    ASSERT_EQ(lib.SioReset(0, 1024, 1024), 0);
    EXPECT_EQ(lib.SioBaud(0, 42), SIO_BADPAR);
    EXPECT_EQ(lib.SioParms(0, 2, 0, 8), SIO_BADPAR);
    EXPECT_EQ(lib.SioParms(0, 0, 0, 9), SIO_BADPAR);
    EXPECT_EQ(lib.SioParms(0, EvenParity, TwoStopBits, WordLength7), 0);
}

// The simulated mount on the library, on a virtual clock.
class Lx200Test : public testing::Test {
protected:
    void SetUp() override { open_with(MountParams{}); }
    void open_with(const MountParams& p)
    {
        lib = std::make_unique<PosixSerialLibrary>();
        mount = std::make_shared<MountModel>(p, clock);
        port = std::make_shared<SimulatedPort>(mount, clock);
        lib->map_port(0, port);
        ASSERT_EQ(lib->SioReset(0, 1024, 1024), 0);
        ASSERT_EQ(lib->SioBaud(0, BAUD9600), 0);
    }
    void send(const std::string& text) { ASSERT_EQ(lib->SioPuts(0, text.data(), int(text.size())), int(text.size())); }
    std::string read_all()
    {
        char buf[256];
        const int n = lib->SioGets(0, buf, sizeof buf);
        return n > 0 ? std::string(buf, size_t(n)) : std::string();
    }
    std::string ask(const std::string& command)
    {
        read_all();
        send(command);
        clock.spend(100);
        return read_all();
    }
    std::vector<std::string> commands() const
    {
        std::vector<std::string> out;
        for (const auto& e : port->log())
            if (e.text != "open")
                out.push_back(e.text);
        return out;
    }
    VirtualClock clock{1700000000};
    std::unique_ptr<PosixSerialLibrary> lib;
    std::shared_ptr<MountModel> mount;
    std::shared_ptr<SimulatedPort> port;
};

TEST_F(Lx200Test, GuidePulsesMoveTheStarAtTheGuideRate)
{
    struct Case { char dir; double x, y; };
    const Case cases[] = {{'e', 2.0, 0}, {'w', -2.0, 0}, {'n', 0, 1.0}, {'s', 0, -1.0}};
    for (const Case& c : cases) {
        const SkyOffset before = mount->offset_at(clock.now_us());
        send("#:RG#");
        clock.spend(20);
        send(std::string("#:M") + c.dir + "#");
        clock.spend(1000);
        send(std::string("#:Q") + c.dir + "#");
        clock.spend(20);
        const SkyOffset after = mount->offset_at(clock.now_us());
        EXPECT_NEAR(after.x_px - before.x_px, c.x, 0.01) << c.dir;
        EXPECT_NEAR(after.y_rows - before.y_rows, c.y, 0.01) << c.dir;
    }
    // Each command counted when its '#' arrived: the leading '#' of "#:RG#" is an empty command.
    EXPECT_EQ(commands(), (std::vector<std::string>{"RG", "Me", "Qe", "RG", "Mw", "Qw", "RG", "Mn", "Qn", "RG", "Ms", "Qs"}));
    // The line takes about a millisecond per byte: "#:Me#" ends 5.2 ms after it was sent.
    const auto& log = port->log();
    EXPECT_NEAR((log[2].t_us - log[1].t_us) / 1000.0, 20.0, 0.5);
}

TEST_F(Lx200Test, FlippedOrientationAndRates)
{
    MountParams p;
    p.flip_ew = true;
    p.flip_ns = true;
    open_with(p);
    send("#:RC#:Me#");
    clock.spend(500);
    send("#:Qe##:RG#:Mn#");
    clock.spend(1000);
    send("#:Qs#");   // stopping another direction leaves north running
    clock.spend(1000);
    send("#:Q#");
    clock.spend(10);
    const SkyOffset o = mount->offset_at(clock.now_us());
    // Moving from the '#' of "#:Me#" (9 bytes in) to the '#' of "#:Qe#" (5 bytes after 500 ms).
    EXPECT_NEAR(o.x_px, -2.0 * 8 * (0.5 - 4 * 0.001042), 0.001);
    EXPECT_NEAR(o.y_rows, -2.0, 0.05);
}

TEST_F(Lx200Test, FramingPartialCommandsAndArguments)
{
    send(":Mn");      // a partial command...
    send("#");        // ...completed by its '#'
    send("##::RG#");  // empty commands; a second ':' restarts the command
    send(":LM0031#:LI#");
    clock.spend(100);
    const std::string a = read_all();
    send(":LM 0031#:LI#");   // one space after the letters is accepted
    clock.spend(100);
    EXPECT_EQ(read_all(), a);
    EXPECT_EQ(a.size(), 33u);
    EXPECT_EQ(a.substr(0, 27), "M31 GALAXY MAG 3.4 SZ178.0'");
    EXPECT_EQ(a.back(), '#');
    EXPECT_EQ(commands()[0], "Mn");
    EXPECT_EQ(commands()[1], "RG");
}

TEST_F(Lx200Test, RepliesArriveAtTheLineRate)
{
    send("#:LM 0042#");
    send("#:LI#");
    EXPECT_EQ(read_all(), "");          // nothing yet: the command is still on the line
    clock.spend(25);                    // 15 bytes in, 9 or so out
    const std::string part = read_all();
    EXPECT_GT(part.size(), 3u);
    EXPECT_LT(part.size(), 15u);
    clock.spend(40);
    EXPECT_EQ(part.size() + read_all().size(), 33u);
    // Replies pile up while the program does not read: every byte delivered is there to take.
    send("#:LI#");
    clock.spend(100);
    send("#:LI#");
    clock.spend(100);
    EXPECT_EQ(read_all().size(), 66u);
}

TEST_F(Lx200Test, CoordinatesSlewAndPointing)
{
    EXPECT_EQ(ask("#:Sr 05:34.0#"), "1");
    EXPECT_EQ(ask("#:Sd -05*23#"), "1");
    EXPECT_EQ(ask("#:Sr 24:00.0#"), "0");
    EXPECT_EQ(ask("#:Sd +91*00#"), "0");
    EXPECT_EQ(ask("#:MS#"), "0");
    clock.spend(60000);
    EXPECT_EQ(ask("#:GR#"), "05:34.0#");
    EXPECT_EQ(ask("#:GD#"), "-05*23#");
    EXPECT_EQ(ask("#:LS 0905#:MS#").substr(0, 1), "0");
    EXPECT_EQ(ask("#:LI#").substr(0, 14), "JUPITER PLANET");
}

TEST_F(Lx200Test, FocuserMovesTheFocusPosition)
{
    send("#:FF##:F+#");
    clock.spend(2000);
    send("#:FQ##:FS##:F-#");
    clock.spend(1000);
    send("#:FQ#");
    clock.spend(500);
    EXPECT_NEAR(mount->focus_position(clock.now_us()), 200.0 - 10.0, 0.5);
}

TEST_F(Lx200Test, ControlBoxAt300BaudTakes33msPerByte)
{
    ASSERT_EQ(lib->SioBaud(0, BAUD300), 0);
    const int64_t t0 = clock.now_us();
    lib->SioPutc(0, '\x01');
    clock.spend(1);
    lib->SioPutc(0, '\x11');
    clock.spend(500);
    lib->SioPutc(0, '\x00');
    clock.spend(100);
    std::vector<std::pair<double, std::string>> bytes;
    for (const auto& e : port->log())
        if (e.text.rfind("byte", 0) == 0)
            bytes.push_back({(e.t_us - t0) / 1000.0, e.text});
    ASSERT_EQ(bytes.size(), 3u);
    EXPECT_EQ(bytes[0].second, "byte 01");
    EXPECT_NEAR(bytes[0].first, 33.3, 0.1);
    EXPECT_NEAR(bytes[1].first, 66.7, 0.1);     // queued behind the first
    EXPECT_NEAR(bytes[2].first, 534.3, 0.1);
    // The guide input was on from the run byte to the off byte.
    EXPECT_NEAR(mount->offset_at(clock.now_us()).x_px, 2.0 * (534.3 - 66.7) / 1000.0, 0.005);
    // The reset byte and the select bytes alone do not move it.
    lib->SioPutc(0, '\x08');
    lib->SioPutc(0, '\x0D');
    clock.spend(200);
    EXPECT_NEAR(mount->offset_at(clock.now_us()).x_px, 2.0 * (534.3 - 66.7) / 1000.0, 0.005);
    EXPECT_EQ(port->control_box().running(), 0);
}
}
