// A USB link whose device list, failures and block data the test sets, and which records every
// report written and every block read.
#pragma once
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "platform/usb_link.h"

class FakeUsb : public UsbLink {
public:
    struct Device {
        std::string path;
        bool path_known = true;
        bool openable = true;
        uint16_t vid = 0, pid = 0;
        std::u16string manufacturer, product;
        bool has_manufacturer = true, has_product = true;
    };
    std::vector<Device> hid, block;
    bool listable[2] = {true, true};
    UsbVersion version{6, 1};

    bool refuse_writes = false;
    int error = 31;
    std::vector<std::vector<uint8_t>> reports;      // every report written
    std::vector<uint32_t> block_reads;              // lengths asked for
    std::vector<uint8_t> next_block;                // what the next block read delivers
    std::vector<uint8_t> next_report;               // what the next report read delivers
    bool report_fails = false;
    std::set<UsbHandle> closed;

    UsbHandle handle_of(const std::string& path) const
    {
        auto it = opened_.find(path);
        return it == opened_.end() ? 0 : it->second;
    }

    bool list(UsbClass cls, std::vector<UsbInterfaceEntry>& out) override
    {
        if (!listable[cls == UsbClass::Block])
            return false;
        out.clear();
        for (const Device& d : cls == UsbClass::Hid ? hid : block)
            out.push_back({d.path, d.path_known});
        return true;
    }
    UsbHandle open(const std::string& path) override
    {
        const Device* d = find_path(path);
        if (!d || !d->openable)
            return 0;
        const UsbHandle h = next_++;
        opened_[path] = h;
        by_handle_[h] = d;
        return h;
    }
    void close(UsbHandle h) override { closed.insert(h); }
    bool attributes(UsbHandle h, uint16_t& vid, uint16_t& pid) override
    {
        const Device* d = by_handle_.at(h);
        vid = d->vid;
        pid = d->pid;
        return true;
    }
    bool manufacturer(UsbHandle h, std::u16string& text) override
    {
        const Device* d = by_handle_.at(h);
        text = d->manufacturer;
        return d->has_manufacturer;
    }
    bool product(UsbHandle h, std::u16string& text) override
    {
        const Device* d = by_handle_.at(h);
        text = d->has_product ? d->product : u"";
        return d->has_product;
    }
    bool write_report(UsbHandle, const uint8_t* data, uint32_t length, uint32_t& written) override
    {
        if (refuse_writes) {
            written = 0;
            return false;
        }
        reports.emplace_back(data, data + length);
        written = length;
        return true;
    }
    bool read_report(UsbHandle, uint8_t* data, uint32_t length, uint32_t& returned) override
    {
        if (report_fails) {
            returned = 0;
            return false;
        }
        returned = static_cast<uint32_t>(std::min<size_t>(length, next_report.size()));
        std::memcpy(data, next_report.data(), returned);
        return true;
    }
    bool read_block(UsbHandle, uint8_t* data, uint32_t length, uint32_t& returned, int) override
    {
        block_reads.push_back(length);
        returned = static_cast<uint32_t>(std::min<size_t>(length, next_block.size()));
        std::memcpy(data, next_block.data(), returned);
        return returned == length;
    }
    int last_error() const override { return error; }
    UsbVersion system_version() const override { return version; }

    // The single pair of interfaces of one camera.
    void one_camera()
    {
        hid = {{"hid0", true, true, 0x5156, 9, u"Halvoran", u"QV9"}};
        block = {{"blk0", true, true, 0x5156, 9, u"Halvoran", u"BlockIO"}};
    }

private:
    const Device* find_path(const std::string& path) const
    {
        for (const Device& d : hid)
            if (d.path == path) return &d;
        for (const Device& d : block)
            if (d.path == path) return &d;
        return nullptr;
    }
    std::map<std::string, UsbHandle> opened_;
    std::map<UsbHandle, const Device*> by_handle_;
    UsbHandle next_ = 100;
};
