#include "posix_serial_library.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
speed_t speed_of(int code)
{
    switch (code) {
    case BAUD110: return B110;
    case BAUD300: return B300;
    case BAUD1200: return B1200;
    case BAUD2400: return B2400;
    case BAUD4800: return B4800;
    case BAUD9600: return B9600;
    case BAUD19200: return B19200;
    case BAUD38400: return B38400;
    case BAUD57600: return B57600;
    case BAUD115200: return B115200;
    default: return B0;
    }
}

bool make_raw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~CRTSCTS;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

int pending_input(int fd)
{
    int n = 0;
    return ::ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
}
}

PosixSerialLibrary::~PosixSerialLibrary()
{
    for (auto& p : ports_)
        close_port(p);
}

void PosixSerialLibrary::map_port(int port, const std::string& path)
{
    if (port < 0 || port >= PORTS)
        return;
    close_port(ports_[port]);
    ports_[port].path = path;
    ports_[port].peer.reset();
}

void PosixSerialLibrary::map_port(int port, std::shared_ptr<SerialPeer> peer)
{
    if (port < 0 || port >= PORTS)
        return;
    close_port(ports_[port]);
    ports_[port].path.clear();
    ports_[port].peer = std::move(peer);
}

bool PosixSerialLibrary::is_open(int port) const
{
    return port >= 0 && port < PORTS && ports_[port].fd >= 0;
}

bool PosixSerialLibrary::dtr(int port) const { return is_open(port) && ports_[port].dtr; }
bool PosixSerialLibrary::rts(int port) const { return is_open(port) && ports_[port].rts; }

PosixSerialLibrary::Port* PosixSerialLibrary::open_port(int port)
{
    if (port < 0 || port >= PORTS || ports_[port].fd < 0)
        return nullptr;
    return &ports_[port];
}

void PosixSerialLibrary::close_port(Port& p)
{
    if (p.fd >= 0) {
        if (p.peer)
            p.peer->disconnect();
        ::close(p.fd);
    }
    if (p.master >= 0)
        ::close(p.master);
    p.fd = p.master = -1;
    p.sent = 0;
    p.dtr = p.rts = false;
}

// The simulated device takes what was written and delivers what is due. A pseudo-terminal hands
// bytes over asynchronously (microseconds), so the reply bytes are waited for until the program's
// end holds them all: a read then sees exactly what the device has sent by the clock's time.
void PosixSerialLibrary::sync(Port& p)
{
    if (!p.peer || p.master < 0)
        return;
    const int before = pending_input(p.fd);
    const size_t wrote = p.peer->sync(p.sent);
    if (wrote == 0)
        return;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (pending_input(p.fd) < before + static_cast<int>(wrote) && std::chrono::steady_clock::now() < give_up) {
        if (before == 0) {
            pollfd pfd{p.fd, POLLIN, 0};
            ::poll(&pfd, 1, 5);
        } else {
            ::usleep(20);   // unread bytes make the descriptor readable already
        }
    }
}

void PosixSerialLibrary::service(int port)
{
    if (Port* p = open_port(port))
        sync(*p);
}

int PosixSerialLibrary::SioReset(int port, int rx_queue, int tx_queue)
{
    if (port < 0 || port >= PORTS)
        return SIO_BADPORT;
    if (rx_queue < 0 || tx_queue < 0)
        return SIO_BADPAR;
    Port& p = ports_[port];
    close_port(p);
    if (p.peer) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0)
            return SIO_NOOPEN;
        char name[128];
        if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
            ::close(master);
            return SIO_NOOPEN;
        }
        const int fd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            ::close(master);
            return SIO_NOOPEN;
        }
        if (!make_raw(fd)) {
            ::close(fd);
            ::close(master);
            return SIO_NOOPEN;
        }
        p.fd = fd;
        p.master = master;
        p.peer->connect(master);
        return 0;
    }
    if (p.path.empty())
        return SIO_NOOPEN;
    const int fd = ::open(p.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return SIO_NOOPEN;
    if (!make_raw(fd)) {   // not a terminal device
        ::close(fd);
        return SIO_NOOPEN;
    }
    p.fd = fd;
    return 0;
}

