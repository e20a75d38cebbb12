// The platform services the program's logic uses, chosen once at start-up by main().
#pragma once

class Clock;
class EventPump;
class MessageBoxes;
class FileDialogs;
class Desktop;
class DialogHost;
class FileSystem;
class Paths;
class MainFrame;
class Clipboard;
class Printer;
class UsbLink;
class SerialLibrary;

struct Services {
    Clock* clock = nullptr;
    EventPump* pump = nullptr;
    MessageBoxes* boxes = nullptr;
    FileDialogs* file_dialogs = nullptr;
    Desktop* desktop = nullptr;
    DialogHost* dialogs = nullptr;
    FileSystem* files = nullptr;
    Paths* paths = nullptr;
    MainFrame* frame = nullptr;
    Clipboard* clipboard = nullptr;
    Printer* printer = nullptr;
    UsbLink* usb = nullptr;             // the camera's two USB interfaces
    SerialLibrary* serial = nullptr;    // the serial ports of the mount and control box
};

// The services in use. Set by main() (or a test fixture) before any logic runs.
Services& services();
