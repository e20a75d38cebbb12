// The serial communications library the telescope code talks through: the Sio... calls on a
// numbered port (0 = COM1, 1 = COM2). Every call returns an int; a negative value is an error code.
#pragma once
#include <cstdint>
#include <string>

// Error codes of the library (negative results).
constexpr int SIO_BADPORT = -1;    // no such port, or the port is not open
constexpr int SIO_NOOPEN = -2;     // the device could not be opened or set up
constexpr int SIO_BADPAR = -3;     // a parameter out of range (baud, parity, line command)
constexpr int SIO_IOERR = -4;      // the operating system refused a read or write

// Baud codes (SioBaud) and line codes (SioParms).
constexpr int BAUD110 = 0, BAUD300 = 1, BAUD1200 = 2, BAUD2400 = 3, BAUD4800 = 4, BAUD9600 = 5,
              BAUD19200 = 6, BAUD38400 = 7, BAUD57600 = 8, BAUD115200 = 9;
constexpr int NoParity = 0, OddParity = 1, EvenParity = 3;
constexpr int OneStopBit = 0, TwoStopBits = 1;
constexpr int WordLength7 = 7, WordLength8 = 8;

class SerialLibrary {
public:
    virtual ~SerialLibrary() = default;
    // Opens PORT with receive and transmit queues of the given sizes.
    virtual int SioReset(int port, int rx_queue, int tx_queue) = 0;
    virtual int SioBaud(int port, int baud_code) = 0;
    virtual int SioParms(int port, int parity, int stop_bits, int data_bits) = 0;
    // CMD 'S' raises the line, 'C' lowers it.
    virtual int SioDTR(int port, char cmd) = 0;
    virtual int SioRTS(int port, char cmd) = 0;
    // Sends exactly COUNT bytes of TEXT; returns the number sent.
    virtual int SioPuts(int port, const char* text, int count) = 0;
    virtual int SioPutc(int port, char byte) = 0;
    // Takes up to COUNT bytes that have already arrived, without waiting; returns the number taken.
    virtual int SioGets(int port, char* buffer, int count) = 0;
    // Discards everything received so far.
    virtual int SioRxClear(int port) = 0;
    virtual int SioDone(int port) = 0;
};

// A device on the far end of a pseudo-terminal, driven from the program's side: the library lets
// it run on every call, so it works on the program's clock without threads or real waits.
class SerialPeer {
public:
    virtual ~SerialPeer() = default;
    // The port opened: MASTER is the device's end of the pseudo-terminal (owned by the library).
    virtual void connect(int master_fd) = 0;
    virtual void disconnect() = 0;
    // Takes the bytes the program has written (SENT_TOTAL bytes since connect), acts on them at
    // the clock's time and writes the replies whose time has come. Returns the bytes it wrote.
    virtual size_t sync(uint64_t sent_total) = 0;
    // The modem lines the program asked for (a pseudo-terminal has none of its own).
    virtual void lines(bool dtr, bool rts) = 0;
};