int PosixSerialLibrary::SioBaud(int port, int baud_code)
{
    Port* p = open_port(port);
    if (!p)
        return SIO_BADPORT;
    const speed_t speed = speed_of(baud_code);
    if (speed == B0)
        return SIO_BADPAR;
    termios t{};
    if (::tcgetattr(p->fd, &t) != 0)
        return SIO_IOERR;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    return ::tcsetattr(p->fd, TCSANOW, &t) == 0 ? 0 : SIO_IOERR;
}

int PosixSerialLibrary::SioParms(int port, int parity, int stop_bits, int data_bits)
{
    Port* p = open_port(port);
    if (!p)
        return SIO_BADPORT;
    if ((parity != NoParity && parity != OddParity && parity != EvenParity) ||
        (stop_bits != OneStopBit && stop_bits != TwoStopBits) || data_bits < 5 || data_bits > 8)
        return SIO_BADPAR;
    termios t{};
    if (::tcgetattr(p->fd, &t) != 0)
        return SIO_IOERR;
    t.c_cflag &= ~(PARENB | PARODD | CSTOPB | CSIZE);
    if (parity != NoParity)
        t.c_cflag |= PARENB | (parity == OddParity ? PARODD : 0);
    if (stop_bits == TwoStopBits)
        t.c_cflag |= CSTOPB;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[data_bits - 5];
    return ::tcsetattr(p->fd, TCSANOW, &t) == 0 ? 0 : SIO_IOERR;
}

int PosixSerialLibrary::set_line(Port& p, char cmd, int bit, bool& state)
{
    if (cmd != 'S' && cmd != 'C')
        return SIO_BADPAR;
    int bits = bit;
    if (::ioctl(p.fd, cmd == 'S' ? TIOCMBIS : TIOCMBIC, &bits) != 0 && errno != ENOTTY && errno != EINVAL)
        return SIO_IOERR;
    // A pseudo-terminal has no modem lines: the request is recorded for the device on its end.
    state = cmd == 'S';
    if (p.peer)
        p.peer->lines(p.dtr, p.rts);
    sync(p);
    return 0;
}

int PosixSerialLibrary::SioDTR(int port, char cmd)
{
    Port* p = open_port(port);
    return p ? set_line(*p, cmd, TIOCM_DTR, p->dtr) : SIO_BADPORT;
}

int PosixSerialLibrary::SioRTS(int port, char cmd)
{
    Port* p = open_port(port);
    return p ? set_line(*p, cmd, TIOCM_RTS, p->rts) : SIO_BADPORT;
}

int PosixSerialLibrary::SioPuts(int port, const char* text, int count)
{
    Port* p = open_port(port);
    if (!p)
        return SIO_BADPORT;
    if (count < 0 || (count > 0 && !text))
        return SIO_BADPAR;
    int done = 0;
    int stalls = 0;
    while (done < count) {
        const ssize_t n = ::write(p->fd, text + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            p->sent += static_cast<uint64_t>(n);
            stalls = 0;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return SIO_IOERR;
        } else {
            // The output queue is full: let the far end take bytes, then wait for room.
            sync(*p);
            pollfd pfd{p->fd, POLLOUT, 0};
            ::poll(&pfd, 1, 10);
            if (++stalls > 500)
                return done > 0 ? done : SIO_IOERR;
        }
    }
    sync(*p);
    return done;
}

int PosixSerialLibrary::SioPutc(int port, char byte)
{
    const int r = SioPuts(port, &byte, 1);
    return r == 1 ? 0 : r;
}

int PosixSerialLibrary::SioGets(int port, char* buffer, int count)
{
    Port* p = open_port(port);
    if (!p)
        return SIO_BADPORT;
    if (count < 0 || (count > 0 && !buffer))
        return SIO_BADPAR;
    sync(*p);
    if (count == 0)
        return 0;
    const ssize_t n = ::read(p->fd, buffer, static_cast<size_t>(count));
    if (n >= 0)
        return static_cast<int>(n);
    return (errno == EAGAIN || errno == EINTR) ? 0 : SIO_IOERR;
}

int PosixSerialLibrary::SioRxClear(int port)
{
    Port* p = open_port(port);
    if (!p)
        return SIO_BADPORT;
    sync(*p);
    return ::tcflush(p->fd, TCIFLUSH) == 0 ? 0 : SIO_IOERR;
}

int PosixSerialLibrary::SioDone(int port)
{
    Port* p = open_port(port);
    if (!p)
        return SIO_BADPORT;
    close_port(*p);
    return 0;
}
